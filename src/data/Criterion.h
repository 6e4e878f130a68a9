#pragma once
// A pass criterion: the design value and the two deviations that make a component's
// pass band. Setting one on several components at once, and filling the band of
// components that came without one, are model operations the GUI and the CLI share.
#include <cstddef>
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

// The instrument sends a design value but no deviations, and a band of one value
// passes exact hits only. Without a chosen default a downloaded component keeps its
// design value and gets -20 / +30 kΩ·cm around it (45 gives 25 to 75 kΩ·cm, the
// range of sound, moderately wet concrete); one that came without a design value
// too gets 45.
inline constexpr Criterion kBuiltInDownloadCriterion{45.0f, -20.0f, 30.0f};

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
// new band. Returns how many changed.
std::size_t FillEmptyBands(std::vector<Component>& components, const Criterion& criterion);

// Gives every ticked component the criterion; returns how many changed.
std::size_t ApplyToTicked(std::vector<Component>& components, const Criterion& criterion);

}  // namespace ohmlet
