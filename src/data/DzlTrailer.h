#pragma once
// What a component carries beyond its DZL record (survey grid, conditions) travels in
// one trailer after the last record, which other readers of the format never look at:
//   8 bytes "OHMLETX1", uint32 version, uint32 payload length, uint32 CRC-32 of the
//   payload (all little-endian), then the payload: UTF-8 JSON (docs/dzl-extras.md).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Component.h"

namespace ohmlet {

inline constexpr char kDzlTrailerMagic[8] = {'O', 'H', 'M', 'L', 'E', 'T', 'X', '1'};
inline constexpr uint32_t kDzlTrailerVersion = 1;
inline constexpr std::size_t kDzlTrailerHeaderSize = 20;
// Extras are a few hundred bytes a component; a payload past this is no file of ours.
inline constexpr std::size_t kDzlMaxTrailerPayload = std::size_t{1} << 20;

// The trailer for these components, in the order they are written; nothing when none of
// them carries extras, so such a file keeps the bytes it always had.
std::vector<unsigned char> EncodeDzlTrailer(const std::vector<const Component*>& written);

// Gives `components` the extras of the trailer in the bytes after the last record. Bytes
// that are no trailer of ours are left alone; a trailer that cannot be used changes
// nothing and adds a sentence to `warnings`, as does each value it has to drop.
// `name` is used in messages only.
void ApplyDzlTrailer(const unsigned char* data, std::size_t size,
                     std::vector<Component>& components, const std::string& name,
                     std::vector<std::string>& warnings);

}  // namespace ohmlet
