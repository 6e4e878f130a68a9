#include "data/Criterion.h"

namespace ohmlet {

void SetCriterion(Component& c, const Criterion& criterion) {
    c.designValue = criterion.designValue;
    c.lowerTolerance = criterion.lowerTolerance;
    c.upperTolerance = criterion.upperTolerance;
    c.CountPassing();
    if (c.pointCount > 0) c.passRate = c.passCount / static_cast<float>(c.pointCount);
}

std::size_t FillEmptyBands(std::vector<Component>& components, const Criterion& criterion) {
    std::size_t changed = 0;
    for (Component& c : components) {
        if (!HasEmptyBand(c)) continue;
        // The pass figures the instrument sent were counted against the empty band; a
        // file keeps its stored rate when opened, so they are counted again here.
        SetCriterion(c, {c.designValue == 0 ? criterion.designValue : c.designValue,
                         criterion.lowerTolerance, criterion.upperTolerance});
        ++changed;
    }
    return changed;
}

std::size_t ApplyToTicked(std::vector<Component>& components, const Criterion& criterion) {
    std::size_t changed = 0;
    for (Component& c : components) {
        if (c.selected == 0) continue;
        SetCriterion(c, criterion);
        ++changed;
    }
    return changed;
}

}  // namespace ohmlet
