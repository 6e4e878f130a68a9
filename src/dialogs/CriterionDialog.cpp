#include "dialogs/CriterionDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "data/ReadingValidity.h"
#include "data/Saturate.h"

namespace ohmlet {
namespace {

constexpr int kLimit = 1000000;

// The ranges keep lower ≤ 0 ≤ upper, the rule every place that takes a criterion checks.
QSpinBox* MakeBox(float value, int low, int high, const char* name) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(SaturateToInt(value));
    box->setSuffix(QStringLiteral(" kΩ·cm"));
    return box;
}

}  // namespace

CriterionDialog::CriterionDialog(const Criterion& initial, int tickedCount, QWidget* parent)
    : QDialog(parent),
      minimum_(new QRadioButton(tr("最小值：读数 ≥ X 为合格"))),
      band_(new QRadioButton(tr("设计值及偏差：设计值 + 允许负偏差 ≤ 读数 ≤ 设计值 + 允许正偏差"))),
      design_(MakeBox(initial.designValue, -kLimit, kLimit, "designValue")),
      lower_(MakeBox(initial.lowerTolerance, -kLimit, 0, "lowerTolerance")),
      upper_(MakeBox(initial.upperTolerance, 0, kLimit, "upperTolerance")),
      designLabel_(new QLabel),
      result_(new QLabel),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      tickedCount_(tickedCount) {
    setWindowTitle(tr("应用判定标准"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("对已勾选的 %1 个构件应用同一判定标准。无效读数（≤ 0 或 ≥ %2 "
                                    "kΩ·cm）不参与判定。")
                                     .arg(tickedCount)
                                     .arg(OverflowLimit())));
    minimum_->setObjectName(QStringLiteral("minimumChoice"));
    band_->setObjectName(QStringLiteral("bandChoice"));
    layout->addWidget(minimum_);
    layout->addWidget(band_);
    auto* form = new QFormLayout;
    form->addRow(designLabel_, design_);
    form->addRow(tr("允许负偏差"), lower_);
    form->addRow(tr("允许正偏差"), upper_);
    layout->addLayout(form);
    result_->setObjectName(QStringLiteral("band"));
    layout->addWidget(result_);
    layout->addWidget(buttons_);
    (IsMinimum(initial) ? minimum_ : band_)->setChecked(true);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box : {design_, lower_, upper_})
        connect(box, &QSpinBox::valueChanged, this, &CriterionDialog::Update);
    connect(minimum_, &QRadioButton::toggled, this, &CriterionDialog::Update);
    Update();
}

Criterion CriterionDialog::Value() const {
    if (minimum_->isChecked()) return MinimumCriterion(static_cast<float>(design_->value()));
    return {static_cast<float>(design_->value()), static_cast<float>(lower_->value()),
            static_cast<float>(upper_->value())};
}

QString CriterionDialog::BandText() const { return result_->text(); }

void CriterionDialog::Update() {
    const bool minimum = minimum_->isChecked();
    designLabel_->setText(minimum ? tr("最小值") : tr("设计值"));
    for (QSpinBox* box : {lower_, upper_}) box->setEnabled(!minimum);
    const std::optional<CriterionFault> fault =
        minimum ? MinimumProblem(static_cast<float>(design_->value())) : CriterionProblem(Value());
    if (tickedCount_ <= 0)
        result_->setText(tr("没有勾选的构件。"));
    else if (fault)
        result_->setText(tr("最小值必须大于0且小于 %1 kΩ·cm。").arg(OverflowLimit()));
    else if (minimum)
        result_->setText(tr("合格：读数 ≥ %1 kΩ·cm").arg(design_->value()));
    else
        result_->setText(tr("合格范围：%1 ~ %2 kΩ·cm")
                             .arg(qint64{design_->value()} + lower_->value())
                             .arg(qint64{design_->value()} + upper_->value()));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(tickedCount_ > 0 && !fault);
}

}  // namespace ohmlet
