// The production libusb link against an emulated CH375 below libusb: the usbdevfs
// requests libusb makes are answered by EmulatedCh375, so everything from the block
// loop down to the URBs is the code that runs with the instrument.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "EmulatedCh375.h"
#include "LibusbCh375.h"
#include "ReplyBytes.h"
#include "ReplyEncoder.h"
#include "SimulatedCh375.h"
#include "TransferResult.h"
#include "TransferTexts.h"
#include "UsbSession.h"

namespace ohmlet {
namespace {

using test::EmulatedCh375;
using Fault = EmulatedCh375::Fault;
using Status = UsbTransferOutcome::Status;

// n components of pointsEach raw readings 10, 20, ...
test::Bytes ReplyWith(std::size_t n, std::size_t pointsEach) {
    std::vector<test::UsbHead> heads(n);
    unsigned raw = 10;
    for (std::size_t k = 0; k < n; ++k) {
        heads[k] = {
            {0, 0, static_cast<unsigned char>(k / 36 % 36), static_cast<unsigned char>(k % 36)},
            26,
            1,
            1,
            20,
            100,
            {}};
        for (std::size_t i = 0; i < pointsEach; ++i, raw += 10)
            heads[k].rawPoints.push_back(raw % 65536);
    }
    return test::UsbReply(heads);
}

ByteBuffer FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int b = from; b <= to; ++b) r.push_back(b);
    return r;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class UsbEmulation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EmulatedCh375::InMockEnvironment())
            << "run with libumockdev-preload (umockdev-wrapper, or LD_PRELOAD as CTest does)";
        ASSERT_TRUE(dir_.isValid());
    }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }

    // One whole transfer through the production chip, as the command line runs it.
    struct Run {
        UsbOpenOutcome open;
        UsbTransferOutcome transfer;
    };
    static Run Transfer(unsigned index = 0,
                        const std::function<void(UsbConnection&)>& prepare = {}) {
        UsbConnection connection(std::make_unique<LibusbCh375>(), index);
        Run run;
        run.open = OpenUsbConnection(connection);
        if (!run.open.ok) return run;
        if (prepare) prepare(connection);
        connection.workerRunning = true;
        run.transfer = RunUsbTransfer(connection);
        connection.workerRunning = false;
        return run;
    }

    QTemporaryDir dir_;
};

TEST_F(UsbEmulation, BlockSequencesMatchTheSimulatedChipAndWriteTheSameFile) {
    struct Case {
        std::size_t n, pointsEach;
        std::vector<int> blocks;
    } cases[] = {
        {0, 0, {0}},                                      // complete after 16 bytes: no data
        {2, 2, {0, 168}},                                 // H = 48
        {3, 1, {0, 1, 168}},                              // H = 64: block 1 adds nothing
        {300, 1, Concat(Range(0, 75), Range(168, 177))},  // H = 4816
        {1, 4300, Concat({0}, Range(168, 302))},          // 8600 bytes of points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("N = " + std::to_string(c.n));
        const test::Bytes reply = ReplyWith(c.n, c.pointsEach);
        const ByteBuffer image = *MakeUsbDeviceImage(reply);
        EmulatedCh375 device(image);

        Run run = Transfer();
        ASSERT_TRUE(run.open.ok) << DescribeLinkResult(run.open.cause);
        EXPECT_EQ(run.transfer.status, Status::Complete) << DescribeLinkResult(run.transfer.cause);
        EXPECT_EQ(device.RequestedBlocks(), c.blocks);
        EXPECT_TRUE(device.EndedWithEndRequest());
        EXPECT_EQ(device.Claims(), 1);
        EXPECT_EQ(device.Releases(), 1);
        EXPECT_EQ(device.Opens(), 1);
        EXPECT_EQ(device.OpenHandles(), 0);
        EXPECT_EQ(device.UnknownRequests(), "");

        // The simulated chip on the same image: same bytes, same file.
        UsbConnection simulated(std::make_unique<SimulatedCh375>(image), 0);
        ASSERT_TRUE(OpenUsbConnection(simulated).ok);
        UsbTransferOutcome expected = RunUsbTransfer(simulated);
        EXPECT_EQ(run.transfer.reply, expected.reply);
        const std::string real = Path("real.DZL"), sim = Path("sim.DZL");
        std::remove(real.c_str());
        std::remove(sim.c_str());
        TransferResult a = DecodeAndWrite(ReplyLayout::Usb, run.transfer.reply, real);
        TransferResult b = DecodeAndWrite(ReplyLayout::Usb, expected.reply, sim);
        EXPECT_EQ(a.status, b.status);
        EXPECT_EQ(a.componentCount, static_cast<int>(c.n));
        EXPECT_EQ(FileBytes(real), FileBytes(sim));
        EXPECT_EQ(a.status,
                  c.n == 0 ? TransferResult::Status::NoData : TransferResult::Status::Written);
    }
}

}  // namespace
}  // namespace ohmlet
