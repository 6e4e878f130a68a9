#include "transfer/ReplyProgress.h"

#include <algorithm>

#include "data/ByteOrder.h"

namespace ohmlet {
namespace {

std::size_t Be16(const ByteBuffer& b, std::size_t at) { return LoadBE16(b.data() + at); }

// Serial: a block of 14 bytes, its readings after it, block after block.
void CountSerial(const ByteBuffer& b, ReplyCounts& counts) {
    std::size_t pos = kSerialHeaderSize;
    for (std::size_t k = 0; k < counts.componentsExpected; ++k) {
        if (b.size() < pos + kSerialBlockSize) return;
        const std::size_t points = LoadBE16(b.data() + pos + 9);
        const std::size_t arrived = (b.size() - pos - kSerialBlockSize) / 2;
        counts.readings += std::min(points, arrived);
        if (arrived < points) return;
        ++counts.components;
        pos += kSerialBlockSize + 2 * points;
    }
}

// USB: every component's head first, then all readings in one area.
void CountUsb(const ByteBuffer& b, ReplyCounts& counts) {
    const std::size_t area = kUsbHeadSize * (counts.componentsExpected + 1);
    if (b.size() <= area) return;
    const std::size_t arrived = (b.size() - area) / 2;
    std::size_t before = 0;
    for (std::size_t k = 0; k < counts.componentsExpected; ++k) {
        const std::size_t points = Be16(b, kUsbHeadSize * (k + 1) + 4);
        if (arrived < before + points) break;
        before += points;
        ++counts.components;
    }
    std::size_t claimed = 0;
    for (std::size_t k = 0; k < counts.componentsExpected; ++k)
        claimed += Be16(b, kUsbHeadSize * (k + 1) + 4);
    counts.readings = std::min(arrived, claimed);
}

}  // namespace

ReplyCounts CountReceived(ReplyLayout layout, const ByteBuffer& received) {
    ReplyCounts counts;
    if (received.size() < kSerialHeaderSize) return counts;
    counts.known = true;
    counts.componentsExpected = Be16(received, kReplyCountOffset);
    if (layout == ReplyLayout::Serial)
        CountSerial(received, counts);
    else
        CountUsb(received, counts);
    return counts;
}

}  // namespace ohmlet
