#pragma once
// The six report layouts, their fields and settings files; the parameters the user keeps
// for them as a value that is loaded and saved whole; and the reading of one stored
// parameter. Keys and values in the files are GBK.
#include <QDate>
#include <QString>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "report/IniFile.h"

namespace ohmlet {

enum class FieldKind { Text, Date, Grade };

struct ReportField {
    const char* key;  // UTF-8; also the label on the page
    FieldKind kind;
};

struct ReportLayoutInfo {
    const char* comboItem;  // UTF-8
    const char* baseName;   // settings file base name
    std::vector<ReportField> fileOrder;
    std::vector<const char*> leftColumn;  // screen order, keys
    std::vector<const char*> rightColumn;
};

inline constexpr int kReportLayoutCount = 6;

// Index 0..5 in the order of the combo box; anything else gives nullptr.
const ReportLayoutInfo* ReportLayoutInfoAt(int layout);
FieldKind KindOfField(const ReportLayoutInfo& info, const std::string& utf8Key);

// The chosen layout lives in its own file.
inline constexpr char kChosenLayoutFile[] = "reportini";
std::string LayoutKeyGbk();  // 报告格式
std::string SectionName();   // Data

// What one layout holds, by UTF-8 key: texts and grades as text, dates as dates. A key
// that is missing is written empty.
struct LayoutParameters {
    std::map<QString, QString> texts;
    std::map<QString, QDate> dates;
};

// Every layout's parameters and the layout chosen last (-1 before the first choice).
struct ReportParameters {
    int chosenLayout = -1;
    std::array<LayoutParameters, kReportLayoutCount> layouts;
};

// A layout (index 0..5) never saved: its dates `today`, its texts what the report prints
// for them while empty.
LayoutParameters FreshLayoutParameters(int layout, const QDate& today);

// Reads every layout's file and the chosen layout ("reportini", or layout 1's file when
// that is gone). What a file does not hold stays fresh, as does a stored date that makes
// no date; an emptied text comes back as its default.
ReportParameters LoadReportParameters(const QString& programFolder,
                                      const QDate& today = QDate::currentDate());

// Writes every layout's file and "reportini", each whole. Every file is tried even after
// one fails; the outcome names every file not saved, one line each.
SettingsOutcome SaveReportParameters(const QString& programFolder,
                                     const ReportParameters& parameters);

// The strength grades offered on the pages.
QStringList StrengthGrades();

// "2015年 3月 5日", GBK: a test date as settings files and the control panel write it;
// empty for an invalid date.
std::string FormatStoredDate(const QDate& date);
// The date a stored test date holds (either padding); invalid QDate when it holds none.
QDate ParseStoredDate(const std::string& gbk);

// The value stored for key (UTF-8) in layout number 1..6, blanks trimmed; empty when the
// file, the key or the layout is not there. Returned as GBK bytes.
std::string ReadReportParameter(const QString& programFolder, int layoutNumber, const QString& key);

// The text a field of layout number 1..6 shows and prints while it holds nothing (UTF-8
// key); empty for most fields.
QString DefaultReportParameter(int layoutNumber, const QString& key);

// Every field of a layout read in one opening of its file: UTF-8 key -> GBK value, blanks
// trimmed, empty values replaced by their defaults.
using ReportParameterSet = std::map<QString, std::string>;
ReportParameterSet ReadReportParameters(const QString& programFolder, int layoutNumber);

}  // namespace ohmlet
