#pragma once
// The report parameters in their settings files: one file per layout and "reportini" for
// the chosen layout and the page choices. Keys and values in the files are GBK.
#include <QDate>
#include <QString>
#include <map>
#include <string>

#include "report/IniFile.h"
#include "report/ReportParameters.h"

namespace ohmlet {

// The chosen layout lives in its own file.
inline constexpr char kChosenLayoutFile[] = "reportini";
std::string LayoutKeyGbk();     // 报告格式
std::string SectionName();      // Data
std::string ChartPageKeyGbk();  // 图表页

// Reads every layout's file and the chosen layout ("reportini", or layout 1's file when
// that is gone). What a file does not hold stays fresh, as does a stored date that makes
// no date; an emptied text comes back as its default.
ReportParameters LoadReportParameters(const QString& programFolder,
                                      const QDate& today = QDate::currentDate());

// Writes every layout's file and "reportini", each whole. Every file is tried even after
// one fails; the outcome names every file not saved, one line each.
SettingsOutcome SaveReportParameters(const QString& programFolder,
                                     const ReportParameters& parameters);

// Whether the printed report gets its chart pages ("reportini"); off when not saved.
bool ReadReportChartPage(const QString& programFolder);
// Whether the printed report carries the class summary ("reportini"; on without it).
bool ReadClassSummaryChoice(const QString& programFolder);
// Whether gridded components get their map pages ("reportini"; on without it).
bool ReadMapPagesChoice(const QString& programFolder);

// The value stored for key (UTF-8) in layout number 1..6, blanks trimmed; empty when the
// file, the key or the layout is not there. Returned as GBK bytes.
std::string ReadReportParameter(const QString& programFolder, int layoutNumber, const QString& key);

// Every field of a layout read in one opening of its file: UTF-8 key -> GBK value, blanks
// trimmed, empty values replaced by their defaults.
using ReportParameterSet = std::map<QString, std::string>;
ReportParameterSet ReadReportParameters(const QString& programFolder, int layoutNumber);

}  // namespace ohmlet
