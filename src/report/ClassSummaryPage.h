#pragma once
// The printed report's class summary, after the raw data: per ticked component and for
// all of them together, the full statistics of the readings and how many fall in each
// corrosion class, in the class table in use.
#include <QString>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "data/ReadingStats.h"
#include "report/ReportTextPages.h"

class QPainter;

namespace ohmlet {

struct ClassSummaryEntry {
    QString label;  // the component's number, or the overall row's name
    ReadingStats stats;
};

struct ClassSummary {
    ClassTable table = ClassTable::Rilem();
    std::vector<ClassSummaryEntry> entries;  // ticked components in list order, then all
};

inline constexpr int kSummaryEntriesPerPage = 18;

ClassSummary BuildClassSummary(const std::vector<Component>& components, const ClassTable& table);
int ClassSummaryPageCount(const ClassSummary& summary);
// The class shares of an entry: "低 12 (25.0%) · 中等 36 (75.0%)".
QString ClassCountsText(const ClassTable& table, const ReadingStats& stats);
// `index` counts the summary's own pages from 0.
void DrawClassSummaryPage(QPainter& painter, const ReportPageFrame& frame,
                          const ClassSummary& summary, int index);

}  // namespace ohmlet
