#pragma once
// Undo and redo of model edits. Each record keeps only what the edit changed: the one
// component it replaced, removed or added, so an edit of a long list stays cheap.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "data/EditRecords.h"

namespace ohmlet {

enum class EditKind {
    CellEdit,
    PointInsert,
    PointDelete,
    ComponentInsert,
    ComponentDelete,
    NameEdit,
    DateEdit,
    TickEdit,
    CriterionEdit,   // one component's pass band
    CriterionApply,  // one criterion given to every ticked component
    ExtrasEdit,      // one component's survey grid and conditions
    ExtrasApply,     // one grid (or conditions) given to every ticked component
};

// One undo or redo step: the change that reverses an edit, and where the user was.
struct EditRecord {
    EditKind kind = EditKind::CellEdit;
    int componentIndex = -1;  // the component the edit was about
    int32_t currentComponent = 0;
    int32_t currentPoint = 0;
    EditChange change;
};

class EditHistory {
public:
    static constexpr std::size_t kMaxRecords = 100;
    // A component can hold many readings: older records go once the kept states pass
    // this many bytes, though the last edit can always be undone.
    static constexpr std::size_t kMaxBytes = std::size_t{256} << 20;

    explicit EditHistory(std::size_t maxBytes = kMaxBytes) : maxBytes_(maxBytes) {}

    void Clear();
    // A new edit: forgets what could be redone.
    void Record(EditRecord record, bool mergeable);
    // Whether a mergeable edit of this kind and component may fold into the last record
    // (typing a name records once, not once per key).
    bool CanMerge(EditKind kind, int componentIndex) const;

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    std::optional<EditKind> NextUndoKind() const;
    std::optional<EditKind> NextRedoKind() const;

    EditRecord TakeUndo();
    EditRecord TakeRedo();
    void PushRedo(EditRecord record);
    void PushUndo(EditRecord record);

    std::size_t UndoCount() const { return undo_.size(); }

    // The saved state is the one reached with this many records to undo; undoing or
    // redoing back to it clears "modified". An edit that drops it from reach (a new edit
    // after undoing past it, or the oldest records forgotten) makes it unreachable.
    void MarkClean() { clean_ = static_cast<long>(undo_.size()); }
    bool IsClean() const { return clean_ == static_cast<long>(undo_.size()); }

private:
    static std::size_t SizeOf(const EditRecord& record);
    void AddUndo(EditRecord record);
    void DropOldest();

    std::size_t maxBytes_;
    std::size_t undoBytes_ = 0;
    std::deque<EditRecord> undo_;
    std::vector<EditRecord> redo_;
    bool lastIsOpenForMerge_ = false;
    long clean_ = 0;  // -1: the saved state can no longer be reached
};

}  // namespace ohmlet
