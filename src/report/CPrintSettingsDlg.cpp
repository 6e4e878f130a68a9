#include "CPrintSettingsDlg.h"

#include <QFile>
#include <QMessageBox>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ohmlet {

CPrintSettingsDlg::CPrintSettingsDlg(const QString& programFolder, QWidget* parent)
    : QDialog(parent), programFolder_(programFolder) {
    setWindowTitle(QStringLiteral("打印设置"));
    headerCheck_ = new QCheckBox(QStringLiteral("打印页眉"), this);
    footerCheck_ = new QCheckBox(QStringLiteral("打印页脚"), this);
    pageNumberCheck_ = new QCheckBox(QStringLiteral("打印页码"), this);
    headerEdit_ = new QLineEdit(this);
    footerEdit_ = new QLineEdit(this);
    firstPageEdit_ = new QLineEdit(this);
    firstPageEdit_->setValidator(new QIntValidator(firstPageEdit_));
    formatCombo_ = new QComboBox(this);
    formatCombo_->addItems(PageNumberFormatEntries());
    positionCombo_ = new QComboBox(this);
    positionCombo_->addItems(PageNumberPositionEntries());

    auto* checks = new QHBoxLayout;
    checks->addWidget(headerCheck_);
    checks->addWidget(footerCheck_);
    checks->addWidget(pageNumberCheck_);
    checks->addStretch();
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("页眉内容"), headerEdit_);
    form->addRow(QStringLiteral("页脚内容"), footerEdit_);
    form->addRow(QStringLiteral("页码格式"), formatCombo_);
    form->addRow(QStringLiteral("起始页码"), firstPageEdit_);
    form->addRow(QStringLiteral("页码位置"), positionCombo_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确 定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("取 消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPrintSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPrintSettingsDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    PrintSettings settings;
    // Without a file the lists show no selection, as the dialog starts.
    settings.pageNumberFormat = -1;
    settings.pageNumberPosition = -1;
    LoadPrintSettings(programFolder_, settings);
    ShowValues(settings);
    connect(headerCheck_, &QCheckBox::toggled, this, &CPrintSettingsDlg::UpdateReadOnly);
    connect(footerCheck_, &QCheckBox::toggled, this, &CPrintSettingsDlg::UpdateReadOnly);
}

void CPrintSettingsDlg::ShowValues(const PrintSettings& s) {
    headerCheck_->setChecked(s.printHeader != 0);
    footerCheck_->setChecked(s.printFooter != 0);
    pageNumberCheck_->setChecked(s.printPageNumber != 0);
    headerEdit_->setText(s.headerText);
    footerEdit_->setText(s.footerText);
    auto inRange = [](int index, const QComboBox* combo) {
        return index >= 0 && index < combo->count() ? index : -1;
    };
    formatCombo_->setCurrentIndex(inRange(s.pageNumberFormat, formatCombo_));
    positionCombo_->setCurrentIndex(inRange(s.pageNumberPosition, positionCombo_));
    firstPageEdit_->setText(QString::number(s.firstPageNumber));
    UpdateReadOnly();
}

void CPrintSettingsDlg::UpdateReadOnly() {
    headerEdit_->setReadOnly(!headerCheck_->isChecked());
    footerEdit_->setReadOnly(!footerCheck_->isChecked());
}

PrintSettings CPrintSettingsDlg::ValuesFromControls() const {
    PrintSettings s;
    s.printHeader = headerCheck_->isChecked() ? 1 : 0;
    s.printFooter = footerCheck_->isChecked() ? 1 : 0;
    s.printPageNumber = pageNumberCheck_->isChecked() ? 1 : 0;
    s.headerText = headerEdit_->text();
    s.footerText = footerEdit_->text();
    s.pageNumberFormat = formatCombo_->currentIndex();
    s.firstPageNumber = firstPageEdit_->text().toInt();
    s.pageNumberPosition = positionCombo_->currentIndex();
    return s;
}

void CPrintSettingsDlg::accept() {
    std::string error;
    if (!SavePrintSettings(programFolder_, ValuesFromControls(), &error))
        QMessageBox::warning(this, windowTitle(),
                             QFile::decodeName(QByteArray::fromStdString(error)));
    QDialog::accept();
}

void EditPrintSettings(QWidget* parent, const QString& programFolder) {
    CPrintSettingsDlg dialog(programFolder, parent);
    dialog.exec();
}

}  // namespace ohmlet
