#include "app/LockKeyState.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(OHMLET_HAVE_X11)
// Qt before Xlib: Xlib's macros clash with Qt's names.
#include <QGuiApplication>
// clang-format off
#include <X11/XKBlib.h>
// clang-format on
#endif

namespace ohmlet {

LockKeys ReadLockKeys() {
    LockKeys keys;
#if defined(_WIN32)
    keys.caps = (GetKeyState(VK_CAPITAL) & 1) != 0;
    keys.num = (GetKeyState(VK_NUMLOCK) & 1) != 0;
    keys.scroll = (GetKeyState(VK_SCROLL) & 1) != 0;
#elif defined(OHMLET_HAVE_X11)
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    unsigned state = 0;
    if (display && XkbGetIndicatorState(display, XkbUseCoreKbd, &state) == 0) {
        keys.caps = (state & 0x1) != 0;
        keys.num = (state & 0x2) != 0;
        keys.scroll = (state & 0x4) != 0;
    }
#endif
    return keys;
}

}  // namespace ohmlet
