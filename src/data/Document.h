#pragma once
// The open measurement file: its components, the current component and point, the
// totals, and the operations and commands that change them. After each change the
// document itself tells its observers what to refresh, in a fixed order.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/Component.h"
#include "data/Criterion.h"
#include "data/DocumentObserver.h"
#include "data/DzlFile.h"
#include "data/EditHistory.h"

namespace ohmlet {

class Document : public ComponentListener, private EditTarget {
public:
    Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // --- observers --------------------------------------------------------------
    void AddObserver(DocumentObserver* observer);
    void RemoveObserver(DocumentObserver* observer);

    // --- state ------------------------------------------------------------------
    int32_t ComponentCount() const { return static_cast<int32_t>(components_.size()); }
    int32_t CurrentIndex() const { return currentComponent_; }
    int32_t CurrentPoint() const { return currentPoint_; }
    int32_t TotalPointCount() const;
    int32_t TotalPassCount() const;
    // Readings inside the instrument's scale; the overall rate is over these.
    int32_t TotalValidCount() const;
    int32_t TotalInvalidCount() const { return TotalPointCount() - TotalValidCount(); }
    float OverallPassRate() const;
    const std::vector<Component>& Components() const { return components_; }
    const std::string& DocumentPath() const { return documentPath_; }
    std::vector<unsigned char>& TransferBuffer() { return transferBuffer_; }
    bool IsModified() const { return !history_.IsClean(); }

    Component* ComponentAt(int index);
    const Component* ComponentAt(int index) const;
    Component* CurrentComponent() { return ComponentAt(currentComponent_); }
    const Component* CurrentComponent() const { return ComponentAt(currentComponent_); }

    // --- model operations -------------------------------------------------------
    void SelectComponent(int index);
    void SetCurrentPoint(int index, bool refresh);
    // Stores an edited grid cell into the current component. Column 1 is the value
    // for every kind; the other codes keep their meaning per kind.
    void SetCell(int row, int columnCode, int value);
    int32_t SumPointCounts();
    int32_t SumPassCounts();
    float ComputeOverallPassRate();
    void RefreshComponentList();
    // Recomputes the current component's max, min and pass count and the totals, then
    // lets the observers show it (or show nothing when no component is current).
    void ShowCurrentComponent();

    // The tick of a component in the list: whether outputs take it. An undoable edit.
    void SetComponentSelected(int index, bool selected);
    // Ticks, unticks or flips the ticks of these components as one undoable edit.
    enum class TickChange { Tick, Untick, Invert };
    void ChangeTicks(const std::vector<int>& indexes, TickChange change);

    // The pass band of one component; an undoable edit that recomputes the pass
    // figures and refreshes the views. Nothing happens when it is unchanged.
    void SetComponentCriterion(int index, const Criterion& criterion);
    // One criterion for every ticked component, one undoable step; returns how many
    // components it set.
    std::size_t ApplyCriterionToTicked(const Criterion& criterion);

    // The survey grid, conditions and kept keys of one component; an undoable edit.
    // Nothing happens when they are unchanged.
    void SetComponentExtras(int index, const ComponentExtras& extras);
    // Gives every ticked component this grid (none clears it) and, when given, these
    // conditions; their other extras stay. One undoable step; returns how many changed.
    std::size_t SetExtrasOfTicked(const std::optional<SurveyGrid>& grid,
                                  const std::optional<SurveyConditions>& conditions = {});

    // Name and test date of the current component, as the control panel edits them.
    void SetComponentName(std::string_view gbkName);
    void SetComponentTestDate(std::string_view gbkDate);

    // --- document commands ------------------------------------------------------
    void InsertComponent();
    void DeleteComponent();
    static std::string MakeComponentNumber(int count);
    // Point commands on the current component.
    void InsertPointAbove(int row, int column);
    void InsertPointBelow(int row, int column);
    void DeletePoint(int row, int column);

    // Replaces the components by the file's; the path becomes the document's.
    DzlReadResult Open(const std::string& path);
    // Writes every component to path; the document takes that path.
    DzlWriteResult Save(const std::string& path);
    // Save all as / save selected: the document's path does not change.
    DzlWriteResult WriteComponents(const std::string& path, DzlSelection which) const;
    // An empty, untitled document.
    void NewDocument();
    // Takes components made elsewhere (tests, the instrument) as an untitled document.
    void ReplaceComponents(std::vector<Component> components);

    // --- undo -------------------------------------------------------------------
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    std::optional<EditKind> NextUndoKind() const { return history_.NextUndoKind(); }
    std::optional<EditKind> NextRedoKind() const { return history_.NextRedoKind(); }
    void Undo();
    void Redo();

    // --- environment ------------------------------------------------------------
    void SetProgramFolder(std::string folder) { programFolder_ = std::move(folder); }
    const std::string& ProgramFolder() const { return programFolder_; }
    // The criterion a new component gets; none: the built-in minimum.
    void SetNewComponentCriterion(std::optional<Criterion> criterion) { newCriterion_ = criterion; }
    // Today's date for new components; tests pin it.
    void SetClock(std::function<std::tm()> today) { today_ = std::move(today); }

private:
    // ComponentListener
    void OnPassRecomputed(Component& component) override;
    void OnPointPositionChanged(Component& component) override;
    void OnTestDateChanged(Component& component) override;
    // EditTarget
    std::vector<Component>& EditedList() override { return components_; }
    void Release(const Component& component) override { CountIn(component, -1); }
    void Adopt(Component& component) override {
        component.SetListener(this);
        CountIn(component, +1);
    }

    void AttachComponents();
    void NotifyShowComponent(const Component* component);
    void NotifyRefreshComponentList();
    void NotifyRefreshPointCount();
    void NotifyRebuildGrid();
    void NotifyRefreshComponentRow(int index);
    void NotifyPointsChanged(bool changed);

    // Keeps the component an edit is about to change, so it can be undone.
    void RecordEdit(EditKind kind, int index, bool mergeable = false);
    // Keeps what undoes an edit of the component at index, with the current place.
    void Record(EditKind kind, int index, EditChange undo, bool mergeable = false);
    // Applies a record and returns the record that reverses it.
    EditRecord Apply(EditRecord record);
    void RefreshAll();
    // Records and applies criteria for the listed components as one step.
    void ChangeCriteria(EditKind kind, const std::vector<CriterionEntry>& wanted);
    // Records and applies the extras that differ from the components' as one step.
    std::size_t ChangeExtras(EditKind kind, edit::Extras wanted);
    // The totals are the sums of every component's stored point and pass counts. An
    // edit of one component takes its counts out before and puts them back after, so
    // a long list is not summed again; other changes have the sums made when next read.
    void EnsureTotals() const;
    void InvalidateTotals() { totalsValid_ = false; }
    void CountIn(const Component& component, int sign);
    // Every component's pass count from its readings.
    void RecountAll();

    std::vector<Component> components_;
    int32_t currentComponent_ = 0;
    int32_t currentPoint_ = 0;
    mutable bool totalsValid_ = false;
    mutable int64_t totalPoints_ = 0;
    mutable int64_t totalPassing_ = 0;
    mutable int64_t totalValid_ = 0;
    std::optional<Criterion> newCriterion_;
    std::vector<unsigned char> transferBuffer_;
    std::string documentPath_;

    EditHistory history_;
    std::vector<DocumentObserver*> observers_;
    std::string programFolder_;
    std::function<std::tm()> today_;
};

}  // namespace ohmlet
