#include "data/Document.h"

#include <algorithm>

namespace ohmlet {

Document::Document() {
    today_ = [] {
        std::time_t now = std::time(nullptr);
        std::tm local{};
#ifdef _WIN32
        localtime_s(&local, &now);
#else
        localtime_r(&now, &local);
#endif
        return local;
    };
}

void Document::AddObserver(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Document::RemoveObserver(DocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Document::NotifyShowComponent(const Component* component) {
    for (auto* o : observers_) o->ShowComponent(component);
}
void Document::NotifyRefreshComponentList() {
    for (auto* o : observers_) o->RefreshComponentList();
}
void Document::NotifyRefreshPointCount() {
    for (auto* o : observers_) o->RefreshPointCount();
}
void Document::NotifyRebuildGrid() {
    for (auto* o : observers_) o->RebuildGrid();
}
void Document::NotifyRefreshComponentRow(int index) {
    for (auto* o : observers_) o->RefreshComponentRow(index);
}

Component* Document::ComponentAt(int index) {
    if (index < 0 || index >= ComponentCount()) return nullptr;
    return &components_[static_cast<std::size_t>(index)];
}

const Component* Document::ComponentAt(int index) const {
    if (index < 0 || index >= ComponentCount()) return nullptr;
    return &components_[static_cast<std::size_t>(index)];
}

void Document::AttachComponents() {
    for (Component& c : components_) c.SetListener(this);
}

void Document::SelectComponent(int index) {
    if (!ComponentAt(index)) return;
    currentComponent_ = index;
    NotifyRebuildGrid();
    ShowCurrentComponent();
}

void Document::SetCurrentPoint(int index, bool refresh) {
    if (index < 0) return;
    currentPoint_ = index;
    if (refresh) NotifyRebuildGrid();
}

void Document::SetCell(int row, int columnCode, int value) {
    Component* c = CurrentComponent();
    if (!c) return;
    int target = row;
    bool setsValue = false;
    switch (c->Kind()) {
        case ComponentKind::Single:
            if (columnCode != 1 && columnCode != 2 && columnCode != 4 && columnCode != 5) return;
            setsValue = true;
            break;
        case ComponentKind::Profile:
            if (columnCode != 1 && columnCode != 2) return;
            setsValue = true;
            break;
        case ComponentKind::Grid:
            if (columnCode != 1 && columnCode != 2 && columnCode != 4 && columnCode != 5) return;
            setsValue = columnCode != 4;
            if (columnCode >= 4) target = row + c->blockOffset;
            break;
    }
    RecordEdit(EditKind::CellEdit, currentComponent_);
    if (setsValue)
        c->SetPointValue(target, value);
    else
        c->SetPointPosition(target, value);
}

int32_t Document::SumPointCounts() {
    int32_t sum = 0;
    for (const Component& c : components_) sum += c.pointCount;
    return sum;
}

int32_t Document::SumPassCounts() {
    int32_t sum = 0;
    for (Component& c : components_) sum += c.CountPassing();
    InvalidateTotals();
    return sum;
}

float Document::ComputeOverallPassRate() { return OverallPassRate(); }

void Document::EnsureTotals() const {
    if (totalsValid_) return;
    totalPoints_ = 0;
    totalPassing_ = 0;
    totalValid_ = 0;
    for (const Component& c : components_) {
        totalPoints_ += c.pointCount;
        totalPassing_ += static_cast<int64_t>(c.passCount);
        totalValid_ += c.ValidCount();
    }
    totalsValid_ = true;
}

void Document::CountIn(const Component& c, int sign) {
    if (!totalsValid_) return;
    totalPoints_ += sign * static_cast<int64_t>(c.pointCount);
    totalPassing_ += sign * static_cast<int64_t>(c.passCount);
    totalValid_ += sign * static_cast<int64_t>(c.ValidCount());
}

int32_t Document::TotalPointCount() const {
    EnsureTotals();
    return static_cast<int32_t>(totalPoints_);
}

int32_t Document::TotalPassCount() const {
    EnsureTotals();
    return static_cast<int32_t>(totalPassing_);
}

int32_t Document::TotalValidCount() const {
    EnsureTotals();
    return static_cast<int32_t>(totalValid_);
}

float Document::OverallPassRate() const {
    EnsureTotals();
    return totalValid_ > 0 ? static_cast<float>(totalPassing_) / static_cast<float>(totalValid_)
                           : 0.0f;
}

// The figures a file or the instrument stored may be stale; what is shown and saved is
// counted from the readings.
void Document::RecountAll() {
    for (Component& c : components_) c.RecomputeStatistics();
    InvalidateTotals();
}

void Document::RefreshComponentList() { NotifyRefreshComponentList(); }

void Document::ShowCurrentComponent() {
    Component* c = CurrentComponent();
    if (c) {
        CountIn(*c, -1);
        c->ComputeMax();
        c->ComputeMin();
        c->CountPassing();
        CountIn(*c, +1);
    }
    NotifyShowComponent(c);
}

void Document::SetComponentSelected(int index, bool selected) {
    Component* c = ComponentAt(index);
    if (!c || (c->selected != 0) == selected) return;
    RecordEdit(EditKind::TickEdit, index);
    c->selected = selected ? 1 : 0;
    NotifyRefreshComponentRow(index);
}

void Document::ChangeTicks(const std::vector<int>& indexes, TickChange change) {
    edit::Ticks wanted;
    for (int index : indexes) {
        const Component* c = ComponentAt(index);
        if (!c) continue;
        const bool ticked = c->selected != 0;
        const bool tick = change == TickChange::Tick     ? true
                          : change == TickChange::Untick ? false
                                                         : !ticked;
        if (tick != ticked) wanted.ticks.emplace_back(index, tick ? 1 : 0);
    }
    if (wanted.ticks.empty()) return;
    Record(EditKind::TickEdit, wanted.ticks.front().first, wanted.Apply(*this));
    for (const auto& [index, tick] : wanted.ticks) NotifyRefreshComponentRow(index);
}

void Document::SetComponentCriterion(int index, const Criterion& criterion) {
    if (!ComponentAt(index)) return;
    ChangeCriteria(EditKind::CriterionEdit, {{index, criterion}});
}

std::size_t Document::ApplyCriterionToTicked(const Criterion& criterion) {
    std::vector<CriterionEntry> wanted;
    for (int i = 0; i < ComponentCount(); ++i)
        if (components_[static_cast<std::size_t>(i)].selected != 0)
            wanted.push_back({i, criterion});
    ChangeCriteria(EditKind::CriterionApply, wanted);
    return wanted.size();
}

// Only the criteria are kept for undo: a long list of long components costs a few
// bytes per component, not a copy of its readings.
void Document::ChangeCriteria(EditKind kind, const std::vector<CriterionEntry>& wanted) {
    edit::Criteria changed;
    for (const CriterionEntry& w : wanted) {
        const Component* c = ComponentAt(w.componentIndex);
        if (c && CriterionOf(*c) != w.criterion) changed.criteria.push_back(w);
    }
    if (changed.criteria.empty()) return;
    Record(kind, changed.criteria.front().componentIndex, changed.Apply(*this));
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

void Document::SetComponentExtras(int index, const ComponentExtras& extras) {
    if (!ComponentAt(index)) return;
    ChangeExtras(EditKind::ExtrasEdit, edit::Extras{{{index, extras}}});
}

std::size_t Document::SetExtrasOfTicked(const std::optional<SurveyGrid>& grid,
                                        const std::optional<SurveyConditions>& conditions) {
    edit::Extras wanted;
    for (int i = 0; i < ComponentCount(); ++i) {
        const Component& c = components_[static_cast<std::size_t>(i)];
        if (c.selected == 0) continue;
        ComponentExtras e = c.extras;
        e.grid = grid;
        if (conditions) e.conditions = *conditions;
        wanted.extras.emplace_back(i, std::move(e));
    }
    return ChangeExtras(EditKind::ExtrasApply, std::move(wanted));
}

std::size_t Document::ChangeExtras(EditKind kind, edit::Extras wanted) {
    edit::Extras changed;
    for (auto& [index, extras] : wanted.extras) {
        const Component* c = ComponentAt(index);
        if (c && c->extras != extras) changed.extras.emplace_back(index, std::move(extras));
    }
    if (changed.extras.empty()) return 0;
    const std::size_t count = changed.extras.size();
    const int first = changed.extras.front().first;
    std::vector<int> indexes;
    for (const auto& entry : changed.extras) indexes.push_back(entry.first);
    Record(kind, first, changed.Apply(*this));
    for (int index : indexes) NotifyRefreshComponentRow(index);
    NotifyRebuildGrid();  // a map of the readings follows the grid
    return count;
}

void Document::SetComponentName(std::string_view gbkName) {
    Component* c = CurrentComponent();
    if (!c || c->Name() == gbkName) return;
    RecordEdit(EditKind::NameEdit, currentComponent_, true);
    c->SetName(gbkName);
}

void Document::SetComponentTestDate(std::string_view gbkDate) {
    Component* c = CurrentComponent();
    if (!c) return;
    RecordEdit(EditKind::DateEdit, currentComponent_);
    c->SetTestDate(gbkDate);
}

void Document::OnPassRecomputed(Component& /*component*/) {
    InvalidateTotals();
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

void Document::OnPointPositionChanged(Component& /*component*/) { NotifyRebuildGrid(); }

void Document::OnTestDateChanged(Component& /*component*/) { RefreshComponentList(); }

// --- undo ---------------------------------------------------------------------

void Document::Record(EditKind kind, int index, EditChange undo, bool mergeable) {
    history_.Record({kind, index, currentComponent_, currentPoint_, std::move(undo)}, mergeable);
}

void Document::RecordEdit(EditKind kind, int index, bool mergeable) {
    if (!ComponentAt(index)) return;
    if (mergeable && history_.CanMerge(kind, index)) return;
    Record(kind, index, edit::Replace{index, components_[static_cast<std::size_t>(index)]},
           mergeable);
}

EditRecord Document::Apply(EditRecord record) {
    EditChange undo =
        std::visit([this](auto& change) { return change.Apply(*this); }, record.change);
    EditRecord inverse{record.kind, record.componentIndex, currentComponent_, currentPoint_,
                       std::move(undo)};
    currentComponent_ = record.currentComponent;
    currentPoint_ = record.currentPoint;
    return inverse;
}

void Document::RefreshAll() {
    RefreshComponentList();
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

void Document::Undo() {
    if (!history_.CanUndo()) return;
    history_.PushRedo(Apply(history_.TakeUndo()));
    RefreshAll();
}

void Document::Redo() {
    if (!history_.CanRedo()) return;
    history_.PushUndo(Apply(history_.TakeRedo()));
    RefreshAll();
}

}  // namespace ohmlet
