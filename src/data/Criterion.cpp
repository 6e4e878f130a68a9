#include "data/Criterion.h"

#include <algorithm>
#include <cmath>

#include "data/ReadingValidity.h"

namespace ohmlet {

Criterion MinimumCriterion(float minimum) {
    return {minimum, 0.0f, std::max(0.0f, static_cast<float>(OverflowLimit()) - minimum)};
}

bool IsMinimum(const Criterion& c) {
    return c.lowerTolerance == 0 && c.designValue > 0 &&
           c.designValue + c.upperTolerance == static_cast<float>(OverflowLimit());
}

Criterion BuiltInDownloadCriterion() { return MinimumCriterion(kDefaultMinimum); }

std::optional<CriterionFault> CriterionProblem(const Criterion& c) {
    if (!std::isfinite(c.designValue) || !std::isfinite(c.lowerTolerance) ||
        !std::isfinite(c.upperTolerance))
        return CriterionFault::NotFinite;
    if (c.lowerTolerance > 0) return CriterionFault::LowerAboveZero;
    if (c.upperTolerance < 0) return CriterionFault::UpperBelowZero;
    return std::nullopt;
}

std::optional<CriterionFault> MinimumProblem(float minimum) {
    if (!std::isfinite(minimum)) return CriterionFault::NotFinite;
    if (minimum <= 0 || minimum >= static_cast<float>(OverflowLimit()))
        return CriterionFault::MinimumOutOfRange;
    return std::nullopt;
}

std::string CriterionFaultText(CriterionFault fault) {
    switch (fault) {
        case CriterionFault::NotFinite:
            return "the values must be finite numbers";
        case CriterionFault::LowerAboveZero:
            return "the lower deviation must be 0 or below, or the design value itself fails";
        case CriterionFault::UpperBelowZero:
            return "the upper deviation must be 0 or above, or the design value itself fails";
        case CriterionFault::MinimumOutOfRange:
            break;
    }
    return "the minimum must be above 0 and below the overflow limit (" +
           std::to_string(OverflowLimit()) + " kΩ·cm)";
}

void SetCriterion(Component& c, const Criterion& criterion) {
    c.designValue = criterion.designValue;
    c.lowerTolerance = criterion.lowerTolerance;
    c.upperTolerance = criterion.upperTolerance;
    c.RecomputeStatistics();
}

std::size_t FillEmptyBands(std::vector<Component>& components, const Criterion& criterion) {
    std::size_t changed = 0;
    for (Component& c : components) {
        if (!HasEmptyBand(c)) continue;
        // The pass figures the instrument sent were counted against the empty band; a
        // file keeps its stored rate when opened, so they are counted again here.
        const float design = c.designValue == 0 ? criterion.designValue : c.designValue;
        SetCriterion(c, IsMinimum(criterion) ? MinimumCriterion(design)
                                             : Criterion{design, criterion.lowerTolerance,
                                                         criterion.upperTolerance});
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
