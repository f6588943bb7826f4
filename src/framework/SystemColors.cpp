#include "framework/SystemColors.h"

COLORREF GetSysColor(int element) {
    switch (element) {
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
        default:
            return RGB(0, 0, 0);
    }
}
