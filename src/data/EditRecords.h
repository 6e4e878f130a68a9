#pragma once
// The undoable changes of the component list, one small record type per kind. Each
// applies itself to the list and returns the record that reverses it; one that finds
// nothing to change returns itself, still changing nothing when applied again.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <variant>
#include <vector>

#include "data/Component.h"
#include "data/Criterion.h"

namespace ohmlet {

// The list a record changes. A component about to leave the list or to change passes
// through Release first, one that joined or changed through Adopt after, so the list's
// owner keeps its totals and listens to every component it holds.
class EditTarget {
public:
    virtual std::vector<Component>& EditedList() = 0;
    virtual void Release(const Component& component) = 0;
    virtual void Adopt(Component& component) = 0;

protected:
    ~EditTarget() = default;
};

struct CriterionEntry {
    int componentIndex;
    Criterion criterion;
};

namespace edit {
struct Replace;
struct Insert;
struct Erase;
struct Ticks;
struct Criteria;
struct Extras;
}  // namespace edit

using EditChange = std::variant<edit::Replace, edit::Insert, edit::Erase, edit::Ticks,
                                edit::Criteria, edit::Extras>;

namespace edit {

// Puts the kept component in place of the one at the index.
struct Replace {
    int index = -1;
    Component component;
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const { return component.points.capacity() * sizeof(MeasuringPoint); }
};

// Puts the kept component back into the list at the index.
struct Insert {
    int index = -1;
    Component component;
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const { return component.points.capacity() * sizeof(MeasuringPoint); }
};

// Takes the component at the index out of the list.
struct Erase {
    int index = -1;
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const { return 0; }
};

// Gives the listed components these ticks.
struct Ticks {
    std::vector<std::pair<int, int32_t>> ticks;  // component index, tick
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const { return ticks.capacity() * sizeof(ticks[0]); }
};

// Gives the listed components these pass bands; their readings need no keeping.
struct Criteria {
    std::vector<CriterionEntry> criteria;
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const { return criteria.capacity() * sizeof(CriterionEntry); }
};

// Gives the listed components these extras; grids and conditions are small, so only
// they are kept.
struct Extras {
    std::vector<std::pair<int, ComponentExtras>> extras;  // component index, extras
    EditChange Apply(EditTarget& target);
    std::size_t HeapBytes() const;
};

}  // namespace edit
}  // namespace ohmlet
