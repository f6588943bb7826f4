#include "qt/LockKeys.h"

#include <QGuiApplication>

#ifdef VELK_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
// The X11 headers come last: their macros (None, Bool, Status, ...) break Qt's headers.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#endif

LockKeyState QueryLockKeys() {
    LockKeyState state;
#ifdef VELK_HAVE_X11
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                                   : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (display == nullptr) {
        return state;
    }
    auto lit = [display](const char* name, bool& on) {
        Atom atom = XInternAtom(display, name, True);
        int value = 0;
        if (atom != 0 &&
            XkbGetNamedIndicator(display, atom, nullptr, &value, nullptr, nullptr) != 0) {
            on = value != 0;
            return true;
        }
        return false;
    };
    bool caps = lit("Caps Lock", state.caps);
    bool num = lit("Num Lock", state.num);
    bool scroll = lit("Scroll Lock", state.scroll);
    state.known = caps || num || scroll;
#endif
    return state;
}
