#pragma once

/// Which lock keys are on, as the window system tells it.
struct LockKeyState {
    bool known = false;  ///< false where the window system does not tell
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

/// Asks the window system now. Under X11 the keyboard's named indicators say it; elsewhere the
/// state is unknown.
LockKeyState QueryLockKeys();
