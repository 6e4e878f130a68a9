#pragma once
// 报告参数: one set of project data per report layout, each kept in its own settings
// file, plus the layout chosen last ("reportini").
#include <QDialog>
#include <QString>
#include <array>

class QComboBox;

namespace ohmlet {

class CIniFile;
class CReportPage;

class CReportParamDlg : public QDialog {
    Q_OBJECT
public:
    explicit CReportParamDlg(const QString& programFolder, QWidget* parent = nullptr);

    int ReportLayout() const { return reportLayout_; }
    QComboBox* LayoutCombo() const { return combo_; }
    CReportPage* Page(int layout) const;

    void LoadLayout(int layout);
    void SaveLayout(int layout);
    void LoadChosenLayout();
    void SaveChosenLayout();

public slots:
    void accept() override;

private slots:
    void OnLayoutChanged(int index);

private:
    void ShowOnly(int layout);
    void ShowSaveError(const CIniFile& file);

    QString programFolder_;
    int reportLayout_ = -1;
    QComboBox* combo_ = nullptr;
    std::array<CReportPage*, 6> pages_{};
};

// Runs the dialog modally; it saves what the user confirms.
void EditReportParameters(QWidget* parent, const QString& programFolder);

}  // namespace ohmlet
