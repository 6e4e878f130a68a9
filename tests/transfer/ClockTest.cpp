// The simulated clock the serial tests run on: time moves only once every party waits,
// and then exactly to the earliest deadline, so no party ever wakes late.
#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <thread>

#include "transfer/Clock.h"

namespace ohmlet {
namespace {

TEST(SimulatedClock, EveryPartyWakesExactlyAtItsDeadlines) {
    using std::chrono::milliseconds;
    // A party that is done leaves the others to wait for it a while: all end together.
    constexpr int kHorizonMs = 1000;
    const std::vector<std::vector<int>> cases = {{30}, {30, 70}, {10, 25, 40}, {50, 50}};
    for (const std::vector<int>& steps : cases) {
        SimulatedClock clock(static_cast<int>(steps.size()));
        std::mutex mutex;
        std::vector<std::string> late;
        std::vector<std::thread> parties;
        for (int step : steps) {
            parties.emplace_back([&, step] {
                for (int k = 1; k * step <= kHorizonMs; ++k) {
                    clock.SleepFor(milliseconds(step));
                    if (clock.Elapsed() == milliseconds(k * step)) continue;
                    std::lock_guard<std::mutex> lock(mutex);
                    late.push_back(std::to_string(step) + " ms party, wake " + std::to_string(k));
                }
            });
        }
        for (std::thread& party : parties) party.join();
        EXPECT_TRUE(late.empty()) << late.front();
        int last = 0;
        for (int step : steps) last = std::max(last, kHorizonMs / step * step);
        EXPECT_EQ(clock.Elapsed(), milliseconds(last));
    }
}

}  // namespace
}  // namespace ohmlet
