// Inputs the fuzzer found, kept as they were found. They matter most in the sanitizer
// build (tests under -fsanitize=address,undefined), where the fault showed.
#include <gtest/gtest.h>

#include "data/DzlFile.h"

namespace ohmlet {
namespace {

// A header claiming 65,535 components and nothing else: every component reads fresh,
// with no readings, and the reader copied zero readings from and to a null pointer.
TEST(DzlFuzzFindings, ClaimWithoutBytesReadsFreshComponentsWithoutReadings) {
    const unsigned char input[] = {0xff, 0xff, 0x00, 0x00};
    DzlReadResult r = ParseDzl(input, sizeof input, "found.DZL");
    ASSERT_TRUE(r.Ok()) << r.text;
    ASSERT_EQ(r.components.size(), 65535u);
    const Component fresh;
    for (const Component& c : {r.components.front(), r.components.back()}) {
        EXPECT_EQ(c.pointCount, 0);
        EXPECT_TRUE(c.points.empty());
        EXPECT_EQ(c.selected, fresh.selected);
    }
    std::vector<unsigned char> bytes = SerializeDzl(r.components);
    EXPECT_EQ(bytes.size(), kDzlHeaderSize + 65535 * kDzlRecordSize);
    DzlReadResult again = ParseDzl(bytes.data(), bytes.size(), "again.DZL");
    ASSERT_TRUE(again.Ok());
    EXPECT_EQ(SerializeDzl(again.components), bytes);
}

}  // namespace
}  // namespace ohmlet
