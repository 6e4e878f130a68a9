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
                                  const DownloadProgress& progress, int idleMs) {
    using Clock = std::chrono::steady_clock;
    // Bytes of an earlier, cancelled transfer must not prefix this reply.
    reply.clear();
    // A failed write is not fatal: nothing then arrives, and the user sees no progress
    // and may cancel.
    link.Write(reinterpret_cast<const unsigned char*>(kDownloadRequest),
               std::strlen(kDownloadRequest));
    if (progress) progress(0, 0);
    Clock::time_point lastByte = Clock::now();
    for (;;) {
        if (cancel) return Ended(DownloadCode::Cancelled);
        const std::size_t before = reply.size();
        LinkResult read = link.Read(reply, kSerialReceiveArea, kSerialPollMs);
        if (!read.Ok()) {
            if (cancel || read.code == LinkStatus::Aborted) return Ended(DownloadCode::Cancelled);
            return LinkFailed(DownloadCode::ReadFailed, read);
        }
        if (reply.size() != before) {
            lastByte = Clock::now();
            if (progress) progress(reply.size(), ExpectedReplySize(ReplyLayout::Serial, reply));
        }
        if (IsSerialReplyComplete(reply)) {
            // One more look: a device that keeps sending past its reply shows up as more
            // bytes than any line noise, and the decoder refuses the reply.
            link.Read(reply, kSerialReplySlack + 1, 0);
            return Ended(DownloadCode::Complete);
        }
        if (idleMs > 0 && Clock::now() - lastByte > std::chrono::milliseconds(idleMs))
            return Ended(DownloadCode::Stalled, {},
                         "no byte for " + std::to_string(idleMs) + " ms");
    }
}

namespace {

// Asks for one block; a failed request ends the download.
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

// Puts the answered blocks together: first the component heads, whose count the first
// block gives, then the point area from its own block on.
class UsbReplyAssembler {
public:
    unsigned NextBlock() const { return block_; }

    // Takes one answered block into `reply`; an outcome once the download has ended.
    std::optional<DownloadOutcome> Take(const ByteBuffer& data, ByteBuffer& reply,
                                        const DownloadProgress& progress) {
        const std::size_t count = data.size();
        if (block_ == 0) {
            if (count < kReplyCountOffset + 2)
                return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                             "the first block is too short to hold a header");
            headLength_ = kUsbHeadSize * (LoadBE16(data.data() + kReplyCountOffset) + 1);
        }
        const unsigned answered = block_;
        ++block_;
        std::size_t take = count;
        std::size_t belongs = kUsbBlockSize;
        if (block_ * kUsbBlockSize > headLength_ && !boundaryPassed_) {
            // Only the rest of the heads belongs to the reply; the points follow from 168.
            belongs = headLength_ - (block_ - 1) * kUsbBlockSize;
            take = std::min(count, belongs);
            boundaryPassed_ = true;
            block_ = kUsbPointAreaBlock;
        }
        reply.insert(reply.end(), data.begin(), data.begin() + static_cast<std::ptrdiff_t>(take));
        if (progress) progress(reply.size(), ExpectedReplySize(ReplyLayout::Usb, reply));
        if (IsUsbReplyComplete(reply)) return Ended(DownloadCode::Complete);
        // Every later byte would land at the wrong place in the reply, and a reply made of
        // shifted bytes can still look complete: stop here.
        if (take < belongs)
            return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                         "block " + std::to_string(answered) + " came with " +
                             std::to_string(take) + " of its " + std::to_string(belongs) +
                             " bytes");
        if (block_ > kLastBlock)
            return Ended(DownloadCode::BadReply, transfer_texts::kBadReply,
                         "the reply did not end within the instrument's memory");
        return std::nullopt;
    }

private:
    unsigned block_ = 0;
    std::size_t headLength_ = 0;
    bool boundaryPassed_ = false;
};

// One request and its answer; an outcome once the download has ended.
std::optional<DownloadOutcome> UsbStep(Link& link, UsbReplyAssembler& assembler, ByteBuffer& reply,
                                       const std::atomic<bool>& cancel,
                                       const DownloadProgress& progress) {
    if (cancel) return Ended(DownloadCode::Cancelled);
    if (auto failed = RequestBlock(link, assembler.NextBlock(), cancel)) return failed;
    if (cancel) return Ended(DownloadCode::Cancelled);
    ByteBuffer data;
    LinkResult read = link.Read(data, kUsbBlockSize, 0);
    if (!read.Ok())
        return LinkFailed(cancel ? DownloadCode::Cancelled : DownloadCode::ReadFailed, read);
    return assembler.Take(data, reply, progress);
}

}  // namespace

DownloadOutcome RunUsbDownload(Link& link, ByteBuffer& reply, const std::atomic<bool>& cancel,
                               const DownloadProgress& progress) {
    reply.clear();
    UsbReplyAssembler assembler;
    std::optional<DownloadOutcome> outcome;
    while (!outcome) outcome = UsbStep(link, assembler, reply, cancel, progress);
    const unsigned char endRequest[3] = {0, 0, 0};
    link.Write(endRequest, sizeof endRequest);  // the instrument may be gone: no matter
    return *outcome;
}

}  // namespace ohmlet
