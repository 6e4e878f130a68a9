#include "report/ChartPage.h"

#include <QPainter>
#include <algorithm>

#include "data/ChartData.h"
#include "report/ChartDrawing.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

// A printed line cannot show more than this many points across a small chart.
constexpr std::size_t kPrintedPoints = 1200;
constexpr int kCellHeightFirst = 1550;
constexpr int kCellHeight = 1480;

// The screen's pixel in dots, so the printed charts keep the pane's proportions.
ChartStyle PrintedStyle(bool legend) {
    ChartStyle style;
    style.font = ReportFont(ReportFace::Song, 7.5);
    style.titleFont = ReportFont(ReportFace::Song, 9);
    style.unit = kReportDotsPerInch / 96.0;
    style.legend = legend;
    return style;
}

void DrawReadingsChart(QPainter& painter, const QRect& cell, const Component& c,
                       const ClassTable& table) {
    ChartTexts texts;
    texts.title = ComponentTitle(c);
    texts.xTitle = QStringLiteral("测点号");
    ReadingsDrawing(&c, table, kPrintedPoints, PrintedStyle(false), texts).Draw(painter, cell);
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
        OverviewDrawing(components, table, PrintedStyle(true), ChartTexts())
            .Draw(painter, QRect(L, T + 330, W, 2350));
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
