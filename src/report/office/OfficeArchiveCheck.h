#pragma once
// Reads a finished Office file back before it may replace anything. A library that
// writes through temporary files of its own may not notice when those writes fail (a
// full folder, a file-size limit): what it then packs is cut short, yet a valid zip.
#include <QString>
#include <cstddef>

namespace ohmlet {

// Opens the zip in `data`, reads every part to its end (libzip checks each CRC) and
// checks that every XML part ends with its root element's end tag. Returns an empty text when all
// is whole, else what is wrong, as words to follow "the file is incomplete: ".
QString CheckOfficeArchive(const unsigned char* data, std::size_t size);

}  // namespace ohmlet
