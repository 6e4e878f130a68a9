#pragma once
// Draws the pages of the printed report of a component list: cover, project page,
// basis page, raw data pages, and on every page the page number, header and footer.
#include <QDate>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "Component.h"
#include "PrintSettings.h"
#include "ReportRows.h"
#include "ReportTextPages.h"

class QPainter;

namespace ohmlet {

class CReportPainter {
public:
    // The components must outlive the painter. Only those with `selected` set get rows.
    CReportPainter(const std::vector<Component>& components, const ReportTotals& totals,
                   const QString& programFolder);

    int PageCount() const { return ReportPageCount(rows_.size()); }
    const std::vector<ReportRow>& Rows() const { return rows_; }
    void SetToday(const QDate& today) { today_ = today; }

    // The painter must already be mapped to dots (MapPainterToDots). page is 1-based.
    void DrawPage(QPainter& painter, int page);

private:
    void DrawDecorations(QPainter& painter, int page);
    std::string Parameter(const QString& key);

    const std::vector<Component>& components_;
    ReportTotals totals_;
    QString programFolder_;
    QDate today_;
    std::vector<ReportRow> rows_;
    ReportPageFrame frame_;
    std::map<QString, std::string> parameters_;  // 检测报告1, read once per report
};

}  // namespace ohmlet
