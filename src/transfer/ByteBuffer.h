#pragma once
// Bytes as they come from or go to the instrument.
#include <vector>

namespace ohmlet {

using ByteBuffer = std::vector<unsigned char>;

}  // namespace ohmlet
