#pragma once
// The DZL measurement file: a raw little-endian image of the component list.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Component.h"
#include "data/Outcome.h"
#include "data/SafeFile.h"

namespace ohmlet {

inline constexpr std::size_t kDzlHeaderSize = 4;
inline constexpr std::size_t kDzlRecordSize = 170;  // without its points
inline constexpr std::size_t kDzlPointSize = 12;

// The instrument counts components and readings in 16 bits; a file may claim more
// only when its bytes really hold them.
inline constexpr int32_t kDzlMaxUnbackedCount = 65535;

// A merged file of a hundred full downloads is about 40 MB; the file is read into memory
// whole, so anything far larger is refused rather than read.
inline constexpr std::size_t kDzlMaxFileBytes = std::size_t{256} << 20;

enum class DzlReadCode { Ok, CannotOpen, Corrupt };

// text: one sentence naming the file, empty on success. warnings: sentences about what
// beyond the readings could not be used (the survey grids and conditions); the readings
// opened all the same.
struct DzlReadResult : Outcome<DzlReadCode> {
    using Status = DzlReadCode;
    std::vector<Component> components;
    std::vector<std::string> warnings;
};

// A DZL file is written the safe way: the same result.
using DzlWriteResult = SafeWriteResult;

// Parses a file image. A file that ends early keeps fresh values for what it does
// not cover; counts that the bytes cannot back and that exceed the instrument's
// range make the file Corrupt. `name` is used in messages only.
DzlReadResult ParseDzl(const unsigned char* data, std::size_t size, const std::string& name);
// A file larger than kDzlMaxFileBytes, or one written to while it is read, cannot be
// opened.
DzlReadResult ReadDzlFile(const std::string& path);

enum class DzlSelection { All, SelectedOnly };

// The records, then a trailer with the extras of the written components when any has
// some (data/DzlTrailer.h).
std::vector<unsigned char> SerializeDzl(const std::vector<Component>& components,
                                        DzlSelection which = DzlSelection::All);

// Writes beside the target first and renames it into place, so the previous file
// survives any failure.
DzlWriteResult WriteFileAtomically(const std::string& path,
                                   const std::vector<unsigned char>& bytes);
DzlWriteResult WriteDzlFile(const std::string& path, const std::vector<Component>& components,
                            DzlSelection which = DzlSelection::All);

}  // namespace ohmlet
