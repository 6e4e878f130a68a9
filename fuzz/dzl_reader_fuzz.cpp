// Feeds arbitrary bytes to the DZL reader, then writes and re-reads what it made:
// a file that reads must write, and the written bytes must read back the same.
//
// Components without bytes behind them read as fresh ones: those past the last one the
// bytes changed are checked field by field against a fresh one, and only the others
// make the round trip. The writer encodes each component on its own, so this checks the
// same bytes.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "data/ByteOrder.h"
#include "data/DzlFile.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

template <typename T>
bool SameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool IsFresh(const ohmlet::Component& c) {
    static const ohmlet::Component fresh;
    return SameBits(c.number, fresh.number) && SameBits(c.name, fresh.name) &&
           SameBits(c.testDate, fresh.testDate) && c.selected == fresh.selected &&
           c.auxParam == fresh.auxParam && SameBits(c.designValue, fresh.designValue) &&
           SameBits(c.lowerTolerance, fresh.lowerTolerance) &&
           SameBits(c.upperTolerance, fresh.upperTolerance) && c.pointCount == fresh.pointCount &&
           c.blockOffset == fresh.blockOffset && SameBits(c.reservedFloat, fresh.reservedFloat) &&
           SameBits(c.maxValue, fresh.maxValue) && SameBits(c.minValue, fresh.minValue) &&
           SameBits(c.passCount, fresh.passCount) && SameBits(c.passRate, fresh.passRate) &&
           c.points.empty();
}

}  // namespace

// Every component claimed past the bytes reads the same way, and 65,535 of them cost
// 11 MB of fresh pages a run. Claims the reader accepts are cut to a few past the last
// record the bytes reach, so a run costs what its bytes cost; the reader's tests take
// the full 65,535 and the claims it refuses pass unchanged.
std::vector<unsigned char> CutUnbackedClaim(const unsigned char* data, std::size_t size) {
    std::vector<unsigned char> input(data, data + size);
    if (size < ohmlet::kDzlHeaderSize) return input;
    const int32_t claimed = ohmlet::LoadLEInt(data);
    const std::size_t records = (size - ohmlet::kDzlHeaderSize) / ohmlet::kDzlRecordSize + 1;
    const std::size_t keep = records + 8;
    if (claimed > 0 && claimed <= ohmlet::kDzlMaxUnbackedCount &&
        static_cast<std::size_t>(claimed) > keep) {
        ohmlet::StoreLEInt(input.data(), static_cast<int32_t>(keep));
    }
    return input;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* raw, std::size_t size) {
    const std::vector<unsigned char> input = CutUnbackedClaim(raw, size);
    const unsigned char* data = input.data();
    ohmlet::DzlReadResult r = ohmlet::ParseDzl(data, size, "fuzz.DZL");
    if (!r.Ok()) {
        Check(!r.text.empty() && r.components.empty());
        return 0;
    }
    // A readable file holds as many components as its header says (none for 0 or less).
    const int32_t claimed = size >= ohmlet::kDzlHeaderSize ? ohmlet::LoadLEInt(data) : 0;
    Check(r.components.size() == static_cast<std::size_t>(claimed > 0 ? claimed : 0));

    // Components whose record starts past the last byte are fresh.
    const std::size_t records = size > ohmlet::kDzlHeaderSize
                                    ? (size - ohmlet::kDzlHeaderSize) / ohmlet::kDzlRecordSize + 1
                                    : 0;
    std::size_t reached = r.components.size();
    while (reached > 0 && IsFresh(r.components[reached - 1])) --reached;
    Check(reached <= records);
    r.components.resize(reached);

    for (ohmlet::Component& c : r.components) {
        Check(c.pointCount >= 0 && static_cast<std::size_t>(c.pointCount) == c.points.size());
        c.ComputeMax();
        c.ComputeMin();
        c.CountPassing();
        (void)c.ComputeAverage();
    }
    std::vector<unsigned char> bytes = ohmlet::SerializeDzl(r.components);
    ohmlet::DzlReadResult again = ohmlet::ParseDzl(bytes.data(), bytes.size(), "again.DZL");
    Check(again.Ok() && again.components.size() == reached);
    Check(ohmlet::SerializeDzl(again.components) == bytes);
    return 0;
}
