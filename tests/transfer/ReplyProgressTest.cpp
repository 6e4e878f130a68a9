// How much of a reply has arrived, counted in components and readings at every cut.
#include <gtest/gtest.h>

#include "transfer/ReplyEncoder.h"
#include "transfer/ReplyProgress.h"

namespace ohmlet {
namespace {

std::vector<Component> ThreeComponents() {
    std::vector<Component> list(3);
    const std::vector<int> counts = {2, 0, 3};
    for (std::size_t k = 0; k < list.size(); ++k) {
        list[k].SetNumber(("000" + std::to_string(k + 1)).c_str());
        list[k].ResizePoints(counts[k]);
        for (int i = 0; i < counts[k]; ++i) list[k].points[i].value = 10 + i;
    }
    return list;
}

ByteBuffer Head(const ByteBuffer& reply, std::size_t n) {
    return ByteBuffer(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(n));
}

struct Cut {
    const char* where;
    std::size_t bytes;  // a count past the reply's end means the whole reply
    bool known;
    std::size_t components, readings;
};

// Serial: header 8, then blocks of 14 bytes with 2 bytes per reading (2, 0, 3 readings).
TEST(ReplyProgressTest, SerialRepliesCountBlockByBlock) {
    const ByteBuffer reply = EncodeSerialReply(ThreeComponents()).bytes;
    ASSERT_EQ(reply.size(), 8u + 14 + 4 + 14 + 14 + 6);
    const Cut cuts[] = {
        {"nothing", 0, false, 0, 0},
        {"part of the header", 7, false, 0, 0},
        {"the header", 8, true, 0, 0},
        {"the first block head", 22, true, 0, 0},
        {"one reading and a half", 25, true, 0, 1},
        {"the first component", 26, true, 1, 2},
        {"the empty second", 40, true, 2, 2},
        {"two readings of the third", 58, true, 2, 4},
        {"all", 1000, true, 3, 5},
    };
    for (const Cut& c : cuts) {
        const ReplyCounts counts =
            CountReceived(ReplyLayout::Serial, Head(reply, std::min(c.bytes, reply.size())));
        EXPECT_EQ(counts.known, c.known) << c.where;
        EXPECT_EQ(counts.componentsExpected, c.known ? 3u : 0u) << c.where;
        EXPECT_EQ(counts.components, c.components) << c.where;
        EXPECT_EQ(counts.readings, c.readings) << c.where;
    }
}

// USB: the header and all heads (16 bytes each), then every reading in one area.
TEST(ReplyProgressTest, UsbRepliesCountTheReadingArea) {
    const ByteBuffer reply = EncodeUsbReply(ThreeComponents()).bytes;
    ASSERT_GE(reply.size(), 64u + 10);
    const Cut cuts[] = {
        {"the header", 16, true, 0, 0},
        {"the heads", 64, true, 0, 0},
        {"one reading", 66, true, 0, 1},
        {"the first component", 68, true, 2, 2},  // the second has no readings
        {"four readings", 72, true, 2, 4},
        {"all", 1000, true, 3, 5},
    };
    for (const Cut& c : cuts) {
        const ReplyCounts counts =
            CountReceived(ReplyLayout::Usb, Head(reply, std::min(c.bytes, reply.size())));
        EXPECT_EQ(counts.known, c.known) << c.where;
        EXPECT_EQ(counts.components, c.components) << c.where;
        EXPECT_EQ(counts.readings, c.readings) << c.where;
    }
}

// Counts from a damaged header stay within what the bytes hold.
TEST(ReplyProgressTest, AHeaderThatClaimsTooMuchCountsOnlyWhatArrived) {
    ByteBuffer reply = EncodeSerialReply(ThreeComponents()).bytes;
    reply[4] = 0xFF;  // N = 65,280 and more
    const ReplyCounts serial = CountReceived(ReplyLayout::Serial, reply);
    EXPECT_EQ(serial.components, 3u);
    EXPECT_EQ(serial.readings, 5u);
    ByteBuffer usb = EncodeUsbReply(ThreeComponents()).bytes;
    usb[4] = 0xFF;
    const ReplyCounts heads = CountReceived(ReplyLayout::Usb, usb);
    EXPECT_EQ(heads.components, 0u);  // the heads it claims have not arrived
    EXPECT_EQ(heads.readings, 0u);
}

}  // namespace
}  // namespace ohmlet
