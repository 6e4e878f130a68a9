#pragma once
// A component's readings on its survey grid, drawn with QPainter for the pane, PNG, PDF
// and ohmlet-cli: either every cell in its class colour, or a smooth field between the
// cell centres with the class boundaries traced as contour lines.
#include <QRectF>
#include <QString>
#include <optional>

#include "data/MapData.h"
#include "report/ChartDrawing.h"

namespace ohmlet {

enum class MapKind { Cells, Smooth };

// Texts beside ChartTexts (whose xTitle and yTitle name the axes in mm).
struct MapTexts {
    QString conditions;    // the line under the title; none: no line
    QString unplaced;      // said when readings lie past the last cell; "%1" their count
    QString columnsTitle;  // axis titles when the grid has no spacing: positions count cells
    QString rowsTitle;
    QString failing;  // the legend's words for the marks
    QString invalid;
    QString empty;
};

// "探头间距 50 mm · 温度 21.5 °C · 含水状态 干燥 · 表面 打磨": only what was set.
QString ConditionsText(const SurveyConditions& conditions,
                       ClassWording wording = ClassWording::kReport);
// The map words of the report (Chinese), for ohmlet-cli and the printed page.
MapTexts ReportMapTexts();
// The report's faces at a picture's size (pixels of 96 dpi): the PNG of ohmlet-cli map and
// the Word file's pictures.
ChartStyle MapPictureStyle();

class SurveyMapDrawing : public ChartDrawing {
public:
    // No component, no grid or sides out of range: the note.
    SurveyMapDrawing(const Component* component, const ClassTable& table, MapKind kind,
                     ChartStyle style, ChartTexts texts, MapTexts mapTexts,
                     int32_t overflowLimit = kDefaultOverflowLimit);
    ChartHit HitAt(const QPointF& at, const QRectF& area) const override;

    const std::optional<MapData>& Map() const { return map_; }
    MapKind Kind() const { return kind_; }
    // Where cell (row, column) is drawn in `area`; empty when there is no such cell.
    QRectF CellRect(const QRectF& area, int row, int column) const;

private:
    struct Layout {
        QRectF header;  // conditions and the unplaced note
        QRectF plot;    // the cells, true to the spacings
        QRectF legend;
        double cellW = 1, cellH = 1;
    };
    Layout LayOut(const QRectF& body) const;
    bool HasData() const override { return map_.has_value(); }
    void DrawBody(QPainter& painter, const QRectF& body) const override;
    void DrawCells(QPainter& painter, const Layout& l) const;
    void DrawField(QPainter& painter, const Layout& l) const;
    void DrawAxes(QPainter& painter, const Layout& l) const;
    void DrawMarksLegend(QPainter& painter, const QRectF& where) const;
    QString HeaderLine(int line) const;
    int HeaderLines() const;

    std::optional<MapData> map_;
    MapKind kind_;
    MapTexts mapTexts_;
};

}  // namespace ohmlet
