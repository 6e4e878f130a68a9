// The survey map's drawing: each cell in the colour its state calls for, and the smooth
// field in class colours with its holes left blank.
#include "report/MapDrawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "report/ClassColours.h"

namespace ohmlet {
namespace {

Component Surveyed(std::vector<int> values, int rows, int columns) {
    Component c;
    c.SetNumber("W001");
    c.designValue = 100;
    c.lowerTolerance = -60;  // passes 40..150
    c.upperTolerance = 50;
    c.ResizePoints(static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) c.points[i].value = values[i];
    c.extras.grid = SurveyGrid{rows, columns, 100, 100, ReadingOrder::Rows, GridCorner::TopLeft};
    return c;
}

// Near a cell's left edge halfway down: clear of the value, the flag and the cross.
QColor Sample(const QImage& image, const QRectF& cell, double fx, double fy) {
    return image.pixelColor(
        QPointF(cell.left() + fx * cell.width(), cell.top() + fy * cell.height()).toPoint());
}

TEST(MapDrawing, CellsAndFieldShowClassesAndStates) {
    const ClassTable rilem = ClassTable::Rilem();  // 0 > 100, 1 > 50, 2 > 10, 3 the rest
    const QColor white(Qt::white), grey(200, 200, 200), hole(245, 245, 245);
    struct Spot {
        int row, column;
        double fx, fy;
        QColor colour;
    };
    struct Case {
        const char* what;
        MapKind kind;
        std::vector<int> values;  // on 2 × 3
        std::vector<Spot> spots;
    } cases[] = {
        {"cells",
         MapKind::Cells,
         {120, 60, 30, 5, 0},
         {{0, 0, 0.15, 0.5, ClassColour(0, 4)},
          {0, 1, 0.15, 0.5, ClassColour(1, 4)},
          {0, 2, 0.15, 0.5, ClassColour(2, 4)},  // failing: the colour stays inside its frame
          {1, 0, 0.15, 0.5, ClassColour(3, 4)},
          {1, 1, 0.15, 0.5, grey},     // invalid
          {1, 2, 0.15, 0.5, white}}},  // empty
        {"smooth",
         MapKind::Smooth,
         {120, 120, 60, 0, 120, 60},
         {{0, 0, 0.2, 0.2, ClassColour(0, 4)},  // held flat in the outer half cell
          {0, 1, 0.6, 0.8, ClassColour(0, 4)},  // between four valid readings
          {0, 2, 0.8, 0.2, ClassColour(1, 4)},
          {1, 0, 0.2, 0.8, hole}}},  // only the invalid reading's centre
    };
    for (const Case& c : cases) {
        const Component component = Surveyed(c.values, 2, 3);
        ChartStyle style;
        style.font.setPixelSize(12);
        style.titleFont.setPixelSize(14);
        const SurveyMapDrawing drawing(&component, rilem, c.kind, style, {"W001", {}, "x", "y", {}},
                                       ReportMapTexts());
        ASSERT_TRUE(drawing.Map()) << c.what;
        QImage image(640, 480, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            drawing.Draw(painter, image.rect());
        }
        for (const Spot& s : c.spots) {
            const QRectF cell = drawing.CellRect(image.rect(), s.row, s.column);
            ASSERT_GT(cell.width(), 40) << c.what;
            EXPECT_EQ(Sample(image, cell, s.fx, s.fy).name(), s.colour.name())
                << c.what << " cell " << s.row << ',' << s.column;
            const ChartHit hit = drawing.HitAt(cell.center(), image.rect());
            EXPECT_EQ(hit.kind, ChartHitKind::SurveyCell) << c.what;
            EXPECT_EQ(hit.index, static_cast<std::size_t>(s.row * 3 + s.column)) << c.what;
        }
    }
}

}  // namespace
}  // namespace ohmlet
