#include <gtest/gtest.h>

#include <deque>

#include "ReplyBytes.h"
#include "transfer/Download.h"

namespace ohmlet {
namespace {

// A port that delivers scripted pieces, one per read, and records what was written.
// Once the script is out it has nothing more, or, with a cancel flag, sets it.
struct ScriptedPort {
    std::deque<ByteBuffer> pieces;
    std::vector<ByteBuffer> written;
    std::vector<int> timeouts;  // each read's wait
    LinkResult readFailure;     // given once the pieces are out
    std::atomic<bool>* cancelWhenDry = nullptr;
    int aborts = 0;
    Clock* clock = nullptr;  // a dry read waits its time-out on it, as a port would
};

class ScriptedLink : public Link {
public:
    explicit ScriptedLink(ScriptedPort& port) : port_(port) {}
    LinkResult Open() override { return {}; }
    LinkResult Write(const unsigned char* data, std::size_t size) override {
        port_.written.emplace_back(data, data + size);
        return {};
    }
    LinkResult Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) override {
        port_.timeouts.push_back(timeoutMs);
        if (port_.pieces.empty()) {
            if (port_.clock) port_.clock->SleepFor(std::chrono::milliseconds(timeoutMs));
            if (port_.cancelWhenDry) *port_.cancelWhenDry = true;
            return port_.readFailure;
        }
        ByteBuffer& piece = port_.pieces.front();
        std::size_t n = std::min(maxBytes, piece.size());
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
        piece.erase(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
        if (piece.empty()) port_.pieces.pop_front();
        return {};
    }
    void Abort() override { ++port_.aborts; }
    void Close() override {}

private:
    ScriptedPort& port_;
};

const ByteBuffer kRequest = {'B', 'H', 'V', '2', '0', '!'};

struct Progress {
    std::vector<std::size_t> received, expected;
    DownloadProgress Callback() {
        return [this](std::size_t r, std::size_t e) {
            received.push_back(r);
            expected.push_back(e);
        };
    }
};

TEST(SerialDownload, ReplyInPiecesIsCollectedInOrderAndReportedAsItGrows) {
    test::Bytes reply = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    ScriptedPort port;
    // Piece sizes: 3, nothing, 7, 1, then the rest and some trailing noise.
    port.pieces = {ByteBuffer(reply.begin(), reply.begin() + 3),
                   {},
                   ByteBuffer(reply.begin() + 3, reply.begin() + 10),
                   ByteBuffer(reply.begin() + 10, reply.begin() + 11)};
    ByteBuffer rest(reply.begin() + 11, reply.end());
    rest.push_back(0xEE);
    port.pieces.push_back(rest);
    port.pieces.push_back({0xDD});
    port.pieces.push_back({0xCC});  // never read: the look after the reply is the last

    ScriptedLink link(port);
    ByteBuffer buffer = {9, 9, 9};  // left over from a cancelled transfer
    std::atomic<bool> cancel{false};
    Progress progress;
    DownloadOutcome out = RunSerialDownload(link, buffer, cancel, progress.Callback());
    EXPECT_EQ(out.code, DownloadCode::Complete);
    EXPECT_EQ(port.written, std::vector<ByteBuffer>{kRequest});
    // The start, then each read that brought bytes; the empty piece reports nothing.
    const std::vector<std::size_t> sizes = {0, 3, 10, 11, reply.size() + 1};
    EXPECT_EQ(progress.received, sizes);
    // The header (8 bytes) tells the whole length.
    EXPECT_EQ(progress.expected,
              (std::vector<std::size_t>{0, 0, reply.size(), reply.size(), reply.size()}));
    ASSERT_GE(buffer.size(), reply.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer.begin()));
    // On completion the loop looks once more for a device still sending, without
    // waiting: the last noise byte comes in then, and nothing after it is read.
    EXPECT_EQ(buffer.size(), reply.size() + 2);
    EXPECT_EQ(port.pieces.size(), 1u);
    EXPECT_EQ(port.timeouts.back(), 0);
    EXPECT_EQ(port.timeouts.front(), kSerialPollMs);
    EXPECT_EQ(DecodeSerialReply(buffer).code, DecodedReply::Status::Ok);
}

// A device that floods the port: reading stops, and the reply is refused.
TEST(SerialDownload, FloodingDeviceEndsAsABadReply) {
    test::Bytes reply = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    struct Case {
        std::size_t after;  // bytes the device sends past its reply
        DecodedReply::Status status;
    } cases[] = {{0, DecodedReply::Status::Ok},
                 {100, DecodedReply::Status::Ok},
                 {1u << 20, DecodedReply::Status::Inconsistent}};
    for (const Case& c : cases) {
        ScriptedPort port;
        ByteBuffer flood(reply.begin(), reply.end());
        flood.insert(flood.end(), c.after, 0x55);
        port.pieces = {flood};
        ScriptedLink link(port);
        ByteBuffer buffer;
        std::atomic<bool> cancel{false};
        EXPECT_EQ(RunSerialDownload(link, buffer, cancel).code, DownloadCode::Complete) << c.after;
        EXPECT_LE(buffer.size(), reply.size() + kSerialReceiveArea + kSerialReplySlack + 1)
            << "reading went on after the reply";
        EXPECT_EQ(DecodeSerialReply(buffer).code, c.status) << c.after;
    }
}

// However the loop is left before the reply is whole, what arrived stays in the buffer.
TEST(SerialDownload, CancelReadFailureAndSilenceEndTheLoop) {
    test::Bytes reply = test::SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 20, 0, 0, {10, 20, 30}}});
    struct Case {
        const char* what;
        LinkResult failure;  // what a read gives once the script is out
        bool cancelWhenDry;
        int idleMs;
        DownloadCode code;
        LinkStatus link;
    } cases[] = {
        {"the user cancels", {}, true, 0, DownloadCode::Cancelled, LinkStatus::Ok},
        {"the port is pulled out", LinkFailure(LinkStatus::NoSuchDevice, "gone"), false, 0,
         DownloadCode::ReadFailed, LinkStatus::NoSuchDevice},
        {"an abort without a cancel", LinkFailure(LinkStatus::Aborted, {}), false, 0,
         DownloadCode::Cancelled, LinkStatus::Ok},
        {"the instrument falls silent", {}, false, 10000, DownloadCode::Stalled, LinkStatus::Ok},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPort port;
        port.pieces = {ByteBuffer(reply.begin(), reply.begin() + 9)};
        port.readFailure = c.failure;
        std::atomic<bool> cancel{false};
        if (c.cancelWhenDry) port.cancelWhenDry = &cancel;
        SimulatedClock clock;
        port.clock = &clock;
        ScriptedLink link(port);
        ByteBuffer buffer;
        // A silent instrument is read until the idle time has passed on the clock.
        DownloadOutcome out = RunSerialDownload(link, buffer, cancel, {}, c.idleMs, clock);
        EXPECT_EQ(out.code, c.code);
        if (c.idleMs > 0) {
            EXPECT_GT(clock.Elapsed(), std::chrono::milliseconds(c.idleMs));
            EXPECT_LE(clock.Elapsed(), std::chrono::milliseconds(c.idleMs + kSerialPollMs));
        }
        EXPECT_EQ(out.link, c.link);
        EXPECT_EQ(buffer.size(), 9u);
        if (c.code == DownloadCode::ReadFailed) {
            EXPECT_NE(out.cause.find("no such device: gone"), std::string::npos) << out.cause;
        }
    }
}

TEST(SerialDownload, ACancelBeforeTheFirstReadSendsTheRequestAndReadsNothing) {
    ScriptedPort port;
    port.pieces = {{1, 2, 3}};
    ScriptedLink link(port);
    ByteBuffer buffer = {7};
    std::atomic<bool> cancel{true};
    EXPECT_EQ(RunSerialDownload(link, buffer, cancel).code, DownloadCode::Cancelled);
    EXPECT_EQ(port.written, std::vector<ByteBuffer>{kRequest});
    EXPECT_TRUE(port.timeouts.empty());
    EXPECT_TRUE(buffer.empty());
}

}  // namespace
}  // namespace ohmlet
