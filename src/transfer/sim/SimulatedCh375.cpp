#include "transfer/sim/SimulatedCh375.h"

#include <algorithm>
#include <chrono>
#include <cstdint>

#include "data/ByteOrder.h"
#include "transfer/ReplyEncoder.h"

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

void SimulatedCh375::SetFaultPlan(FaultPlan plan) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_ = std::move(plan);
}

std::vector<ByteBuffer> SimulatedCh375::Writes() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return writes_;
}

LinkResult SimulatedCh375::OpenDevice(unsigned index) {
    if (!openFailure_.Ok()) return openFailure_;
    // The simulated instrument sits on the first port only.
    if (index != 0)
        return {
            LinkStatus::NoSuchDevice, {}, "USB" + std::to_string(index + 1) + " is not connected"};
    open_ = true;
    return {};
}

std::string SimulatedCh375::DeviceName(unsigned index) {
    return open_ && index == 0 && !nameFailure_ ? "simulated-ch375" : std::string();
}

LinkResult SimulatedCh375::WriteData(unsigned index, const unsigned char* data,
                                     std::size_t& count) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || index != 0) return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    std::size_t n = writes_.size();
    writes_.emplace_back(data, data + count);
    if (n == failWriteAt_) {
        count = 0;
        return {writeFailure_, {}, "simulated"};
    }
    requestedBlock_ = count == 2 ? LoadBE16(data) : -1;
    if (requestedBlock_ >= 0 &&
        faults_.failWriteBlocks.count(static_cast<unsigned>(requestedBlock_))) {
        requestedBlock_ = -1;
        count = 0;
        return {faults_.failure, {}, "simulated fault"};
    }
    return {};
}

LinkResult SimulatedCh375::ReadData(unsigned index, unsigned char* data, std::size_t& count) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::size_t capacity = count;
    count = 0;
    if (!open_ || index != 0) return {LinkStatus::NoSuchDevice, {}, "the device is not open"};
    if (readCount_++ == failReadAt_) return {readFailure_, {}, "simulated"};
    if (requestedBlock_ < 0) return {LinkStatus::TimedOut, {}, "no block was requested"};
    const unsigned block = static_cast<unsigned>(requestedBlock_);
    std::size_t from = static_cast<std::size_t>(requestedBlock_) * kUsbBlockSize;
    requestedBlock_ = -1;
    if (faults_.failReadBlocks.count(block)) return {faults_.failure, {}, "simulated fault"};
    if (faults_.StallsWithin(from, from + kUsbBlockSize)) {
        const bool aborted = readAborted_.wait_for(lock, std::chrono::milliseconds(faults_.stallMs),
                                                   [this] { return abortPending_; });
        abortPending_ = false;
        if (aborted) return {LinkStatus::Aborted, {}, "the read was aborted"};
    }
    // Blocks beyond the image read as zeros, as unwritten instrument memory would.
    count = std::min<std::size_t>(capacity, kUsbBlockSize);
    std::fill(data, data + count, 0);
    if (from < image_.size()) {
        std::size_t have = std::min(count, image_.size() - from);
        std::copy(image_.begin() + static_cast<std::ptrdiff_t>(from),
                  image_.begin() + static_cast<std::ptrdiff_t>(from + have), data);
    }
    ByteBuffer arrived = faults_.Apply(data, count, from);
    std::copy(arrived.begin(), arrived.end(), data);
    count = arrived.size();
    return {};
}

void SimulatedCh375::AbortWrite(unsigned) {}
void SimulatedCh375::AbortRead(unsigned) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        abortPending_ = true;
    }
    readAborted_.notify_all();
}

void SimulatedCh375::CloseDevice(unsigned) {
    open_ = false;
    ++closeCount_;
}

}  // namespace ohmlet
