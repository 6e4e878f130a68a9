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

Component* Document::GetComponent(int index) {
    if (index < 0 || index >= componentCount()) return nullptr;
    return &components_[static_cast<std::size_t>(index)];
}

const Component* Document::GetComponent(int index) const {
    if (index < 0 || index >= componentCount()) return nullptr;
    return &components_[static_cast<std::size_t>(index)];
}

void Document::AttachComponents() {
    for (Component& c : components_) c.SetListener(this);
}

void Document::SelectComponent(int index) {
    if (!GetComponent(index)) return;
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
    Component* c = GetCurrentComponent();
    if (!c) return;
    int target = row;
    bool setsValue = false;
    switch (c->GetKind()) {
        case ComponentKind::Single:
            if (columnCode != 1 && columnCode != 2 && columnCode != 4 && columnCode != 5) return;
            setsValue = true;
            break;
        case ComponentKind::Profile:
            if (columnCode != 1 && columnCode != 2) return;
            setsValue = columnCode == 2;
            break;
        case ComponentKind::Grid:
            if (columnCode != 1 && columnCode != 2 && columnCode != 4 && columnCode != 5) return;
            setsValue = columnCode == 2 || columnCode == 5;
            if (columnCode >= 4) target = row + c->blockOffset;
            break;
    }
    RecordEdit(EditKind::CellEdit, false);
    if (setsValue)
        c->SetPointValue(target, value);
    else
        c->SetPointPosition(target, value);
}

int32_t Document::SumPointCounts() {
    int32_t sum = 0;
    for (const Component& c : components_) sum += c.pointCount;
    totalPointCount_ = sum;
    return sum;
}

int32_t Document::SumPassCounts() {
    int32_t sum = 0;
    for (Component& c : components_) sum += c.CountPassing();
    totalPassCount_ = sum;
    return sum;
}

float Document::ComputeOverallPassRate() {
    overallPassRate_ = totalPointCount_ > 0 ? static_cast<float>(totalPassCount_) /
                                                  static_cast<float>(totalPointCount_)
                                            : 0.0f;
    return overallPassRate_;
}

void Document::RefreshComponentList() {
    SumPointCounts();
    SumPassCounts();
    ComputeOverallPassRate();
    NotifyRefreshComponentList();
}

void Document::ShowCurrentComponent() {
    Component* c = GetCurrentComponent();
    if (c) {
        c->ComputeMax();
        c->ComputeMin();
        c->CountPassing();
        SumPointCounts();
        SumPassCounts();
        ComputeOverallPassRate();
    }
    NotifyShowComponent(c);
}

void Document::ReadCheckMarks() {
    if (!checkMarks_) return;
    for (int i = 0; i < componentCount(); ++i)
        components_[static_cast<std::size_t>(i)].selected = checkMarks_->IsRowChecked(i) ? 1 : 0;
}

void Document::SetComponentName(std::string_view gbkName) {
    Component* c = GetCurrentComponent();
    if (!c || c->GetName() == gbkName) return;
    RecordEdit(EditKind::NameEdit, false, true);
    c->SetName(gbkName);
}

void Document::SetComponentTestDate(std::string_view gbkDate) {
    Component* c = GetCurrentComponent();
    if (!c) return;
    RecordEdit(EditKind::DateEdit, false);
    c->SetTestDate(gbkDate);
}

void Document::OnPassRecomputed(Component& /*component*/) {
    SumPointCounts();
    SumPassCounts();
    ComputeOverallPassRate();
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

void Document::OnPointPositionChanged(Component& /*component*/) { NotifyRebuildGrid(); }

void Document::OnTestDateChanged(Component& /*component*/) { RefreshComponentList(); }

// --- undo ---------------------------------------------------------------------

EditRecord Document::Capture(EditKind kind, int componentIndex) const {
    EditRecord r;
    r.kind = kind;
    r.componentIndex = componentIndex;
    r.currentComponent = currentComponent_;
    r.currentPoint = currentPoint_;
    if (componentIndex < 0)
        r.saved = components_;
    else
        r.saved.push_back(components_[static_cast<std::size_t>(componentIndex)]);
    return r;
}

void Document::RecordEdit(EditKind kind, bool wholeList, bool mergeable) {
    int index = wholeList ? -1 : currentComponent_;
    modified_ = true;
    if (mergeable && history_.CanMerge(kind, index)) return;
    history_.Record(Capture(kind, index), mergeable);
}

void Document::Apply(EditRecord& record) {
    if (record.componentIndex < 0) {
        components_ = std::move(record.saved);
    } else if (record.componentIndex < componentCount() && !record.saved.empty()) {
        components_[static_cast<std::size_t>(record.componentIndex)] =
            std::move(record.saved.front());
    }
    currentComponent_ = record.currentComponent;
    currentPoint_ = record.currentPoint;
    AttachComponents();
}

void Document::RefreshAll() {
    RefreshComponentList();
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

void Document::Undo() {
    if (!history_.CanUndo()) return;
    EditRecord record = history_.TakeUndo();
    history_.PushRedo(Capture(record.kind, record.componentIndex));
    Apply(record);
    modified_ = true;
    RefreshAll();
}

void Document::Redo() {
    if (!history_.CanRedo()) return;
    EditRecord record = history_.TakeRedo();
    history_.PushUndo(Capture(record.kind, record.componentIndex));
    Apply(record);
    modified_ = true;
    RefreshAll();
}

}  // namespace ohmlet
