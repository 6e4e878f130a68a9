#pragma once
// Reading and writing numbers at arbitrary (unaligned) byte positions. DZL files are
// little-endian; the instrument's replies are big-endian 16-bit.
#include <cstdint>
#include <cstring>

namespace ohmlet {

inline uint32_t LoadLE32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline void StoreLE32(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

inline int32_t LoadLEInt(const unsigned char* p) { return static_cast<int32_t>(LoadLE32(p)); }
inline void StoreLEInt(unsigned char* p, int32_t v) { StoreLE32(p, static_cast<uint32_t>(v)); }

inline float LoadLEFloat(const unsigned char* p) {
    uint32_t bits = LoadLE32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

inline void StoreLEFloat(unsigned char* p, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    StoreLE32(p, bits);
}

inline uint16_t LoadBE16(const unsigned char* p) { return uint16_t(p[0] << 8 | p[1]); }

inline void StoreBE16(unsigned char* p, uint16_t v) {
    p[0] = static_cast<unsigned char>(v >> 8);
    p[1] = static_cast<unsigned char>(v);
}

}  // namespace ohmlet
