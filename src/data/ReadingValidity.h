#pragma once
// A reading of 0 or below means the probe had no contact or the line was open; one at
// or above the instrument's overflow limit is off its scale. Such readings are kept
// and saved as they are, but no statistic, class count, chart or verdict takes them.
#include <cstdint>

namespace ohmlet {

inline constexpr int32_t kDefaultOverflowLimit = 1000;  // kΩ·cm

inline bool IsValidReading(int32_t value, int32_t overflowLimit) {
    return value > 0 && value < overflowLimit;
}

}  // namespace ohmlet
