#pragma once

#include <vector>

#include "framework/Resources.h"

namespace win32 {

/// An icon (HICON) made of the image nearest the size, larger first; null when none reads.
/// The caller destroys it.
void* MakeIcon(const std::vector<IconImage>& images, int size);

}  // namespace win32
