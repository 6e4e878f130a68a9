#pragma once
// Float to int without undefined behaviour: files carry NaN, infinities and values far
// beyond int, which a plain cast turns into anything.
#include <cmath>
#include <cstdint>
#include <limits>

namespace ohmlet {

// Truncates toward zero as a cast does; NaN gives 0, out-of-range values the nearest limit.
inline int32_t SaturateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace ohmlet
