#pragma once
// A pass criterion: the design value and the two deviations that make a component's
// pass band. Setting one on several components at once, and filling the band of
// components that came without one, are model operations the GUI and the CLI share.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "data/Component.h"

namespace ohmlet {

struct Criterion {
    float designValue = 0;
    float lowerTolerance = 0;  // normally negative
    float upperTolerance = 0;

    bool operator==(const Criterion& o) const {
        return designValue == o.designValue && lowerTolerance == o.lowerTolerance &&
               upperTolerance == o.upperTolerance;
    }
    bool operator!=(const Criterion& o) const { return !(*this == o); }
};

// A minimum ("ρ ≥ X") is kept in the band fields so that every reader of the file
// judges it alike: design X, lower 0, upper up to the overflow limit.
Criterion MinimumCriterion(float minimum);
// Whether a band is a minimum under the current overflow limit.
bool IsMinimum(const Criterion& criterion);

// High resistivity means low corrosion risk, so the default asks for a minimum. The
// instrument sends the value the inspector keyed in for the component; without one
// (0), 10 kΩ·cm, below which the RILEM recommendation finds a high risk.
inline constexpr float kDefaultMinimum = 10.0f;
Criterion BuiltInDownloadCriterion();

// Why a criterion cannot be used; every place that takes one asks this first.
enum class CriterionFault { NotFinite, LowerAboveZero, UpperBelowZero, MinimumOutOfRange };
std::optional<CriterionFault> CriterionProblem(const Criterion& criterion);
// A minimum must lie inside the instrument's scale: above 0, below the overflow limit.
std::optional<CriterionFault> MinimumProblem(float minimum);
// The fault in one English clause, for the command line and the settings.
std::string CriterionFaultText(CriterionFault fault);

inline Criterion CriterionOf(const Component& c) {
    return {c.designValue, c.lowerTolerance, c.upperTolerance};
}

// Both deviations 0: the band was never set.
inline bool HasEmptyBand(const Component& c) {
    return c.lowerTolerance == 0 && c.upperTolerance == 0;
}

// Stores the criterion and recomputes the pass count and rate; tells nobody.
void SetCriterion(Component& component, const Criterion& criterion);

// Gives every component with an empty band the criterion's deviations, and its design
// value where the component has none (0), and counts its pass figures against the
// new band. A minimum stays a minimum at the component's own value. Returns how many
// changed.
std::size_t FillEmptyBands(std::vector<Component>& components, const Criterion& criterion);

// Gives every ticked component the criterion; returns how many changed.
std::size_t ApplyToTicked(std::vector<Component>& components, const Criterion& criterion);

}  // namespace ohmlet
