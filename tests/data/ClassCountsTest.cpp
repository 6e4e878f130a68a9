#include "data/ClassCounts.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace ohmlet {
namespace {

TEST(ClassCounts, EqualOnlyWithTheSameClassesAndCounts) {
    struct Case {
        ClassCounts a;
        ClassCounts b;
        bool equal;
    } cases[] = {
        {{}, {}, true},
        {{1, 0, 0, 2}, {1, 0, 0, 2}, true},
        {{1, 0, 0, 2}, {1, 0, 0, 3}, false},
        // A missing class is not a class with none.
        {{1, 0}, {1, 0, 0}, false},
        {ClassCounts(4), {0, 0, 0, 0}, true},
        {{1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}, true},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(k.a == k.b, k.equal)
            << ::testing::PrintToString(k.a) << " vs " << ::testing::PrintToString(k.b);
        EXPECT_EQ(k.a != k.b, !k.equal);
    }
}

TEST(ClassCounts, NoMoreClassesThanATableHolds) {
    EXPECT_EQ(ClassCounts(ClassTable::kMaxClasses).size(), ClassTable::kMaxClasses);
    EXPECT_THROW(ClassCounts(ClassTable::kMaxClasses + 1), std::length_error);
    EXPECT_THROW((ClassCounts{1, 2, 3, 4, 5, 6, 7}), std::length_error);
}

}  // namespace
}  // namespace ohmlet
