#pragma once
// The control panel: the checkable component list and the "当前构件" fields. It shows
// what the document tells it and writes back only names, dates, ticks and picked rows.
#include <QDate>
#include <QString>
#include <QWidget>
#include <array>

#include "data/CorrosionClasses.h"
#include "data/Document.h"
#include "data/DocumentObserver.h"

class QAction;
class QDateEdit;
class QMenu;
class QGroupBox;
class QLineEdit;
class QTableView;

namespace ohmlet {

class ComponentListFilter;
class ClassLegend;
class ComponentListModel;
class ComponentStatsBox;

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
    // What the list shows: the model sorted and filtered.
    ComponentListFilter* ListFilter() const { return listFilter_; }
    QLineEdit* FilterEdit() const { return filterEdit_; }
    // Tick all, none or the opposite of the rows shown: one undoable edit each.
    QAction* TickAllAction() const { return tickAll_; }
    QAction* TickNoneAction() const { return tickNone_; }
    QAction* TickInvertAction() const { return tickInvert_; }
    // The frame's commands the list's context menu offers; null for a separator.
    void SetContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }
    // The context menu for a right click at pos (list viewport coordinates); the
    // component under the mouse becomes the current one first.
    QMenu* MakeContextMenu(const QPoint& pos, QWidget* parent);
    QLineEdit* Edit(Field field) const;
    QDateEdit* DatePicker() const { return datePicker_; }
    QGroupBox* CurrentGroup() const { return currentGroup_; }
    QGroupBox* TotalsGroup() const { return totalsGroup_; }
    ComponentStatsBox* StatsBox() const { return statsBox_; }
    ClassLegend* Legend() const { return legend_; }
    // The classes the statistics and the legend use.
    void SetClassTable(const ClassTable& table);

signals:
    // The user changed the document through the panel (name, date or criterion).
    void DocumentEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    void BuildFields();
    QLineEdit* AddField(Field field, const char* objectName, bool readOnly, bool visible,
                        const char* widest);
    void BuildFilterRow();
    void FollowCurrentRow();
    void PickSelectedRow();
    void PickRow(const QModelIndex& shown);
    void ChangeShownTicks(int change);
    void OnNameEdited(const QString& text);
    void OnDateChanged(const QDate& date);
    // A criterion field was left or confirmed: one undoable edit when it changed.
    void OnCriterionEdited();
    void ShowTotals();

    Document& doc_;
    QTableView* list_ = nullptr;
    ComponentListModel* listModel_ = nullptr;
    ComponentListFilter* listFilter_ = nullptr;
    QWidget* filterRow_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    QAction* tickAll_ = nullptr;
    QAction* tickNone_ = nullptr;
    QAction* tickInvert_ = nullptr;
    QList<QAction*> contextActions_;
    // Set while the panel moves the list's current row itself.
    bool refreshing_ = false;
    QGroupBox* currentGroup_ = nullptr;
    QGroupBox* totalsGroup_ = nullptr;
    QDateEdit* datePicker_ = nullptr;
    ComponentStatsBox* statsBox_ = nullptr;
    ClassLegend* legend_ = nullptr;
    std::array<QLineEdit*, kFieldCount> edits_{};
    bool pushing_ = false;
};

}  // namespace ohmlet
