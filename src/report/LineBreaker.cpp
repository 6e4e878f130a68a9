#include "report/LineBreaker.h"

namespace ohmlet {

namespace {

bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::vector<std::string> BreakReportLines(const std::string& gbk) {
    std::vector<std::string> lines;
    std::string line;
    // The break comes after the bytes with index 76, 152, ...: 77 bytes first, then 76.
    std::size_t capacity = kLineBreakBytes + 1;
    std::size_t i = 0;
    while (i < gbk.size()) {
        std::size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
        if (line.size() + width > capacity) {
            lines.push_back(line);
            line.clear();
            capacity = kLineBreakBytes;
        }
        line.append(gbk, i, width);
        i += width;
        if (line.size() == capacity) {
            lines.push_back(line);
            line.clear();
            capacity = kLineBreakBytes;
        }
    }
    lines.push_back(line);
    return lines;
}

}  // namespace ohmlet
