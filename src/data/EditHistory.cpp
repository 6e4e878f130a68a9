#include "data/EditHistory.h"

#include <utility>

namespace ohmlet {

std::size_t EditHistory::SizeOf(const EditRecord& record) {
    return sizeof record +
           std::visit([](const auto& change) { return change.HeapBytes(); }, record.change);
}

void EditHistory::AddUndo(EditRecord record) {
    undoBytes_ += SizeOf(record);
    undo_.push_back(std::move(record));
    while (undo_.size() > kMaxRecords || (undo_.size() > 1 && undoBytes_ > maxBytes_)) DropOldest();
}

void EditHistory::DropOldest() {
    undoBytes_ -= SizeOf(undo_.front());
    undo_.pop_front();
    if (clean_ >= 0) --clean_;
}

void EditHistory::Clear() {
    undoBytes_ = 0;
    undo_.clear();
    redo_.clear();
    lastIsOpenForMerge_ = false;
    clean_ = 0;
}

void EditHistory::Record(EditRecord record, bool mergeable) {
    if (clean_ > static_cast<long>(undo_.size())) clean_ = -1;  // it was among the redos
    redo_.clear();
    AddUndo(std::move(record));
    lastIsOpenForMerge_ = mergeable;
}

bool EditHistory::CanMerge(EditKind kind, int componentIndex) const {
    // Typing on after a save starts a new record, so undo returns to the saved text.
    return lastIsOpenForMerge_ && !IsClean() && !undo_.empty() && undo_.back().kind == kind &&
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
    undoBytes_ -= SizeOf(undo_.back());
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

void EditHistory::PushUndo(EditRecord record) { AddUndo(std::move(record)); }

}  // namespace ohmlet
