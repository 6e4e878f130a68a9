#pragma once
// An instrument on "USB1" without hardware: answers each 2-byte block request with
// that block of a USB device image. Failures can be planned for tests.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

#include "transfer/ByteBuffer.h"
#include "transfer/Ch375.h"
#include "transfer/sim/FaultPlan.h"

namespace ohmlet {

class SimulatedCh375 : public Ch375 {
public:
    explicit SimulatedCh375(ByteBuffer deviceImage);

    // The n-th write (0-based) or read fails with the given status.
    void FailWrite(std::size_t n, LinkStatus status = LinkStatus::NoSuchDevice);
    void FailRead(std::size_t n, LinkStatus status = LinkStatus::TimedOut);
    void FailOpen(LinkResult failure) { openFailure_ = std::move(failure); }
    void FailName() { nameFailure_ = true; }
    // Faults at chosen blocks and bytes; a stalled read waits until AbortRead.
    void SetFaultPlan(FaultPlan plan);

    // Every write as it arrived: block requests and the end request.
    std::vector<ByteBuffer> Writes() const;
    bool IsOpen() const { return open_; }
    int CloseCount() const { return closeCount_; }

    LinkResult OpenDevice(unsigned index) override;
    std::string DeviceName(unsigned index) override;
    LinkResult WriteData(unsigned index, const unsigned char* data, std::size_t& count) override;
    LinkResult ReadData(unsigned index, unsigned char* data, std::size_t& count) override;
    void AbortWrite(unsigned index) override;
    void AbortRead(unsigned index) override;
    void CloseDevice(unsigned index) override;

private:
    ByteBuffer image_;
    mutable std::mutex mutex_;
    std::vector<ByteBuffer> writes_;
    std::size_t readCount_ = 0;
    long long requestedBlock_ = -1;
    std::size_t failWriteAt_ = SIZE_MAX, failReadAt_ = SIZE_MAX;
    LinkStatus writeFailure_ = LinkStatus::Ok, readFailure_ = LinkStatus::Ok;
    LinkResult openFailure_;
    FaultPlan faults_;
    std::condition_variable readAborted_;
    bool abortPending_ = false;
    bool nameFailure_ = false;
    std::atomic<bool> open_{false};
    std::atomic<int> closeCount_{0};
};

}  // namespace ohmlet
