#include "win32/NativeIcon.h"

#include <windows.h>

#include <cstdlib>

namespace win32 {

void* MakeIcon(const std::vector<IconImage>& images, int size) {
    const IconImage* best = nullptr;
    for (const IconImage& image : images) {
        if (best == nullptr || std::abs(image.width - size) < std::abs(best->width - size) ||
            (std::abs(image.width - size) == std::abs(best->width - size) &&
             image.width > best->width)) {
            best = &image;
        }
    }
    if (best == nullptr || best->png.empty()) {
        return nullptr;
    }
    // An icon resource may be a PNG file as it stands.
    return CreateIconFromResourceEx(const_cast<BYTE*>(best->png.data()),
                                    static_cast<DWORD>(best->png.size()), TRUE, 0x00030000, size,
                                    size, LR_DEFAULTCOLOR);
}

}  // namespace win32
