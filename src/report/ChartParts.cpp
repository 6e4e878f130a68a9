#include "report/ChartParts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "report/ClassColours.h"

namespace ohmlet {
namespace {

// Steps of the axis from low to high, counted so that rounding cannot drop the last.
int StepCount(const AxisRange& axis) {
    if (!(axis.step > 0) || !(axis.high >= axis.low)) return 0;
    return static_cast<int>(std::floor((axis.high - axis.low) / axis.step + 1e-6));
}

double Swatch(const ChartStyle& style) { return QFontMetricsF(style.font).ascent() * 0.8; }

double EntryWidth(const LegendEntry& e, const ChartStyle& style) {
    return Swatch(style) + 4 * style.unit + QFontMetricsF(style.font).horizontalAdvance(e.text) +
           14 * style.unit;
}

}  // namespace

QStringList AxisLabels(const AxisRange& axis) {
    QStringList labels;
    for (int i = 0; i <= StepCount(axis); ++i)
        labels << QString::number(axis.low + i * axis.step, 'g', 6);
    return labels;
}

PlotFrame LayOutPlot(const QRectF& body, const ChartStyle& style, const ChartTexts& texts,
                     const AxisRange& axis, const std::vector<LegendEntry>& legend) {
    const QFontMetricsF fm(style.font);
    const double u = style.unit;
    const double line = fm.height();
    double labels = 0;
    for (const QString& label : AxisLabels(axis))
        labels = std::max(labels, fm.horizontalAdvance(label));
    PlotFrame frame;
    frame.axis = axis;
    const double legendHeight =
        style.legend && !legend.empty() ? LegendHeight(legend, style, body.width()) : 0;
    double left = body.left() + labels + 12 * u;
    if (!texts.yTitle.isEmpty()) left += line + 4 * u;
    double bottom = body.bottom() - line - 6 * u;
    if (!texts.xTitle.isEmpty()) bottom -= line + 2 * u;
    if (legendHeight > 0) {
        bottom -= legendHeight + 6 * u;
        frame.legend =
            QRectF(body.left(), body.bottom() - legendHeight, body.width(), legendHeight);
    }
    const double top = body.top() + line / 2 + 2 * u;
    const double right = std::max(left + 1, body.right() - 14 * u);
    frame.plot = QRectF(QPointF(left, top), QPointF(right, std::max(top + 1, bottom)));
    return frame;
}

void DrawValueAxis(QPainter& painter, const PlotFrame& frame, const ChartStyle& style,
                   const QString& title) {
    const double u = style.unit;
    const QFontMetricsF fm(style.font);
    painter.save();
    painter.setFont(style.font);
    const QStringList labels = AxisLabels(frame.axis);
    for (int i = 0; i < labels.size(); ++i) {
        const double y = frame.Y(frame.axis.low + i * frame.axis.step);
        painter.setPen(QPen(QColor(0, 0, 0, 40), 0.6 * u));
        painter.drawLine(QPointF(frame.plot.left(), y), QPointF(frame.plot.right(), y));
        painter.setPen(QPen(Qt::black, 0.8 * u));
        painter.drawLine(QPointF(frame.plot.left() - 4 * u, y), QPointF(frame.plot.left(), y));
        const QRectF box(frame.plot.left() - 8 * u - fm.horizontalAdvance(labels[i]),
                         y - fm.height() / 2, fm.horizontalAdvance(labels[i]) + 1, fm.height());
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, labels[i]);
    }
    if (!title.isEmpty()) {
        // Turned to read upwards, centred on the plot's height.
        double widest = 0;
        for (const QString& l : labels) widest = std::max(widest, fm.horizontalAdvance(l));
        const double x = frame.plot.left() - 12 * u - widest - 2 * u;
        painter.translate(x, frame.plot.center().y());
        painter.rotate(-90);
        painter.drawText(
            QRectF(-frame.plot.height(), -fm.height(), 2 * frame.plot.height(), fm.height()),
            Qt::AlignCenter, fm.elidedText(title, Qt::ElideRight, frame.plot.height()));
    }
    painter.restore();
}

void DrawPlotFrame(QPainter& painter, const PlotFrame& frame, const ChartStyle& style) {
    painter.save();
    painter.setPen(QPen(Qt::black, 0.8 * style.unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.plot);
    painter.restore();
}

void DrawBands(QPainter& painter, const PlotFrame& frame, const ClassTable& table) {
    for (const ClassBand& band : ClassBands(table, frame.axis.low, frame.axis.high))
        painter.fillRect(QRectF(QPointF(frame.plot.left(), frame.Y(band.high)),
                                QPointF(frame.plot.right(), frame.Y(band.low))),
                         ClassColour(band.classIndex, table.Size()));
}

void DrawXLabel(QPainter& painter, const PlotFrame& frame, const ChartStyle& style, double x,
                const QString& text) {
    const QFontMetricsF fm(style.font);
    const double width = fm.horizontalAdvance(text) + 1;
    painter.save();
    painter.setFont(style.font);
    painter.setPen(QPen(Qt::black, 0.8 * style.unit));
    painter.drawLine(QPointF(x, frame.plot.bottom()),
                     QPointF(x, frame.plot.bottom() + 3 * style.unit));
    painter.drawText(
        QRectF(x - width / 2, frame.plot.bottom() + 4 * style.unit, width, fm.height()),
        Qt::AlignCenter, text);
    painter.restore();
}

void DrawXTitle(QPainter& painter, const PlotFrame& frame, const ChartStyle& style,
                const QString& title) {
    if (title.isEmpty()) return;
    const QFontMetricsF fm(style.font);
    painter.save();
    painter.setFont(style.font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(frame.plot.left(), frame.plot.bottom() + 6 * style.unit + fm.height(),
                            frame.plot.width(), fm.height()),
                     Qt::AlignCenter, title);
    painter.restore();
}

int LabelStride(double labelWidth, double slot) {
    if (!(slot > 0)) return 1;
    return std::max(1, static_cast<int>(std::ceil(labelWidth / slot)));
}

std::vector<LegendEntry> ClassLegend(const ClassTable& table, ClassWording wording,
                                     const std::vector<bool>& shown) {
    std::vector<LegendEntry> legend;
    for (std::size_t k = 0; k < table.Size(); ++k) {
        const std::size_t i = table.Size() - 1 - k;
        if (!shown.empty() && (i >= shown.size() || !shown[i])) continue;
        legend.push_back({ClassLegendText(table, i, wording) + QStringLiteral(" kΩ·cm"),
                          ClassColour(i, table.Size())});
    }
    return legend;
}

double LegendHeight(const std::vector<LegendEntry>& legend, const ChartStyle& style, double width) {
    if (legend.empty()) return 0;
    int rows = 1;
    double x = 0;
    for (const LegendEntry& e : legend) {
        const double w = EntryWidth(e, style);
        if (x > 0 && x + w > width) {
            ++rows;
            x = 0;
        }
        x += w;
    }
    return rows * QFontMetricsF(style.font).height() + (rows - 1) * 2 * style.unit;
}

void DrawLegend(QPainter& painter, const std::vector<LegendEntry>& legend, const ChartStyle& style,
                const QRectF& where) {
    const QFontMetricsF fm(style.font);
    const double u = style.unit;
    const double swatch = Swatch(style);
    painter.save();
    painter.setFont(style.font);
    double x = where.left();
    double y = where.top();
    for (const LegendEntry& e : legend) {
        const double w = EntryWidth(e, style);
        if (x > where.left() && x + w > where.right()) {
            x = where.left();
            y += fm.height() + 2 * u;
        }
        const QRectF box(x, y + (fm.height() - swatch) / 2, swatch, swatch);
        if (e.line) {
            painter.setPen(QPen(e.colour, 1.6 * u));
            painter.drawLine(QPointF(box.left(), box.center().y()),
                             QPointF(box.right(), box.center().y()));
        } else {
            painter.fillRect(box, e.colour);
            painter.setPen(QPen(QColor(90, 90, 90), 0.6 * u));
            painter.drawRect(box);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRectF(box.right() + 4 * u, y, w, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, e.text);
        x += w;
    }
    painter.restore();
}

}  // namespace ohmlet
