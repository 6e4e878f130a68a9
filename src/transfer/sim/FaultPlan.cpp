#include "transfer/sim/FaultPlan.h"

namespace ohmlet {

ByteBuffer FaultPlan::Apply(const unsigned char* data, std::size_t size, std::size_t offset) const {
    ByteBuffer out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        const std::size_t at = offset + i;
        if (at >= cutAt) break;
        if (dropBytes.count(at)) continue;
        auto mask = garble.find(at);
        out.push_back(mask == garble.end() ? data[i]
                                           : static_cast<unsigned char>(data[i] ^ mask->second));
    }
    return out;
}

bool FaultPlan::StallsWithin(std::size_t from, std::size_t to) const {
    return stallMs > 0 && stallAt >= from && stallAt < to;
}

}  // namespace ohmlet
