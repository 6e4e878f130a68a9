// Feeds arbitrary bytes to both reply decoders and their completeness tests, the way
// the links do: the buffer grows byte by byte until it is complete, then it is decoded.
// The first byte picks the layout.
#include <cstdlib>

#include "transfer/ReplyDecoder.h"

namespace {

using ohmlet::ByteBuffer;
using ohmlet::DecodedReply;
using ohmlet::ReplyLayout;

bool IsComplete(ReplyLayout layout, const ByteBuffer& b) {
    return layout == ReplyLayout::Serial ? ohmlet::IsSerialReplyComplete(b)
                                         : ohmlet::IsUsbReplyComplete(b);
}

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckDecoded(ReplyLayout layout, const ByteBuffer& reply) {
    DecodedReply r = ohmlet::DecodeReply(layout, reply);
    if (r.code == DecodedReply::Status::Inconsistent) {
        Check(!r.cause.empty());
        return;
    }
    if (r.code == DecodedReply::Status::NoData) {
        Check(r.components.empty());
        return;
    }
    std::size_t count =
        (std::size_t(reply[ohmlet::kReplyCountOffset]) << 8) | reply[ohmlet::kReplyCountOffset + 1];
    Check(r.components.size() == count);
    std::size_t pointBytes = 0;
    for (const ohmlet::Component& c : r.components) {
        Check(c.pointCount >= 0 && static_cast<std::size_t>(c.pointCount) == c.points.size());
        pointBytes += 2 * c.points.size();
        for (const ohmlet::MeasuringPoint& p : c.points) {
            Check(p.value >= 0 && p.value <= (layout == ReplyLayout::Usb ? 6553 : 65535));
            if (!c.points.empty()) Check(c.maxValue >= p.value && c.minValue <= p.value);
        }
    }
    // Every reading came from bytes that were really received.
    Check(pointBytes <= reply.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size == 0) return 0;
    const ReplyLayout layout = (data[0] & 1) ? ReplyLayout::Usb : ReplyLayout::Serial;
    ByteBuffer received;
    received.reserve(size - 1);
    bool complete = false;
    for (std::size_t i = 1; i < size; ++i) {
        received.push_back(data[i]);
        const bool now = IsComplete(layout, received);
        // Once complete, more bytes never make a reply incomplete again.
        Check(!complete || now);
        if (now) Check(received.size() >= ohmlet::ExpectedReplySize(layout, received));
        if (now && !complete) CheckDecoded(layout, received);
        complete = now;
    }
    // A link that gives up early hands over what it has; that must decode safely too.
    if (!received.empty() && !complete) CheckDecoded(layout, received);
    if (!received.empty()) CheckDecoded(layout, received);
    return 0;
}
