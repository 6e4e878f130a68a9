#pragma once
// One layout's page of the report parameter dialog: label + field pairs in two columns.
// The page keeps its values in members; controls and members are exchanged explicitly,
// so that reloading a layout can replace what was typed.
#include <QDate>
#include <QWidget>
#include <map>
#include <string>

#include "report/ReportParameters.h"

class QComboBox;
class QGridLayout;
class QDateEdit;
class QLineEdit;

namespace ohmlet {

class IniFile;

class ReportParameterPage : public QWidget {
    Q_OBJECT
public:
    ReportParameterPage(const ReportLayoutInfo& info, QWidget* parent = nullptr);

    const ReportLayoutInfo& Info() const { return info_; }

    // Members <-> controls.
    void UpdateControls();
    void UpdateMembers();

    // Reads every key found in the file into the members (missing keys keep theirs).
    void ReadMembers(IniFile& file);
    // Writes every key in file order from the members.
    void WriteMembers(IniFile& file) const;

    // Members by UTF-8 key: texts and grades as text, dates as the stored date text.
    QString MemberText(const QString& key) const;
    QDate MemberDate(const QString& key) const;

    // The controls, by UTF-8 key (tests and focus handling).
    QLineEdit* TextField(const QString& key) const;
    QDateEdit* DateField(const QString& key) const;
    QComboBox* GradeField(const QString& key) const;

private:
    void AddField(QGridLayout* grid, int row, int column, const char* key);

    const ReportLayoutInfo& info_;
    std::map<QString, QString> texts_;
    std::map<QString, QDate> dates_;
    std::map<QString, QWidget*> controls_;
};

}  // namespace ohmlet
