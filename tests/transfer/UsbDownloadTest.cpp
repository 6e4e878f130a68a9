#include <gtest/gtest.h>

#include "ReplyBytes.h"
#include "UsbRun.h"
#include "transfer/Ch375Fallback.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferTexts.h"
#include "transfer/sim/SimulatedCh375.h"

namespace ohmlet {
namespace {

// A reply with n components of pointsEach raw readings 10, 20, ...
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

struct Session {
    explicit Session(const test::Bytes& reply)
        : chip(new SimulatedCh375(*MakeUsbDeviceImage(reply))),
          connection(std::unique_ptr<Ch375>(chip), 0) {}
    SimulatedCh375* chip;
    test::UsbRun connection;

    std::vector<int> RequestedBlocks() const {
        std::vector<int> blocks;
        for (const auto& w : chip->Writes()) {
            if (w.size() == 2) blocks.push_back(w[0] << 8 | w[1]);
        }
        return blocks;
    }
    bool EndedWithEndRequest() const {
        auto writes = chip->Writes();
        return !writes.empty() && writes.back() == ByteBuffer{0, 0, 0};
    }
};

std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int b = from; b <= to; ++b) r.push_back(b);
    return r;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(UsbDownload, BlockSequenceFollowsTheHeadBoundary) {
    struct Case {
        std::size_t n, pointsEach;
        std::vector<int> blocks;
    } cases[] = {
        {2, 2, {0, 168}},                                 // H = 48: block 0 gives 48 bytes
        {3, 1, {0, 1, 168}},                              // H = 64: block 1 gives none
        {300, 1, Concat(Range(0, 75), Range(168, 177))},  // H = 4816, A = 600
        {0, 0, {0}},                                      // complete after 16 bytes
        {1, 4300, Concat({0}, Range(168, 302))},          // A = 8600: block 300 is 01 2C
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("N = " + std::to_string(c.n));
        test::Bytes reply = ReplyWith(c.n, c.pointsEach);
        Session s(reply);
        ASSERT_TRUE(s.connection.Open().Ok());
        DownloadOutcome out = s.connection.Run();
        EXPECT_EQ(out.code, DownloadCode::Complete);
        EXPECT_EQ(s.RequestedBlocks(), c.blocks);
        // The heads cut at H, then whole point blocks: the reply and the rest of its
        // last block.
        std::size_t heads = 16 * (c.n + 1), area = reply.size() - heads;
        ASSERT_EQ(s.connection.reply.size(), heads + (area + 63) / 64 * 64);
        EXPECT_TRUE(std::equal(reply.begin(), reply.end(), s.connection.reply.begin()));
        EXPECT_TRUE(s.EndedWithEndRequest());
        EXPECT_FALSE(s.chip->IsOpen());
        EXPECT_EQ(s.chip->CloseCount(), 1);
        EXPECT_EQ(s.connection.received, s.connection.reply.size());
        EXPECT_EQ(s.connection.expected, reply.size());
    }
}

TEST(UsbDownload, BlockNumberTravelsHighByteFirst) {
    Session s(ReplyWith(1, 4300));
    ASSERT_TRUE(s.connection.Open().Ok());
    s.connection.Run();
    auto writes = s.chip->Writes();
    EXPECT_NE(std::find(writes.begin(), writes.end(), ByteBuffer{0x00, 0xA8}), writes.end());
    EXPECT_NE(std::find(writes.begin(), writes.end(), ByteBuffer{0x01, 0x2C}), writes.end());
}

TEST(UsbDownload, FailuresEndWithTheEndRequestAndAClosedDevice) {
    struct Case {
        const char* what;
        bool failWrite;
        std::size_t at;
        DownloadCode status;
        std::string text;
        std::size_t bytesKept;
        std::vector<int> blocks;
    } cases[] = {
        {"first request fails",
         true,
         0,
         DownloadCode::RequestFailed,
         transfer_texts::kUsbRequestFailed,
         0,
         {0}},
        {"third request fails",
         true,
         2,
         DownloadCode::RequestFailed,
         transfer_texts::kUsbRequestFailed,
         128,
         {0, 1, 2}},
        {"first read fails", false, 0, DownloadCode::ReadFailed, "", 0, {0}},
        {"third read fails", false, 2, DownloadCode::ReadFailed, "", 128, {0, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s(ReplyWith(10, 3));  // H = 176: blocks 0, 1, 2 then 168
        if (c.failWrite) {
            s.chip->FailWrite(c.at);
        } else {
            s.chip->FailRead(c.at);
        }
        ASSERT_TRUE(s.connection.Open().Ok());
        DownloadOutcome out = s.connection.Run();
        EXPECT_EQ(out.code, c.status);
        EXPECT_EQ(out.text, c.text);
        EXPECT_NE(out.link, LinkStatus::Ok);
        EXPECT_EQ(s.connection.reply.size(), c.bytesKept);
        EXPECT_EQ(s.RequestedBlocks(), c.blocks);
        EXPECT_TRUE(s.EndedWithEndRequest());
        EXPECT_FALSE(s.chip->IsOpen());
        EXPECT_FALSE(s.connection.link.IsOpen());
    }
}

TEST(UsbDownload, OpenFailuresKeepTheirCauseAndLeaveNothingOpen) {
    struct Case {
        const char* what;
        unsigned index;
        LinkStatus status;
        bool failName;
        const char* text;
    } cases[] = {
        {"absent port", 3, LinkStatus::NoSuchDevice, false, transfer_texts::kUsbOpenFailed},
        {"permission", 0, LinkStatus::PermissionDenied, false, transfer_texts::kUsbOpenFailed},
        {"in use", 0, LinkStatus::InUse, false, transfer_texts::kUsbOpenFailed},
        {"no name", 0, LinkStatus::Failed, true, transfer_texts::kUsbPipeFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto chip = std::make_unique<SimulatedCh375>(ByteBuffer(64, 0));
        SimulatedCh375* raw = chip.get();
        if (c.failName) {
            raw->FailName();
        } else if (c.status != LinkStatus::NoSuchDevice) {
            raw->FailOpen(LinkFailure(c.status, "test"));
        }
        Ch375Link link(std::move(chip), c.index);
        LinkResult out = link.Open();
        EXPECT_FALSE(out.Ok());
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(out.code, c.status);
        EXPECT_FALSE(raw->IsOpen());
        EXPECT_FALSE(link.IsOpen());
    }
}

// A cancel whose abort reaches the chip after the loop last looked at the cancel flag:
// the next request comes back aborted. That is the user's cancel, not a failed request
// (no "端点2下传失败" box); the same aborted request without a cancel is a failure.
TEST(UsbDownload, ARequestEndedByACancelEndsCancelled) {
    // Delegates to the simulated chip; the chosen request meets the cancel's abort.
    struct CancellingChip : Ch375 {
        CancellingChip(ByteBuffer image, std::size_t at) : inner(std::move(image)), at(at) {}
        SimulatedCh375 inner;
        std::size_t at, writes = 0;
        std::atomic<bool>* cancel = nullptr;
        LinkResult OpenDevice(unsigned i) override { return inner.OpenDevice(i); }
        std::string DeviceName(unsigned i) override { return inner.DeviceName(i); }
        LinkResult WriteData(unsigned i, const unsigned char* d, std::size_t& n) override {
            if (writes++ != at) return inner.WriteData(i, d, n);
            if (cancel) *cancel = true;
            n = 0;
            return {LinkStatus::Aborted, {}, {}};
        }
        LinkResult ReadData(unsigned i, unsigned char* d, std::size_t& n) override {
            return inner.ReadData(i, d, n);
        }
        void AbortWrite(unsigned i) override { inner.AbortWrite(i); }
        void AbortRead(unsigned i) override { inner.AbortRead(i); }
        void CloseDevice(unsigned i) override { inner.CloseDevice(i); }
    };
    struct Case {
        const char* what;
        bool cancelled;
        DownloadCode status;
        std::string text;
    } cases[] = {
        {"the user cancelled", true, DownloadCode::Cancelled, ""},
        {"nobody cancelled", false, DownloadCode::RequestFailed, transfer_texts::kUsbRequestFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto chip = std::make_unique<CancellingChip>(*MakeUsbDeviceImage(ReplyWith(10, 3)), 1);
        CancellingChip* raw = chip.get();
        test::UsbRun connection(std::move(chip), 0);
        if (c.cancelled) raw->cancel = &connection.cancel;
        ASSERT_TRUE(connection.Open().Ok());
        DownloadOutcome out = connection.Run();
        EXPECT_EQ(out.code, c.status);
        EXPECT_EQ(out.text, c.text);
        EXPECT_EQ(out.link, LinkStatus::Aborted);
        EXPECT_EQ(connection.reply.size(), 64u);
        auto writes = raw->inner.Writes();
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(writes.back(), (ByteBuffer{0, 0, 0}));
        EXPECT_FALSE(raw->inner.IsOpen());
    }
}

// The first way that opens serves the transfer; when neither does, the first one's cause
// (what to install) stays and the second's follows.
TEST(UsbFallback, TheFirstWayThatOpensServesAndBothCausesAreKept) {
    const struct {
        bool firstOpens, secondOpens;
        int served;  // 0 first, 1 second, -1 none
        const char* cause;
    } cases[] = {
        {true, true, 0, ""},
        {false, true, 1, ""},
        {false, false, -1, "library missing; nor through WinUSB: no WinUSB device"},
    };
    for (const auto& c : cases) {
        auto first = std::make_unique<SimulatedCh375>(ByteBuffer(64, 0));
        auto second = std::make_unique<SimulatedCh375>(ByteBuffer(64, 0));
        if (!c.firstOpens)
            first->FailOpen(LinkFailure(LinkStatus::NoSuchDevice, "library missing"));
        if (!c.secondOpens)
            second->FailOpen(LinkFailure(LinkStatus::NoSuchDevice, "no WinUSB device"));
        SimulatedCh375* chips[] = {first.get(), second.get()};
        Ch375Fallback either(std::move(first), std::move(second));
        const LinkResult opened = either.OpenDevice(0);
        EXPECT_EQ(opened.Ok(), c.served >= 0) << c.served;
        EXPECT_EQ(opened.cause, c.cause);
        const unsigned char request[2] = {0, 0};
        std::size_t count = 2;
        EXPECT_EQ(either.WriteData(0, request, count).Ok(), c.served >= 0);
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(chips[k]->Writes().size(), k == c.served ? 1u : 0u) << k;
        either.CloseDevice(0);
        for (int k = 0; k < 2; ++k) EXPECT_FALSE(chips[k]->IsOpen()) << k;
    }
}

}  // namespace
}  // namespace ohmlet
