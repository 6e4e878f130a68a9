#include "dialogs/ReportParameterPage.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace ohmlet {
namespace {

const QDate kUnsetDate(1900, 1, 1);

// The report's field names, for the labels only: the files and reports keep the Chinese.
[[maybe_unused]] constexpr const char* kFieldNames[] = {
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "要求合格率"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "电极间距"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "混凝土温度"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "表面湿度状况"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "表面状况"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "仪器编号"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "仪器设备"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "委托单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "委托日期"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "委托编号"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "工程名称"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "工程地址"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "工程地点"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "建设单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "强度等级"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "执行标准"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "报告日期"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "报告编号"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "施工单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "施工日期"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测人员"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测仪器"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测依据"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测内容"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测方法"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测日期"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测编号"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "检测项目"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "浇筑日期"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "监理单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "监督单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "结构类别"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "设计单位"),
    QT_TRANSLATE_NOOP("ohmlet::ReportParameterPage", "试验编号"),
};

}  // namespace

ReportParameterPage::ReportParameterPage(const ReportLayoutInfo& info, QWidget* parent)
    : QWidget(parent), info_(info) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    for (std::size_t i = 0; i < info_.leftColumn.size(); ++i)
        AddField(grid, static_cast<int>(i), 0, info_.leftColumn[i]);
    for (std::size_t i = 0; i < info_.rightColumn.size(); ++i)
        AddField(grid, static_cast<int>(i), 2, info_.rightColumn[i]);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(
        static_cast<int>(std::max(info_.leftColumn.size(), info_.rightColumn.size())), 1);
}

void ReportParameterPage::AddField(QGridLayout* grid, int row, int column, const char* key) {
    const QString name = QString::fromUtf8(key);
    auto* label = new QLabel(tr(key), this);
    QWidget* field = nullptr;
    switch (KindOfField(info_, key)) {
        case FieldKind::Text:
            field = new QLineEdit(this);
            break;
        case FieldKind::Date: {
            auto* date = new QDateEdit(this);
            date->setDisplayFormat(tr("yyyy年M月d日"));
            date->setAlignment(Qt::AlignRight);
            // The lowest date stands for "not given", so a date need never be guessed.
            date->setMinimumDate(kUnsetDate);
            date->setSpecialValueText(tr("未填写"));
            date->setCalendarPopup(true);
            field = date;
            break;
        }
        case FieldKind::Grade: {
            auto* grade = new QComboBox(this);
            grade->addItems(StrengthGrades());
            field = grade;
            break;
        }
    }
    field->setObjectName(name);
    label->setBuddy(field);
    controls_[name] = field;
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1);
}

void ReportParameterPage::ShowValues(const LayoutParameters& values) {
    for (const auto& [key, text] : values.texts) {
        if (auto* edit = TextField(key)) edit->setText(text);
        if (auto* grade = GradeField(key)) grade->setCurrentIndex(grade->findText(text));
    }
    for (const ReportField& f : info_.fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        if (auto* edit = DateField(key)) {
            const auto it = values.dates.find(key);
            edit->setDate(it != values.dates.end() && it->second.isValid() ? it->second
                                                                           : kUnsetDate);
        }
    }
}

LayoutParameters ReportParameterPage::Values() const {
    LayoutParameters values;
    for (const ReportField& f : info_.fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        if (auto* edit = TextField(key)) values.texts[key] = edit->text();
        if (auto* grade = GradeField(key)) values.texts[key] = grade->currentText();
        if (auto* edit = DateField(key))
            if (edit->date() != kUnsetDate) values.dates[key] = edit->date();
    }
    return values;
}

QLineEdit* ReportParameterPage::TextField(const QString& key) const {
    auto it = controls_.find(key);
    return it == controls_.end() ? nullptr : qobject_cast<QLineEdit*>(it->second);
}

QDateEdit* ReportParameterPage::DateField(const QString& key) const {
    auto it = controls_.find(key);
    return it == controls_.end() ? nullptr : qobject_cast<QDateEdit*>(it->second);
}

QComboBox* ReportParameterPage::GradeField(const QString& key) const {
    auto it = controls_.find(key);
    return it == controls_.end() ? nullptr : qobject_cast<QComboBox*>(it->second);
}

}  // namespace ohmlet
