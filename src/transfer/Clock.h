#pragma once
// Time as the links, the download loop, the session and the simulators see it: the
// system's steady clock in the program, a simulated one in tests, so that ten silent
// seconds on the line or a reply paced at 240 bytes a second cost no real time.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>

namespace ohmlet {

class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;
    // What waits for the system answers: a poll of descriptors that blocks at most ms
    // and returns what poll returns (> 0 something is ready, 0 nothing, < 0 failed).
    using SystemWait = std::function<int(int ms)>;

    virtual ~Clock() = default;
    virtual TimePoint Now() = 0;
    virtual void SleepFor(Duration wait) = 0;
    // Waits at most wait for something outside the clock, a descriptor to read, and
    // returns poll's answer. The caller loops until its own deadline on Now().
    virtual int WaitForSystem(std::chrono::milliseconds wait, const SystemWait& poll) = 0;
};

// The steady clock and real sleeps: the default everywhere.
class SystemClock : public Clock {
public:
    static SystemClock& Instance();
    TimePoint Now() override;
    void SleepFor(Duration wait) override;
    int WaitForSystem(std::chrono::milliseconds wait, const SystemWait& poll) override;
};

// Time that moves only while its users wait on it. The threads that take turns on it
// (a simulator and a link's reader, say) are its parties: once all of them wait, time
// jumps to the earliest of their deadlines. A system wait only looks, without blocking,
// and then sleeps one step of simulated time. A party that left for good (a worker that
// ended) cannot hold the others forever: after a short real while they go on alone.
class SimulatedClock : public Clock {
public:
    explicit SimulatedClock(int parties = 1,
                            std::chrono::milliseconds step = std::chrono::milliseconds(10));
    TimePoint Now() override;
    void SleepFor(Duration wait) override;
    int WaitForSystem(std::chrono::milliseconds wait, const SystemWait& poll) override;
    // Simulated time since the clock was made.
    Duration Elapsed();

private:
    // Moves time to the earliest deadline when no woken party is still on its way out.
    bool AdvanceLocked(bool everyoneWaits);

    const std::size_t parties_;
    const std::chrono::milliseconds step_;
    std::mutex mutex_;
    std::condition_variable moved_;
    TimePoint now_{};
    std::multiset<TimePoint> deadlines_;
};

}  // namespace ohmlet
