#include "transfer/UsbSession.h"

#include <chrono>
#include <thread>

#include "data/ByteOrder.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {
namespace {

constexpr unsigned kLastBlock = 0xFFFF;  // a block number travels in two bytes

bool Stopping(const UsbConnection& c) { return !c.connectionOpen || c.cancelRequested; }

}  // namespace

UsbOpenOutcome OpenUsbConnection(UsbConnection& c) {
    UsbOpenOutcome outcome;
    c.cancelRequested = false;
    c.received = 0;
    c.expected = 0;
    LinkResult opened = c.chip->OpenDevice(c.deviceIndex);
    if (!opened.ok()) {
        outcome = {false, transfer_texts::kUsbOpenFailed, opened};
        return outcome;
    }
    c.connectionOpen = true;
    if (c.chip->GetDeviceName(c.deviceIndex).empty()) {
        outcome = {false,
                   transfer_texts::kUsbPipeFailed,
                   {LinkStatus::Failed, "the device gave no name to open"}};
        // Not left open: the next attempt starts from a closed device.
        CloseUsbConnection(c);
    }
    return outcome;
}

UsbTransferOutcome RunUsbTransfer(UsbConnection& c, const std::function<void()>& progress) {
    UsbTransferOutcome outcome;
    Ch375& chip = *c.chip;
    const unsigned index = c.deviceIndex;
    unsigned block = 0;
    std::size_t headLength = 0;
    bool boundaryPassed = false;
    bool ended = false;

    while (!ended) {
        if (Stopping(c)) {
            outcome.status = UsbTransferOutcome::Status::Cancelled;
            break;
        }
        unsigned char request[2];
        StoreBE16(request, static_cast<uint16_t>(block));
        std::size_t count = sizeof request;
        LinkResult sent = chip.WriteData(index, request, count);
        if (!sent.ok() && c.cancelRequested) {
            outcome.status = UsbTransferOutcome::Status::Cancelled;  // the abort ended it
            outcome.cause = sent;
            break;
        }
        if (!sent.ok() || count != sizeof request) {
            outcome.status = UsbTransferOutcome::Status::RequestFailed;
            outcome.message = transfer_texts::kUsbRequestFailed;
            outcome.cause =
                sent.ok() ? LinkResult{LinkStatus::Failed, "the request was cut short"} : sent;
            break;
        }
        if (Stopping(c)) {
            outcome.status = UsbTransferOutcome::Status::Cancelled;
            break;
        }
        unsigned char data[kUsbBlockSize];
        count = sizeof data;
        LinkResult read = chip.ReadData(index, data, count);
        if (!read.ok()) {
            outcome.status = c.cancelRequested ? UsbTransferOutcome::Status::Cancelled
                                               : UsbTransferOutcome::Status::ReadFailed;
            outcome.cause = read;
            break;
        }
        count = std::min(count, sizeof data);
        if (block == 0) {
            if (count < kReplyCountOffset + 2) {
                outcome.status = UsbTransferOutcome::Status::BadReply;
                outcome.message = transfer_texts::kBadReply;
                outcome.cause = {LinkStatus::Failed,
                                 "the first block is too short to hold a header"};
                break;
            }
            headLength = kUsbHeadSize * (LoadBE16(data + kReplyCountOffset) + 1);
        }
        const unsigned answered = block;
        ++block;
        std::size_t take = count;
        std::size_t belongs = kUsbBlockSize;
        if (block * kUsbBlockSize > headLength && !boundaryPassed) {
            // Only the rest of the heads belongs to the reply; the points follow from 168.
            belongs = headLength - (block - 1) * kUsbBlockSize;
            take = std::min(count, belongs);
            boundaryPassed = true;
            block = kUsbPointAreaBlock;
        }
        outcome.reply.insert(outcome.reply.end(), data, data + take);
        c.received = outcome.reply.size();
        c.expected = ExpectedReplySize(ReplyLayout::Usb, outcome.reply);
        if (progress) progress();
        if (IsUsbReplyComplete(outcome.reply)) {
            outcome.status = UsbTransferOutcome::Status::Complete;
            c.connectionOpen = false;
            ended = true;
        } else if (take < belongs) {
            // Every later byte would land at the wrong place in the reply, and a reply
            // made of shifted bytes can still look complete: stop here.
            outcome.status = UsbTransferOutcome::Status::BadReply;
            outcome.message = transfer_texts::kBadReply;
            outcome.cause = {LinkStatus::Failed, "block " + std::to_string(answered) +
                                                     " came with " + std::to_string(take) +
                                                     " of its " + std::to_string(belongs) +
                                                     " bytes"};
            ended = true;
        } else if (block > kLastBlock) {
            outcome.status = UsbTransferOutcome::Status::BadReply;
            outcome.message = transfer_texts::kBadReply;
            outcome.cause = {LinkStatus::Failed,
                             "the reply did not end within the instrument's memory"};
            ended = true;
        }
    }

    const unsigned char endRequest[3] = {0, 0, 0};
    std::size_t count = sizeof endRequest;
    chip.WriteData(index, endRequest, count);  // the instrument may be gone: no matter
    c.connectionOpen = true;
    CloseUsbConnection(c);
    return outcome;
}

void RequestUsbCancel(UsbConnection& c) {
    c.cancelRequested = true;
    if (c.workerRunning) {
        c.chip->AbortWrite(c.deviceIndex);
        c.chip->AbortRead(c.deviceIndex);
    }
}

void CloseUsbConnection(UsbConnection& c) {
    using namespace std::chrono_literals;
    if (!c.connectionOpen) return;
    if (c.workerRunning) {
        c.chip->AbortWrite(c.deviceIndex);
        c.chip->AbortRead(c.deviceIndex);
    }
    std::this_thread::sleep_for(50ms);
    c.chip->CloseDevice(c.deviceIndex);
    c.connectionOpen = false;
    std::this_thread::sleep_for(20ms);
}

}  // namespace ohmlet
