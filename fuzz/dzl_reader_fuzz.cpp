// Feeds arbitrary bytes to the DZL reader, then writes and re-reads what it made:
// a file that reads must write, and the written bytes must read back the same.
#include <cstdlib>

#include "DzlFile.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    ohmlet::DzlReadResult r = ohmlet::ParseDzl(data, size, "fuzz.DZL");
    if (!r.ok()) return 0;
    for (ohmlet::Component& c : r.components) {
        if (c.pointCount < 0 || static_cast<std::size_t>(c.pointCount) != c.points.size())
            std::abort();
        c.ComputeMax();
        c.ComputeMin();
        c.CountPassing();
        (void)c.ComputeAverage();
    }
    std::vector<unsigned char> bytes = ohmlet::SerializeDzl(r.components);
    ohmlet::DzlReadResult again = ohmlet::ParseDzl(bytes.data(), bytes.size(), "again.DZL");
    if (!again.ok() || ohmlet::SerializeDzl(again.components) != bytes) std::abort();
    return 0;
}
