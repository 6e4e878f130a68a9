#include "dialogs/ReportParameterDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

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

ReportParameterDialog::ReportParameterDialog(const ReportParameters& parameters, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("报告参数"));

    combo_ = new QComboBox(this);
    for (int i = 0; i < kReportLayoutCount; ++i)
        combo_->addItem(tr(ReportLayoutInfoAt(i)->comboItem));
    auto* chooser = new QHBoxLayout;
    chooser->addWidget(new QLabel(tr("WORD报告格式"), this));
    chooser->addWidget(combo_);
    chooser->addStretch();
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    // Every page shows its layout's values from the start.
    stack_ = new QStackedWidget(this);
    for (int i = 0; i < kReportLayoutCount; ++i) {
        auto* page = new ReportParameterPage(*ReportLayoutInfoAt(i), stack_);
        page->ShowValues(parameters.layouts[static_cast<std::size_t>(i)]);
        stack_->addWidget(page);
        pages_[static_cast<std::size_t>(i)] = page;
    }
    // With none chosen yet, the first layout is the one the printed report uses.
    const int chosen = parameters.chosenLayout;
    const int shown = chosen >= 0 && chosen < kReportLayoutCount ? chosen : 0;
    combo_->setCurrentIndex(shown);
    stack_->setCurrentIndex(shown);

    // The printed report's own options.
    classSummary_ = new QCheckBox(tr("打印报告附腐蚀等级与统计汇总"), this);
    classSummary_->setObjectName(QStringLiteral("classSummary"));
    classSummary_->setChecked(parameters.classSummary);
    chartPage_ = new QCheckBox(tr("打印报告附图表页"), this);
    chartPage_->setObjectName(QStringLiteral("chartPage"));
    chartPage_->setChecked(parameters.chartPage);
    mapPages_ = new QCheckBox(tr("打印报告附分布图页（有测区网格的构件）"), this);
    mapPages_->setObjectName(QStringLiteral("mapPages"));
    mapPages_->setChecked(parameters.mapPages);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(tr("确定"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(chooser);
    layout->addWidget(rule);
    layout->addWidget(stack_);
    layout->addWidget(classSummary_);
    layout->addWidget(mapPages_);
    layout->addWidget(chartPage_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReportParameterDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ReportParameterDialog::reject);
    connect(combo_, &QComboBox::currentIndexChanged, this, &ReportParameterDialog::OnLayoutChanged);
}

ReportParameterPage* ReportParameterDialog::Page(int layout) const {
    return layout >= 0 && layout < kReportLayoutCount ? pages_[static_cast<std::size_t>(layout)]
                                                      : nullptr;
}

void ReportParameterDialog::OnLayoutChanged(int index) {
    if (index < 0 || index >= kReportLayoutCount) return;
    // Every page keeps what was typed on it until OK or Cancel.
    stack_->setCurrentIndex(index);
}

ReportParameters ReportParameterDialog::Values() const {
    ReportParameters parameters;
    parameters.chosenLayout = combo_->currentIndex();
    parameters.chartPage = chartPage_->isChecked();
    parameters.classSummary = classSummary_->isChecked();
    parameters.mapPages = mapPages_->isChecked();
    for (int i = 0; i < kReportLayoutCount; ++i)
        parameters.layouts[static_cast<std::size_t>(i)] =
            pages_[static_cast<std::size_t>(i)]->Values();
    return parameters;
}

}  // namespace ohmlet
