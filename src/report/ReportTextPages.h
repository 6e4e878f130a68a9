#pragma once
// The first three pages of the printed report: cover, project page, basis page.
#include <QDate>
#include <functional>
#include <string>

#include "report/ReportRows.h"

class QPainter;

namespace ohmlet {

// Report parameter of 检测报告1 by key, as GBK bytes (empty when missing).
using ReportParameterLookup = std::function<std::string(const QString& key)>;

struct ReportPageFrame {
    int leftMargin = 300;
    int topMargin = 400;
    int frameHeight = 6000;
    int frameWidth = 4100;
};

// today: the cover's date when no report date is kept.
void DrawCoverPage(QPainter& painter, const ReportParameterLookup& parameter, const QDate& today);
void DrawProjectPage(QPainter& painter, const ReportPageFrame& frame,
                     const ReportParameterLookup& parameter, const ReportTotals& totals);
void DrawBasisPage(QPainter& painter, const ReportPageFrame& frame,
                   const ReportParameterLookup& parameter,
                   const std::vector<Component>& components);

// The texts of the survey paragraph and of the conclusion's printed lines, as GBK bytes.
std::string SurveyParagraph(const ReportParameterLookup& parameter);
std::vector<std::string> ConclusionLines(const ReportTotals& totals, int requiredRate);
// The required pass rate the report parameters give (whole percent), else 85.
int RequiredRate(const ReportParameterLookup& parameter);
// The laboratory's method text, then how the resistivity follows from the probe spacing.
std::string MethodText(const ReportParameterLookup& parameter);
// The recorded survey conditions, one GBK line to be broken; empty when none is set.
std::string ConditionsText(const ReportParameterLookup& parameter);
// The conditions box: the report's defaults, then the ticked components measured under
// conditions of their own, as many lines as the box holds (GBK).
std::vector<std::string> ConditionLines(const ReportParameterLookup& parameter,
                                        const std::vector<Component>& components);

}  // namespace ohmlet
