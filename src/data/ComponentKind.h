#pragma once

namespace ohmlet {

// Derived from the first character of a component's number.
enum class ComponentKind { Single = 1, Profile = 2, Grid = 3 };

inline ComponentKind KindOfNumber(char first) {
    if (first == 'P') return ComponentKind::Profile;
    if (first == 'W') return ComponentKind::Grid;
    return ComponentKind::Single;
}

}  // namespace ohmlet
