#include "dialogs/ReportParameterPage.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "report/IniFile.h"
#include "report/GbkCodec.h"

namespace ohmlet {

namespace {

// The layout's number 1..6, for its defaults.
int LayoutNumberOf(const ReportLayoutInfo& info) {
    for (int i = 0; i < kReportLayoutCount; ++i)
        if (GetReportLayoutInfo(i) == &info) return i + 1;
    return 0;
}

}  // namespace

ReportParameterPage::ReportParameterPage(const ReportLayoutInfo& info, QWidget* parent)
    : QWidget(parent), info_(info) {
    // A date never set is today's, not the start of the clock.
    for (const ReportField& f : info_.fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        if (f.kind == FieldKind::Date)
            dates_[key] = QDate::currentDate();
        else
            texts_[key] = DefaultReportParameter(LayoutNumberOf(info_), key);
    }
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
    UpdateControls();
}

void ReportParameterPage::AddField(QGridLayout* grid, int row, int column, const char* key) {
    const QString name = QString::fromUtf8(key);
    auto* label = new QLabel(name, this);
    QWidget* field = nullptr;
    switch (KindOfField(info_, key)) {
        case FieldKind::Text:
            field = new QLineEdit(this);
            break;
        case FieldKind::Date: {
            auto* date = new QDateEdit(this);
            date->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
            date->setAlignment(Qt::AlignRight);
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

void ReportParameterPage::UpdateControls() {
    for (auto& [key, text] : texts_) {
        if (auto* edit = TextField(key)) edit->setText(text);
        if (auto* grade = GradeField(key)) grade->setCurrentIndex(grade->findText(text));
    }
    for (auto& [key, date] : dates_)
        if (auto* edit = DateField(key)) edit->setDate(date);
}

void ReportParameterPage::UpdateMembers() {
    for (auto& [key, text] : texts_) {
        if (auto* edit = TextField(key)) text = edit->text();
        if (auto* grade = GradeField(key)) text = grade->currentText();
    }
    for (auto& [key, date] : dates_)
        if (auto* edit = DateField(key)) date = edit->date();
}

void ReportParameterPage::ReadMembers(IniFile& file) {
    for (const ReportField& f : info_.fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        std::string value;
        if (!file.ReadString(SectionName(), ToGbk(key), value)) continue;
        if (f.kind == FieldKind::Date) {
            // A text that makes no date leaves the page's date as it was.
            QDate date = ParseStoredDate(value);
            if (date.isValid()) dates_[key] = date;
        } else {
            // An emptied field shows what the report prints for it.
            texts_[key] =
                value.empty() ? DefaultReportParameter(LayoutNumberOf(info_), key) : FromGbk(value);
        }
    }
}

void ReportParameterPage::WriteMembers(IniFile& file) const {
    for (const ReportField& f : info_.fileOrder) {
        const QString key = QString::fromUtf8(f.key);
        if (f.kind == FieldKind::Date)
            file.WriteString(ToGbk(key), FormatStoredDate(MemberDate(key)));
        else
            file.WriteString(ToGbk(key), ToGbk(MemberText(key)));
    }
}

QString ReportParameterPage::MemberText(const QString& key) const {
    auto it = texts_.find(key);
    return it == texts_.end() ? QString() : it->second;
}

QDate ReportParameterPage::MemberDate(const QString& key) const {
    auto it = dates_.find(key);
    return it == dates_.end() ? QDate() : it->second;
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
