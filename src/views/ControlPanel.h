#pragma once
// The control panel: the checkable component list and the "当前构件" fields. It shows
// what the document tells it and writes back only names, dates, ticks and picked rows.
#include <QDate>
#include <QString>
#include <QWidget>

#include "data/CorrosionClasses.h"
#include "data/Document.h"
#include "data/DocumentObserver.h"

class QDateEdit;
class QGroupBox;
class QLineEdit;
class QTableView;

namespace ohmlet {

class ClassLegend;
class ComponentListModel;
class ComponentStatsBox;

class ControlPanel : public QWidget, public DocumentObserver {
    Q_OBJECT
public:
    // Widget ids of the fields, as the panel's layout knows them.
    enum Field {
        kName = 1001,
        kNumber = 1002,
        kAverage = 1004,
        kDesignValue = 1005,
        kUpperTolerance = 1006,
        kLowerTolerance = 1007,
        kMaximum = 1008,
        kMinimum = 1009,
        kPointCount = 1010,
        kPassCount = 1011,
        kPassRate = 1012,
        kTotalPoints = 1013,
        kTotalPassing = 1014,
        kOverallPassRate = 1015,
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
    ComponentStatsBox* StatsBox() const { return statsBox_; }
    ClassLegend* Legend() const { return legend_; }
    // The classes the statistics and the legend use.
    void SetClassTable(const ClassTable& table);

    // The date as the panel stores it: "2015年 3月 7日", GBK bytes.
    static std::string FormatTestDate(const QDate& date);
    // The date a stored test date holds; invalid when the bytes hold none.
    static QDate ParseTestDate(const std::string& gbkDate);

signals:
    // The user changed the document through the panel (name, date or criterion).
    void DocumentEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    void BuildFields();
    QLineEdit* AddField(Field field, bool readOnly, bool visible);
    void PickSelectedRow();
    void OnNameEdited(const QString& text);
    void OnDateChanged(const QDate& date);
    // A criterion field was left or confirmed: one undoable edit when it changed.
    void OnCriterionEdited();
    void ShowTotals();

    Document& doc_;
    QTableView* list_ = nullptr;
    ComponentListModel* listModel_ = nullptr;
    QGroupBox* currentGroup_ = nullptr;
    QGroupBox* totalsGroup_ = nullptr;
    QDateEdit* datePicker_ = nullptr;
    ComponentStatsBox* statsBox_ = nullptr;
    ClassLegend* legend_ = nullptr;
    QLineEdit* edits_[16] = {};
    bool pushing_ = false;
};

}  // namespace ohmlet
