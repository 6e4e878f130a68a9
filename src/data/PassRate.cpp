#include "data/PassRate.h"

namespace ohmlet {

std::string RateText(int64_t passed, int64_t valid) {
    if (valid <= 0) return "-";
    const int64_t tenths = RateTenths(passed, valid);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

}  // namespace ohmlet
