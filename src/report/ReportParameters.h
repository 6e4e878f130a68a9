#pragma once
// The parameters the user keeps for the report layouts, as a value that is loaded and
// saved whole, and the text form of the dates they hold.
#include <QDate>
#include <QString>
#include <array>
#include <map>
#include <string>

#include "report/ReportLayouts.h"

namespace ohmlet {

// What one layout holds, by UTF-8 key: texts and grades as text, dates as dates. A key
// that is missing is written empty.
struct LayoutParameters {
    std::map<QString, QString> texts;
    std::map<QString, QDate> dates;
};

// Every layout's parameters and the layout chosen last (-1 before the first choice).
struct ReportParameters {
    int chosenLayout = -1;
    // A page of readings charts after the raw data. Off unless asked for: a report that
    // has been printed the same way for years keeps its pages.
    bool chartPage = false;
    // The printed report ends with the class and statistics summary.
    bool classSummary = true;
    // A map page for each ticked component with a survey grid, after the summary. Files
    // without grids get none, so it can be on from the start.
    bool mapPages = true;
    std::array<LayoutParameters, kReportLayoutCount> layouts;
};

// A layout (index 0..5) never saved: its report date `today` and no other date, its texts
// what the report prints for them while empty.
LayoutParameters FreshLayoutParameters(int layout, const QDate& today);

// "2015年 3月 5日", GBK: a test date as settings files and the control panel write it;
// empty for an invalid date.
std::string FormatStoredDate(const QDate& date);
// The date a stored test date holds (either padding); invalid QDate when it holds none.
QDate ParseStoredDate(const std::string& gbk);

}  // namespace ohmlet
