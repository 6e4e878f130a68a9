#pragma once
// Draws the pages of the printed report of a component list: cover, project page,
// basis page, raw data pages, and on every page the page number, header and footer.
#include <QDate>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "report/ChartPage.h"
#include "report/ClassSummaryPage.h"
#include "report/PrintSettings.h"
#include "report/ReportParametersFile.h"
#include "report/ReportRows.h"
#include "report/ReportTextPages.h"

class QPainter;

namespace ohmlet {

class ReportPainter {
public:
    // The components must outlive the painter. Only those with `selected` set get rows,
    // and only they count in the totals. The settings files are read here, once.
    ReportPainter(const std::vector<Component>& components, const QString& programFolder);

    // The raw data pages, then the class summary, the map pages and the chart pages when
    // the report parameters ask for them.
    int PageCount() const {
        return RawPageCount() + SummaryPageCount() + MapPageCount() +
               ChartPageCount(charted_.size());
    }
    int RawPageCount() const { return ReportPageCount(rows_.size()); }
    int SummaryPageCount() const { return summary_ ? ClassSummaryPageCount(*summary_) : 0; }
    // One page per ticked component with a grid.
    int MapPageCount() const { return static_cast<int>(mapped_.size()); }
    const std::optional<ClassSummary>& Summary() const { return summary_; }
    const std::vector<ReportRow>& Rows() const { return rows_; }
    const ReportTotals& Totals() const { return totals_; }
    void SetToday(const QDate& today) { today_ = today; }
    // Why the class pages follow another table than the chosen one; empty when they do not.
    const std::string& ClassTableWarning() const { return classTableWarning_; }

    // The painter must already be mapped to dots (MapPainterToDots). page is 1-based.
    void DrawPage(QPainter& painter, int page);

private:
    void DrawDecorations(QPainter& painter, int page);
    std::string Parameter(const QString& key) const;

    const std::vector<Component>& components_;
    ReportTotals totals_;
    QDate today_;
    std::vector<ReportRow> rows_;
    ReportPageFrame frame_;
    ReportParameterSet parameters_;  // 检测报告1
    PrintSettings settings_;
    std::vector<std::size_t> mapped_;   // components with a map page
    std::vector<std::size_t> charted_;  // components with a chart; none without chart pages
    ClassTable classes_ = ClassTable::Rilem();
    std::optional<ClassSummary> summary_;
    std::string classTableWarning_;
};

}  // namespace ohmlet
