#include "transfer/Clock.h"

#include <algorithm>
#include <thread>

namespace ohmlet {
namespace {

// How long the parties wait in real time for one that may have left before they go on.
constexpr auto kAbsentParty = std::chrono::milliseconds(50);

}  // namespace

SystemClock& SystemClock::Instance() {
    static SystemClock clock;
    return clock;
}

Clock::TimePoint SystemClock::Now() { return std::chrono::steady_clock::now(); }

void SystemClock::SleepFor(Duration wait) { std::this_thread::sleep_for(wait); }

int SystemClock::WaitForSystem(std::chrono::milliseconds wait, const SystemWait& poll) {
    return poll(static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count())));
}

SimulatedClock::SimulatedClock(int parties, std::chrono::milliseconds step)
    : parties_(static_cast<std::size_t>(std::max(1, parties))),
      step_(std::max(step, std::chrono::milliseconds(1))) {}

Clock::TimePoint SimulatedClock::Now() {
    std::lock_guard<std::mutex> lock(mutex_);
    return now_;
}

Clock::Duration SimulatedClock::Elapsed() { return Now() - TimePoint{}; }

bool SimulatedClock::AdvanceLocked(bool everyoneWaits) {
    // A deadline at or before now belongs to a party woken but not yet gone: it runs
    // first, or time would pass without it.
    if (deadlines_.empty() || *deadlines_.begin() <= now_) return false;
    if (!everyoneWaits) return false;
    now_ = *deadlines_.begin();
    moved_.notify_all();
    return true;
}

void SimulatedClock::SleepFor(Duration wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    const TimePoint deadline = now_ + std::max(wait, Duration::zero());
    const auto mine = deadlines_.insert(deadline);
    while (now_ < deadline) {
        if (AdvanceLocked(deadlines_.size() >= parties_)) continue;
        const TimePoint before = now_;
        if (!moved_.wait_for(lock, kAbsentParty, [&] { return now_ != before; }))
            AdvanceLocked(true);
    }
    deadlines_.erase(mine);
    // The parties still waiting may now all be waiting.
    AdvanceLocked(deadlines_.size() >= parties_);
}

int SimulatedClock::WaitForSystem(std::chrono::milliseconds wait, const SystemWait& poll) {
    const int ready = poll(0);
    if (ready != 0) return ready;
    SleepFor(std::min(wait, step_));
    return 0;
}

}  // namespace ohmlet
