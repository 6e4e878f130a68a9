#include "transfer/Ch375Fallback.h"

namespace ohmlet {

Ch375Fallback::Ch375Fallback(std::unique_ptr<Ch375> first, std::unique_ptr<Ch375> second)
    : first_(std::move(first)), second_(std::move(second)) {}

LinkResult Ch375Fallback::OpenDevice(unsigned index) {
    LinkResult result = first_->OpenDevice(index);
    if (result.Ok()) {
        open_ = first_.get();
        return result;
    }
    const LinkResult other = second_->OpenDevice(index);
    if (other.Ok()) {
        open_ = second_.get();
        return other;
    }
    const std::string& second = other.cause.empty() ? other.text : other.cause;
    if (!second.empty())
        result.cause +=
            (result.cause.empty() ? "" : "; ") + std::string("nor through WinUSB: ") + second;
    return result;
}

std::string Ch375Fallback::DeviceName(unsigned index) {
    Ch375* way = open_;
    return way ? way->DeviceName(index) : std::string();
}

LinkResult Ch375Fallback::WriteData(unsigned index, const unsigned char* data, std::size_t& count) {
    Ch375* way = open_;
    if (!way) {
        count = 0;
        return LinkFailure(LinkStatus::Failed, "the device is not open");
    }
    return way->WriteData(index, data, count);
}

LinkResult Ch375Fallback::ReadData(unsigned index, unsigned char* data, std::size_t& count) {
    Ch375* way = open_;
    if (!way) {
        count = 0;
        return LinkFailure(LinkStatus::Failed, "the device is not open");
    }
    return way->ReadData(index, data, count);
}

void Ch375Fallback::AbortWrite(unsigned index) {
    if (Ch375* way = open_) way->AbortWrite(index);
}

void Ch375Fallback::AbortRead(unsigned index) {
    if (Ch375* way = open_) way->AbortRead(index);
}

void Ch375Fallback::CloseDevice(unsigned index) {
    if (Ch375* way = open_.exchange(nullptr)) way->CloseDevice(index);
}

}  // namespace ohmlet
