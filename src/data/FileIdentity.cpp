#include "data/FileIdentity.h"

#include <filesystem>
#include <system_error>

namespace ohmlet {

namespace fs = std::filesystem;

// Paths are UTF-8 here; a narrow path on Windows would be read in the ANSI code page.

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::u8path(path), ec);
    if (ec) return path;
    std::string text = absolute.lexically_normal().u8string();
    // "dir/" normalises to "dir/"; a file name never ends with a separator.
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) text.pop_back();
    return text;
}

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    // The file system's own answer: same device and file, whatever the spelling.
    if (fs::equivalent(fs::u8path(a), fs::u8path(b), ec)) return true;
    if (!ec) return false;  // both exist and are different files
    fs::path ca = fs::weakly_canonical(fs::u8path(AbsolutePath(a)), ec);
    if (ec) ca = fs::u8path(AbsolutePath(a));
    fs::path cb = fs::weakly_canonical(fs::u8path(AbsolutePath(b)), ec);
    if (ec) cb = fs::u8path(AbsolutePath(b));
    return ca.lexically_normal() == cb.lexically_normal();
}

}  // namespace ohmlet
