#pragma once
// The pieces every chart drawing is made of: the plot's place in the area, the value axis,
// the class bands, the category labels and the legend. Only the drawings use them.
#include <QColor>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <vector>

#include "data/ChartData.h"
#include "report/ChartDrawing.h"

namespace ohmlet {

struct LegendEntry {
    QString text;
    QColor colour;
    bool line = false;  // a stroke instead of a filled swatch
};

// The plot rectangle and a value scale over it.
struct PlotFrame {
    QRectF plot;
    QRectF legend;  // under the axis labels; empty without a legend
    AxisRange axis{};

    double Y(double value) const {
        return plot.bottom() - (value - axis.low) / (axis.high - axis.low) * plot.height();
    }
};

// The whole steps of the axis, as labelled.
QStringList AxisLabels(const AxisRange& axis);

// Leaves room for the value labels (and the axis title) on the left, a line of labels (and
// the axis title) below, and the legend at the bottom.
PlotFrame LayOutPlot(const QRectF& body, const ChartStyle& style, const ChartTexts& texts,
                     const AxisRange& axis, const std::vector<LegendEntry>& legend);

// Ticks, labels and title of the value axis, and the frame round the plot.
void DrawValueAxis(QPainter& painter, const PlotFrame& frame, const ChartStyle& style,
                   const QString& title);
void DrawPlotFrame(QPainter& painter, const PlotFrame& frame, const ChartStyle& style);
// The class bands behind the plot, in the class colours.
void DrawBands(QPainter& painter, const PlotFrame& frame, const ClassTable& table);
// A label centred on x under the plot, and the axis title under the labels.
void DrawXLabel(QPainter& painter, const PlotFrame& frame, const ChartStyle& style, double x,
                const QString& text);
void DrawXTitle(QPainter& painter, const PlotFrame& frame, const ChartStyle& style,
                const QString& title);
// How many labels to step over so that neighbours of this width do not meet.
int LabelStride(double labelWidth, double slot);

// One entry per class named in `shown` (all when empty), lowest readings first.
std::vector<LegendEntry> ClassLegend(const ClassTable& table, ClassWording wording,
                                     const std::vector<bool>& shown = {});
// Entries flow left to right in rows as wide as `width`.
double LegendHeight(const std::vector<LegendEntry>& legend, const ChartStyle& style, double width);
void DrawLegend(QPainter& painter, const std::vector<LegendEntry>& legend, const ChartStyle& style,
                const QRectF& where);

}  // namespace ohmlet
