// The chart pane in the frame: 查看 → 图表 shows and hides it, and it charts the frame's
// document.
#include <QAction>
#include <QTabWidget>

#include "FrameFixture.h"
#include "views/ChartPane.h"
#include "views/ChartView.h"

namespace ohmlet::test {
namespace {

using ChartFrameTest = FrameTest;

TEST_F(ChartFrameTest, ViewMenuTogglesThePane) {
    ChartPane* pane = frame->Charts();
    ASSERT_TRUE(pane);
    QAction* toggle = frame->findChild<QAction*>(QStringLiteral("viewCharts"));
    ASSERT_TRUE(toggle);
    EXPECT_TRUE(toggle->isCheckable());
    struct Step {
        bool visible;  // after the trigger
    } steps[] = {{true}, {false}, {true}};
    EXPECT_FALSE(pane->isVisible());  // out of the way until asked for
    EXPECT_FALSE(toggle->isChecked());
    for (const Step& s : steps) {
        toggle->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(pane->isVisible(), s.visible);
        EXPECT_EQ(toggle->isChecked(), s.visible);
    }
}

const std::optional<GridMap>& MapOf(const ChartPane& pane) {
    return dynamic_cast<const GridMapDrawing&>(*pane.View(ChartPane::MapTab)->Drawing()).Map();
}

TEST_F(ChartFrameTest, PaneChartsTheOpenedFile) {
    Component grid = MakeComponent("W001", {10, 60, 120, 5}, 1);
    grid.blockOffset = 1;
    Open({MakeComponent("0001", {20, 30}), grid});
    frame->findChild<QAction*>(QStringLiteral("viewCharts"))->trigger();
    Doc().SelectComponent(1);
    QCoreApplication::processEvents();
    ChartPane* pane = frame->Charts();
    const auto& map = MapOf(*pane);
    ASSERT_TRUE(map.has_value());
    EXPECT_EQ(map->rows[0].size(), 1u);
    EXPECT_EQ(map->rows[1].size(), 3u);
    // Hidden, it lets changes pass and catches up when shown again.
    pane->hide();
    Doc().SelectComponent(0);
    QCoreApplication::processEvents();
    pane->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(MapOf(*pane).has_value());
}

}  // namespace
}  // namespace ohmlet::test
