// The document commands: components in and out, readings in and out, open and save.
#include <cstdio>

#include "data/Document.h"
#include "data/FileIdentity.h"
#include "data/TestDate.h"

namespace ohmlet {
namespace {

// "20" and the year's last two digits: a new component's date is of this century.
std::string FormatToday(const std::tm& day) {
    return FormatTestDate({2000 + day.tm_year % 100, day.tm_mon + 1, day.tm_mday},
                          DatePadding::Zero);
}

// A new component's readings are still to be taken: its points hold 0, which no
// statistic counts, until the inspector types them.
Component MakeNewComponent(int count, const std::tm& today, const Criterion& criterion) {
    Component c;
    c.SetNumber(Document::MakeComponentNumber(count));
    c.SetTestDate(FormatToday(today));
    c.selected = 1;
    c.auxParam = 16;
    c.blockOffset = 20;
    c.reservedFloat = 0.0f;
    c.points.assign(20, MeasuringPoint{0, 0, 16});
    c.pointCount = 20;
    SetCriterion(c, criterion);
    return c;
}

}  // namespace

// "0" and three digits up to 999. The field holds four characters, so from 1000 on
// the number is the last four digits of the count: still a digit first (a plain
// component), and never cut to a misleading three-digit prefix.
std::string Document::MakeComponentNumber(int count) {
    char text[16];
    if (count < 0) count = 0;
    if (count <= 999)
        std::snprintf(text, sizeof text, "0%03d", count);
    else
        std::snprintf(text, sizeof text, "%04d", count % 10000);
    return text;
}

void Document::InsertComponent() {
    const int index = ComponentCount();
    edit::Insert added{index, MakeNewComponent(index + 1, today_(),
                                               newCriterion_.value_or(BuiltInDownloadCriterion()))};
    Record(EditKind::ComponentInsert, index, added.Apply(*this));
    SelectComponent(index);
    RefreshComponentList();
    ShowCurrentComponent();
}

void Document::DeleteComponent() {
    if (ComponentCount() == 1 || CurrentComponent()) {
        const int index = ComponentCount() == 1 ? 0 : currentComponent_;
        Record(EditKind::ComponentDelete, index, edit::Erase{index}.Apply(*this));
        if (components_.empty())
            currentComponent_ = -1;
        else if (currentComponent_ == ComponentCount())
            --currentComponent_;
    }
    RefreshComponentList();
    ShowCurrentComponent();
    NotifyRebuildGrid();
}

// The grid and the list's count follow the readings; after a change the statistics
// and totals are recomputed and shown, so the panel and a later save agree with the
// list.
void Document::NotifyPointsChanged(bool changed) {
    NotifyRebuildGrid();
    NotifyRefreshPointCount();
    if (!changed) return;
    Component* c = CurrentComponent();
    c->RecomputeStatistics();
    CountIn(*c, +1);
    NotifyShowComponent(c);
}

void Document::InsertPointAbove(int row, int column) {
    Component* c = CurrentComponent();
    if (!c) return;
    const bool changed = row >= 0 && row <= c->pointCount;
    if (changed) {
        RecordEdit(EditKind::PointInsert, currentComponent_);
        CountIn(*c, -1);
        c->InsertPointAbove(row, column);
    }
    NotifyPointsChanged(changed);
}

void Document::InsertPointBelow(int row, int column) {
    Component* c = CurrentComponent();
    if (!c) return;
    const bool changed = row >= 0 && row <= c->pointCount - 1;
    if (changed) {
        RecordEdit(EditKind::PointInsert, currentComponent_);
        CountIn(*c, -1);
        c->InsertPointBelow(row, column);
    }
    NotifyPointsChanged(changed);
}

void Document::DeletePoint(int row, int column) {
    Component* c = CurrentComponent();
    if (!c || c->pointCount <= 0) return;
    const bool changed = row >= 0 && row <= c->pointCount - 1;
    if (changed) {
        RecordEdit(EditKind::PointDelete, currentComponent_);
        CountIn(*c, -1);
        c->DeletePoint(row, column);
    }
    NotifyPointsChanged(changed);
}

DzlReadResult Document::Open(const std::string& path) {
    DzlReadResult result = ReadDzlFile(path);
    if (!result.Ok()) return result;
    components_ = std::move(result.components);
    result.components.clear();
    documentPath_ = AbsolutePath(path);
    history_.Clear();
    AttachComponents();
    RecountAll();
    RefreshComponentList();
    ShowCurrentComponent();
    NotifyRebuildGrid();
    return result;
}

DzlWriteResult Document::Save(const std::string& path) {
    DzlWriteResult result = WriteDzlFile(path, components_);
    if (result.Ok()) {
        documentPath_ = AbsolutePath(path);
        history_.MarkClean();
    }
    return result;
}

DzlWriteResult Document::WriteComponents(const std::string& path, DzlSelection which) const {
    return WriteDzlFile(path, components_, which);
}

void Document::NewDocument() {
    ReplaceComponents({});
    currentComponent_ = 0;
    currentPoint_ = 0;
    RefreshAll();
}

void Document::ReplaceComponents(std::vector<Component> components) {
    components_ = std::move(components);
    documentPath_.clear();
    history_.Clear();
    AttachComponents();
    RecountAll();
}

}  // namespace ohmlet
