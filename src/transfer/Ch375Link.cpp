#include "transfer/Ch375Link.h"

#include <chrono>

#include "transfer/TransferTexts.h"

namespace ohmlet {

Ch375Link::Ch375Link(std::unique_ptr<Ch375> chip, unsigned deviceIndex, Clock& clock)
    : chip_(std::move(chip)), index_(deviceIndex), clock_(clock) {}

Ch375Link::~Ch375Link() { Close(); }

LinkResult Ch375Link::Open() {
    if (!chip_) return LinkFailure(LinkStatus::NoSuchDevice, {}, transfer_texts::kUsbOpenFailed);
    LinkResult opened = chip_->OpenDevice(index_);
    if (!opened.Ok()) {
        opened.text = transfer_texts::kUsbOpenFailed;
        return opened;
    }
    open_ = true;
    if (chip_->DeviceName(index_).empty()) {
        // Not left open: the next attempt starts from a closed device.
        Close();
        return LinkFailure(LinkStatus::Failed, "the device gave no name to open",
                           transfer_texts::kUsbPipeFailed);
    }
    return opened;
}

LinkResult Ch375Link::Write(const unsigned char* data, std::size_t size) {
    std::size_t count = size;
    LinkResult sent = chip_->WriteData(index_, data, count);
    if (sent.Ok() && count != size)
        return LinkFailure(LinkStatus::Failed, "the request was cut short");
    return sent;
}

LinkResult Ch375Link::Read(ByteBuffer& out, std::size_t maxBytes, int /*timeoutMs*/) {
    const std::size_t at = out.size();
    out.resize(at + maxBytes);
    std::size_t count = maxBytes;
    LinkResult read = chip_->ReadData(index_, out.data() + at, count);
    out.resize(at + (read.Ok() ? std::min(count, maxBytes) : 0));
    return read;
}

void Ch375Link::Abort() {
    if (!chip_) return;
    chip_->AbortWrite(index_);
    chip_->AbortRead(index_);
}

void Ch375Link::Close() {
    using namespace std::chrono_literals;
    if (!open_) return;
    Abort();
    clock_.SleepFor(50ms);
    chip_->CloseDevice(index_);
    open_ = false;
    clock_.SleepFor(20ms);
}

}  // namespace ohmlet
