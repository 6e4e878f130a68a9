#pragma once
// Fixed-width, NUL-terminated text fields as the DZL file and the model hold them.
#include <cstddef>
#include <string>
#include <string_view>

namespace ohmlet {

// Stores text cut to width - 1 bytes, NUL-terminated, the rest zero-filled so that
// the same model always gives the same file bytes.
void StoreFixedText(char* field, std::size_t width, std::string_view text);

// The text up to the first NUL; a field without NUL is read whole.
std::string ReadFixedText(const char* field, std::size_t width);

}  // namespace ohmlet
