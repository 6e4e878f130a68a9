#pragma once
// A second thread kept from call to call, running one job at a time for its holder:
// starting a thread anew for each large file cost as much as a tenth of the work it
// took over.
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace ohmlet {

class WorkerThread {
public:
    WorkerThread() = default;
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    // Lets a running job end, then ends the thread.
    ~WorkerThread();

    // Runs `job` on the thread, started on first use. False, with nothing run, when no
    // thread can be started. One job at a time: Wait() before the next Start().
    bool Start(std::function<void()> job);
    // Waits for the job to end and throws again what it threw.
    void Wait();

private:
    void Serve();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;
    std::exception_ptr failure_;
    bool busy_ = false;  // from Start() until the job has ended
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace ohmlet
