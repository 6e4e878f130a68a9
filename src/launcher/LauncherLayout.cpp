#include "launcher/LauncherLayout.h"

namespace kiosa {

HoverLook HoverLookAt(QPoint p) {
    HoverLook look{BigButtonsLook::BothNormal, CloseLook::Normal};
    if (kLeftHoverArea.Contains(p)) {
        look.buttons = BigButtonsLook::LeftHovered;
    } else if (kRightHoverArea.Contains(p)) {
        look.buttons = BigButtonsLook::RightHovered;
    }
    if (kCloseHoverArea.Contains(p)) {
        look.close = CloseLook::Hovered;
    } else if (kCloseDeadZone.Contains(p)) {
        look.close = CloseLook::Unchanged;
    }
    return look;
}

ClickTarget ClickTargetAt(QPoint p) {
    if (kLeftClickArea.Contains(p)) return ClickTarget::LeftProgram;
    if (kRightClickArea.Contains(p)) return ClickTarget::RightProgram;
    if (kCloseClickArea.Contains(p)) return ClickTarget::Close;
    return ClickTarget::None;
}

}  // namespace kiosa
