#include "transfer/Download.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>

#include "data/ByteOrder.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {
namespace {

constexpr unsigned kLastBlock = 0xFFFF;  // a block number travels in two bytes

DownloadOutcome Ended(DownloadCode code, std::string text = {}, std::string cause = {},
                      LinkStatus link = LinkStatus::Ok) {
    DownloadOutcome outcome;
    outcome.code = code;
    outcome.text = std::move(text);
    outcome.cause = std::move(cause);
    outcome.link = link;
    return outcome;
}

DownloadOutcome LinkFailed(DownloadCode code, const LinkResult& failure, std::string text = {}) {
    return Ended(code, std::move(text), DescribeLinkResult(failure), failure.code);
}

}  // namespace

DownloadOutcome RunSerialDownload(Link& link, ByteBuffer& reply, const std::atomic<bool>& cancel,
                                  const DownloadProgress& progress, int idleMs, Clock& clock) {
    // Bytes of an earlier, cancelled transfer must not prefix this reply.
    reply.clear();
    // A failed write is not fatal: nothing then arrives, and the user sees no progress
    // and may cancel.
    link.Write(reinterpret_cast<const unsigned char*>(kDownloadRequest),
               std::strlen(kDownloadRequest));
    if (progress) progress(0, 0);
    Clock::TimePoint lastByte = clock.Now();
    for (;;) {
        if (cancel) return Ended(DownloadCode::Cancelled);
        const std::size_t before = reply.size();
        LinkResult read = link.Read(reply, kSerialReceiveArea, kSerialPollMs);
        if (!read.Ok()) {
            if (cancel || read.code == LinkStatus::Aborted) return Ended(DownloadCode::Cancelled);
            return LinkFailed(DownloadCode::ReadFailed, read);
        }
        if (reply.size() != before) {
            lastByte = clock.Now();
            if (progress) progress(reply.size(), ExpectedReplySize(ReplyLayout::Serial, reply));
        }
        if (IsSerialReplyComplete(reply)) {
            // One more look: a device that keeps sending past its reply shows up as more
            // bytes than any line noise, and the decoder refuses the reply.
            link.Read(reply, kSerialReplySlack + 1, 0);
            return Ended(DownloadCode::Complete);
        }
        if (idleMs > 0 && clock.Now() - lastByte > std::chrono::milliseconds(idleMs))
            return Ended(DownloadCode::Stalled, {},
                         "no byte for " + std::to_string(idleMs) + " ms");
    }
}

namespace {

// Where the block walk stands: the block to ask for next, and the heads' length once
// block 0 has told it.
struct UsbWalk {
    unsigned block = 0;
    std::size_t headLength = 0;
    bool boundaryPassed = false;
    // What the last block brought of the bytes it owed the reply.
    unsigned answered = 0;
    std::size_t taken = 0;
    std::size_t owed = 0;
};

std::optional<DownloadOutcome> RequestBlock(Link& link, unsigned block,
                                            const std::atomic<bool>& cancel) {
    unsigned char request[2];
    StoreBE16(request, static_cast<uint16_t>(block));
    LinkResult sent = link.Write(request, sizeof request);
    if (sent.Ok()) return std::nullopt;
    // An abort of the pending write is how a cancel ends it.
    return cancel
               ? LinkFailed(DownloadCode::Cancelled, sent)
               : LinkFailed(DownloadCode::RequestFailed, sent, transfer_texts::kUsbRequestFailed);
}

std::optional<DownloadOutcome> ReadBlock(Link& link, ByteBuffer& data,
                                         const std::atomic<bool>& cancel) {
    if (cancel) return Ended(DownloadCode::Cancelled);
    data.clear();
    LinkResult read = link.Read(data, kUsbBlockSize, 0);
    if (read.Ok()) return std::nullopt;
    return LinkFailed(cancel ? DownloadCode::Cancelled : DownloadCode::ReadFailed, read);
}

// Appends what of the answered block belongs to the reply and moves on to the next
// block: past the heads, the points follow from block 168.
std::optional<DownloadOutcome> TakeBlock(UsbWalk& walk, const ByteBuffer& data, ByteBuffer& reply) {
    const std::size_t count = data.size();
    if (walk.block == 0) {
        if (count < kReplyCountOffset + 2)
            return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                         "the first block is too short to hold a header");
        walk.headLength = kUsbHeadSize * (LoadBE16(data.data() + kReplyCountOffset) + 1);
    }
    walk.answered = walk.block;
    ++walk.block;
    walk.taken = count;
    walk.owed = kUsbBlockSize;
    if (walk.block * kUsbBlockSize > walk.headLength && !walk.boundaryPassed) {
        walk.owed = walk.headLength - walk.answered * kUsbBlockSize;
        walk.taken = std::min(count, walk.owed);
        walk.boundaryPassed = true;
        walk.block = kUsbPointAreaBlock;
    }
    reply.insert(reply.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(walk.taken));
    return std::nullopt;
}

// How the download ends after the block just taken, if it does.
std::optional<DownloadOutcome> WalkEnd(const UsbWalk& walk, const ByteBuffer& reply) {
    if (IsUsbReplyComplete(reply)) return Ended(DownloadCode::Complete);
    if (walk.taken < walk.owed) {
        // Every later byte would land at the wrong place in the reply, and a reply
        // made of shifted bytes can still look complete: stop here.
        return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                     "block " + std::to_string(walk.answered) + " came with " +
                         std::to_string(walk.taken) + " of its " + std::to_string(walk.owed) +
                         " bytes");
    }
    if (walk.block > kLastBlock)
        return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                     "the reply did not end within the instrument's memory");
    return std::nullopt;
}

std::optional<DownloadOutcome> NextBlock(Link& link, UsbWalk& walk, ByteBuffer& data,
                                         ByteBuffer& reply, const std::atomic<bool>& cancel,
                                         const DownloadProgress& progress) {
    if (cancel) return Ended(DownloadCode::Cancelled);
    if (auto failed = RequestBlock(link, walk.block, cancel)) return failed;
    if (auto failed = ReadBlock(link, data, cancel)) return failed;
    if (auto bad = TakeBlock(walk, data, reply)) return bad;
    if (progress) progress(reply.size(), ExpectedReplySize(ReplyLayout::Usb, reply));
    return WalkEnd(walk, reply);
}

}  // namespace

DownloadOutcome RunUsbDownload(Link& link, ByteBuffer& reply, const std::atomic<bool>& cancel,
                               const DownloadProgress& progress) {
    reply.clear();
    UsbWalk walk;
    ByteBuffer data;
    std::optional<DownloadOutcome> outcome;
    while (!outcome) outcome = NextBlock(link, walk, data, reply, cancel, progress);
    const unsigned char endRequest[3] = {0, 0, 0};
    link.Write(endRequest, sizeof endRequest);  // the instrument may be gone: no matter
    return *outcome;
}

}  // namespace ohmlet
