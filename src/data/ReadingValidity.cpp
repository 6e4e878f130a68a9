#include "data/ReadingValidity.h"

#include <atomic>

namespace ohmlet {
namespace {
// Atomic: a download decodes and counts on the transfer thread.
std::atomic<int32_t> gOverflowLimit{kDefaultOverflowLimit};
}  // namespace

int32_t OverflowLimit() { return gOverflowLimit.load(std::memory_order_relaxed); }

void SetOverflowLimit(int32_t limit) {
    gOverflowLimit.store(OverflowLimitProblem(limit) ? kDefaultOverflowLimit : limit,
                         std::memory_order_relaxed);
}

std::optional<std::string> OverflowLimitProblem(int64_t limit) {
    if (limit < 2 || limit > kMaxOverflowLimit)
        return "the overflow limit must be a whole number from 2 to " +
               std::to_string(kMaxOverflowLimit) + " kΩ·cm";
    return std::nullopt;
}

}  // namespace ohmlet
