#pragma once
// A reading of 0 or below means the probe had no contact or the line was open; one at
// or above the instrument's overflow limit is off its scale. Such readings are kept
// and saved as they are, but no statistic, class count, chart or verdict takes them.
#include <cstdint>
#include <optional>
#include <string>

namespace ohmlet {

inline constexpr int32_t kDefaultOverflowLimit = 1000;  // kΩ·cm
inline constexpr int32_t kMaxOverflowLimit = 1000000;

inline bool IsValidReading(int32_t value, int32_t overflowLimit) {
    return value > 0 && value < overflowLimit;
}

// The limit is a setting of the whole program, read once at start by the window and by
// the command line; every figure in one run uses the same one.
int32_t OverflowLimit();
void SetOverflowLimit(int32_t limit);  // out of 2..kMaxOverflowLimit: the default
inline bool IsValidReading(int32_t value) { return IsValidReading(value, OverflowLimit()); }

// Why a limit cannot be used; nothing when it can.
std::optional<std::string> OverflowLimitProblem(int64_t limit);

}  // namespace ohmlet
