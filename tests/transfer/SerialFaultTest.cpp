// The serial link against the virtual instrument on a real pseudo-terminal, with bytes
// dropped, cut off, garbled or stalled on the line, at the line's own 240 bytes a second
// in simulated time. A reply that never completes runs until the user cancels or the
// idle time passes, and a cancelled or inconsistent transfer never replaces the target.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <thread>

#include "ReplyBytes.h"
#include "data/DzlFile.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"
#include "transfer/sim/SerialSimulator.h"

namespace ohmlet {
namespace {

ByteBuffer Reply() {
    std::vector<test::SerialBlock> blocks;
    for (unsigned char k = 1; k <= 4; ++k) {
        test::SerialBlock b{{0, 0, 0, k}, 26, 3, 9, 20, 55, 80, {}};
        for (unsigned i = 0; i < 25; ++i) b.points.push_back(30u * k + i);
        blocks.push_back(b);
    }
    return test::SerialReply(blocks);
}

ByteBuffer FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const ByteBuffer kOldFile = {2, 0, 0, 0, 'o', 'l', 'd'};

// The virtual instrument on its own thread, stopped and joined when it goes.
class Instrument {
public:
    Instrument(const FaultPlan& plan, Clock& clock) : plan_(plan) {
        std::string error;
        pty_ = PseudoTerminal::Open(error);
        if (!pty_) return;
        thread_ = std::thread([this, &clock] {
            RunSerialSimulator(*pty_, Reply(), stop_, kSerialBytesPerSecond, {}, &plan_, clock);
        });
    }
    ~Instrument() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    QString Port() const { return pty_ ? QString::fromStdString(pty_->PortPath()) : QString(); }

private:
    FaultPlan plan_;
    std::unique_ptr<PseudoTerminal> pty_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

struct Outcome {
    bool completed = false;
    std::size_t received = 0;
    TransferOutcome result;
    ByteBuffer target;
    double endedAt = 0;  // seconds of simulated time
    int counts = 0;      // times the session counted the components
};

// Runs a transfer the way the dialog does: on completion the reply is decoded and
// written; otherwise the user cancels after waitMs of simulated time.
Outcome Transfer(const FaultPlan& plan, int waitMs, int idleMs = 0) {
    QTemporaryDir dir;
    const std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    std::ofstream(target, std::ios::binary)
        .write(reinterpret_cast<const char*>(kOldFile.data()), kOldFile.size());
    Outcome outcome;
    SimulatedClock clock(2);  // the simulator's thread and the transfer's worker
    {
        Instrument instrument(plan, clock);
        EXPECT_FALSE(instrument.Port().isEmpty());
        TransferSession link;
        link.SetClock(clock);
        QSignalSpy ended(&link, &TransferSession::ended);
        QSignalSpy counted(&link, &TransferSession::counted);
        StartOutcome opened =
            link.Start(std::make_unique<SerialLink>(instrument.Port().toStdString(), clock),
                       ReplyLayout::Serial, target, idleMs);
        EXPECT_TRUE(opened.Ok()) << opened.cause;
        const auto cancelAt = clock.Now() + std::chrono::milliseconds(waitMs);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !ended.isEmpty() || clock.Now() >= cancelAt; }));
        outcome.endedAt = std::chrono::duration<double>(clock.Elapsed()).count();
        outcome.completed = !ended.isEmpty();
        outcome.counts = counted.count();
        if (!outcome.completed) {
            EXPECT_TRUE(link.IsRunning());
            link.Cancel();  // the user's cancel
            EXPECT_TRUE(ended.wait(5000));
            EXPECT_FALSE(link.IsRunning());
            EXPECT_EQ(link.Result().code, TransferCode::Cancelled);
        }
        outcome.result = link.Result();
        outcome.received = outcome.result.Ok() ? SIZE_MAX : outcome.result.received.size();
    }  // the instrument stops even in the middle of a stall
    outcome.target = FileBytes(target);
    return outcome;
}

TEST(SerialFaults, ABrokenLineNeverWritesAndTheOldFileStays) {
    const std::size_t size = Reply().size();
    auto plan = [](auto change) {
        FaultPlan p;
        change(p);
        return p;
    };
    struct Case {
        const char* what;
        FaultPlan plan;
    };
    const Case cases[] = {
        {"one byte of a reading dropped", plan([](FaultPlan& p) { p.dropBytes = {40}; })},
        {"the header's last byte dropped", plan([](FaultPlan& p) { p.dropBytes = {7}; })},
        {"the last byte cut off", plan([&](FaultPlan& p) { p.cutAt = size - 1; })},
        {"cut off in the middle", plan([&](FaultPlan& p) { p.cutAt = size / 2; })},
        {"nothing at all", plan([](FaultPlan& p) { p.cutAt = 0; })},
        {"a long stall", plan([](FaultPlan& p) { p.stallAt = 100, p.stallMs = 600000; })},
    };
    // The user's cancel long after the reply's second at line speed, or the idle time.
    for (const Case& c : cases) {
        for (int idleMs : {0, 10000}) {
            SCOPED_TRACE(std::string(c.what) + ", idle ms " + std::to_string(idleMs));
            Outcome outcome = Transfer(c.plan, idleMs > 0 ? 60000 : 5000, idleMs);
            EXPECT_EQ(outcome.target, kOldFile);
            // A shifted header may end the reply early; it then cannot decode.
            if (outcome.completed && outcome.result.code != TransferCode::Stalled) {
                EXPECT_FALSE(outcome.result.Ok());
                continue;
            }
            EXPECT_LT(outcome.received, size);
            EXPECT_EQ(outcome.completed, idleMs > 0);
            if (idleMs == 0) continue;
            EXPECT_EQ(outcome.result.code, TransferCode::Stalled);
            // The last byte came at its place in the line's pace; the idle time counts
            // from there, checked after each 200 ms read.
            const double expected =
                idleMs / 1000.0 +
                double(std::max<std::size_t>(outcome.received, 1) - 1) / kSerialBytesPerSecond;
            EXPECT_GE(outcome.endedAt, expected);
            EXPECT_LT(outcome.endedAt, expected + 0.4);
        }
    }
}

TEST(SerialFaults, GarbledLengthOrCountWritesNothingAndAGarbledReadingIsWhatArrived) {
    // L travels at 6-7: a smaller L makes the reply end before its readings.
    FaultPlan shortLength;
    shortLength.garble = {{6, 0x01}};
    Outcome outcome = Transfer(shortLength, 5000);
    ASSERT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.result.code, TransferCode::Inconsistent);
    EXPECT_EQ(outcome.target, kOldFile);

    // N travels at 4-5: more components than the reply holds.
    FaultPlan moreComponents;
    moreComponents.garble = {{5, 0x08}};
    outcome = Transfer(moreComponents, 5000);
    ASSERT_TRUE(outcome.completed);
    EXPECT_EQ(outcome.result.code, TransferCode::Inconsistent);
    EXPECT_EQ(outcome.target, kOldFile);

    // The first reading's low byte, 30 in the clean reply; no checksum can tell.
    FaultPlan reading;
    reading.garble = {{8 + 15, 0x40}};
    outcome = Transfer(reading, 5000);
    ASSERT_TRUE(outcome.completed);
    ASSERT_TRUE(outcome.result.Ok()) << outcome.result.cause;
    DzlReadResult file = ParseDzl(outcome.target.data(), outcome.target.size(), "target");
    ASSERT_TRUE(file.Ok());
    ASSERT_EQ(file.components.size(), 4u);
    EXPECT_EQ(file.components[0].points[0].value, 30 ^ 0x40);
}

TEST(SerialFaults, AShortStallOnlyDelaysTheReply) {
    const double lineSeconds = double(Reply().size() - 1) / kSerialBytesPerSecond;
    for (int stallMs : {0, 300, 8000}) {
        SCOPED_TRACE(stallMs);
        FaultPlan stall;
        stall.stallAt = 50;
        stall.stallMs = stallMs;
        Outcome outcome = Transfer(stall, 30000, 10000);
        ASSERT_TRUE(outcome.completed);
        EXPECT_TRUE(outcome.result.Ok()) << outcome.result.cause;
        // Counting paces itself to every 150 ms of the clock while bytes come, and once
        // more when they are all there.
        EXPECT_NEAR(outcome.counts, lineSeconds / 0.15 + 1, 2);
        EXPECT_GE(outcome.endedAt, lineSeconds + stallMs / 1000.0);
        EXPECT_LT(outcome.endedAt, lineSeconds + stallMs / 1000.0 + 0.3);
        DzlReadResult file = ParseDzl(outcome.target.data(), outcome.target.size(), "target");
        ASSERT_TRUE(file.Ok());
        EXPECT_EQ(file.components.size(), 4u);
    }
}

}  // namespace
}  // namespace ohmlet
