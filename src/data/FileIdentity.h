#pragma once
// Which file a path names. Paths are compared as files, not as typed: "./a.DZL",
// "dir//a.DZL", a link to it and, where the file system ignores case, "A.dzl" all name
// the same document.
#include <string>

namespace ohmlet {

// Absolute, with "." and ".." and repeated separators removed; links are kept.
std::string AbsolutePath(const std::string& path);

// True when both name the same existing file, or, where one does not exist yet, when
// their absolute paths agree once links in their folders are followed.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace ohmlet
