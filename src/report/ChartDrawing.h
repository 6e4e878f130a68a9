#pragma once
// The charts drawn with QPainter from the chart data: one drawing serves the chart pane on
// screen, its PNG and PDF export, and the printed report's chart pages. The same drawing
// also answers what lies under a point, so the pane's tooltips name what is drawn there.
#include <QFont>
#include <QRectF>
#include <QString>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "data/ChartData.h"
#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "report/ClassNames.h"

class QPainter;

namespace ohmlet {

// Sizes in the painter's units: the pane draws in pixels, the report in dots of 600 dpi.
struct ChartStyle {
    QFont font;       // axis labels and legend
    QFont titleFont;  // the chart's title
    double unit = 1;  // one screen pixel: line widths, gaps and ticks scale with it
    bool legend = true;
    ClassWording wording = ClassWording::kReport;  // of the class names in the legend
};

// Texts come from the caller, so the report stays Chinese while the window translates.
struct ChartTexts {
    QString title;     // above the plot; none: no title line
    QString note;      // said in place of a chart that has nothing to draw
    QString xTitle;    // under the horizontal axis; none: no line for it
    QString yTitle;    // beside the value axis, turned; none: no room for it
    QString lineName;  // the readings line's legend entry
};

enum class ChartHitKind { None, Reading, Bin, Box, Cell, SurveyCell };

// What lies under a point: the index into the drawing's own data (the readings drawn, the
// bins, the boxes, the cells of `row` of the map, or a survey grid's cell row * columns +
// column).
struct ChartHit {
    ChartHitKind kind = ChartHitKind::None;
    std::size_t index = 0;
    int row = 0;
};

class ChartDrawing {
public:
    ChartDrawing(ChartStyle style, ChartTexts texts);
    virtual ~ChartDrawing() = default;

    // White background, the title, then the chart (or the note) inside `area`.
    void Draw(QPainter& painter, const QRectF& area) const;
    // For a drawing made into `area`.
    virtual ChartHit HitAt(const QPointF& at, const QRectF& area) const = 0;

    const ChartStyle& Style() const { return style_; }
    const ChartTexts& Texts() const { return texts_; }
    const ClassTable& Classes() const { return table_; }

protected:
    virtual bool HasData() const = 0;
    virtual void DrawBody(QPainter& painter, const QRectF& body) const = 0;
    // The part of `area` under the title.
    QRectF Body(const QRectF& area) const;

    ChartStyle style_;
    ChartTexts texts_;
    ClassTable table_ = ClassTable::Rilem();
};

// A long component's line keeps the low and high of runs past this many points on screen.
inline constexpr std::size_t kMaxSeriesPoints = 4000;

// Readings along the point number over the class bands they fall in.
class ReadingsDrawing : public ChartDrawing {
public:
    // No component, or none with readings: the note.
    ReadingsDrawing(const Component* component, const ClassTable& table, std::size_t maxPoints,
                    ChartStyle style, ChartTexts texts);
    ChartHit HitAt(const QPointF& at, const QRectF& area) const override;
    const std::vector<SeriesPoint>& Points() const { return points_; }

private:
    bool HasData() const override { return !points_.empty(); }
    void DrawBody(QPainter& painter, const QRectF& body) const override;

    std::vector<SeriesPoint> points_;
    AxisRange axis_{};
};

// Readings per bin, each bar split by class.
class HistogramDrawing : public ChartDrawing {
public:
    HistogramDrawing(const Component* component, const ClassTable& table, ChartStyle style,
                     ChartTexts texts);
    ChartHit HitAt(const QPointF& at, const QRectF& area) const override;
    const Histogram& Bins() const { return histogram_; }

private:
    bool HasData() const override { return !histogram_.bins.empty(); }
    void DrawBody(QPainter& painter, const QRectF& body) const override;

    Histogram histogram_;
    AxisRange axis_{};
};

// One box per component (whiskers at the extremes, the box from p10 to p90, a line at the
// median), in the colour of the median's class, over the class bands.
class OverviewDrawing : public ChartDrawing {
public:
    // The ticked components with readings.
    OverviewDrawing(const std::vector<Component>& components, const ClassTable& table,
                    ChartStyle style, ChartTexts texts);
    ChartHit HitAt(const QPointF& at, const QRectF& area) const override;
    const std::vector<BoxEntry>& Boxes() const { return boxes_; }
    // The number of each box's component (its label), and the number with the name.
    const std::vector<QString>& Labels() const { return labels_; }
    const std::vector<QString>& Names() const { return names_; }

private:
    bool HasData() const override { return !boxes_.empty(); }
    void DrawBody(QPainter& painter, const QRectF& body) const override;

    std::vector<BoxEntry> boxes_;
    std::vector<QString> labels_;
    std::vector<QString> names_;
    AxisRange axis_{};
};

// A grid (W) component's two blocks of readings as two rows of cells coloured by class.
class GridMapDrawing : public ChartDrawing {
public:
    // Not a grid component (or none): the note.
    GridMapDrawing(const Component* component, const ClassTable& table,
                   std::array<QString, 2> blockNames, ChartStyle style, ChartTexts texts);
    ChartHit HitAt(const QPointF& at, const QRectF& area) const override;
    const std::optional<GridMap>& Map() const { return map_; }
    // The cell of point (row 0 or 1, column) in a drawing made into `area`; empty when there
    // is no such cell.
    QRectF CellRect(const QRectF& area, int row, std::size_t column) const;

private:
    struct Layout {
        double left, top, cell, height, gap;
    };
    Layout LayOut(const QRectF& body) const;
    bool HasData() const override { return map_.has_value(); }
    void DrawBody(QPainter& painter, const QRectF& body) const override;

    std::optional<GridMap> map_;
    std::array<QString, 2> blockNames_;
};

// "W007 1#楼四层网格板LB2": the number and the name (when there is one), from GBK.
QString ComponentTitle(const Component& component);

}  // namespace ohmlet
