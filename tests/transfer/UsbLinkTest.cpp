#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "BlockingCh375.h"
#include "data/DzlFile.h"
#include "ReplyBytes.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/SimulatedCh375.h"
#include "transfer/UsbLink.h"

namespace ohmlet {
namespace {

std::unique_ptr<SimulatedCh375> ChipWith(const test::Bytes& reply) {
    return std::make_unique<SimulatedCh375>(*MakeUsbDeviceImage(reply));
}

TEST(UsbLink, WorkerDecodesOnItsThreadAndReportsOnOurs) {
    QTemporaryDir dir;
    std::string target = (dir.path() + "/DZLDat.DZL").toStdString();
    test::Bytes reply = test::UsbReply(
        {{{0, 0, 0, 1}, 26, 1, 2, 20, 100, {500, 600}}, {{0, 0, 0, 2}, 26, 1, 3, 20, 50, {700}}});
    UsbLink link;
    QSignalSpy ended(&link, &UsbLink::ended);
    QSignalSpy progress(&link, &UsbLink::progress);
    ASSERT_EQ(link.Start(ChipWith(reply), 0, target).status, UsbLink::StartStatus::Started);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_FALSE(link.IsRunning());
    ASSERT_TRUE(link.LastEnd().decoded);
    EXPECT_TRUE(link.LastEnd().result.written());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().at(0).toULongLong(), 48u + 64);  // heads, one point block
    EXPECT_EQ(progress.last().at(1).toULongLong(), reply.size());
    DzlReadResult file = ReadDzlFile(target);
    ASSERT_TRUE(file.ok());
    ASSERT_EQ(file.components.size(), 2u);
    EXPECT_EQ(file.components[1].points[0].value, 70);
}

TEST(UsbLink, CancelAbortsAHangingReadSendsTheEndRequestAndCloses) {
    auto chip = std::make_unique<test::BlockingCh375>();
    test::BlockingCh375* raw = chip.get();
    UsbLink link;
    QSignalSpy ended(&link, &UsbLink::ended);
    ASSERT_EQ(link.Start(std::move(chip), 0, "/nonexistent/DZLDat.DZL").status,
              UsbLink::StartStatus::Started);
    ASSERT_TRUE(raw->WaitUntilReading());
    EXPECT_TRUE(link.IsRunning());

    // A second start while the worker runs is refused, not run alongside.
    auto second = std::make_unique<test::BlockingCh375>();
    EXPECT_EQ(link.Start(std::move(second), 0, "x").status, UsbLink::StartStatus::Busy);

    link.Cancel();
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(link.LastEnd().transfer.status, UsbTransferOutcome::Status::Cancelled);
    EXPECT_FALSE(link.LastEnd().decoded);
    EXPECT_FALSE(raw->IsOpen());
    EXPECT_EQ(raw->EndRequests(), 1);

    // Once it has ended, the link starts again.
    auto third = std::make_unique<test::BlockingCh375>(test::BlockingCh375::Mode::ShortFirstBlock);
    EXPECT_EQ(link.Start(std::move(third), 0, "x").status, UsbLink::StartStatus::Started);
    ASSERT_TRUE(ended.wait(5000));
    EXPECT_EQ(link.LastEnd().transfer.status, UsbTransferOutcome::Status::BadReply);
}

TEST(UsbLink, DestroyingTheLinkStopsAndJoinsItsWorker) {
    auto record = std::make_shared<test::BlockingCh375::Record>();
    auto chip =
        std::make_unique<test::BlockingCh375>(test::BlockingCh375::Mode::HangOnRead, record);
    test::BlockingCh375* raw = chip.get();
    {
        UsbLink link;
        ASSERT_EQ(link.Start(std::move(chip), 0, "x").status, UsbLink::StartStatus::Started);
        ASSERT_TRUE(raw->WaitUntilReading());
    }
    // The worker ended before the link went: end request sent, device closed. Events
    // it posted to the dead link are dropped.
    EXPECT_EQ(record->endRequests.load(), 1);
    EXPECT_EQ(record->closes.load(), 1);
    QTest::qWait(50);
}

TEST(UsbLink, StartFailuresCarryTheDebugText) {
    auto chip = std::make_unique<SimulatedCh375>(ByteBuffer{});
    chip->FailOpen({LinkStatus::PermissionDenied, "test"});
    UsbLink link;
    UsbLink::StartOutcome out = link.Start(std::move(chip), 0, "x");
    EXPECT_EQ(out.status, UsbLink::StartStatus::Failed);
    EXPECT_EQ(out.message, "打开设备失败！");
    EXPECT_EQ(out.cause.status, LinkStatus::PermissionDenied);
    EXPECT_FALSE(link.IsRunning());
}

}  // namespace
}  // namespace ohmlet
