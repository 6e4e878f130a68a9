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
        // The band only: the stored pass figures stay the instrument's own, and the
        // document counts afresh from the band when the file is opened.
        if (c.designValue == 0) c.designValue = criterion.designValue;
        c.lowerTolerance = criterion.lowerTolerance;
        c.upperTolerance = criterion.upperTolerance;
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
