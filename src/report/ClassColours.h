#pragma once
// One colour per corrosion-likelihood class, shared by the grid, the charts and the
// printed report so a class looks the same everywhere.
#include <QColor>
#include <cstddef>

namespace ohmlet {

// Class `index` of `count` (2 to 6), ordered from the lowest corrosion likelihood (index
// 0, green) to the highest (red). Light enough to read black text on.
QColor ClassColour(std::size_t index, std::size_t count);

}  // namespace ohmlet
