#include "report/ClassColours.h"

#include <gtest/gtest.h>

#include <set>

namespace ohmlet {
namespace {

// Every table size from 2 to 6: the best class is green, the worst red, and no two
// classes of one table share a colour.
TEST(ClassColours, EndsAreGreenAndRedAndClassesDiffer) {
    for (std::size_t count = 2; count <= 6; ++count) {
        SCOPED_TRACE(count);
        EXPECT_EQ(ClassColour(0, count).hue(), 120);
        EXPECT_EQ(ClassColour(count - 1, count).hue(), 0);
        std::set<int> hues;
        for (std::size_t i = 0; i < count; ++i) hues.insert(ClassColour(i, count).hue());
        EXPECT_EQ(hues.size(), count);
    }
}

TEST(ClassColours, OutOfRangeIndexTakesTheWorstClass) {
    EXPECT_EQ(ClassColour(9, 4), ClassColour(3, 4));
    EXPECT_EQ(ClassColour(1, 0), ClassColour(1, 2));
}

}  // namespace
}  // namespace ohmlet
