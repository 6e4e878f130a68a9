#include "report/ClassColours.h"

#include <algorithm>

namespace ohmlet {

QColor ClassColour(std::size_t index, std::size_t count) {
    // Hue runs from green (120) to red (0); spreading over the classes present keeps the
    // extremes the same whether a table has two classes or six.
    const std::size_t n = std::max<std::size_t>(count, 2);
    const std::size_t i = std::min(index, n - 1);
    const int hue = static_cast<int>(120 - (120 * i) / (n - 1));
    return QColor::fromHsv(hue, 110, 245);
}

}  // namespace ohmlet
