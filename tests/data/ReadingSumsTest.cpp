#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "data/ReadingSums.h"

namespace ohmlet {
namespace {

std::vector<MeasuringPoint> Points(const std::vector<int32_t>& values) {
    std::vector<MeasuringPoint> points(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        // Position and spare words hold values that would spoil any sum that read them.
        points[i] = {-7 - static_cast<int32_t>(i), values[i], 99999};
    }
    return points;
}

std::vector<int32_t> Repeat(int32_t value, std::size_t times) {
    return std::vector<int32_t>(times, value);
}

std::vector<int32_t> OneTo(int32_t n) {
    std::vector<int32_t> values;
    for (int32_t v = 1; v <= n; ++v) values.push_back(v);
    return values;
}

struct Form {
    const char* name;
    std::function<ReadingSums(const MeasuringPoint*, std::size_t)> addUp;
    std::function<void(uint32_t*, std::size_t, uint32_t*, uint32_t*)> cumulate;
};

// The portable forms always; the vector forms where this processor runs them.
std::vector<Form> Forms() {
    std::vector<Form> forms = {
        {"portable", kernels::AddUpReadingsPortable, kernels::CumulateAndClearPortable}};
    if (kernels::HasVectorForms())
        forms.push_back({"vector", kernels::AddUpReadingsVector, kernels::CumulateAndClearVector});
    return forms;
}

// Sums of 1..n are n(n+1)/2 and of their squares n(n+1)(2n+1)/6; the lengths fall on
// and beside the eight readings a vector takes and the 64 after which its lanes widen.
TEST(ReadingSums, WholeSetsInTheWindow) {
    struct Case {
        std::string what;
        std::vector<int32_t> values;
        int32_t min, max;
        uint64_t sum, squares;
    } cases[] = {
        {"one reading", {42}, 42, 42, 42, 1764},
        {"zero alone", {0}, 0, 0, 0, 0},
        {"1..7", OneTo(7), 1, 7, 28, 140},
        {"1..8", OneTo(8), 1, 8, 36, 204},
        {"1..9", OneTo(9), 1, 9, 45, 285},
        {"1..63", OneTo(63), 1, 63, 2016, 85344},
        {"1..64", OneTo(64), 1, 64, 2080, 89440},
        {"1..65", OneTo(65), 1, 65, 2145, 93665},
        {"1..200", OneTo(200), 1, 200, 20100, 2686700},
        {"1..1001", OneTo(1001), 1, 1001, 501501, 334835501},
        {"highest in the window, 70000 times", Repeat(16383, 70000), 16383, 16383, 70000ull * 16383,
         70000ull * 16383 * 16383},
        {"lowest and highest in the window",
         {16383, 0, 0, 16383, 0, 0, 0, 0, 0, 16383},
         0,
         16383,
         3ull * 16383,
         3ull * 16383 * 16383},
    };
    for (const Form& form : Forms()) {
        for (const Case& k : cases) {
            const std::vector<MeasuringPoint> points = Points(k.values);
            const ReadingSums r = form.addUp(points.data(), points.size());
            const std::string where = std::string(form.name) + ": " + k.what;
            EXPECT_TRUE(r.InWindow()) << where;
            EXPECT_EQ(r.min, k.min) << where;
            EXPECT_EQ(r.max, k.max) << where;
            EXPECT_EQ(r.sum, k.sum) << where;
            EXPECT_EQ(r.squares, k.squares) << where;
        }
    }
}

// Outside the window only the lowest and highest count, and they must be exact
// wherever in the set the far reading sits.
TEST(ReadingSums, ReadingsOutsideTheWindow) {
    struct Case {
        const char* what;
        std::vector<int32_t> values;
        int32_t min, max;
    } cases[] = {
        {"just past the top, first", {16384, 5, 6, 7, 8, 9, 10, 11, 12}, 5, 16384},
        {"just past the top, in the tail", {5, 6, 7, 8, 9, 10, 11, 12, 16384}, 5, 16384},
        {"just below zero, in a vector", {5, 6, 7, -1, 9, 10, 11, 12, 13}, -1, 13},
        {"the extremes", {0, INT32_MIN, 3, 4, 5, 6, 7, INT32_MAX, 9, 10}, INT32_MIN, INT32_MAX},
        {"all negative", {-3, -9, -4, -4, -4, -4, -4, -4}, -9, -3},
        {"a reading whose low half-word alone is in the window",
         {65536 + 5, 1, 2, 3, 4, 5, 6, 7},
         1,
         65541},
    };
    for (const Form& form : Forms()) {
        for (const Case& k : cases) {
            const std::vector<MeasuringPoint> points = Points(k.values);
            const ReadingSums r = form.addUp(points.data(), points.size());
            const std::string where = std::string(form.name) + ": " + k.what;
            EXPECT_FALSE(r.InWindow()) << where;
            EXPECT_EQ(r.min, k.min) << where;
            EXPECT_EQ(r.max, k.max) << where;
        }
    }
}

// Bins 1, 2, 3, ... cumulate to the triangular numbers; lengths on and beside eight.
TEST(ReadingSums, CumulatedBinsAreClearedAndMoved) {
    for (const Form& form : Forms()) {
        for (std::size_t n : {1u, 7u, 8u, 9u, 16u, 17u, 230u}) {
            for (bool move : {false, true}) {
                std::vector<uint32_t> bins(n + 3, 77);  // the last three lie past the end
                for (std::size_t i = 0; i < n; ++i) bins[i] = static_cast<uint32_t>(i + 1);
                std::vector<uint32_t> into(n + 3, 1000);
                std::vector<uint32_t> upTo(n + 3, 5);
                form.cumulate(bins.data(), n, upTo.data(), move ? into.data() : nullptr);
                const std::string where =
                    std::string(form.name) + ", " + std::to_string(n) + (move ? ", moved" : "");
                for (std::size_t i = 0; i < n; ++i) {
                    ASSERT_EQ(upTo[i], (i + 1) * (i + 2) / 2) << where << ", bin " << i;
                    ASSERT_EQ(bins[i], 0u) << where << ", bin " << i;
                    ASSERT_EQ(into[i], move ? 1000 + i + 1 : 1000) << where << ", bin " << i;
                }
                for (std::size_t i = n; i < n + 3; ++i) {
                    EXPECT_EQ(bins[i], 77u) << where << ": bin past the end changed";
                    EXPECT_EQ(upTo[i], 5u) << where << ": total past the end written";
                    EXPECT_EQ(into[i], 1000u) << where << ": bin past the end moved";
                }
            }
        }
    }
}

// Totals that pass 2^31 on the way stay whole 32-bit counts.
TEST(ReadingSums, CumulatedBinsBeyondHalfTheRange) {
    for (const Form& form : Forms()) {
        std::vector<uint32_t> bins = {0x40000000u, 0x40000000u, 0x40000000u, 5, 0, 0, 0, 0, 1};
        std::vector<uint32_t> upTo(bins.size());
        form.cumulate(bins.data(), bins.size(), upTo.data(), nullptr);
        const std::vector<uint32_t> expected = {0x40000000u, 0x80000000u, 0xC0000000u,
                                                0xC0000005u, 0xC0000005u, 0xC0000005u,
                                                0xC0000005u, 0xC0000005u, 0xC0000006u};
        EXPECT_EQ(upTo, expected) << form.name;
    }
}

}  // namespace
}  // namespace ohmlet
