#pragma once
// 报告参数: one set of project data per report layout, and the layout chosen. The dialog
// shows the parameters it is given and returns what the user confirmed; loading and
// saving them is the caller's (LoadReportParameters, SaveReportParameters).
#include <QDialog>
#include <QString>
#include <array>

#include "report/ReportParametersFile.h"

class QCheckBox;
class QComboBox;
class QStackedWidget;

namespace ohmlet {

class ReportParameterPage;

class ReportParameterDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportParameterDialog(const ReportParameters& parameters, QWidget* parent = nullptr);

    // Every page's fields, not only the page shown, and the layout chosen in the list.
    ReportParameters Values() const;

    QComboBox* LayoutCombo() const { return combo_; }
    QCheckBox* ChartPageCheck() const { return chartPage_; }
    QCheckBox* ClassSummaryCheck() const { return classSummary_; }
    QCheckBox* MapPagesCheck() const { return mapPages_; }
    ReportParameterPage* Page(int layout) const;

private slots:
    void OnLayoutChanged(int index);

private:
    QComboBox* combo_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    QCheckBox* chartPage_ = nullptr;
    QCheckBox* classSummary_ = nullptr;
    QCheckBox* mapPages_ = nullptr;
    std::array<ReportParameterPage*, kReportLayoutCount> pages_{};
};

}  // namespace ohmlet
