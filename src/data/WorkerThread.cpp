#include "data/WorkerThread.h"

#include <utility>

namespace ohmlet {

WorkerThread::~WorkerThread() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return !busy_; });
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
}

bool WorkerThread::Start(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = std::move(job);
        failure_ = nullptr;
        busy_ = true;
    }
    if (!thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Serve(); });
        } catch (...) {  // no thread to be had: the caller does the work itself
            std::lock_guard<std::mutex> lock(mutex_);
            job_ = nullptr;
            busy_ = false;
            return false;
        }
    }
    changed_.notify_all();
    return true;
}

void WorkerThread::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return !busy_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WorkerThread::Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || (busy_ && job_); });
        if (stopping_) return;
        std::function<void()> job = std::move(job_);
        job_ = nullptr;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        failure_ = failure;
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace ohmlet
