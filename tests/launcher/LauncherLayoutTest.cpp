#include <gtest/gtest.h>

#include "launcher/LauncherLayout.h"

using namespace kiosa;

namespace {

struct HoverCase {
    QPoint point;
    BigButtonsLook buttons;
    CloseLook close;
};

const HoverCase kHoverCases[] = {
    // Left hover area 40..160 x 60..170, wider than the picture on its left side.
    {{50, 100}, BigButtonsLook::LeftHovered, CloseLook::Normal},
    {{40, 60}, BigButtonsLook::LeftHovered, CloseLook::Normal},
    {{159, 169}, BigButtonsLook::LeftHovered, CloseLook::Normal},
    {{39, 100}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{100, 59}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{100, 170}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{160, 100}, BigButtonsLook::BothNormal, CloseLook::Normal},
    // Right hover area 260..380 x 60..170, wider on its right side.
    {{260, 60}, BigButtonsLook::RightHovered, CloseLook::Normal},
    {{370, 100}, BigButtonsLook::RightHovered, CloseLook::Normal},
    {{379, 169}, BigButtonsLook::RightHovered, CloseLook::Normal},
    {{259, 100}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{380, 100}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{200, 200}, BigButtonsLook::BothNormal, CloseLook::Normal},
    // Close area 370..400 x 10..30.
    {{370, 10}, BigButtonsLook::BothNormal, CloseLook::Hovered},
    {{399, 29}, BigButtonsLook::BothNormal, CloseLook::Hovered},
    {{400, 20}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{385, 30}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{369, 20}, BigButtonsLook::BothNormal, CloseLook::Normal},
    // Dead zone 330..360 x 10..30: the close picture is not touched.
    {{330, 10}, BigButtonsLook::BothNormal, CloseLook::Unchanged},
    {{345, 20}, BigButtonsLook::BothNormal, CloseLook::Unchanged},
    {{359, 29}, BigButtonsLook::BothNormal, CloseLook::Unchanged},
    {{360, 20}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{329, 20}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{345, 30}, BigButtonsLook::BothNormal, CloseLook::Normal},
    {{345, 9}, BigButtonsLook::BothNormal, CloseLook::Normal},
};

struct ClickCase {
    QPoint point;
    ClickTarget target;
};

const ClickCase kClickCases[] = {
    // Hovering at x = 50 lights the left picture, but a release there does nothing.
    {{50, 100}, ClickTarget::None},
    {{59, 100}, ClickTarget::None},
    {{60, 60}, ClickTarget::LeftProgram},
    {{159, 169}, ClickTarget::LeftProgram},
    {{160, 100}, ClickTarget::None},
    {{100, 170}, ClickTarget::None},
    {{260, 60}, ClickTarget::RightProgram},
    {{359, 169}, ClickTarget::RightProgram},
    {{360, 100}, ClickTarget::None},
    {{375, 100}, ClickTarget::None},
    {{370, 10}, ClickTarget::Close},
    {{399, 29}, ClickTarget::Close},
    {{400, 20}, ClickTarget::None},
    {{345, 20}, ClickTarget::None},
    {{0, 0}, ClickTarget::None},
};

}  // namespace

TEST(LauncherLayoutTest, HoverLookFollowsTheHoverAreas) {
    for (const HoverCase& c : kHoverCases) {
        SCOPED_TRACE(testing::Message() << "at " << c.point.x() << "," << c.point.y());
        const HoverLook look = HoverLookAt(c.point);
        EXPECT_EQ(look.buttons, c.buttons);
        EXPECT_EQ(look.close, c.close);
    }
}

TEST(LauncherLayoutTest, ReleaseTargetFollowsTheClickAreas) {
    for (const ClickCase& c : kClickCases) {
        SCOPED_TRACE(testing::Message() << "at " << c.point.x() << "," << c.point.y());
        EXPECT_EQ(ClickTargetAt(c.point), c.target);
    }
}
