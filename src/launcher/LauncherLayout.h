#pragma once
// Where Kiosa draws its pictures and where the pointer counts as over or on them.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace kiosa {

// The window keeps the size its dialog template had: 273 x 156 dialog units in
// 宋体 9 (6 x 12 base units at 96 dpi).
inline constexpr QSize kClientSize{410, 234};

inline constexpr QRect kLeftButtonRect{60, 60, 100, 120};
inline constexpr QRect kRightButtonRect{260, 60, 100, 120};
inline constexpr QRect kCloseButtonRect{370, 10, 30, 20};

// A pointer area as (left, top, right, bottom), right and bottom excluded, so that the
// edges land where the documented numbers say.
struct PointerArea {
    int left;
    int top;
    int right;
    int bottom;
    constexpr bool Contains(QPoint p) const {
        return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom;
    }
};

// The hover areas are wider than the pictures: the left one reaches 20 pixels further
// left, the right one 20 pixels further right.
inline constexpr PointerArea kLeftHoverArea{40, 60, 160, 170};
inline constexpr PointerArea kRightHoverArea{260, 60, 380, 170};
inline constexpr PointerArea kCloseHoverArea{370, 10, 400, 30};
// Over this strip left of the close button the close picture is left as it was.
inline constexpr PointerArea kCloseDeadZone{330, 10, 360, 30};

inline constexpr PointerArea kLeftClickArea{60, 60, 160, 170};
inline constexpr PointerArea kRightClickArea{260, 60, 360, 170};
inline constexpr PointerArea kCloseClickArea{370, 10, 400, 30};

enum class BigButtonsLook { BothNormal, LeftHovered, RightHovered };
enum class CloseLook { Normal, Hovered, Unchanged };

struct HoverLook {
    BigButtonsLook buttons;
    CloseLook close;
};

enum class ClickTarget { None, LeftProgram, RightProgram, Close };

// What a pointer move to `p` shows.
HoverLook HoverLookAt(QPoint p);

// What a left-button release at `p` does; the areas are tried left, right, close.
ClickTarget ClickTargetAt(QPoint p);

}  // namespace kiosa
