#pragma once
// The control panel: the checkable component list and the "当前构件" fields. It shows
// what the document tells it and writes back only names, dates, ticks and picked rows.
#include <QDate>
#include <QString>
#include <QWidget>
#include <array>

#include "data/Document.h"
#include "data/DocumentObserver.h"

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QTableView;

namespace ohmlet {

class ComponentListModel;

class ControlPanel : public QWidget, public DocumentObserver {
    Q_OBJECT
public:
    // The panel's edit fields.
    enum Field {
        kName,
        kNumber,
        kAverage,
        kDesignValue,
        kUpperTolerance,
        kLowerTolerance,
        kMaximum,
        kMinimum,
        kPointCount,
        kPassCount,
        kPassRate,
        kTotalPoints,
        kTotalPassing,
        kOverallPassRate,
        kFieldCount
    };

    explicit ControlPanel(Document& doc, QWidget* parent = nullptr);
    ~ControlPanel() override;

    // DocumentObserver
    void ShowComponent(const Component* component) override;
    void RefreshComponentList() override;
    void RefreshPointCount() override;
    void RefreshComponentRow(int index) override;

    QTableView* List() const { return list_; }
    ComponentListModel* ListModel() const { return listModel_; }
    QLineEdit* Edit(Field field) const;
    QDateEdit* DatePicker() const { return datePicker_; }
    QGroupBox* CurrentGroup() const { return currentGroup_; }
    QGroupBox* TotalsGroup() const { return totalsGroup_; }

signals:
    // The user changed the document through the panel (name or date).
    void DocumentEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    void BuildFields();
    QLineEdit* AddField(Field field, const char* objectName, bool readOnly, bool visible);
    void PickSelectedRow();
    void OnNameEdited(const QString& text);
    void OnDateChanged(const QDate& date);
    void ShowTotals();

    Document& doc_;
    QTableView* list_ = nullptr;
    ComponentListModel* listModel_ = nullptr;
    QGroupBox* currentGroup_ = nullptr;
    QGroupBox* totalsGroup_ = nullptr;
    QDateEdit* datePicker_ = nullptr;
    std::array<QLineEdit*, kFieldCount> edits_{};
    bool pushing_ = false;
};

}  // namespace ohmlet
