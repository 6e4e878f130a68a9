#include "data/DzlTrailer.h"

#include <cstring>

#include <zlib.h>

#include "data/ByteOrder.h"
#include "data/ExtrasJson.h"

namespace ohmlet {
namespace {

using nlohmann::json;

// A hostile trailer could name thousands of bad values; the user reads a few.
constexpr std::size_t kMaxDroppedSentences = 8;

uint32_t Crc32(const unsigned char* data, std::size_t size) {
    return static_cast<uint32_t>(crc32_z(crc32_z(0L, Z_NULL, 0), data, size));
}

// The number's bytes are GBK; JSON needs UTF-8. Printable ASCII stays readable, every
// other byte (and '%') becomes %XX, so the same number always gives the same text.
std::string NumberKey(const Component& c) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string key;
    for (unsigned char b : c.Number()) {
        if (b >= 0x20 && b < 0x7F && b != '%') {
            key += static_cast<char>(b);
        } else {
            key += '%';
            key += kHex[b >> 4];
            key += kHex[b & 15];
        }
    }
    return key;
}

std::string Unused(const std::string& name, const std::string& why) {
    return name + ": the survey grids and conditions after the readings " + why +
           " and were ignored; the readings are intact.";
}

// The payload's reason to be ignored, empty when it fits `components`.
std::string CheckEntries(const json& payload, const std::vector<Component>& components) {
    if (!payload.is_object() || !payload.contains("componentCount") ||
        !payload.contains("components") || !payload["components"].is_array())
        return "are damaged (no component list)";
    const json& count = payload["componentCount"];
    if (!count.is_number_unsigned()) return "are damaged (no component count)";
    if (count.get<uint64_t>() != components.size())
        return "belong to a list of " + std::to_string(count.get<uint64_t>()) +
               " components, not " + std::to_string(components.size());
    std::vector<bool> seen(components.size());
    for (const json& entry : payload["components"]) {
        if (!entry.is_object() || !entry.contains("index") ||
            !entry["index"].is_number_unsigned() ||
            entry["index"].get<uint64_t>() >= components.size())
            return "are damaged (a component index is missing or out of range)";
        const std::size_t i = entry["index"].get<std::size_t>();
        if (seen[i]) return "are damaged (component " + std::to_string(i + 1) + " is named twice)";
        seen[i] = true;
        const std::string number = NumberKey(components[i]);
        if (!entry.contains("number") || entry["number"] != number)
            return "belong to another list (component " + std::to_string(i + 1) + " is " + number +
                   " here)";
    }
    return {};
}

// The header and the payload's integrity; the parsed payload, or discarded with `why`.
json OpenPayload(const unsigned char* data, std::size_t size, std::string& why) {
    const json none(json::value_t::discarded);
    if (size < kDzlTrailerHeaderSize) {
        why = "are cut short";
        return none;
    }
    const uint32_t version = LoadLE32(data + 8);
    const uint32_t length = LoadLE32(data + 12);
    if (version == 0 || version > kDzlTrailerVersion) {
        why = "were written by a newer version of the program (format " + std::to_string(version) +
              ")";
        return none;
    }
    if (length > kDzlMaxTrailerPayload) {
        why = "are larger than 1 MB (" + std::to_string(length) + " bytes)";
        return none;
    }
    if (length != size - kDzlTrailerHeaderSize) {
        why = "are damaged (their length does not match the file)";
        return none;
    }
    const unsigned char* payload = data + kDzlTrailerHeaderSize;
    if (Crc32(payload, length) != LoadLE32(data + 16)) {
        why = "are damaged (checksum mismatch)";
        return none;
    }
    const char* text = reinterpret_cast<const char*>(payload);
    json parsed = ParseExtrasJson(text, text + length);
    if (parsed.is_discarded()) why = "are damaged (not valid JSON)";
    return parsed;
}

}  // namespace

std::vector<unsigned char> EncodeDzlTrailer(const std::vector<const Component*>& written) {
    json entries = json::array();
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (written[i]->extras.IsEmpty()) continue;
        json entry = ExtrasToJson(written[i]->extras);
        entry["index"] = i;
        entry["number"] = NumberKey(*written[i]);
        entries.push_back(std::move(entry));
    }
    if (entries.empty()) return {};
    const json payload = {{"componentCount", written.size()}, {"components", std::move(entries)}};
    // A text set by hand may hold bytes that are no UTF-8: they are written as U+FFFD.
    const std::string text = payload.dump(-1, ' ', false, json::error_handler_t::replace);

    std::vector<unsigned char> bytes(kDzlTrailerHeaderSize + text.size());
    std::memcpy(bytes.data(), kDzlTrailerMagic, sizeof kDzlTrailerMagic);
    StoreLE32(&bytes[8], kDzlTrailerVersion);
    StoreLE32(&bytes[12], static_cast<uint32_t>(text.size()));
    std::memcpy(&bytes[kDzlTrailerHeaderSize], text.data(), text.size());
    StoreLE32(&bytes[16], Crc32(&bytes[kDzlTrailerHeaderSize], text.size()));
    return bytes;
}

void ApplyDzlTrailer(const unsigned char* data, std::size_t size,
                     std::vector<Component>& components, const std::string& name,
                     std::vector<std::string>& warnings) {
    if (size == 0) return;
    // Bytes after the records that do not start like ours belong to someone else.
    const std::size_t tag = std::min(size, sizeof kDzlTrailerMagic);
    if (std::memcmp(data, kDzlTrailerMagic, tag) != 0) return;
    std::string why;
    const json payload = OpenPayload(data, size, why);
    if (why.empty()) why = CheckEntries(payload, components);
    if (!why.empty()) {
        warnings.push_back(Unused(name, why));
        return;
    }
    std::size_t dropped = 0;
    for (const json& entry : payload["components"]) {
        const std::size_t i = entry["index"].get<std::size_t>();
        std::vector<std::string> problems;
        components[i].extras = ExtrasFromJson(entry, problems);
        for (const std::string& p : problems) {
            if (dropped++ < kMaxDroppedSentences)
                warnings.push_back(name + ": component " + std::to_string(i + 1) + " " + p +
                                   "; that value was dropped.");
        }
    }
    if (dropped > kMaxDroppedSentences)
        warnings.push_back(name + ": " + std::to_string(dropped - kMaxDroppedSentences) +
                           " more values of the survey grids and conditions were dropped.");
}

}  // namespace ohmlet
