// The chart pane's map page: a tooltip naming the reading under the mouse in either kind
// of map, and a note for a component without a grid.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "report/MapDrawing.h"
#include "support/QtTestSupport.h"
#include "views/ChartView.h"
#include "views/MapView.h"

using namespace ohmlet;
using namespace ohmlet::test;

TEST(MapView, TipsNameTheReadingUnderTheMouse) {
    MapView view;
    view.resize(600, 420);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    Component c = MakeComponent("W001", {20, 0, 40, 30});  // passes 17..25
    c.extras.grid = SurveyGrid{2, 3, 100, 100, ReadingOrder::SerpentineRows, GridCorner::TopLeft};
    struct Case {
        MapKind kind;
        int row, column;
        const char* tip;
    } cases[] = {
        {MapKind::Cells, 0, 0, "测点 1：20 kΩ·cm（中等，合格）\n第 1 行第 1 列"},
        {MapKind::Cells, 0, 1, "测点 2：0 kΩ·cm（无效读数）\n第 1 行第 2 列"},
        {MapKind::Smooth, 1, 2, "测点 4：30 kΩ·cm（中等，不合格）\n第 2 行第 3 列"},
        {MapKind::Smooth, 1, 0, "第 2 行第 1 列：没有读数"},
    };
    for (const Case& k : cases) {
        view.SetComponent(&c, ClassTable::Rilem(), ScreenChartStyle(view.font()));
        view.SetKind(k.kind);
        const auto& drawing = dynamic_cast<const SurveyMapDrawing&>(*view.Chart()->Drawing());
        EXPECT_EQ(drawing.Kind(), k.kind);
        const QRectF cell = drawing.CellRect(view.Chart()->rect(), k.row, k.column);
        EXPECT_EQ(view.Chart()->ToolTipAt(cell.center().toPoint()), QString::fromUtf8(k.tip))
            << k.row << ',' << k.column;
    }
    c.extras.grid.reset();
    view.SetComponent(&c, ClassTable::Rilem(), ScreenChartStyle(view.font()));
    EXPECT_TRUE(view.Chart()->Drawing()->Texts().note.contains(QStringLiteral("网格")));
    EXPECT_TRUE(view.Chart()->ToolTipAt(view.Chart()->rect().center()).isEmpty());
}
