#include "report/ChartDrawing.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "report/ChartParts.h"
#include "report/ClassColours.h"
#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

const QColor kLineColour(20, 60, 160);
// Markers only while they can be told apart.
constexpr std::size_t kMarkedPoints = 120;

std::vector<LegendEntry> BandLegend(const ClassTable& table, const ChartStyle& style,
                                    const ChartTexts& texts, const AxisRange& axis) {
    std::vector<bool> shown(table.Size(), false);
    for (const ClassBand& band : ClassBands(table, axis.low, axis.high))
        shown[band.classIndex] = true;
    std::vector<LegendEntry> legend = ClassLegend(table, style.wording, shown);
    if (!texts.lineName.isEmpty())
        legend.insert(legend.begin(), {texts.lineName, kLineColour, true});
    return legend;
}

}  // namespace

QString ComponentTitle(const Component& component) {
    const QString number = FromGbk(component.Number());
    const QString name = FromGbk(component.Name());
    return name.isEmpty() ? number : number + QLatin1Char(' ') + name;
}

ChartDrawing::ChartDrawing(ChartStyle style, ChartTexts texts)
    : style_(std::move(style)), texts_(std::move(texts)) {}

QRectF ChartDrawing::Body(const QRectF& area) const {
    const double u = style_.unit;
    QRectF body = area.adjusted(6 * u, 4 * u, -6 * u, -4 * u);
    if (!texts_.title.isEmpty())
        body.setTop(body.top() + QFontMetricsF(style_.titleFont).height() + 4 * u);
    return body;
}

void ChartDrawing::Draw(QPainter& painter, const QRectF& area) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);
    painter.setPen(Qt::black);
    const double u = style_.unit;
    if (!texts_.title.isEmpty()) {
        const QFontMetricsF fm(style_.titleFont);
        painter.setFont(style_.titleFont);
        const QRectF line(area.left() + 6 * u, area.top() + 4 * u, area.width() - 12 * u,
                          fm.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(texts_.title, Qt::ElideRight, line.width()));
    }
    const QRectF body = Body(area);
    if (HasData()) {
        DrawBody(painter, body);
    } else if (!texts_.note.isEmpty()) {
        painter.setFont(style_.font);
        painter.drawText(body, Qt::AlignCenter | Qt::TextWordWrap, texts_.note);
    }
    painter.restore();
}

// --- readings -------------------------------------------------------------------------------

ReadingsDrawing::ReadingsDrawing(const Component* component, const ClassTable& table,
                                 std::size_t maxPoints, ChartStyle style, ChartTexts texts)
    : ChartDrawing(std::move(style), std::move(texts)) {
    table_ = table;
    if (!component) return;
    const std::optional<ValueRange> range = ReadingRange(*component);
    if (!range) return;
    points_ = ReadingSeries(*component, maxPoints);
    axis_ = NiceAxis(range->min, range->max, 6);
}

namespace {

// The point number at the plot's right edge: at least 2, so one reading has an axis too.
double LastNumber(const std::vector<SeriesPoint>& points) {
    return static_cast<double>(std::max<int64_t>(points.back().number, 2));
}

double NumberX(const QRectF& plot, double last, double number) {
    return plot.left() + (number - 1) / (last - 1) * plot.width();
}

}  // namespace

void ReadingsDrawing::DrawBody(QPainter& painter, const QRectF& body) const {
    const PlotFrame frame =
        LayOutPlot(body, style_, texts_, axis_, BandLegend(table_, style_, texts_, axis_));
    DrawBands(painter, frame, table_);
    DrawValueAxis(painter, frame, style_, texts_.yTitle);
    const double last = LastNumber(points_);
    // Point numbers in whole steps, the first point always labelled.
    const AxisRange numbers = NiceAxis(1, last, 6);
    DrawXLabel(painter, frame, style_, frame.plot.left(), QStringLiteral("1"));
    const double minGap = numbers.step / 2;
    for (double n = numbers.step; n <= last; n += numbers.step)
        if (n - 1 >= minGap)
            DrawXLabel(painter, frame, style_, NumberX(frame.plot, last, n),
                       QString::number(n, 'f', 0));
    DrawXTitle(painter, frame, style_, texts_.xTitle);

    QPainterPath path;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const QPointF p(NumberX(frame.plot, last, static_cast<double>(points_[i].number)),
                        frame.Y(points_[i].value));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    painter.save();
    painter.setClipRect(
        frame.plot.adjusted(-3 * style_.unit, -3 * style_.unit, 3 * style_.unit, 3 * style_.unit));
    painter.setPen(
        QPen(kLineColour, 1.5 * style_.unit, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(path);
    if (points_.size() <= kMarkedPoints) {
        painter.setBrush(kLineColour);
        const double r = 2.2 * style_.unit;
        for (const SeriesPoint& p : points_)
            painter.drawEllipse(
                QPointF(NumberX(frame.plot, last, static_cast<double>(p.number)), frame.Y(p.value)),
                r, r);
    }
    painter.restore();
    DrawPlotFrame(painter, frame, style_);
    if (style_.legend)
        DrawLegend(painter, BandLegend(table_, style_, texts_, axis_), style_, frame.legend);
}

ChartHit ReadingsDrawing::HitAt(const QPointF& at, const QRectF& area) const {
    if (points_.empty()) return {};
    const PlotFrame frame =
        LayOutPlot(Body(area), style_, texts_, axis_, BandLegend(table_, style_, texts_, axis_));
    const double slack = 4 * style_.unit;
    if (!frame.plot.adjusted(-slack, -slack, slack, slack).contains(at)) return {};
    // The reading drawn nearest along the axis.
    const double last = LastNumber(points_);
    const double number = 1 + (at.x() - frame.plot.left()) / frame.plot.width() * (last - 1);
    const auto after = std::lower_bound(
        points_.begin(), points_.end(), number,
        [](const SeriesPoint& p, double n) { return static_cast<double>(p.number) < n; });
    std::size_t index = static_cast<std::size_t>(after - points_.begin());
    if (index == points_.size() ||
        (index > 0 && number - static_cast<double>(points_[index - 1].number) <
                          static_cast<double>(points_[index].number) - number))
        --index;
    return {ChartHitKind::Reading, index, 0};
}

// --- histogram ------------------------------------------------------------------------------

HistogramDrawing::HistogramDrawing(const Component* component, const ClassTable& table,
                                   ChartStyle style, ChartTexts texts)
    : ChartDrawing(std::move(style), std::move(texts)) {
    table_ = table;
    if (!component) return;
    histogram_ = MakeHistogram(*component, table);
    int64_t tallest = 0;
    for (const HistogramBin& bin : histogram_.bins) tallest = std::max(tallest, bin.count);
    // Whole counts, a little room above the tallest bar.
    const double step = std::max(1.0, std::ceil(static_cast<double>(tallest) / 8.0));
    axis_ = {0, std::ceil((tallest + std::max(1.0, std::ceil(tallest * 0.05))) / step) * step,
             step};
}

namespace {

QString BinLabel(const Histogram& h, const HistogramBin& bin) {
    // Bins hold whole numbers low..high-1.
    return h.width == 1 ? QString::number(bin.low)
                        : QStringLiteral("%1–%2").arg(bin.low).arg(bin.high - 1);
}

std::vector<bool> ClassesPresent(const Histogram& h, std::size_t classes) {
    std::vector<bool> shown(classes, false);
    for (const HistogramBin& bin : h.bins)
        for (std::size_t c = 0; c < classes && c < bin.classCounts.size(); ++c)
            shown[c] = shown[c] || bin.classCounts[c] > 0;
    return shown;
}

}  // namespace

void HistogramDrawing::DrawBody(QPainter& painter, const QRectF& body) const {
    const std::vector<LegendEntry> legend =
        ClassLegend(table_, style_.wording, ClassesPresent(histogram_, table_.Size()));
    const PlotFrame frame = LayOutPlot(body, style_, texts_, axis_, legend);
    DrawValueAxis(painter, frame, style_, texts_.yTitle);
    const double slot = frame.plot.width() / static_cast<double>(histogram_.bins.size());
    const QFontMetricsF fm(style_.font);
    double widest = 0;
    for (const HistogramBin& bin : histogram_.bins)
        widest = std::max(widest, fm.horizontalAdvance(BinLabel(histogram_, bin)));
    const int stride = LabelStride(widest + 8 * style_.unit, slot);
    for (std::size_t b = 0; b < histogram_.bins.size(); ++b) {
        const HistogramBin& bin = histogram_.bins[b];
        const double x = frame.plot.left() + slot * static_cast<double>(b);
        double base = 0;
        for (std::size_t c = 0; c < bin.classCounts.size(); ++c) {
            if (bin.classCounts[c] == 0) continue;
            const double top = base + static_cast<double>(bin.classCounts[c]);
            const QRectF bar(QPointF(x + slot * 0.04, frame.Y(top)),
                             QPointF(x + slot * 0.96, frame.Y(base)));
            const QColor colour = ClassColour(c, table_.Size());
            painter.fillRect(bar, colour);
            painter.setPen(QPen(colour.darker(140), 0.8 * style_.unit));
            painter.drawRect(bar);
            base = top;
        }
        if (static_cast<int>(b) % stride == 0)
            DrawXLabel(painter, frame, style_, x + slot / 2, BinLabel(histogram_, bin));
    }
    DrawXTitle(painter, frame, style_, texts_.xTitle);
    DrawPlotFrame(painter, frame, style_);
    if (style_.legend) DrawLegend(painter, legend, style_, frame.legend);
}

ChartHit HistogramDrawing::HitAt(const QPointF& at, const QRectF& area) const {
    if (histogram_.bins.empty()) return {};
    const PlotFrame frame =
        LayOutPlot(Body(area), style_, texts_, axis_,
                   ClassLegend(table_, style_.wording, ClassesPresent(histogram_, table_.Size())));
    if (!frame.plot.contains(at)) return {};
    const double slot = frame.plot.width() / static_cast<double>(histogram_.bins.size());
    const auto bin = static_cast<std::size_t>((at.x() - frame.plot.left()) / slot);
    return {ChartHitKind::Bin, std::min(bin, histogram_.bins.size() - 1), 0};
}

}  // namespace ohmlet
