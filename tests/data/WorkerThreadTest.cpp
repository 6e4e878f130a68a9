#include "data/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>

namespace ohmlet {
namespace {

// Each job either adds to a total or throws; what a job threw must reach the Wait()
// that follows it and no other, and the thread must serve every job in turn.
TEST(WorkerThread, ServesJobsInTurnAndHandsBackWhatTheyThrow) {
    struct Step {
        int add;  // added to the total when the job does not throw
        bool throws;
        int totalAfter;
    } steps[] = {
        {1, false, 1}, {2, false, 3}, {0, true, 3},   {4, false, 7},
        {0, true, 7},  {0, true, 7},  {8, false, 15},
    };
    WorkerThread worker;
    int total = 0;
    std::thread::id served;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const Step& s = steps[i];
        ASSERT_TRUE(worker.Start([&] {
            if (served == std::thread::id()) served = std::this_thread::get_id();
            EXPECT_EQ(std::this_thread::get_id(), served) << "a second thread was started";
            if (s.throws) throw std::runtime_error("job " + std::to_string(i));
            total += s.add;
        }));
        if (s.throws) {
            try {
                worker.Wait();
                ADD_FAILURE() << "step " << i << ": nothing was thrown";
            } catch (const std::runtime_error& e) {
                EXPECT_EQ(std::string(e.what()), "job " + std::to_string(i));
            }
        } else {
            EXPECT_NO_THROW(worker.Wait()) << "step " << i;
        }
        EXPECT_EQ(total, s.totalAfter) << "step " << i;
    }
    EXPECT_NE(served, std::this_thread::get_id());
}

// Ending the worker lets a job in progress finish rather than cutting it off; a
// worker that never ran a job ends at once.
TEST(WorkerThread, EndingLetsARunningJobFinish) {
    std::atomic<bool> finished{false};
    {
        WorkerThread worker;
        ASSERT_TRUE(worker.Start([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            finished = true;
        }));
    }
    EXPECT_TRUE(finished);
    { WorkerThread unused; }
}

}  // namespace
}  // namespace ohmlet
