#pragma once
// Small value types shared by the grid control and its users.
#include <QString>

namespace ohmlet {

// DrawText-style format bits a cell carries; the grid maps them to Qt alignment.
namespace GridFormat {
inline constexpr unsigned kLeft = 0x0000;
inline constexpr unsigned kCenter = 0x0001;
inline constexpr unsigned kRight = 0x0002;
inline constexpr unsigned kVCenter = 0x0004;
inline constexpr unsigned kBottom = 0x0008;
inline constexpr unsigned kSingleLine = 0x0020;
inline constexpr unsigned kExpandTabs = 0x0040;
inline constexpr unsigned kEndEllipsis = 0x8000;
}  // namespace GridFormat

// Which members of a GridItem are to be written.
namespace GridItemMask {
inline constexpr unsigned kText = 0x1;
inline constexpr unsigned kFormat = 0x2;
inline constexpr unsigned kState = 0x4;
}  // namespace GridItemMask

// Cell state bits; a cell with kReadOnly set cannot be edited.
namespace GridItemState {
inline constexpr unsigned kReadOnly = 0x0040;
}  // namespace GridItemState

struct GridItem {
    int row = 0;
    int col = 0;
    unsigned mask = 0;
    unsigned format = 0;
    unsigned state = 0;
    QString text;
};

// An inclusive block of cells; -1 everywhere means "no cells".
struct CellRange {
    int minRow = -1;
    int minCol = -1;
    int maxRow = -1;
    int maxCol = -1;
    bool IsValid() const {
        return minRow >= 0 && minCol >= 0 && maxRow >= minRow && maxCol >= minCol;
    }
};

}  // namespace ohmlet
