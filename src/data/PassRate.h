#pragma once
// One rule for every pass rate the program shows: decided on the exact counts, shown cut
// (never rounded) to one decimal, so no place can show 85.0 % for a rate below 85 %.
#include <cstdint>
#include <string>

namespace ohmlet {

inline constexpr int kDefaultRequiredRate = 85;  // percent

// The rate in tenths of a percent, cut: 1699 of 2000 gives 849.
inline int64_t RateTenths(int64_t passed, int64_t valid) {
    return valid > 0 && passed > 0 ? passed * 1000 / valid : 0;
}

// "84.9"; "-" without a valid reading.
std::string RateText(int64_t passed, int64_t valid);

// Whether passed / valid reaches the required percent, on the counts themselves.
inline bool MeetsRequiredRate(int64_t passed, int64_t valid, int requiredPercent) {
    return valid > 0 && passed * 100 >= valid * requiredPercent;
}

}  // namespace ohmlet
