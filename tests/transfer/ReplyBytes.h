#pragma once
// Hand-built instrument replies for the tests: bytes placed at the offsets the
// instrument uses, without going through our encoder.
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ohmlet::test {

using Bytes = std::vector<unsigned char>;

inline void Put16(Bytes& b, std::size_t at, unsigned v) {
    if (b.size() < at + 2) b.resize(at + 2, 0);
    b[at] = static_cast<unsigned char>(v >> 8);
    b[at + 1] = static_cast<unsigned char>(v);
}

struct SerialBlock {
    unsigned char number[4];
    unsigned char year, month, day;
    unsigned design;
    unsigned average;
    unsigned char passRate;
    std::vector<unsigned> points;
};

// length 0 means the true length.
inline Bytes SerialReply(const std::vector<SerialBlock>& blocks, unsigned length = 0) {
    Bytes b(8, 0);
    for (const SerialBlock& s : blocks) {
        std::size_t at = b.size();
        b.resize(at + 14 + 2 * s.points.size(), 0);
        for (int i = 0; i < 4; ++i) b[at + i] = s.number[i];
        b[at + 4] = s.year;
        b[at + 5] = s.month;
        b[at + 6] = s.day;
        Put16(b, at + 7, s.design);
        Put16(b, at + 9, static_cast<unsigned>(s.points.size()));
        Put16(b, at + 11, s.average);
        b[at + 13] = s.passRate;
        for (std::size_t i = 0; i < s.points.size(); ++i) Put16(b, at + 14 + 2 * i, s.points[i]);
    }
    Put16(b, 4, static_cast<unsigned>(blocks.size()));
    Put16(b, 6, length ? length : static_cast<unsigned>(b.size()));
    return b;
}

struct UsbHead {
    unsigned char number[4];
    unsigned char year, month, day;
    unsigned design;
    unsigned char passRate;
    std::vector<unsigned> rawPoints;
};

inline Bytes UsbReply(const std::vector<UsbHead>& heads) {
    Bytes b(16 * (heads.size() + 1), 0);
    for (std::size_t k = 0; k < heads.size(); ++k) {
        const UsbHead& h = heads[k];
        std::size_t at = 16 * (k + 1);
        for (int i = 0; i < 4; ++i) b[at + i] = h.number[i];
        Put16(b, at + 4, static_cast<unsigned>(h.rawPoints.size()));
        b[at + 6] = h.year;
        b[at + 7] = h.month;
        b[at + 8] = h.day;
        Put16(b, at + 9, h.design);
        b[at + 13] = h.passRate;
        for (unsigned raw : h.rawPoints) Put16(b, b.size(), raw);
    }
    Put16(b, 4, static_cast<unsigned>(heads.size()));
    Put16(b, 6, static_cast<unsigned>(b.size() - 16 * (heads.size() + 1)));
    return b;
}

}  // namespace ohmlet::test
