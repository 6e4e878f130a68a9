#include "data/FixedText.h"

#include <algorithm>
#include <cstring>

namespace ohmlet {

void StoreFixedText(char* field, std::size_t width, std::string_view text) {
    if (width == 0) return;
    std::size_t n = std::min(text.size(), width - 1);
    // A text with an embedded NUL ends there, as the C string it becomes.
    if (auto nul = text.find('\0'); nul != std::string_view::npos) n = std::min(n, nul);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, width - n);
}

std::string ReadFixedText(const char* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    std::size_t n = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
    return std::string(field, n);
}

}  // namespace ohmlet
