#include "win32/NativeKeys.h"

#include <windows.h>

namespace win32 {

LockKeys QueryLockKeys() {
    // The low bit of a toggle key's state is its light.
    return LockKeys{(GetKeyState(VK_CAPITAL) & 1) != 0, (GetKeyState(VK_NUMLOCK) & 1) != 0,
                    (GetKeyState(VK_SCROLL) & 1) != 0};
}

}  // namespace win32
