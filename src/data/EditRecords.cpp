#include "data/EditRecords.h"

namespace ohmlet::edit {
namespace {

Component* At(EditTarget& target, int index) {
    std::vector<Component>& list = target.EditedList();
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
    return &list[static_cast<std::size_t>(index)];
}

}  // namespace

EditChange Replace::Apply(EditTarget& target) {
    Component* slot = At(target, index);
    if (!slot) return std::move(*this);
    target.Release(*slot);
    std::swap(*slot, component);
    slot->RecomputeStatistics();  // back in the list, it shows its own readings' figures
    target.Adopt(*slot);
    return Replace{index, std::move(component)};
}

EditChange Insert::Apply(EditTarget& target) {
    std::vector<Component>& list = target.EditedList();
    if (index < 0 || static_cast<std::size_t>(index) > list.size()) return std::move(*this);
    Component& back = *list.insert(list.begin() + index, std::move(component));
    back.RecomputeStatistics();
    target.Adopt(back);
    return Erase{index};
}

EditChange Erase::Apply(EditTarget& target) {
    Component* gone = At(target, index);
    if (!gone) return *this;
    target.Release(*gone);
    Insert inverse{index, std::move(*gone)};
    target.EditedList().erase(target.EditedList().begin() + index);
    return inverse;
}

EditChange Ticks::Apply(EditTarget& target) {
    Ticks inverse;
    for (const auto& [index, tick] : ticks) {
        Component* c = At(target, index);
        if (!c) continue;
        inverse.ticks.emplace_back(index, c->selected);
        c->selected = tick;
    }
    return inverse;
}

EditChange Criteria::Apply(EditTarget& target) {
    Criteria inverse;
    for (const CriterionEntry& e : criteria) {
        Component* c = At(target, e.componentIndex);
        if (!c) continue;
        inverse.criteria.push_back({e.componentIndex, CriterionOf(*c)});
        target.Release(*c);
        SetCriterion(*c, e.criterion);
        target.Adopt(*c);
    }
    return inverse;
}

EditChange Extras::Apply(EditTarget& target) {
    Extras inverse;
    for (auto& [index, wanted] : extras) {
        Component* c = At(target, index);
        if (!c) continue;
        inverse.extras.emplace_back(index, std::move(c->extras));
        c->extras = std::move(wanted);
    }
    return inverse;
}

std::size_t Extras::HeapBytes() const {
    std::size_t bytes = extras.capacity() * sizeof(extras[0]);
    for (const auto& [index, e] : extras)
        bytes += e.conditions.moistureState.capacity() + e.conditions.surfaceCondition.capacity() +
                 e.conditions.note.capacity() + e.otherKeys.capacity();
    return bytes;
}

}  // namespace ohmlet::edit
