#pragma once

#include "gdi/GdiTypes.h"

// Elements whose colour GetSysColor tells.
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;

/// The colour the system gives an element of the screen. Windows are white with black text;
/// an unknown element is black.
COLORREF GetSysColor(int element);
