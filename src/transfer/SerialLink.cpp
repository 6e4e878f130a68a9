#include "SerialLink.h"

#include <cstring>

namespace ohmlet {

SerialLink::SerialLink(ByteBuffer& buffer, QObject* parent) : QObject(parent), buffer_(buffer) {
    timer_.setInterval(kSerialPollMs);
    connect(&timer_, &QTimer::timeout, this, &SerialLink::Poll);
}

SerialLink::~SerialLink() { Stop(); }

LinkResult SerialLink::Start(std::unique_ptr<Transport> transport) {
    Stop();
    // Bytes of an earlier, cancelled transfer must not prefix this reply.
    buffer_.clear();
    if (!transport) return {LinkStatus::NoSuchDevice, "no port chosen"};
    LinkResult opened = transport->Open();
    if (!opened.ok()) return opened;
    transport_ = std::move(transport);
    // A failed write is not fatal: the poll then simply finds nothing, and the user
    // sees no progress and may cancel.
    transport_->Write(reinterpret_cast<const unsigned char*>(kDownloadRequest),
                      std::strlen(kDownloadRequest));
    timer_.start();
    emit progress(0, 0);
    return opened;
}

void SerialLink::Stop() {
    timer_.stop();
    if (transport_) {
        transport_->Close();
        transport_.reset();
    }
}

void SerialLink::Poll() {
    if (!transport_) return;
    std::size_t before = buffer_.size();
    LinkResult read = transport_->ReadAvailable(buffer_, kSerialReceiveArea);
    if (!read.ok()) {
        Stop();
        emit readFailed(QString::fromStdString(DescribeLinkResult(read)));
        return;
    }
    if (buffer_.size() != before) {
        emit progress(buffer_.size(), ExpectedReplySize(ReplyLayout::Serial, buffer_));
    }
    if (IsSerialReplyComplete(buffer_)) {
        // One more look: a device that keeps sending past its reply shows up as more
        // bytes than any line noise, and the decoder refuses the reply.
        transport_->ReadAvailable(buffer_, kSerialReplySlack + 1);
        Stop();
        emit replyComplete();
    }
}

}  // namespace ohmlet
