// The USB link against a simulated instrument that drops, cuts, garbles and stalls
// bytes and fails requests or reads at chosen blocks. Whatever happens, the transfer
// ends, the device is closed, and the target keeps its previous file unless a reply
// that decodes whole arrived.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <fstream>

#include "ReplyBytes.h"
#include "data/Criterion.h"
#include "data/DzlFile.h"
#include "transfer/Ch375Link.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferSession.h"
#include "transfer/sim/SimulatedCh375.h"

namespace ohmlet {
namespace {

using Status = TransferCode;

// Whether a whole reply arrived and was decoded, whatever the file came to.
bool Decoded(const TransferOutcome& end) {
    return end.code == Status::Written || end.code == Status::NoData ||
           end.code == Status::Inconsistent || end.code == Status::WriteFailed;
}

// Five components of 30 readings: the heads end inside block 1, the points fill
// blocks 168..172.
test::Bytes Reply() {
    std::vector<test::UsbHead> heads(5);
    for (std::size_t k = 0; k < heads.size(); ++k) {
        heads[k] = {{0, 0, 0, static_cast<unsigned char>(k + 1)}, 26, 3, 9, 20, 90, {}};
        for (unsigned i = 0; i < 30; ++i) heads[k].rawPoints.push_back(100 * (k + 1) + 10 * i);
    }
    return test::UsbReply(heads);
}

constexpr std::size_t kPoints = kUsbPointAreaBlock * kUsbBlockSize;  // address of the first point

ByteBuffer FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const ByteBuffer kOldFile = {1, 0, 0, 0, 'o', 'l', 'd'};

struct TransferRun {
    TransferOutcome end;
    ByteBuffer target;  // the target file afterwards
    bool closed = false;
    bool endRequestSent = false;
};

TransferRun Transfer(const FaultPlan& plan,
                     const std::function<void(TransferSession&)>& whileRunning = {}) {
    QTemporaryDir dir;
    const std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    std::ofstream(target, std::ios::binary)
        .write(reinterpret_cast<const char*>(kOldFile.data()), kOldFile.size());
    auto chip = std::make_unique<SimulatedCh375>(*MakeUsbDeviceImage(Reply()));
    chip->SetFaultPlan(plan);
    SimulatedCh375* raw = chip.get();
    TransferRun run;
    SimulatedClock clock;  // the close's pauses for the driver take no real time
    TransferSession link;
    QSignalSpy ended(&link, &TransferSession::ended);
    QSignalSpy progress(&link, &TransferSession::progress);
    EXPECT_EQ(
        link.Start(std::make_unique<Ch375Link>(std::move(chip), 0, clock), ReplyLayout::Usb, target)
            .code,
        StartCode::Started);
    if (whileRunning) whileRunning(link);
    // Long enough for any transfer here; a link that hangs fails the test instead of it.
    EXPECT_TRUE(ended.count() > 0 || ended.wait(20000)) << "the transfer did not end";
    run.end = link.Result();
    run.closed = !raw->IsOpen();
    EXPECT_EQ(clock.Elapsed(), std::chrono::milliseconds(50 + 20)) << "one close, both pauses";
    auto writes = raw->Writes();
    run.endRequestSent = !writes.empty() && writes.back() == ByteBuffer{0, 0, 0};
    run.target = FileBytes(target);
    return run;
}

TEST(UsbFaults, EveryFaultEndsClosedAndOnlyAWholeReplyReplacesTheFile) {
    const ByteBuffer clean = [] {
        QTemporaryDir dir;
        std::string path = (dir.path() + "/clean.DZL").toStdString();
        // A download fills the empty pass bands the decoder leaves.
        std::vector<Component> decoded = DecodeUsbReply(Reply()).components;
        FillEmptyBands(decoded, BuiltInDownloadCriterion());
        EXPECT_TRUE(WriteDzlFile(path, decoded).Ok());
        return FileBytes(path);
    }();
    auto plan = [](auto change) {
        FaultPlan p;
        change(p);
        return p;
    };
    struct Case {
        const char* what;
        FaultPlan plan;
        Status status;
        bool written;  // the clean file replaced the old one
    };
    const Case cases[] = {
        {"no fault", {}, Status::Written, true},
        {"a short stall", plan([](FaultPlan& p) { p.stallAt = kPoints + 64, p.stallMs = 100; }),
         Status::Written, true},
        {"a byte of the heads dropped", plan([](FaultPlan& p) { p.dropBytes = {20}; }),
         Status::BadBlocks, false},
        {"a byte of the points dropped", plan([](FaultPlan& p) { p.dropBytes = {kPoints + 130}; }),
         Status::BadBlocks, false},
        {"the heads cut off", plan([](FaultPlan& p) { p.cutAt = 70; }), Status::BadBlocks, false},
        {"the points cut off", plan([](FaultPlan& p) { p.cutAt = kPoints + 100; }),
         Status::BadBlocks, false},
        {"no point block at all", plan([](FaultPlan& p) { p.cutAt = kPoints; }), Status::BadBlocks,
         false},
        {"request of block 0 fails", plan([](FaultPlan& p) { p.failWriteBlocks = {0}; }),
         Status::RequestFailed, false},
        {"request of block 169 fails", plan([](FaultPlan& p) { p.failWriteBlocks = {169}; }),
         Status::RequestFailed, false},
        {"read of block 1 fails", plan([](FaultPlan& p) { p.failReadBlocks = {1}; }),
         Status::ReadFailed, false},
        {"read of block 172 fails",
         plan([](FaultPlan& p) { p.failReadBlocks = {172}, p.failure = LinkStatus::TimedOut; }),
         Status::ReadFailed, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TransferRun run = Transfer(c.plan);
        EXPECT_EQ(run.end.code, c.status);
        EXPECT_TRUE(run.closed);
        EXPECT_TRUE(run.endRequestSent);
        EXPECT_EQ(Decoded(run.end), c.status == Status::Written);
        EXPECT_EQ(run.target, c.written ? clean : kOldFile);
        if (c.status == Status::BadBlocks) {
            EXPECT_FALSE(run.end.cause.empty());
        }
    }
}

TEST(UsbFaults, GarbledBytesNeverCrashAndAnInconsistentReplyWritesNothing) {
    // A = 300 bytes of points travels at 6-7; one flipped bit makes it 44, and the
    // heads then claim readings the point area does not hold.
    FaultPlan shortLength;
    shortLength.garble = {{6, 0x01}};
    TransferRun run = Transfer(shortLength);
    EXPECT_EQ(run.end.code, TransferCode::Inconsistent);
    EXPECT_EQ(run.target, kOldFile);

    // The protocol has no checksum: a garbled reading arrives as another reading, and
    // the file holds exactly what was received.
    FaultPlan reading;
    reading.garble = {{kPoints + 1, 0x50}};
    run = Transfer(reading);
    ASSERT_TRUE(run.end.Ok());
    DzlReadResult file = ParseDzl(run.target.data(), run.target.size(), "target");
    ASSERT_TRUE(file.Ok());
    ASSERT_EQ(file.components.size(), 5u);
    EXPECT_EQ(file.components[0].points[0].value, ((100 ^ 0x50) / 10));

    // Every single byte of the heads garbled in turn: whatever decodes is written whole,
    // whatever does not leaves the old file.
    for (std::size_t at = 0; at < 96; ++at) {
        SCOPED_TRACE(at);
        FaultPlan p;
        p.garble = {{at, 0xA5}};
        run = Transfer(p);
        EXPECT_TRUE(run.closed);
        if (run.end.Ok()) {
            DzlReadResult back = ParseDzl(run.target.data(), run.target.size(), "target");
            ASSERT_TRUE(back.Ok());
            EXPECT_EQ(static_cast<int>(back.components.size()), run.end.componentCount);
        } else {
            EXPECT_EQ(run.target, kOldFile);
        }
    }
}

TEST(UsbFaults, CancelEndsAStalledReadAndKeepsTheOldFile) {
    FaultPlan plan;
    plan.stallAt = kPoints + 64 + 5;  // inside block 169
    plan.stallMs = 600000;
    TransferRun run = Transfer(plan, [](TransferSession& link) {
        QSignalSpy progress(&link, &TransferSession::progress);
        // Block 168 arrived: the heads and one block of points.
        while (progress.isEmpty() || progress.last().at(0).toULongLong() < 96 + 64)
            ASSERT_TRUE(progress.wait(5000));
        link.Cancel();
    });
    EXPECT_EQ(run.end.code, Status::Cancelled);
    EXPECT_FALSE(Decoded(run.end));
    EXPECT_TRUE(run.closed);
    EXPECT_TRUE(run.endRequestSent);
    EXPECT_EQ(run.target, kOldFile);
    EXPECT_EQ(run.end.received.size(), 96u + 64u);  // what arrived stays for the user
}

}  // namespace
}  // namespace ohmlet
