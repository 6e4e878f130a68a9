#include "views/ComponentFields.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QStyle>
#include <QVBoxLayout>

#include "data/Document.h"
#include "data/PassRate.h"
#include "report/GbkCodec.h"
#include "report/ReportParameters.h"

namespace ohmlet {
namespace {

struct FieldLayout {
    ComponentFields::Field field;
    const char* label;       // UTF-8
    const char* objectName;  // the edit's objectName
    bool readOnly;
    bool visible;
    int row;
    int column;          // 0 = left pair, 1 = right pair
    const char* widest;  // the widest value the field shows, or null for free text
};

// A resistivity as the fields show it, at its widest.
constexpr const char* kWidestResistivity = "99999.9 kΩ*cm";

// Shown fields first, in reading order; the hidden ones are still filled.
constexpr FieldLayout kFields[] = {
    {ComponentFields::kName, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "构件名称"), "nameField",
     false, true, 0, 0, nullptr},
    {ComponentFields::kNumber, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "构件编号"),
     "numberField", true, true, 0, 1, "00000000"},
    // The pass criterion: a reading passes from design value + negative deviation up
    // to design value + positive deviation.
    {ComponentFields::kDesignValue, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "设计值(kΩ·cm)"),
     "designValueField", false, true, 2, 0, "-1000000"},
    {ComponentFields::kCriterionText, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "判定标准"),
     "criterionField", true, true, 2, 1, "999 (−999/+999)"},
    {ComponentFields::kLowerTolerance, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "允许负偏差"),
     "lowerToleranceField", false, true, 3, 0, "-1000000"},
    {ComponentFields::kUpperTolerance, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "允许正偏差"),
     "upperToleranceField", false, true, 3, 1, "-1000000"},
    {ComponentFields::kMaximum, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "电阻最大值"),
     "maximumField", true, true, 4, 0, kWidestResistivity},
    {ComponentFields::kMinimum, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "电阻最小值"),
     "minimumField", true, true, 4, 1, kWidestResistivity},
    {ComponentFields::kPointCount, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "数据个数"),
     "pointCountField", true, true, 5, 0, "00000"},
    {ComponentFields::kAverage, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "平均电阻率"),
     "averageField", true, true, 5, 1, kWidestResistivity},
    {ComponentFields::kPassCount, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "合格点数"),
     "passCountField", true, true, 6, 0, "00000"},
    {ComponentFields::kPassRate, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "合格率"),
     "passRateField", true, true, 6, 1, "100.0%"},
    // Invalid readings are counted apart: they neither pass nor fail.
    {ComponentFields::kFailCount, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "不合格点数"),
     "failCountField", true, true, 7, 0, "00000"},
    {ComponentFields::kInvalidCount, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "无效读数"),
     "invalidCountField", true, true, 7, 1, "00000"},
};

constexpr FieldLayout kTotals[] = {
    {ComponentFields::kTotalPoints, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "所有测点个数"),
     "totalPointsField", true, false, 0, 0, "0000000"},
    {ComponentFields::kTotalPassing, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "所有合格测点数"),
     "totalPassingField", true, false, 0, 1, "0000000"},
    {ComponentFields::kOverallPassRate, QT_TRANSLATE_NOOP("ohmlet::ComponentFields", "整体合格率"),
     "overallPassRateField", true, false, 1, 0, "100.0%"},
};

QString Resistivity(float value) {
    return QString::asprintf("%.1f kΩ*cm", static_cast<double>(value));
}
QString Percent(int64_t passed, int64_t valid) {
    return QString::fromStdString(RateText(passed, valid)) + QLatin1Char('%');
}

// "≥ 10" for a minimum, "45 (−20/+30)" for a band.
QString CriterionText(const Criterion& c) {
    if (IsMinimum(c)) return QStringLiteral("≥ %1").arg(SaturateToInt(c.designValue));
    return QStringLiteral("%1 (−%2/+%3)")
        .arg(SaturateToInt(c.designValue))
        .arg(-static_cast<int64_t>(SaturateToInt(c.lowerTolerance)))
        .arg(SaturateToInt(c.upperTolerance));
}

// The longest prefix of text whose GBK bytes fit, never splitting a character.
std::string GbkPrefix(const QString& text, std::size_t maxBytes) {
    std::string bytes = ToGbk(text);
    if (bytes.size() <= maxBytes) return bytes;
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t len = static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
        if (i + len > maxBytes) break;
        i += len;
    }
    return bytes.substr(0, i);
}

}  // namespace

ComponentFields::ComponentFields(Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildCurrentGroup();
    BuildTotalsGroup();
    layout->addWidget(currentGroup_, 0);
    layout->addWidget(totalsGroup_, 0);

    connect(Edit(kName), &QLineEdit::textEdited, this, &ComponentFields::OnNameEdited);
    connect(datePicker_, &QDateEdit::dateChanged, this, &ComponentFields::OnDateChanged);
    connect(criterionKind_, QOverload<int>::of(&QComboBox::activated), this,
            &ComponentFields::OnCriterionKindChosen);
    for (Field f : {kDesignValue, kLowerTolerance, kUpperTolerance}) {
        Edit(f)->setValidator(new QIntValidator(-1000000, 1000000, Edit(f)));
        connect(Edit(f), &QLineEdit::editingFinished, this, &ComponentFields::OnCriterionEdited);
    }
}

QLineEdit* ComponentFields::AddField(Field field, const char* objectName, bool readOnly,
                                     bool visible, const char* widest) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(readOnly);
    // Wide enough for its widest value whatever the labels beside it take, so that
    // longer labels (English) widen the panel rather than cut the values.
    if (widest) {
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString::fromUtf8(widest)) +
                              2 * frame + 8);
    }
    edit->setObjectName(QString::fromLatin1(objectName));
    if (!visible) edit->setVisible(false);
    edits_[field] = edit;
    return edit;
}

void ComponentFields::BuildCurrentGroup() {
    currentGroup_ = new QGroupBox(tr("当前构件"), this);
    auto* grid = new QGridLayout(currentGroup_);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (const FieldLayout& f : kFields) {
        auto* label = new QLabel(tr(f.label));
        QLineEdit* edit = AddField(f.field, f.objectName, f.readOnly, f.visible, f.widest);
        label->setBuddy(edit);
        labels_[f.field] = label;
        if (!f.visible) label->setVisible(false);
        grid->addWidget(label, f.row, f.column * 2);
        grid->addWidget(edit, f.row, f.column * 2 + 1);
    }
    datePicker_ = new QDateEdit;
    datePicker_->setObjectName(QStringLiteral("testDate"));
    datePicker_->setDisplayFormat(tr("yyyy年M月d日"));
    datePicker_->setCalendarPopup(true);
    datePicker_->setDate(QDate::currentDate());
    auto* dateLabel = new QLabel(tr("测试日期"));
    dateLabel->setBuddy(datePicker_);
    grid->addWidget(dateLabel, 1, 0);
    grid->addWidget(datePicker_, 1, 1);
    criterionKind_ = new QComboBox;
    criterionKind_->setObjectName(QStringLiteral("criterionKind"));
    criterionKind_->addItem(tr("最小值 ρ ≥ X"));
    criterionKind_->addItem(tr("设计值及偏差"));
    auto* kindLabel = new QLabel(tr("判定方式"));
    kindLabel->setBuddy(criterionKind_);
    grid->addWidget(kindLabel, 1, 2);
    grid->addWidget(criterionKind_, 1, 3);
}

void ComponentFields::BuildTotalsGroup() {
    totalsGroup_ = new QGroupBox(tr("全部构件"), this);
    auto* totals = new QGridLayout(totalsGroup_);
    for (const FieldLayout& f : kTotals) {
        auto* label = new QLabel(tr(f.label));
        totals->addWidget(label, f.row, f.column * 2);
        totals->addWidget(AddField(f.field, f.objectName, f.readOnly, f.visible, f.widest), f.row,
                          f.column * 2 + 1);
    }
    totalsGroup_->setVisible(false);
}

QLineEdit* ComponentFields::Edit(Field field) const {
    return field >= 0 && field < kFieldCount ? edits_[field] : nullptr;
}

void ComponentFields::ShowTotals() {
    Edit(kTotalPoints)->setText(QString::number(doc_.TotalPointCount()));
    Edit(kTotalPassing)->setText(QString::number(doc_.TotalPassCount()));
    Edit(kOverallPassRate)->setText(Percent(doc_.TotalPassCount(), doc_.TotalValidCount()));
}

void ComponentFields::ShowComponent(const Component* c) {
    pushing_ = true;
    if (!c) {
        for (QLineEdit* edit : edits_)
            if (edit) edit->clear();
        pushing_ = false;
        return;
    }
    Edit(kName)->setText(FromGbk(c->Name()));
    Edit(kNumber)->setText(FromGbk(c->Number()));
    Edit(kDesignValue)->setText(QString::number(c->DesignValue()));
    Edit(kUpperTolerance)->setText(QString::number(c->UpperTolerance()));
    Edit(kLowerTolerance)->setText(QString::number(c->LowerTolerance()));
    Edit(kMaximum)->setText(Resistivity(c->maxValue));
    Edit(kMinimum)->setText(Resistivity(c->minValue));
    Edit(kPointCount)->setText(QString::number(c->pointCount));
    Edit(kAverage)->setText(Resistivity(c->ComputeAverage()));
    Edit(kPassCount)->setText(QString::number(SaturateToInt(c->passCount)));
    const int valid = c->ValidCount();
    Edit(kPassRate)->setText(Percent(SaturateToInt(c->passCount), valid));
    Edit(kFailCount)->setText(QString::number(valid - SaturateToInt(c->passCount)));
    Edit(kInvalidCount)->setText(QString::number(c->HeldPointCount() - valid));
    Edit(kCriterionText)->setText(CriterionText(CriterionOf(*c)));
    ShowCriterionKind(IsMinimum(CriterionOf(*c)));
    ShowTotals();
    const QDate date = ParseStoredDate(c->TestDate());
    if (date.isValid()) datePicker_->setDate(date);
    pushing_ = false;
}

// An emptied or unreadable field puts the shown value back rather than storing 0.
void ComponentFields::OnCriterionEdited() {
    const Component* c = doc_.CurrentComponent();
    if (pushing_ || refusing_ || !c) return;
    Criterion wanted = CriterionOf(*c);
    float* targets[] = {&wanted.designValue, &wanted.lowerTolerance, &wanted.upperTolerance};
    const Field fields[] = {kDesignValue, kLowerTolerance, kUpperTolerance};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = Edit(fields[i])->text().trimmed().toInt(&ok);
        // Whole numbers are what the field shows; an unchanged text keeps a fraction.
        if (ok && value != SaturateToInt(*targets[i])) *targets[i] = static_cast<float>(value);
    }
    // A minimum stays one: the upper deviation follows the value up to the limit.
    if (IsMinimum(CriterionOf(*c))) {
        if (const std::optional<CriterionFault> fault = MinimumProblem(wanted.designValue))
            return Refuse(*fault);
        wanted = MinimumCriterion(wanted.designValue);
    }
    StoreCriterion(wanted);
}

void ComponentFields::Refuse(CriterionFault fault) {
    QString why;
    switch (fault) {
        case CriterionFault::NotFinite:
            why = tr("数值必须是有限的数");
            break;
        case CriterionFault::LowerAboveZero:
            why = tr("允许负偏差必须小于或等于0，否则设计值本身也不合格");
            break;
        case CriterionFault::UpperBelowZero:
            why = tr("允许正偏差必须大于或等于0，否则设计值本身也不合格");
            break;
        case CriterionFault::MinimumOutOfRange:
            why = tr("最小值必须大于0且小于仪器量程上限（%1 kΩ·cm）").arg(OverflowLimit());
            break;
    }
    refusing_ = true;
    ShowComponent(doc_.CurrentComponent());
    QMessageBox::warning(this, tr("判定标准"), tr("判定标准未改变：%1。").arg(why));
    refusing_ = false;
}

void ComponentFields::StoreCriterion(const Criterion& wanted) {
    const Component* c = doc_.CurrentComponent();
    if (!c) return;
    if (const std::optional<CriterionFault> fault = CriterionProblem(wanted)) return Refuse(*fault);
    if (wanted == CriterionOf(*c)) {
        ShowComponent(c);
        return;
    }
    doc_.SetComponentCriterion(doc_.CurrentIndex(), wanted);
    emit DocumentEdited();
}

void ComponentFields::OnCriterionKindChosen(int kind) {
    const Component* c = doc_.CurrentComponent();
    if (pushing_ || !c) return;
    const Criterion now = CriterionOf(*c);
    const bool minimum = kind == 0;
    if (minimum == IsMinimum(now)) return;
    const float value = now.designValue > 0 ? now.designValue : kDefaultMinimum;
    StoreCriterion(minimum ? MinimumCriterion(value) : Criterion{value, -20.0f, 30.0f});
}

void ComponentFields::ShowCriterionKind(bool minimum) {
    criterionKind_->setCurrentIndex(minimum ? 0 : 1);
    labels_[kDesignValue]->setText(minimum ? tr("最小值(kΩ·cm)") : tr("设计值(kΩ·cm)"));
    for (Field f : {kLowerTolerance, kUpperTolerance}) {
        labels_[f]->setVisible(!minimum);
        Edit(f)->setVisible(!minimum);
    }
}

void ComponentFields::OnNameEdited(const QString& text) {
    if (pushing_ || !doc_.CurrentComponent()) return;
    doc_.SetComponentName(GbkPrefix(text, Component::kNameWidth - 1));
    emit DocumentEdited();
}

void ComponentFields::OnDateChanged(const QDate& date) {
    if (pushing_ || !date.isValid() || !doc_.CurrentComponent()) return;
    doc_.SetComponentTestDate(FormatStoredDate(date));
    emit DocumentEdited();
}

}  // namespace ohmlet
