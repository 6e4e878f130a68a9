#pragma once
// 打印设置: header, footer and page number of the printed report. The dialog shows the
// settings it is given and returns what the user confirmed; the caller saves them.
#include <QDialog>
#include <QString>

#include "report/PrintSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace ohmlet {

class PrintSettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrintSettingsDialog(const PrintSettings& settings, QWidget* parent = nullptr);

    // Controls -> settings, as OK takes them.
    PrintSettings Values() const;

    QCheckBox* HeaderCheck() const { return headerCheck_; }
    QCheckBox* FooterCheck() const { return footerCheck_; }
    QCheckBox* PageNumberCheck() const { return pageNumberCheck_; }
    QLineEdit* HeaderEdit() const { return headerEdit_; }
    QLineEdit* FooterEdit() const { return footerEdit_; }
    QLineEdit* FirstPageEdit() const { return firstPageEdit_; }
    QComboBox* FormatCombo() const { return formatCombo_; }
    QComboBox* PositionCombo() const { return positionCombo_; }

private:
    void ShowValues(const PrintSettings& settings);
    void UpdateReadOnly();

    QCheckBox* headerCheck_ = nullptr;
    QCheckBox* footerCheck_ = nullptr;
    QCheckBox* pageNumberCheck_ = nullptr;
    QLineEdit* headerEdit_ = nullptr;
    QLineEdit* footerEdit_ = nullptr;
    QLineEdit* firstPageEdit_ = nullptr;
    QComboBox* formatCombo_ = nullptr;
    QComboBox* positionCombo_ = nullptr;
};

}  // namespace ohmlet
