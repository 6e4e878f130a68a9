#include "SimulatedCh375.h"

#include <algorithm>
#include <cstdint>

#include "ByteOrder.h"
#include "ReplyEncoder.h"

namespace ohmlet {

SimulatedCh375::SimulatedCh375(ByteBuffer deviceImage) : image_(std::move(deviceImage)) {}

void SimulatedCh375::FailWrite(std::size_t n, LinkStatus status) {
    failWriteAt_ = n;
    writeFailure_ = status;
}

void SimulatedCh375::FailRead(std::size_t n, LinkStatus status) {
    failReadAt_ = n;
    readFailure_ = status;
}

std::vector<ByteBuffer> SimulatedCh375::Writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
}

LinkResult SimulatedCh375::OpenDevice(unsigned index) {
    if (!openFailure_.ok()) return openFailure_;
    // The simulated instrument sits on the first port only.
    if (index != 0)
        return {LinkStatus::NoSuchDevice, "USB" + std::to_string(index + 1) + " is not connected"};
    open_ = true;
    return {};
}

std::string SimulatedCh375::GetDeviceName(unsigned index) {
    return open_ && index == 0 && !nameFailure_ ? "simulated-ch375" : std::string();
}

LinkResult SimulatedCh375::WriteData(unsigned index, const unsigned char* data,
                                     std::size_t& count) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || index != 0) return {LinkStatus::NoSuchDevice, "the device is not open"};
    std::size_t n = writes_.size();
    writes_.emplace_back(data, data + count);
    if (n == failWriteAt_) {
        count = 0;
        return {writeFailure_, "simulated"};
    }
    requestedBlock_ = count == 2 ? LoadBE16(data) : -1;
    return {};
}

LinkResult SimulatedCh375::ReadData(unsigned index, unsigned char* data, std::size_t& count) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::size_t capacity = count;
    count = 0;
    if (!open_ || index != 0) return {LinkStatus::NoSuchDevice, "the device is not open"};
    if (readCount_++ == failReadAt_) return {readFailure_, "simulated"};
    if (requestedBlock_ < 0) return {LinkStatus::TimedOut, "no block was requested"};
    std::size_t from = static_cast<std::size_t>(requestedBlock_) * kUsbBlockSize;
    requestedBlock_ = -1;
    // Blocks beyond the image read as zeros, as unwritten instrument memory would.
    count = std::min<std::size_t>(capacity, kUsbBlockSize);
    std::fill(data, data + count, 0);
    if (from < image_.size()) {
        std::size_t have = std::min(count, image_.size() - from);
        std::copy(image_.begin() + static_cast<std::ptrdiff_t>(from),
                  image_.begin() + static_cast<std::ptrdiff_t>(from + have), data);
    }
    return {};
}

void SimulatedCh375::AbortWrite(unsigned) {}
void SimulatedCh375::AbortRead(unsigned) {}

void SimulatedCh375::CloseDevice(unsigned) {
    open_ = false;
    ++closeCount_;
}

}  // namespace ohmlet
