#include "dialogs/ReportParameterDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "dialogs/ReportParameterPage.h"

namespace ohmlet {
namespace {

// The layouts' names as the list shows them.
[[maybe_unused]] constexpr const char* kLayoutNames[] = {
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "检测报告1"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "检测报告2"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "检测报告3"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "检测报告4"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "甘肃格式"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterDialog", "吉林报告"),
};

}  // namespace

namespace {

constexpr int kPageX = 10;
constexpr int kPageY = 40;
constexpr int kPageWidth = 450;
constexpr int kPageHeight = 260;

}  // namespace

ReportParameterDialog::ReportParameterDialog(const ReportParameters& parameters, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("报告参数"));
    setFixedSize(kPageX * 2 + kPageWidth, kPageY + kPageHeight + 50);

    auto* label = new QLabel(tr("WORD报告格式"), this);
    label->setGeometry(12, 10, 110, 22);
    combo_ = new QComboBox(this);
    combo_->setGeometry(124, 8, 160, 24);
    for (int i = 0; i < kReportLayoutCount; ++i)
        combo_->addItem(tr(ReportLayoutInfoAt(i)->comboItem));
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(kPageX, 34, kPageWidth, 4);

    // Every page shows its layout's values from the start.
    for (int i = 0; i < kReportLayoutCount; ++i) {
        auto* page = new ReportParameterPage(*ReportLayoutInfoAt(i), this);
        page->setGeometry(kPageX, kPageY, kPageWidth, kPageHeight);
        page->ShowValues(parameters.layouts[static_cast<std::size_t>(i)]);
        page->hide();
        pages_[static_cast<std::size_t>(i)] = page;
    }
    const int chosen = parameters.chosenLayout;
    const bool known = chosen >= 0 && chosen < kReportLayoutCount;
    ShowOnly(known ? chosen : -1);
    combo_->setCurrentIndex(known ? chosen : -1);

    // The printed report's own option, beside the buttons.
    classSummary_ = new QCheckBox(tr("打印报告附腐蚀等级与统计汇总"), this);
    classSummary_->setObjectName(QStringLiteral("classSummary"));
    classSummary_->setChecked(parameters.classSummary);
    classSummary_->setGeometry(kPageX, kPageY + kPageHeight + 14, 300, 24);

    auto* ok = new QPushButton(tr("确定"), this);
    auto* cancel = new QPushButton(tr("取消"), this);
    ok->setDefault(true);
    const int buttonsY = kPageY + kPageHeight + 12;
    ok->setGeometry(width() - 190, buttonsY, 85, 28);
    cancel->setGeometry(width() - 95, buttonsY, 85, 28);
    chartPage_ = new QCheckBox(tr("打印报告附图表页"), this);
    chartPage_->setObjectName(QStringLiteral("chartPage"));
    chartPage_->setGeometry(12, buttonsY, 220, 28);
    chartPage_->setChecked(parameters.chartPage);
    connect(ok, &QPushButton::clicked, this, &ReportParameterDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &ReportParameterDialog::reject);
    connect(combo_, &QComboBox::currentIndexChanged, this, &ReportParameterDialog::OnLayoutChanged);
}

ReportParameterPage* ReportParameterDialog::Page(int layout) const {
    return layout >= 0 && layout < kReportLayoutCount ? pages_[static_cast<std::size_t>(layout)]
                                                      : nullptr;
}

void ReportParameterDialog::ShowOnly(int layout) {
    for (int i = 0; i < kReportLayoutCount; ++i)
        pages_[static_cast<std::size_t>(i)]->setVisible(i == layout);
}

void ReportParameterDialog::OnLayoutChanged(int index) {
    if (index < 0 || index >= kReportLayoutCount) return;
    // Every page keeps what was typed on it until OK or Cancel.
    ShowOnly(index);
}

ReportParameters ReportParameterDialog::Values() const {
    ReportParameters parameters;
    parameters.chosenLayout = combo_->currentIndex();
    parameters.chartPage = chartPage_->isChecked();
    parameters.classSummary = classSummary_->isChecked();
    for (int i = 0; i < kReportLayoutCount; ++i)
        parameters.layouts[static_cast<std::size_t>(i)] =
            pages_[static_cast<std::size_t>(i)]->Values();
    return parameters;
}

}  // namespace ohmlet
