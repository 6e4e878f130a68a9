// Feeds arbitrary trailers to the extras reader. The first byte chooses how: odd takes
// the rest as the bytes after the last record; even wraps the rest as the payload of a
// header with the right length and checksum, so the JSON itself is what gets explored.
// Whatever extras are taken must write and read back the same, with no warning.
#include <cstdlib>
#include <cstring>
#include <vector>

#include <zlib.h>

#include "data/ByteOrder.h"
#include "data/DzlFile.h"
#include "data/DzlTrailer.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::vector<ohmlet::Component> List() {
    std::vector<ohmlet::Component> list(3);
    const char* numbers[] = {"0001", "0002", "P%3"};
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].SetNumber(numbers[i]);
        list[i].ResizePoints(static_cast<int32_t>(i));
    }
    return list;
}

std::vector<unsigned char> Wrapped(const unsigned char* payload, std::size_t size) {
    std::vector<unsigned char> t(ohmlet::kDzlTrailerHeaderSize + size);
    std::memcpy(t.data(), ohmlet::kDzlTrailerMagic, sizeof ohmlet::kDzlTrailerMagic);
    ohmlet::StoreLE32(&t[8], ohmlet::kDzlTrailerVersion);
    ohmlet::StoreLE32(&t[12], static_cast<uint32_t>(size));
    if (size) std::memcpy(&t[ohmlet::kDzlTrailerHeaderSize], payload, size);
    ohmlet::StoreLE32(&t[16], static_cast<uint32_t>(crc32_z(0, payload, size)));
    return t;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const std::vector<unsigned char> trailer =
        data[0] & 1 ? std::vector<unsigned char>(data + 1, data + size)
                    : Wrapped(data + 1, size - 1);
    std::vector<unsigned char> file = ohmlet::SerializeDzl(List());
    file.insert(file.end(), trailer.begin(), trailer.end());

    const ohmlet::DzlReadResult r = ohmlet::ParseDzl(file.data(), file.size(), "fuzz.DZL");
    Check(r.Ok() && r.components.size() == 3);  // a trailer never costs the readings
    for (const std::string& w : r.warnings) Check(!w.empty());

    const std::vector<unsigned char> bytes = ohmlet::SerializeDzl(r.components);
    const ohmlet::DzlReadResult again = ohmlet::ParseDzl(bytes.data(), bytes.size(), "again.DZL");
    Check(again.Ok() && again.warnings.empty() && again.components.size() == 3);
    for (std::size_t i = 0; i < 3; ++i) Check(again.components[i].extras == r.components[i].extras);
    Check(ohmlet::SerializeDzl(again.components) == bytes);
    return 0;
}
