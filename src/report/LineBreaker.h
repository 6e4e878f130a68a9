#pragma once
// Breaks a GBK paragraph into printed lines by byte count: the first line holds 77 bytes,
// every further full line 76, and whatever remains (even nothing) is the last line.
// A line never ends inside a two-byte character: that character moves to the next line.
#include <string>
#include <vector>

namespace ohmlet {

inline constexpr std::size_t kLineBreakBytes = 76;

std::vector<std::string> BreakReportLines(const std::string& gbk);

}  // namespace ohmlet
