#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <deque>
#include <thread>

#include "BlockingCh375.h"
#include "ReplyBytes.h"
#include "data/DzlFile.h"
#include "transfer/Ch375Link.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferSession.h"
#include "transfer/sim/SimulatedCh375.h"

namespace ohmlet {
namespace {

std::unique_ptr<Link> UsbOver(std::unique_ptr<Ch375> chip) {
    static SimulatedClock clock;  // the close's pauses take no real time
    return std::make_unique<Ch375Link>(std::move(chip), 0, clock);
}

std::unique_ptr<Link> ChipWith(const test::Bytes& reply) {
    return UsbOver(std::make_unique<SimulatedCh375>(*MakeUsbDeviceImage(reply)));
}

TEST(TransferSession, UsbWorkerDecodesOnItsThreadAndReportsOnOurs) {
    QTemporaryDir dir;
    std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    test::Bytes reply = test::UsbReply(
        {{{0, 0, 0, 1}, 26, 1, 2, 20, 100, {500, 600}}, {{0, 0, 0, 2}, 26, 1, 3, 20, 50, {700}}});
    TransferSession link;
    QSignalSpy ended(&link, &TransferSession::ended);
    QSignalSpy progress(&link, &TransferSession::progress);
    ASSERT_EQ(link.Start(ChipWith(reply), ReplyLayout::Usb, target).code, StartCode::Started);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_FALSE(link.IsRunning());
    EXPECT_EQ(link.Result().code, TransferCode::Written);
    EXPECT_EQ(link.Result().componentCount, 2);
    EXPECT_TRUE(link.Result().received.empty());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toULongLong(), 48u + 64);  // heads, one point block
    EXPECT_EQ(progress.last().at(1).toULongLong(), reply.size());
    DzlReadResult file = ReadDzlFile(target);
    ASSERT_TRUE(file.Ok());
    ASSERT_EQ(file.components.size(), 2u);
    EXPECT_EQ(file.components[1].points[0].value, 70);
}

TEST(TransferSession, UsbCancelAbortsAHangingReadSendsTheEndRequestAndCloses) {
    auto chip = std::make_unique<test::BlockingCh375>();
    test::BlockingCh375* raw = chip.get();
    TransferSession link;
    QSignalSpy ended(&link, &TransferSession::ended);
    ASSERT_EQ(
        link.Start(UsbOver(std::move(chip)), ReplyLayout::Usb, "/nonexistent/DZLDat.DZL").code,
        StartCode::Started);
    ASSERT_TRUE(raw->WaitUntilReading());
    EXPECT_TRUE(link.IsRunning());

    // A second start while the worker runs is refused, not run alongside.
    auto second = std::make_unique<test::BlockingCh375>();
    EXPECT_EQ(link.Start(UsbOver(std::move(second)), ReplyLayout::Usb, "x").code, StartCode::Busy);

    link.Cancel();
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(link.Result().code, TransferCode::Cancelled);
    EXPECT_FALSE(raw->IsOpen());
    EXPECT_EQ(raw->EndRequests(), 1);

    // Once it has ended, the link starts again.
    auto third = std::make_unique<test::BlockingCh375>(test::BlockingCh375::Mode::ShortFirstBlock);
    EXPECT_EQ(link.Start(UsbOver(std::move(third)), ReplyLayout::Usb, "x").code,
              StartCode::Started);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(link.Result().code, TransferCode::BadBlocks);
}

TEST(TransferSession, UsbDestroyingTheLinkStopsAndJoinsItsWorker) {
    auto record = std::make_shared<test::BlockingCh375::Record>();
    auto chip =
        std::make_unique<test::BlockingCh375>(test::BlockingCh375::Mode::HangOnRead, record);
    test::BlockingCh375* raw = chip.get();
    {
        TransferSession link;
        ASSERT_EQ(link.Start(UsbOver(std::move(chip)), ReplyLayout::Usb, "x").code,
                  StartCode::Started);
        ASSERT_TRUE(raw->WaitUntilReading());
    }
    // The worker ended before the link went: end request sent, device closed. Events
    // it posted to the dead link are dropped.
    EXPECT_EQ(record->endRequests.load(), 1);
    EXPECT_EQ(record->closes.load(), 1);
    QTest::qWait(50);
}

TEST(TransferSession, UsbStartFailuresCarryTheDebugText) {
    auto chip = std::make_unique<SimulatedCh375>(ByteBuffer{});
    chip->FailOpen(LinkFailure(LinkStatus::PermissionDenied, "test"));
    TransferSession link;
    QSignalSpy ended(&link, &TransferSession::ended);
    StartOutcome out = link.Start(UsbOver(std::move(chip)), ReplyLayout::Usb, "x");
    EXPECT_EQ(out.code, StartCode::OpenFailed);
    EXPECT_EQ(out.text, "打开设备失败！");
    EXPECT_EQ(out.link, LinkStatus::PermissionDenied);
    EXPECT_NE(out.cause.find("permission denied"), std::string::npos) << out.cause;
    EXPECT_NE(out.cause.find("test"), std::string::npos) << out.cause;
    EXPECT_FALSE(link.IsRunning());
    QTest::qWait(20);
    EXPECT_EQ(ended.count(), 0);  // a start that failed has no end to report
}

// A serial line from a script, for the session: hands out one piece per read, then
// waits (as a silent instrument does) until aborted. Records the threads it ran on.
class PacedLink : public Link {
public:
    struct Record {
        std::atomic<int> opens{0}, closes{0}, aborts{0};
        std::thread::id openedOn, closedOn;
    };
    PacedLink(std::deque<ByteBuffer> pieces, std::shared_ptr<Record> record,
              LinkResult openResult = {})
        : pieces_(std::move(pieces)), record_(std::move(record)), open_(std::move(openResult)) {}
    LinkResult Open() override {
        ++record_->opens;
        record_->openedOn = std::this_thread::get_id();
        return open_;
    }
    LinkResult Write(const unsigned char*, std::size_t) override { return {}; }
    LinkResult Read(ByteBuffer& out, std::size_t, int timeoutMs) override {
        if (!pieces_.empty()) {
            out.insert(out.end(), pieces_.front().begin(), pieces_.front().end());
            pieces_.pop_front();
            return {};
        }
        for (int waited = 0; waited < timeoutMs && !aborted_; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return aborted_ ? LinkFailure(LinkStatus::Aborted, {}) : LinkResult{};
    }
    void Abort() override {
        ++record_->aborts;
        aborted_ = true;
    }
    void Close() override {
        ++record_->closes;
        record_->closedOn = std::this_thread::get_id();
    }

private:
    std::deque<ByteBuffer> pieces_;
    std::shared_ptr<Record> record_;
    LinkResult open_;
    std::atomic<bool> aborted_{false};
};

// Half a reply arrives, then the line falls silent; the user cancels. Progress came in
// order and on our thread, the result comes once, and the link was opened and closed
// on the worker.
TEST(TransferSession, SerialProgressThenCancelEndsOnceWithWhatArrived) {
    test::Bytes reply = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    auto record = std::make_shared<PacedLink::Record>();
    std::deque<ByteBuffer> pieces = {ByteBuffer(reply.begin(), reply.begin() + 4),
                                     ByteBuffer(reply.begin() + 4, reply.begin() + 12)};
    TransferSession session;
    QSignalSpy ended(&session, &TransferSession::ended);
    QSignalSpy progress(&session, &TransferSession::progress);
    ASSERT_EQ(session
                  .Start(std::make_unique<PacedLink>(pieces, record), ReplyLayout::Serial,
                         "/nonexistent/DZLDat.DZL")
                  .code,
              StartCode::Started);
    EXPECT_EQ(record->opens.load(), 1);  // open before Start returns
    while (progress.isEmpty() || progress.last().at(0).toULongLong() < 12)
        ASSERT_TRUE(progress.wait(5000));
    EXPECT_TRUE(session.IsRunning());
    session.Cancel();
    ASSERT_TRUE(ended.wait(5000));
    QTest::qWait(20);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(session.IsRunning());
    EXPECT_EQ(session.Result().code, TransferCode::Cancelled);
    EXPECT_EQ(session.Result().received.size(), 12u);
    const std::vector<qulonglong> received = [&] {
        std::vector<qulonglong> r;
        for (const auto& signal : progress) r.push_back(signal.at(0).toULongLong());
        return r;
    }();
    EXPECT_EQ(received, (std::vector<qulonglong>{0, 4, 12}));
    EXPECT_EQ(progress.last().at(1).toULongLong(), reply.size());  // the header was in
    EXPECT_GE(record->aborts.load(), 1);
    EXPECT_EQ(record->closes.load(), 1);
    EXPECT_NE(record->openedOn, std::this_thread::get_id());
    EXPECT_EQ(record->closedOn, record->openedOn);
}

TEST(TransferSession, SerialReplyEndsOnceWrittenAndAnOldRunsEndIsDropped) {
    QTemporaryDir dir;
    std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    test::Bytes reply = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    auto record = std::make_shared<PacedLink::Record>();
    TransferSession session;
    QSignalSpy ended(&session, &TransferSession::ended);
    // A first run that hangs, cancelled and waited for: its end must not be reported
    // as the second run's.
    ASSERT_TRUE(session
                    .Start(std::make_unique<PacedLink>(std::deque<ByteBuffer>{}, record),
                           ReplyLayout::Serial, target)
                    .Ok());
    session.CancelAndWait();
    ASSERT_TRUE(
        session
            .Start(std::make_unique<PacedLink>(
                       std::deque<ByteBuffer>{ByteBuffer(reply.begin(), reply.end())}, record),
                   ReplyLayout::Serial, target)
            .Ok());
    ASSERT_TRUE(ended.wait(5000));
    QTest::qWait(20);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(session.Result().code, TransferCode::Written) << session.Result().cause;
    EXPECT_EQ(session.Result().text, "数据传输结束!");
    EXPECT_EQ(session.Result().componentCount, 1);
    EXPECT_EQ(record->closes.load(), 2);
    DzlReadResult file = ReadDzlFile(target);
    ASSERT_TRUE(file.Ok());
    EXPECT_EQ(file.components[0].points[2].value, 30);
}

TEST(TransferSession, OpenFailuresCarryTheFixedTextAndTheCause) {
    struct Case {
        const char* what;
        bool noLink;
        ReplyLayout layout;
        LinkResult open;
        const char* text;
        LinkStatus link;
        const char* cause;
    } cases[] = {
        {"no port chosen",
         true,
         ReplyLayout::Serial,
         {},
         "不能打开串口!",
         LinkStatus::NoSuchDevice,
         "no such device: no port chosen"},
        {"serial port in use", false, ReplyLayout::Serial,
         LinkFailure(LinkStatus::InUse, "/dev/ttyS0: locked"), "不能打开串口!", LinkStatus::InUse,
         "in use by another program: /dev/ttyS0: locked"},
        {"USB without its own text", false, ReplyLayout::Usb,
         LinkFailure(LinkStatus::PermissionDenied, "x"), "打开设备失败！",
         LinkStatus::PermissionDenied, "udev rule"},
        {"USB with its own text", false, ReplyLayout::Usb,
         LinkFailure(LinkStatus::Failed, "no name", "无法打开设备！"), "无法打开设备！",
         LinkStatus::Failed, "failed: no name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto record = std::make_shared<PacedLink::Record>();
        TransferSession session;
        QSignalSpy ended(&session, &TransferSession::ended);
        std::unique_ptr<Link> link;
        if (!c.noLink) link = std::make_unique<PacedLink>(std::deque<ByteBuffer>{}, record, c.open);
        StartOutcome out = session.Start(std::move(link), c.layout, "x");
        EXPECT_EQ(out.code, StartCode::OpenFailed);
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(out.link, c.link);
        EXPECT_NE(out.cause.find(c.cause), std::string::npos) << out.cause;
        EXPECT_FALSE(session.IsRunning());
        QTest::qWait(10);
        EXPECT_EQ(ended.count(), 0);
    }
}

// The raw reply stays with the result whenever the file was not written, and after a
// written transfer only when asked for: `fetch --save-reply` and the dialog's offer
// save exactly these bytes.
TEST(TransferSession, TheReplyIsKeptWhenItFailsOrWhenAsked) {
    QTemporaryDir dir;
    const std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    const test::Bytes good = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    test::Bytes twoClaimed = good;
    twoClaimed[5] = 2;  // two components in a reply that holds one
    const test::Bytes noData = {0, 0, 0, 0, 0, 0, 0, 8};
    const struct {
        const char* what;
        test::Bytes reply;
        bool keep;
        TransferCode code;
        bool kept;
    } cases[] = {
        {"written", good, false, TransferCode::Written, false},
        {"written, kept as asked", good, true, TransferCode::Written, true},
        {"refused by the decoder", twoClaimed, false, TransferCode::Inconsistent, true},
        {"no data", noData, false, TransferCode::NoData, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TransferSession session;
        session.SetKeepReply(c.keep);
        QSignalSpy ended(&session, &TransferSession::ended);
        auto link = std::make_unique<PacedLink>(
            std::deque<ByteBuffer>{ByteBuffer(c.reply.begin(), c.reply.end())},
            std::make_shared<PacedLink::Record>());
        ASSERT_TRUE(session.Start(std::move(link), ReplyLayout::Serial, target).Ok());
        ASSERT_TRUE(ended.wait(5000));
        EXPECT_EQ(session.Result().code, c.code) << session.Result().cause;
        EXPECT_EQ(session.Result().received,
                  c.kept ? ByteBuffer(c.reply.begin(), c.reply.end()) : ByteBuffer{});
    }
}

}  // namespace
}  // namespace ohmlet
