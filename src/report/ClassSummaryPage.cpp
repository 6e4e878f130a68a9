#include "report/ClassSummaryPage.h"

#include <QPainter>
#include <QStringList>

#include "report/ClassColours.h"
#include "report/ClassNames.h"
#include "report/GbkCodec.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

constexpr int kRowHeight = 150;

struct Column {
    const char* heading;  // UTF-8
    int width;            // dots
};
// Invalid readings are counted beside the valid ones and enter no other column.
constexpr Column kColumns[] = {
    {"构件编号", 400}, {"有效", 260},     {"无效", 240},   {"平均值", 300}, {"中位数", 300},
    {"标准差", 300},   {"变异系数", 320}, {"P10", 280},    {"P90", 280},    {"最小值", 280},
    {"最大值", 280},   {"合格", 280},     {"不合格", 300}, {"合格率", 280},
};

QStringList Cells(const ClassSummaryEntry& e) {
    const ReadingStats& s = e.stats;
    auto whole = [](const auto& v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    return {e.label,
            QString::number(s.count),
            QString::number(s.invalidCount),
            StatText(s.mean),
            StatText(s.median),
            StatText(s.stddev, 2),
            s.cv ? PercentText(*s.cv) : QStringLiteral("-"),
            StatText(s.p10),
            StatText(s.p90),
            whole(s.min),
            whole(s.max),
            whole(s.passCount),
            s.passCount ? QString::number(s.count - *s.passCount) : QStringLiteral("-"),
            PassRateText(s.passCount.value_or(0), s.count)};
}

}  // namespace

ClassSummary BuildClassSummary(const std::vector<Component>& components, const ClassTable& table) {
    ClassSummary summary;
    summary.table = table;
    DocumentStats stats = ComputeDocumentStats(components, table);
    for (std::size_t i = 0; i < components.size(); ++i)
        if (components[i].selected != 0)
            summary.entries.push_back(
                {FromGbk(components[i].Number()), std::move(stats.components[i])});
    summary.entries.push_back({QStringLiteral("全部"), std::move(stats.selected)});
    return summary;
}

int ClassSummaryPageCount(const ClassSummary& summary) {
    const int n = static_cast<int>(summary.entries.size());
    return (n + kSummaryEntriesPerPage - 1) / kSummaryEntriesPerPage;
}

QString ClassCountsText(const ClassTable& table, const ReadingStats& stats) {
    if (!stats.classCounts || stats.count == 0) return QStringLiteral("无数据");
    QStringList parts;
    for (std::size_t i = 0; i < table.Size() && i < stats.classCounts->size(); ++i) {
        const int64_t n = (*stats.classCounts)[i];
        parts << QStringLiteral("%1 %2 (%3)")
                     .arg(ClassDisplayName(table.Classes()[i]))
                     .arg(n)
                     .arg(PercentText(static_cast<double>(n) / static_cast<double>(stats.count)));
    }
    return parts.join(QStringLiteral(" · "));
}

// Heading row, then two rows per entry: the statistics, and the class counts below
// them in a light band.
void DrawClassSummaryPage(QPainter& painter, const ReportPageFrame& f, const ClassSummary& summary,
                          int index) {
    const int L = f.leftMargin, T = f.topMargin, W = f.frameWidth;
    const std::size_t first = static_cast<std::size_t>(index) * kSummaryEntriesPerPage;
    if (index < 0 || first >= summary.entries.size()) return;
    const std::size_t last =
        std::min(summary.entries.size(), first + static_cast<std::size_t>(kSummaryEntriesPerPage));

    painter.setFont(ReportFont(ReportFace::Song, 12));
    // The heading names what the table grades: a risk (RILEM) or a rate (Langford).
    DrawTextAt(painter, L, T,
               ClassMeasureName(summary.table) + QStringLiteral("与统计汇总（电阻率 kΩ·cm）:"));
    painter.setFont(ReportFont(ReportFace::Song, 10));
    QStringList ranges;
    for (std::size_t i = 0; i < summary.table.Size(); ++i)
        ranges << ClassDisplayName(summary.table.Classes()[i]) + ' ' +
                      ClassRangeText(summary.table, i);
    DrawTextAt(painter, L, T + 170,
               QStringLiteral("等级表 %1：").arg(QString::fromStdString(summary.table.Name())) +
                   ranges.join(QStringLiteral("；")));
    const QString scope = ClassTableScope(summary.table);
    if (!scope.isEmpty()) DrawTextAt(painter, L, T + 265, QStringLiteral("适用于：") + scope);

    const int Y0 = T + 400;
    const int rows = 1 + 2 * static_cast<int>(last - first);
    DrawFrame(painter, L, Y0, L + W, Y0 + kRowHeight * rows);
    int x = L;
    for (const Column& c : kColumns) {
        DrawTextFitted(painter, x + 20, Y0 + 35, c.width - 30, QString::fromUtf8(c.heading));
        x += c.width;
    }
    for (std::size_t e = first; e < last; ++e) {
        const int top = Y0 + kRowHeight * (1 + 2 * static_cast<int>(e - first));
        const ClassSummaryEntry& entry = summary.entries[e];
        const bool overall = e + 1 == summary.entries.size();
        painter.fillRect(QRect(L + 10, top + kRowHeight + 10, W - 20, kRowHeight - 20),
                         QColor(235, 235, 235));
        DrawLine(painter, L, top, L + W, top);
        if (overall) painter.setFont(ReportFont(ReportFace::Hei, 10));
        const QStringList cells = Cells(entry);
        x = L;
        for (int c = 0; c < cells.size(); ++c) {
            DrawTextFitted(painter, x + 20, top + 35, kColumns[c].width - 30, cells[c]);
            x += kColumns[c].width;
        }
        // A swatch per class in the report's class colours, then the counts.
        const std::size_t n = summary.table.Size();
        for (std::size_t i = 0; i < n; ++i)
            painter.fillRect(
                QRect(L + 20 + 60 * static_cast<int>(i), top + kRowHeight + 40, 50, 70),
                ClassColour(i, n));
        DrawTextFitted(painter, L + 40 + 60 * static_cast<int>(n), top + kRowHeight + 35,
                       W - 80 - 60 * static_cast<int>(n),
                       ClassCountsText(summary.table, entry.stats));
        if (overall) painter.setFont(ReportFont(ReportFace::Song, 10));
    }
}

}  // namespace ohmlet
