#pragma once
// Whether Caps Lock, Num Lock and Scroll Lock are on. The only place that asks the
// windowing system; where it cannot tell, every lock reads as off.

namespace ohmlet {

struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

LockKeys ReadLockKeys();

}  // namespace ohmlet
