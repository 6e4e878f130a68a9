#include "dialogs/CriterionDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "data/Saturate.h"

namespace ohmlet {
namespace {

constexpr int kLimit = 1000000;

QSpinBox* MakeBox(float value, const char* name) {
    auto* box = new QSpinBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(-kLimit, kLimit);
    box->setValue(SaturateToInt(value));
    box->setSuffix(QStringLiteral(" kΩ·cm"));
    return box;
}

}  // namespace

CriterionDialog::CriterionDialog(const Criterion& initial, int tickedCount, QWidget* parent)
    : QDialog(parent),
      design_(MakeBox(initial.designValue, "designValue")),
      lower_(MakeBox(initial.lowerTolerance, "lowerTolerance")),
      upper_(MakeBox(initial.upperTolerance, "upperTolerance")),
      band_(new QLabel),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)),
      tickedCount_(tickedCount) {
    setWindowTitle(tr("应用判定标准"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("对已勾选的 %1 个构件应用同一判定标准：\n"
                                    "设计值 + 允许负偏差 ≤ 读数 ≤ 设计值 + 允许正偏差 为合格。")
                                     .arg(tickedCount)));
    auto* form = new QFormLayout;
    form->addRow(tr("设计值"), design_);
    form->addRow(tr("允许负偏差"), lower_);
    form->addRow(tr("允许正偏差"), upper_);
    layout->addLayout(form);
    band_->setObjectName(QStringLiteral("band"));
    layout->addWidget(band_);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    for (QSpinBox* box : {design_, lower_, upper_})
        connect(box, &QSpinBox::valueChanged, this, &CriterionDialog::Update);
    Update();
}

Criterion CriterionDialog::Value() const {
    return {static_cast<float>(design_->value()), static_cast<float>(lower_->value()),
            static_cast<float>(upper_->value())};
}

QString CriterionDialog::BandText() const { return band_->text(); }

// A band whose bottom lies above its top passes nothing: not offered.
void CriterionDialog::Update() {
    const qint64 low = qint64{design_->value()} + lower_->value();
    const qint64 high = qint64{design_->value()} + upper_->value();
    if (tickedCount_ <= 0)
        band_->setText(tr("没有勾选的构件。"));
    else if (low > high)
        band_->setText(tr("允许负偏差不能大于允许正偏差。"));
    else
        band_->setText(tr("合格范围：%1 ~ %2 kΩ·cm").arg(low).arg(high));
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(tickedCount_ > 0 && low <= high);
}

}  // namespace ohmlet
