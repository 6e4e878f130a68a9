#pragma once
// A chip whose reads hang until aborted, as a real one does when the instrument
// stops answering; or that answers block 0 with too few bytes.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "transfer/Ch375.h"

namespace ohmlet::test {

class BlockingCh375 : public Ch375 {
public:
    enum class Mode { HangOnRead, ShortFirstBlock };
    // What the chip saw, readable after the chip itself is gone.
    struct Record {
        std::atomic<int> endRequests{0};
        std::atomic<int> closes{0};
    };
    explicit BlockingCh375(Mode mode = Mode::HangOnRead,
                           std::shared_ptr<Record> record = std::make_shared<Record>())
        : mode_(mode), record_(std::move(record)) {}

    LinkResult OpenDevice(unsigned) override {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        return {};
    }
    std::string DeviceName(unsigned) override { return "blocking"; }
    LinkResult WriteData(unsigned, const unsigned char* data, std::size_t& count) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (count == 3 && data[0] == 0 && data[1] == 0 && data[2] == 0) record_->endRequests++;
        return {};
    }
    LinkResult ReadData(unsigned, unsigned char* data, std::size_t& count) override {
        std::unique_lock<std::mutex> lock(mutex_);
        if (mode_ == Mode::ShortFirstBlock) {
            count = 3;
            data[0] = data[1] = data[2] = 0;
            return {};
        }
        reading_ = true;
        changed_.notify_all();
        changed_.wait(lock, [&] { return aborted_; });
        aborted_ = false;
        reading_ = false;
        count = 0;
        return LinkFailure(LinkStatus::Aborted, {});
    }
    void AbortWrite(unsigned) override {}
    void AbortRead(unsigned) override {
        std::lock_guard<std::mutex> lock(mutex_);
        aborted_ = true;
        changed_.notify_all();
    }
    void CloseDevice(unsigned) override {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = false;
        record_->closes++;
    }

    bool WaitUntilReading() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] { return reading_; });
    }
    bool IsOpen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return open_;
    }
    int EndRequests() { return record_->endRequests; }

private:
    Mode mode_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false, reading_ = false, aborted_ = false;
    std::shared_ptr<Record> record_;
};

}  // namespace ohmlet::test
