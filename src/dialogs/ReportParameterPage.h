#pragma once
// One layout's page of the report parameter dialog: label + field pairs in two columns.
// The page shows the values it is given and hands back what its controls hold.
#include <QWidget>
#include <map>

#include "report/ReportParameters.h"

class QComboBox;
class QGridLayout;
class QDateEdit;
class QLineEdit;

namespace ohmlet {

class ReportParameterPage : public QWidget {
    Q_OBJECT
public:
    ReportParameterPage(const ReportLayoutInfo& info, QWidget* parent = nullptr);

    const ReportLayoutInfo& Info() const { return info_; }

    // Values -> controls; a key the values lack leaves its control as it is.
    void ShowValues(const LayoutParameters& values);
    // Controls -> values: every field of the layout.
    LayoutParameters Values() const;

    // The controls, by UTF-8 key (tests and focus handling).
    QLineEdit* TextField(const QString& key) const;
    QDateEdit* DateField(const QString& key) const;
    QComboBox* GradeField(const QString& key) const;

private:
    void AddField(QGridLayout* grid, int row, int column, const char* key);

    const ReportLayoutInfo& info_;
    std::map<QString, QWidget*> controls_;
};

}  // namespace ohmlet
