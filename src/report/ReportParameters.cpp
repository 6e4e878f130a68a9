#include "report/ReportParameters.h"

#include "data/TestDate.h"

namespace ohmlet {

LayoutParameters FreshLayoutParameters(int layout, const QDate& today) {
    LayoutParameters values;
    const ReportLayoutInfo* info = ReportLayoutInfoAt(layout);
    if (!info) return values;
    for (const ReportField& f : info->fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        // Only the report's own date is known beforehand; a survey or casting date
        // is left unset rather than guessed.
        if (f.kind == FieldKind::Date) {
            if (key == QStringLiteral("报告日期")) values.dates[key] = today;
        } else
            values.texts[key] = DefaultReportParameter(layout + 1, key);
    }
    return values;
}

std::string FormatStoredDate(const QDate& date) {
    if (!date.isValid()) return std::string();
    return FormatTestDate({date.year(), date.month(), date.day()}, DatePadding::Blank);
}

QDate ParseStoredDate(const std::string& gbk) {
    const std::optional<CalendarDate> date = ParseTestDate(gbk);
    if (!date) return QDate();
    return QDate(date->year, date->month, date->day);  // invalid for a day that does not exist
}

}  // namespace ohmlet
