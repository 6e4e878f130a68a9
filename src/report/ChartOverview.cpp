// The box overview of the ticked components and the map of a grid component.
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "report/ChartDrawing.h"
#include "report/ChartParts.h"
#include "report/ClassColours.h"
#include "report/GbkCodec.h"

namespace ohmlet {

// --- box overview ---------------------------------------------------------------------------

OverviewDrawing::OverviewDrawing(const std::vector<Component>& components, const ClassTable& table,
                                 ChartStyle style, ChartTexts texts)
    : ChartDrawing(std::move(style), std::move(texts)), boxes_(BoxOverview(components)) {
    table_ = table;
    if (boxes_.empty()) return;
    double min = boxes_.front().min, max = boxes_.front().max;
    for (const BoxEntry& b : boxes_) {
        min = std::min(min, b.min);
        max = std::max(max, b.max);
        labels_.push_back(FromGbk(components[b.component].Number()));
        names_.push_back(ComponentTitle(components[b.component]));
    }
    axis_ = NiceAxis(min, max, 8);
}

void OverviewDrawing::DrawBody(QPainter& painter, const QRectF& body) const {
    const std::vector<LegendEntry> legend = ClassLegend(table_, style_.wording);
    const PlotFrame frame = LayOutPlot(body, style_, texts_, axis_, legend);
    const double u = style_.unit;
    DrawBands(painter, frame, table_);
    DrawValueAxis(painter, frame, style_, texts_.yTitle);
    const double slot = frame.plot.width() / static_cast<double>(boxes_.size());
    const double half = std::clamp(slot * 0.3, 2 * u, 18 * u);
    const QFontMetricsF fm(style_.font);
    double widest = 0;
    for (const QString& label : labels_) widest = std::max(widest, fm.horizontalAdvance(label));
    // Every label while they fit, else every few.
    const int stride = LabelStride(widest + 8 * u, slot);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const BoxEntry& b = boxes_[i];
        const double x = frame.plot.left() + (static_cast<double>(i) + 0.5) * slot;
        painter.setPen(QPen(Qt::black, 0.8 * u));
        painter.drawLine(QPointF(x, frame.Y(b.min)), QPointF(x, frame.Y(b.p10)));
        painter.drawLine(QPointF(x, frame.Y(b.p90)), QPointF(x, frame.Y(b.max)));
        painter.drawLine(QPointF(x - half / 2, frame.Y(b.min)),
                         QPointF(x + half / 2, frame.Y(b.min)));
        painter.drawLine(QPointF(x - half / 2, frame.Y(b.max)),
                         QPointF(x + half / 2, frame.Y(b.max)));
        const QRectF box(QPointF(x - half, frame.Y(b.p90)), QPointF(x + half, frame.Y(b.p10)));
        const auto cls = table_.Classify(static_cast<int32_t>(std::floor(b.median)));
        painter.fillRect(box, ClassColour(cls, table_.Size()).darker(115));
        painter.drawRect(box);
        painter.setPen(QPen(Qt::black, 1.6 * u));
        painter.drawLine(QPointF(x - half, frame.Y(b.median)),
                         QPointF(x + half, frame.Y(b.median)));
        if (static_cast<int>(i) % stride == 0) DrawXLabel(painter, frame, style_, x, labels_[i]);
    }
    DrawXTitle(painter, frame, style_, texts_.xTitle);
    DrawPlotFrame(painter, frame, style_);
    if (style_.legend) DrawLegend(painter, legend, style_, frame.legend);
}

ChartHit OverviewDrawing::HitAt(const QPointF& at, const QRectF& area) const {
    if (boxes_.empty()) return {};
    const PlotFrame frame =
        LayOutPlot(Body(area), style_, texts_, axis_, ClassLegend(table_, style_.wording));
    if (!frame.plot.contains(at)) return {};
    const double slot = frame.plot.width() / static_cast<double>(boxes_.size());
    const auto index = static_cast<std::size_t>((at.x() - frame.plot.left()) / slot);
    return {ChartHitKind::Box, std::min(index, boxes_.size() - 1), 0};
}

// --- grid map -------------------------------------------------------------------------------

GridMapDrawing::GridMapDrawing(const Component* component, const ClassTable& table,
                               std::array<QString, 2> blockNames, ChartStyle style,
                               ChartTexts texts)
    : ChartDrawing(std::move(style), std::move(texts)), blockNames_(std::move(blockNames)) {
    table_ = table;
    if (component) map_ = MakeGridMap(*component, table);
}

// Cells are square while they fit, and narrow with the width for long blocks.
GridMapDrawing::Layout GridMapDrawing::LayOut(const QRectF& body) const {
    const double u = style_.unit;
    const QFontMetricsF fm(style_.font);
    const double labels =
        std::max(fm.horizontalAdvance(blockNames_[0]), fm.horizontalAdvance(blockNames_[1])) +
        8 * u;
    const double columns =
        map_ ? static_cast<double>(std::max<std::size_t>(map_->Columns(), 1)) : 1;
    const double legend =
        style_.legend
            ? LegendHeight(ClassLegend(table_, style_.wording), style_, body.width()) + 8 * u
            : 0;
    const double cell = std::clamp((body.width() - labels) / columns, 1.0, 44 * u);
    const double height = std::clamp((body.height() - legend - 4 * u) / 2, 8 * u, 44 * u);
    return {body.left() + labels, body.top(), cell, height, 4 * u};
}

QRectF GridMapDrawing::CellRect(const QRectF& area, int row, std::size_t column) const {
    if (!map_ || row < 0 || row > 1 || column >= map_->rows[row].size()) return {};
    const Layout l = LayOut(Body(area));
    return QRectF(l.left + static_cast<double>(column) * l.cell, l.top + row * (l.height + l.gap),
                  l.cell, l.height);
}

void GridMapDrawing::DrawBody(QPainter& painter, const QRectF& body) const {
    const Layout l = LayOut(body);
    const double u = style_.unit;
    painter.setFont(style_.font);
    const QFontMetricsF fm(style_.font);
    for (int row = 0; row < 2; ++row) {
        const double y = l.top + row * (l.height + l.gap);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(body.left(), y, l.left - body.left(), l.height),
                         Qt::AlignLeft | Qt::AlignVCenter, blockNames_[row]);
        const std::vector<MapCell>& cells = map_->rows[row];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const QRectF box(l.left + static_cast<double>(i) * l.cell, y, l.cell, l.height);
            painter.fillRect(box, cells[i].valid ? ClassColour(cells[i].classIndex, table_.Size())
                                                 : QColor(Qt::lightGray));
            painter.setPen(QPen(QColor(120, 120, 120), 0.6 * u));
            painter.drawRect(box);
            // Not by colour alone: an invalid reading is crossed out.
            if (!cells[i].valid) {
                painter.drawLine(box.topLeft(), box.bottomRight());
                painter.drawLine(box.topRight(), box.bottomLeft());
            }
            const QString value = QString::number(cells[i].value);
            if (fm.horizontalAdvance(value) + 2 * u <= box.width()) {
                painter.setPen(Qt::black);
                painter.drawText(box, Qt::AlignCenter, value);
            }
        }
    }
    if (!style_.legend) return;
    const std::vector<LegendEntry> legend = ClassLegend(table_, style_.wording);
    const double top = l.top + 2 * l.height + l.gap + 8 * u;
    DrawLegend(painter, legend, style_,
               QRectF(body.left(), top, body.width(), body.bottom() - top));
}

ChartHit GridMapDrawing::HitAt(const QPointF& at, const QRectF& area) const {
    if (!map_) return {};
    const Layout l = LayOut(Body(area));
    for (int row = 0; row < 2; ++row) {
        const double y = l.top + row * (l.height + l.gap);
        if (at.y() < y || at.y() >= y + l.height || at.x() < l.left) continue;
        const auto column = static_cast<std::size_t>((at.x() - l.left) / l.cell);
        if (column < map_->rows[row].size()) return {ChartHitKind::Cell, column, row};
    }
    return {};
}

}  // namespace ohmlet
