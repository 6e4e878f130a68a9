#include "report/ChartPage.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "data/ChartData.h"
#include "report/ClassColours.h"
#include "report/ClassNames.h"
#include "report/GbkCodec.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

constexpr int kCellHeightFirst = 1550;
constexpr int kCellHeight = 1480;
// A printed line cannot show more than this many points across a small chart.
constexpr std::size_t kPrintedPoints = 1200;

struct Scale {
    QRect plot;
    double low, high;  // readings at the plot's bottom and top
    int Y(double v) const {
        return plot.bottom() -
               static_cast<int>(std::lround((v - low) / (high - low) * plot.height()));
    }
};

void DrawValueAxis(QPainter& painter, const Scale& s, double step) {
    const int labelHeight = painter.font().pixelSize();
    for (double v = s.low; v <= s.high + step / 1000; v += step) {
        const int y = s.Y(v);
        DrawLine(painter, s.plot.left() - 25, y, s.plot.left(), y);
        const QString text = QString::number(v, 'g', 6);
        const int width = painter.fontMetrics().horizontalAdvance(text);
        DrawTextNatural(painter, s.plot.left() - 40 - width, y - labelHeight / 2, text);
    }
}

void DrawBands(QPainter& painter, const Scale& s, const ClassTable& table) {
    for (const ClassBand& band : ClassBands(table, s.low, s.high))
        painter.fillRect(
            QRect(QPoint(s.plot.left(), s.Y(band.high)), QPoint(s.plot.right(), s.Y(band.low))),
            ClassColour(band.classIndex, table.Size()));
}

void DrawReadingsChart(QPainter& painter, const QRect& cell, const Component& c,
                       const ClassTable& table) {
    painter.save();
    painter.setFont(ReportFont(ReportFace::Song, 9));
    DrawTextFitted(painter, cell.left() + 60, cell.top(), cell.width() - 120,
                   FromGbk(c.Number()) + QLatin1Char(' ') + FromGbk(c.Name()));
    const std::optional<ValueRange> range = ReadingRange(c);
    if (!range) {
        painter.restore();
        return;
    }
    const std::vector<SeriesPoint> points = ReadingSeries(c, kPrintedPoints);
    const AxisRange axis = NiceAxis(range->min, range->max, 4);
    const Scale s{QRect(QPoint(cell.left() + 360, cell.top() + 130),
                        QPoint(cell.right() - 60, cell.bottom() - 230)),
                  axis.low, axis.high};
    DrawBands(painter, s, table);
    painter.setFont(ReportFont(ReportFace::Song, 7.5));
    DrawValueAxis(painter, s, axis.step);
    const double last = static_cast<double>(std::max<int64_t>(points.back().number, 2));
    auto X = [&](double n) {
        return s.plot.left() + static_cast<int>(std::lround((n - 1) / (last - 1) * s.plot.width()));
    };
    QPainterPath path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const QPointF p(X(static_cast<double>(points[i].number)), s.Y(points[i].value));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    QPen line(QColor(20, 60, 160));
    line.setWidth(8);
    painter.setPen(line);
    painter.drawPath(path);
    if (points.size() == 1) painter.drawEllipse(path.currentPosition(), 14, 14);
    painter.setPen(QPen(Qt::black, 3));
    DrawFrame(painter, s.plot.left(), s.plot.top(), s.plot.right(), s.plot.bottom());
    const int y = s.plot.bottom() + 30;
    DrawTextNatural(painter, s.plot.left(), y, QStringLiteral("1"));
    const QString lastText = QString::number(points.back().number);
    DrawTextNatural(painter, s.plot.right() - painter.fontMetrics().horizontalAdvance(lastText), y,
                    lastText);
    const QString caption = QStringLiteral("测点号");
    DrawTextNatural(painter,
                    s.plot.center().x() - painter.fontMetrics().horizontalAdvance(caption) / 2, y,
                    caption);
    painter.restore();
}

void DrawOverview(QPainter& painter, const QRect& area, const std::vector<Component>& components,
                  const ClassTable& table) {
    const std::vector<BoxEntry> boxes = BoxOverview(components);
    if (boxes.empty()) return;
    double min = boxes.front().min, max = boxes.front().max;
    for (const BoxEntry& b : boxes) {
        min = std::min(min, b.min);
        max = std::max(max, b.max);
    }
    const AxisRange axis = NiceAxis(min, max, 8);
    const Scale s{area.adjusted(450, 0, -50, -220), axis.low, axis.high};
    painter.save();
    DrawBands(painter, s, table);
    painter.setFont(ReportFont(ReportFace::Song, 8));
    DrawValueAxis(painter, s, axis.step);
    const double slot = static_cast<double>(s.plot.width()) / static_cast<double>(boxes.size());
    const int half = std::max(4, static_cast<int>(std::min(110.0, slot * 0.3)));
    // Every label while they fit, else every few.
    const int labelEvery = std::max(1, static_cast<int>(std::ceil(330.0 / slot)));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const BoxEntry& b = boxes[i];
        const int x = s.plot.left() + static_cast<int>((static_cast<double>(i) + 0.5) * slot);
        painter.setPen(QPen(Qt::black, 4));
        DrawLine(painter, x, s.Y(b.min), x, s.Y(b.p10));
        DrawLine(painter, x, s.Y(b.p90), x, s.Y(b.max));
        DrawLine(painter, x - half / 2, s.Y(b.min), x + half / 2, s.Y(b.min));
        DrawLine(painter, x - half / 2, s.Y(b.max), x + half / 2, s.Y(b.max));
        const QRect box(QPoint(x - half, s.Y(b.p90)), QPoint(x + half, s.Y(b.p10)));
        const auto cls = table.Classify(static_cast<int32_t>(std::floor(b.median)));
        painter.fillRect(box, ClassColour(cls, table.Size()).darker(115));
        painter.drawRect(box);
        painter.setPen(QPen(Qt::black, 8));
        DrawLine(painter, x - half, s.Y(b.median), x + half, s.Y(b.median));
        if (static_cast<int>(i) % labelEvery == 0) {
            const QString label = FromGbk(components[b.component].Number());
            DrawTextNatural(painter, x - painter.fontMetrics().horizontalAdvance(label) / 2,
                            s.plot.bottom() + 30, label);
        }
    }
    painter.setPen(QPen(Qt::black, 3));
    DrawFrame(painter, s.plot.left(), s.plot.top(), s.plot.right(), s.plot.bottom());
    // The class legend under the axis.
    int x = s.plot.left();
    const int y = s.plot.bottom() + 130;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        painter.fillRect(QRect(x, y + 5, 60, 60), ClassColour(i, table.Size()));
        DrawFrame(painter, x, y + 5, x + 60, y + 65);
        const QString text = ClassLegendText(table, i) + QStringLiteral(" kΩ·cm");
        DrawTextNatural(painter, x + 90, y, text);
        x += 90 + painter.fontMetrics().horizontalAdvance(text) + 120;
    }
    painter.restore();
}

}  // namespace

std::vector<std::size_t> ChartedComponents(const std::vector<Component>& components) {
    std::vector<std::size_t> charted;
    for (const BoxEntry& b : BoxOverview(components)) charted.push_back(b.component);
    return charted;
}

int ChartPageCount(std::size_t chartCount) {
    if (chartCount == 0) return 0;
    const std::size_t rest = chartCount > kChartsOnFirstPage ? chartCount - kChartsOnFirstPage : 0;
    return 1 + static_cast<int>((rest + kChartsPerPage - 1) / kChartsPerPage);
}

void DrawChartPage(QPainter& painter, const ReportPageFrame& f,
                   const std::vector<Component>& components,
                   const std::vector<std::size_t>& charted, const ClassTable& table,
                   int chartPage) {
    if (chartPage < 0 || chartPage >= ChartPageCount(charted.size())) return;
    const int L = f.leftMargin, T = f.topMargin, W = f.frameWidth;
    std::size_t first = 0;
    int top = T + 150;
    int cellHeight = kCellHeight;
    std::size_t count = kChartsPerPage;
    painter.save();
    if (chartPage == 0) {
        painter.setFont(ReportFont(ReportFace::Song, 12));
        DrawTextAt(painter, L, T, QStringLiteral("电阻率图表:"));
        painter.setFont(ReportFont(ReportFace::Song, 9));
        DrawTextNatural(painter, L, T + 170,
                        QStringLiteral("选中构件总览（箱体为 p10–p90，中线为中位数，"
                                       "须为最小值和最大值；底色为锈蚀可能性等级）"));
        DrawOverview(painter, QRect(L, T + 330, W, 2350), components, table);
        top = T + 2850;
        cellHeight = kCellHeightFirst;
        count = kChartsOnFirstPage;
    } else {
        first = kChartsOnFirstPage + static_cast<std::size_t>(chartPage - 1) * kChartsPerPage;
    }
    const std::size_t end = std::min(charted.size(), first + count);
    for (std::size_t k = first; k < end; ++k) {
        const int index = static_cast<int>(k - first);
        const QRect cell(L + (index % 2) * (W / 2), top + (index / 2) * cellHeight, W / 2,
                         cellHeight);
        DrawReadingsChart(painter, cell, components[charted[k]], table);
    }
    painter.restore();
}

}  // namespace ohmlet
