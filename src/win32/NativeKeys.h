#pragma once

namespace win32 {

/// Which lock keys are on now.
struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};
LockKeys QueryLockKeys();

}  // namespace win32
