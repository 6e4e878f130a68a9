#include <gtest/gtest.h>

#include <QSignalSpy>
#include <deque>

#include "ReplyBytes.h"
#include "SerialLink.h"

namespace ohmlet {
namespace {

// A port that delivers scripted pieces, one per poll, and records what was written.
struct ScriptedPort {
    std::deque<ByteBuffer> pieces;
    std::vector<ByteBuffer> written;
    LinkResult openResult;
    int opens = 0, closes = 0;
};

class ScriptedTransport : public Transport {
public:
    explicit ScriptedTransport(ScriptedPort& port) : port_(port) {}
    LinkResult Open() override {
        ++port_.opens;
        open_ = port_.openResult.ok();
        return port_.openResult;
    }
    LinkResult Write(const unsigned char* data, std::size_t size) override {
        port_.written.emplace_back(data, data + size);
        return {};
    }
    LinkResult ReadAvailable(ByteBuffer& out, std::size_t maxBytes) override {
        if (port_.pieces.empty()) return {};
        ByteBuffer& piece = port_.pieces.front();
        std::size_t n = std::min(maxBytes, piece.size());
        out.insert(out.end(), piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
        piece.erase(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n));
        if (piece.empty()) port_.pieces.pop_front();
        return {};
    }
    void Abort() override {}
    void Close() override {
        if (open_) ++port_.closes;
        open_ = false;
    }
    bool IsOpen() const override { return open_; }

private:
    ScriptedPort& port_;
    bool open_ = false;
};

const ByteBuffer kRequest = {'B', 'H', 'V', '2', '0', '!'};

TEST(SerialLink, ReplyInPiecesIsCollectedInOrderAndCompletesOnce) {
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

    ByteBuffer buffer = {9, 9, 9};  // left over from a cancelled transfer
    SerialLink link(buffer);
    QSignalSpy complete(&link, &SerialLink::replyComplete);
    ASSERT_TRUE(link.Start(std::make_unique<ScriptedTransport>(port)).ok());
    EXPECT_TRUE(buffer.empty());
    EXPECT_EQ(port.written, std::vector<ByteBuffer>{kRequest});

    const std::size_t expectedSizes[] = {3, 3, 10, 11};
    for (std::size_t size : expectedSizes) {
        link.Poll();
        EXPECT_EQ(buffer.size(), size);
        EXPECT_TRUE(link.IsRunning());
        EXPECT_EQ(complete.count(), 0);
    }
    link.Poll();
    EXPECT_EQ(complete.count(), 1);
    EXPECT_FALSE(link.IsRunning());
    EXPECT_EQ(port.closes, 1);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), buffer.begin()));
    // On completion the link looks once more for a device still sending: the last
    // noise byte comes in then, and nothing after it is read.
    EXPECT_EQ(buffer.size(), reply.size() + 2);
    link.Poll();
    EXPECT_EQ(buffer.size(), reply.size() + 2);
    EXPECT_EQ(complete.count(), 1);
    EXPECT_EQ(DecodeSerialReply(buffer).status, DecodedReply::Status::Ok);
}

// A device that floods the port: reading stops, and the reply is refused.
TEST(SerialLink, FloodingDeviceEndsAsABadReply) {
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
        ByteBuffer buffer;
        SerialLink link(buffer);
        QSignalSpy complete(&link, &SerialLink::replyComplete);
        ASSERT_TRUE(link.Start(std::make_unique<ScriptedTransport>(port)).ok());
        for (int i = 0; i < 100 && link.IsRunning(); ++i) link.Poll();
        EXPECT_EQ(complete.count(), 1) << c.after;
        EXPECT_LE(buffer.size(), reply.size() + kSerialReceiveArea + kSerialReplySlack + 1)
            << "reading went on after the reply";
        EXPECT_EQ(DecodeSerialReply(buffer).status, c.status) << c.after;
    }
}

TEST(SerialLink, EachStartSendsTheRequestOnceAndStartsFromAnEmptyBuffer) {
    ScriptedPort port;
    port.pieces = {{1, 2, 3}};
    ByteBuffer buffer;
    SerialLink link(buffer);
    ASSERT_TRUE(link.Start(std::make_unique<ScriptedTransport>(port)).ok());
    link.Poll();
    EXPECT_EQ(buffer.size(), 3u);
    ASSERT_TRUE(link.Start(std::make_unique<ScriptedTransport>(port)).ok());
    EXPECT_EQ(port.written, (std::vector<ByteBuffer>{kRequest, kRequest}));
    EXPECT_EQ(port.opens, 2);
    EXPECT_EQ(port.closes, 1);  // the first port was closed before the second opened
    EXPECT_TRUE(buffer.empty());
}

TEST(SerialLink, OpenFailureKeepsItsCauseAndStartsNothing) {
    for (LinkStatus status :
         {LinkStatus::NoSuchDevice, LinkStatus::PermissionDenied, LinkStatus::InUse}) {
        ScriptedPort port;
        port.openResult = {status, "test"};
        ByteBuffer buffer;
        SerialLink link(buffer);
        LinkResult r = link.Start(std::make_unique<ScriptedTransport>(port));
        EXPECT_EQ(r.status, status);
        EXPECT_FALSE(link.IsRunning());
        EXPECT_TRUE(port.written.empty());
    }
    ByteBuffer buffer;
    SerialLink link(buffer);
    EXPECT_EQ(link.Start(nullptr).status, LinkStatus::NoSuchDevice);  // no port chosen
}

}  // namespace
}  // namespace ohmlet
