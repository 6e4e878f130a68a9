#include "dialogs/PrintSettingsDialog.h"

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
#include <algorithm>

namespace ohmlet {
namespace {

[[maybe_unused]] constexpr const char* kPositionNames[] = {
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "底部居右"),
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "底部居中"),
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "底部居左"),
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "顶部居右"),
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "顶部居中"),
    QT_TRANSLATE_NOOP("ohmlet::PrintSettingsDialog", "顶部居左"),
};

}  // namespace

PrintSettingsDialog::PrintSettingsDialog(const PrintSettings& settings, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("打印设置"));
    headerCheck_ = new QCheckBox(tr("打印页眉"), this);
    footerCheck_ = new QCheckBox(tr("打印页脚"), this);
    pageNumberCheck_ = new QCheckBox(tr("打印页码"), this);
    headerEdit_ = new QLineEdit(this);
    footerEdit_ = new QLineEdit(this);
    firstPageEdit_ = new QLineEdit(this);
    firstPageEdit_->setValidator(new QIntValidator(1, 999999, firstPageEdit_));
    firstPageEdit_->setPlaceholderText(QStringLiteral("1"));
    formatCombo_ = new QComboBox(this);
    formatCombo_->addItems(PageNumberFormatEntries());
    positionCombo_ = new QComboBox(this);
    // The stored index is what counts; the names follow the window's language.
    for (const QString& position : PageNumberPositionEntries())
        positionCombo_->addItem(tr(position.toUtf8().constData()));

    auto* checks = new QHBoxLayout;
    checks->addWidget(headerCheck_);
    checks->addWidget(footerCheck_);
    checks->addWidget(pageNumberCheck_);
    checks->addStretch();
    auto* form = new QFormLayout;
    form->addRow(tr("页眉内容"), headerEdit_);
    form->addRow(tr("页脚内容"), footerEdit_);
    form->addRow(tr("页码格式"), formatCombo_);
    form->addRow(tr("起始页码"), firstPageEdit_);
    form->addRow(tr("页码位置"), positionCombo_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(tr("确 定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("取 消"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrintSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrintSettingsDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(checks);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(380);

    ShowValues(settings);
    connect(headerCheck_, &QCheckBox::toggled, this, &PrintSettingsDialog::UpdateReadOnly);
    connect(footerCheck_, &QCheckBox::toggled, this, &PrintSettingsDialog::UpdateReadOnly);
}

void PrintSettingsDialog::ShowValues(const PrintSettings& s) {
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
    firstPageEdit_->setText(QString::number(std::max(1, s.firstPageNumber)));
    UpdateReadOnly();
}

void PrintSettingsDialog::UpdateReadOnly() {
    headerEdit_->setReadOnly(!headerCheck_->isChecked());
    footerEdit_->setReadOnly(!footerCheck_->isChecked());
}

PrintSettings PrintSettingsDialog::Values() const {
    PrintSettings s;
    s.printHeader = headerCheck_->isChecked() ? 1 : 0;
    s.printFooter = footerCheck_->isChecked() ? 1 : 0;
    s.printPageNumber = pageNumberCheck_->isChecked() ? 1 : 0;
    s.headerText = headerEdit_->text();
    s.footerText = footerEdit_->text();
    s.pageNumberFormat = formatCombo_->currentIndex();
    // Empty means the first page is page 1.
    s.firstPageNumber = std::max(1, firstPageEdit_->text().toInt());
    s.pageNumberPosition = positionCombo_->currentIndex();
    return s;
}

}  // namespace ohmlet
