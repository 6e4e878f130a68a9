#include "EditHistory.h"

#include <utility>

namespace ohmlet {

void EditHistory::Clear() {
    undo_.clear();
    redo_.clear();
    lastIsOpenForMerge_ = false;
}

void EditHistory::Record(EditRecord record, bool mergeable) {
    redo_.clear();
    undo_.push_back(std::move(record));
    if (undo_.size() > kMaxRecords) undo_.pop_front();
    lastIsOpenForMerge_ = mergeable;
}

bool EditHistory::CanMerge(EditKind kind, int componentIndex) const {
    return lastIsOpenForMerge_ && !undo_.empty() && undo_.back().kind == kind &&
           undo_.back().componentIndex == componentIndex;
}

std::optional<EditKind> EditHistory::NextUndoKind() const {
    if (undo_.empty()) return std::nullopt;
    return undo_.back().kind;
}

std::optional<EditKind> EditHistory::NextRedoKind() const {
    if (redo_.empty()) return std::nullopt;
    return redo_.back().kind;
}

EditRecord EditHistory::TakeUndo() {
    EditRecord r = std::move(undo_.back());
    undo_.pop_back();
    lastIsOpenForMerge_ = false;
    return r;
}

EditRecord EditHistory::TakeRedo() {
    EditRecord r = std::move(redo_.back());
    redo_.pop_back();
    lastIsOpenForMerge_ = false;
    return r;
}

void EditHistory::PushRedo(EditRecord record) { redo_.push_back(std::move(record)); }

void EditHistory::PushUndo(EditRecord record) {
    undo_.push_back(std::move(record));
    if (undo_.size() > kMaxRecords) undo_.pop_front();
}

}  // namespace ohmlet
