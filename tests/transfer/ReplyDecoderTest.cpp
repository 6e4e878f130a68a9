#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "ReplyBytes.h"
#include "data/DzlFile.h"
#include "transfer/ReplyDecoder.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/ReplyProgress.h"
#include "transfer/TransferOutcome.h"

namespace ohmlet {
namespace {

using test::Bytes;
using test::SerialReply;
using test::UsbReply;

TEST(ReplyDecoder, SerialSecondBlockFollowsTheFirstBlocksPoints) {
    // N = 2, P = 3 in the first block: the second block starts at 8 + 14 + 6 = 28.
    Bytes reply = SerialReply({{{1, 2, 3, 4}, 7, 3, 15, 20, 70, 80, {50, 90, 70}},
                               {{25, 0, 1, 2}, 9, 12, 1, 21, 33, 5, {33}}});
    ASSERT_EQ(reply[28], 25);
    DecodedReply d = DecodeSerialReply(reply);
    ASSERT_EQ(d.code, DecodedReply::Status::Ok);
    ASSERT_EQ(d.components.size(), 2u);
    const Component& first = d.components[0];
    EXPECT_EQ(first.Number(), "1234");
    EXPECT_EQ(first.pointCount, 3);
    EXPECT_EQ(first.maxValue, 90.0f);
    EXPECT_EQ(first.minValue, 50.0f);
    EXPECT_EQ(first.designValue, 20.0f);
    EXPECT_EQ(first.averageValue, 70.0f);
    EXPECT_EQ(first.passRate, 80.0f);
    EXPECT_EQ(first.selected, 1);
    EXPECT_EQ(first.lowerTolerance, 0.0f);
    EXPECT_EQ(first.upperTolerance, 0.0f);
    EXPECT_EQ(first.passCount, 0.0f);
    EXPECT_EQ(first.Name(), "");
    const Component& second = d.components[1];
    EXPECT_EQ(second.Number(), "P012");
    EXPECT_EQ(second.TestDate(),
              "2009\xC4\xEA"
              "12\xD4\xC2"
              "01\xC8\xD5");
    ASSERT_EQ(second.points.size(), 1u);
    EXPECT_EQ(second.points[0].value, 33);
    EXPECT_EQ(second.passRate, 5.0f);
}

TEST(ReplyDecoder, UsbHeadsAndPointAreaAtTheirOffsets) {
    // N = 2, P = 3 and P = 1, A = 8: heads at 16 and 32, points at 48..55.
    Bytes reply = UsbReply({{{1, 0, 0, 1}, 7, 3, 15, 20, 90, {500, 900, 700}},
                            {{2, 0, 0, 2}, 7, 3, 16, 23, 100, {35}}});
    ASSERT_EQ(reply.size(), 56u);
    EXPECT_EQ(reply[16 + 3], 1);
    EXPECT_EQ(reply[32 + 3], 2);
    EXPECT_EQ(reply[54], 0);
    EXPECT_EQ(reply[55], 35);

    Bytes wholeBlock = reply;  // the link reads whole blocks of the point area
    wholeBlock.resize(48 + 64, 0xFF);
    EXPECT_EQ(DecodeUsbReply(wholeBlock).code, DecodedReply::Status::Ok);

    Bytes shortByOne(reply.begin(), reply.end() - 1);
    EXPECT_FALSE(IsUsbReplyComplete(shortByOne));
    EXPECT_TRUE(IsUsbReplyComplete(reply));

    DecodedReply d = DecodeUsbReply(reply);
    ASSERT_EQ(d.code, DecodedReply::Status::Ok);
    ASSERT_EQ(d.components.size(), 2u);
    EXPECT_EQ(d.components[0].Number(), "1001");
    EXPECT_EQ(d.components[0].maxValue, 90.0f);
    EXPECT_EQ(d.components[0].minValue, 50.0f);
    EXPECT_EQ(d.components[0].averageValue, 70.0f);
    EXPECT_EQ(d.components[0].designValue, 20.0f);
    EXPECT_EQ(d.components[0].passRate, 90.0f);
    EXPECT_EQ(d.components[1].points[0].value, 3);
    EXPECT_EQ(d.components[1].maxValue, 3.0f);
    EXPECT_EQ(d.components[1].minValue, 3.0f);
    EXPECT_EQ(d.components[1].designValue, 23.0f);
}

TEST(ReplyDecoder, UsbValuesAreTenthsWithTheRemainderDropped) {
    struct Case {
        unsigned raw;
        int32_t value;
    } cases[] = {{35, 3}, {65535, 6553}, {9, 0}, {10, 1}, {0, 0}, {1239, 123}};
    for (const Case& c : cases) {
        DecodedReply d = DecodeUsbReply(UsbReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, {c.raw}}}));
        ASSERT_EQ(d.code, DecodedReply::Status::Ok) << c.raw;
        EXPECT_EQ(d.components[0].points[0].value, c.value) << "raw " << c.raw;
        EXPECT_EQ(d.components[0].maxValue, static_cast<float>(c.value)) << "raw " << c.raw;
        EXPECT_EQ(d.components[0].minValue, static_cast<float>(c.value)) << "raw " << c.raw;
    }
}

TEST(ReplyDecoder, NumberBytesMapToCodeDigits) {
    struct Case {
        unsigned char bytes[4];
        const char* number;
    } cases[] = {
        {{25, 0, 1, 2}, "P012"},
        {{32, 9, 10, 35}, "W9AZ"},
        {{36, 255, 100, 17}, "000H"},
        {{0, 0, 0, 0}, "0000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        unsigned char b[4] = {c.bytes[0], c.bytes[1], c.bytes[2], c.bytes[3]};
        DecodedReply serial =
            DecodeSerialReply(SerialReply({{{b[0], b[1], b[2], b[3]}, 1, 1, 1, 0, 0, 0, {}}}));
        DecodedReply usb =
            DecodeUsbReply(UsbReply({{{b[0], b[1], b[2], b[3]}, 1, 1, 1, 0, 0, {}}}));
        ASSERT_EQ(serial.code, DecodedReply::Status::Ok);
        ASSERT_EQ(usb.code, DecodedReply::Status::Ok);
        EXPECT_EQ(serial.components[0].Number(), c.number);
        EXPECT_EQ(usb.components[0].Number(), c.number);
    }
}

TEST(ReplyDecoder, DateTextGetsMarksAtBytePositions4_8_12) {
    const std::string Y = "\xC4\xEA", M = "\xD4\xC2", D = "\xC8\xD5";
    struct Case {
        unsigned char year, month, day;
        std::string text;
    } cases[] = {
        {9, 12, 1, "2009" + Y + "12" + M + "01" + D},
        {7, 3, 15, "2007" + Y + "03" + M + "15" + D},
        {100, 3, 15, "2010" + Y + "00" + M + "31" + D + "5"},
        {0, 0, 0, "2000" + Y + "00" + M + "00" + D},
        {255, 255, 255, "2025" + Y + "52" + M + "55" + D + "255"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.year));
        EXPECT_EQ(MakeInstrumentDate(c.year, c.month, c.day), c.text);
        DecodedReply d =
            DecodeUsbReply(UsbReply({{{0, 0, 0, 1}, c.year, c.month, c.day, 0, 0, {}}}));
        ASSERT_EQ(d.code, DecodedReply::Status::Ok);
        EXPECT_EQ(d.components[0].TestDate(), c.text);
    }
}

TEST(ReplyDecoder, ShortBuffersNeverComplete) {
    for (unsigned char fill : {0x00, 0x01, 0xFF}) {
        for (std::size_t size = 0; size < 9; ++size) {
            Bytes b(size, fill);
            if (size < 8) {
                EXPECT_FALSE(IsSerialReplyComplete(b)) << size << " bytes of " << int(fill);
            }
            EXPECT_FALSE(IsUsbReplyComplete(b)) << size << " bytes of " << int(fill);
        }
    }
    // Eight bytes that claim a length of 8 complete a serial reply.
    Bytes header(8, 0);
    header[7] = 8;
    EXPECT_TRUE(IsSerialReplyComplete(header));
}

TEST(ReplyDecoder, CountsThatOverrunTheReplyAreInconsistent) {
    Bytes twoBlocks = SerialReply(
        {{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10, 20}}, {{0, 0, 0, 2}, 1, 1, 1, 0, 0, 0, {30}}});
    Bytes usb = UsbReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, {100, 200}}});
    const Bytes usbTwo = UsbReply(
        {{{0, 0, 0, 1}, 1, 1, 1, 0, 0, {100, 200, 300}}, {{0, 0, 0, 2}, 1, 1, 1, 0, 0, {400}}});
    auto with = [](Bytes b, std::size_t at, unsigned v) {
        test::Put16(b, at, v);
        return b;
    };
    auto padded = [](Bytes b, std::size_t extra) {
        b.insert(b.end(), extra, 0xFF);
        return b;
    };
    Bytes emptyHeads(16 * 65536, 0);  // 65,535 heads with P = 0, then a point area
    emptyHeads = with(with(padded(emptyHeads, 8), 4, 65535), 6, 8);
    struct Case {
        const char* what;
        ReplyLayout layout;
        Bytes bytes;
    } cases[] = {
        // L stops inside the second block.
        {"serial L too short", ReplyLayout::Serial,
         SerialReply(
             {{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10, 20}}, {{0, 0, 0, 2}, 1, 1, 1, 0, 0, 0, {30}}},
             30)},
        // The received bytes end before the last point.
        {"serial bytes missing", ReplyLayout::Serial,
         Bytes(twoBlocks.begin(), twoBlocks.end() - 1)},
        {"serial N too large", ReplyLayout::Serial,
         [&] {
             Bytes b = twoBlocks;
             test::Put16(b, 4, 3);
             return b;
         }()},
        {"usb P beyond A", ReplyLayout::Usb,
         [&] {
             Bytes b = usb;
             test::Put16(b, 16 + 4, 3);
             return b;
         }()},
        {"usb heads cut", ReplyLayout::Usb, Bytes(usb.begin(), usb.begin() + 20)},
        // Three blocks that L covers, with N lowered to one in transit.
        {"serial N lowered", ReplyLayout::Serial,
         [&] {
             Bytes b = twoBlocks;
             test::Put16(b, 4, 1);
             return b;
         }()},
        // L past the blocks: something is missing between them.
        {"serial L beyond the blocks", ReplyLayout::Serial,
         [&] {
             Bytes b = twoBlocks;
             b.insert(b.end(), 6, 0);
             test::Put16(b, 6, static_cast<uint16_t>(b.size()));
             return b;
         }()},
        {"serial flood after the reply", ReplyLayout::Serial,
         [&] {
             Bytes b = twoBlocks;
             b.insert(b.end(), kSerialReplySlack + 1, 0x55);
             return b;
         }()},
        {"usb A shorter than points", ReplyLayout::Usb,
         [&] {
             Bytes b = usb;
             test::Put16(b, 6, 2);
             return b;
         }()},
        // Counts lowered in transit still fit the bytes, but move readings about.
        {"usb N lowered", ReplyLayout::Usb, with(usbTwo, 4, 1)},
        {"usb P lowered", ReplyLayout::Usb, with(usbTwo, 16 + 4, 2)},
        {"usb last P lowered", ReplyLayout::Usb, with(usbTwo, 32 + 4, 0)},
        {"usb empty heads before points", ReplyLayout::Usb, emptyHeads},
        {"usb A beyond the readings", ReplyLayout::Usb, with(padded(usbTwo, 2), 6, 10)},
        {"usb bytes past the last block", ReplyLayout::Usb, padded(usbTwo, 64 - 8 + 1)},
    };
    for (const Case& c : cases) {
        DecodedReply d = DecodeReply(c.layout, c.bytes);
        EXPECT_EQ(d.code, DecodedReply::Status::Inconsistent) << c.what;
        EXPECT_TRUE(d.components.empty()) << c.what;
        EXPECT_FALSE(d.cause.empty()) << c.what;
    }
}

TEST(ReplyDecoder, BytesAfterTheReplyAreIgnored) {
    Bytes reply = SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10, 20}}});
    reply.insert(reply.end(), {0x00, 0x05, 0xFF, 0xFF});
    reply.insert(reply.end(), kSerialReplySlack - 4, 0x55);  // as much noise as is put up with
    DecodedReply d = DecodeSerialReply(reply);
    ASSERT_EQ(d.code, DecodedReply::Status::Ok);
    EXPECT_EQ(d.components[0].pointCount, 2);
}

class DecodeAndWriteTest : public ::testing::Test {
protected:
    // A fresh folder per test; plain C++ so the test also runs where Qt is not built.
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            std::filesystem::temp_directory_path() / (std::string("ohmlet-decode-") + test->name() +
                                                      "-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    std::string Path() const { return (dir_ / "DZLDat.DZL").string(); }
    static Bytes FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::path dir_;
};

TEST_F(DecodeAndWriteTest, NoComponentsLeavesNoFile) {
    for (ReplyLayout layout : {ReplyLayout::Serial, ReplyLayout::Usb}) {
        Bytes buffer = layout == ReplyLayout::Serial ? SerialReply({}) : UsbReply({});
        ASSERT_TRUE(layout == ReplyLayout::Serial ? IsSerialReplyComplete(buffer)
                                                  : IsUsbReplyComplete(buffer));
        TransferOutcome r = DecodeAndWrite(layout, buffer, Path());
        EXPECT_EQ(r.code, TransferCode::NoData);
        EXPECT_EQ(r.text, "没有数据，请测试数据后再进行传输!");
        EXPECT_FALSE(std::filesystem::exists(Path()));
    }
}

TEST_F(DecodeAndWriteTest, UnusableRepliesNeverReplaceAGoodFile) {
    Bytes good = SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10, 20}}});
    ASSERT_TRUE(DecodeAndWrite(ReplyLayout::Serial, good, Path()).Ok());
    Bytes before = FileBytes(Path());
    ASSERT_EQ(before.size(), 4u + 170 + 24);

    Bytes overrun = SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10, 20}}}, 20);
    Bytes empty = SerialReply({});
    for (Bytes* reply : {&overrun, &empty}) {
        TransferOutcome r = DecodeAndWrite(ReplyLayout::Serial, *reply, Path());
        EXPECT_FALSE(r.Ok());
        EXPECT_FALSE(r.text.empty());
        EXPECT_EQ(FileBytes(Path()), before);
    }
}

TEST_F(DecodeAndWriteTest, WrittenFileReadsBackAndReportsTheEnd) {
    Bytes reply = UsbReply({{{25, 0, 1, 2}, 9, 12, 1, 20, 75, {500, 900, 700}}});
    TransferOutcome r = DecodeAndWrite(ReplyLayout::Usb, reply, Path());
    ASSERT_TRUE(r.Ok()) << r.cause;
    EXPECT_EQ(r.text, "数据传输结束!");
    EXPECT_EQ(r.componentCount, 1);
    Bytes file = FileBytes(Path());
    ASSERT_EQ(file.size(), 4u + 170 + 36);
    EXPECT_EQ(file[4 + 125], 1);       // selected
    EXPECT_EQ(file[4 + 170 + 4], 50);  // first point's value, little-endian
    DzlReadResult back = ReadDzlFile(Path());
    ASSERT_TRUE(back.Ok());
    EXPECT_EQ(back.components[0].Number(), "P012");
    // The empty band got the default criterion, a minimum at the sent design value 20,
    // which all three readings reach.
    EXPECT_FLOAT_EQ(back.components[0].passRate, 1.0f);
    EXPECT_EQ(CriterionOf(back.components[0]), MinimumCriterion(20));
    EXPECT_EQ(back.components[0].maxValue, 90.0f);
}

TEST_F(DecodeAndWriteTest, AFolderThatCannotBeWrittenIsReported) {
    Bytes reply = SerialReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, 0, {10}}});
    TransferOutcome r = DecodeAndWrite(ReplyLayout::Serial, reply, Path() + "/missing/DZLDat.DZL");
    EXPECT_EQ(r.code, TransferCode::WriteFailed);
    EXPECT_FALSE(r.cause.empty());
}

}  // namespace
}  // namespace ohmlet

namespace ohmlet {
namespace {

// What `ohmlet-cli fetch` shows while a reply arrives: only components whose bytes are
// all there count.
TEST(ReplyDecoder, ProgressCountsWholeComponentsOnly) {
    std::vector<Component> components(3);
    const std::vector<int> readings[] = {{40, 41, 42}, {}, {50, 51}};
    for (std::size_t k = 0; k < components.size(); ++k) {
        components[k].SetNumber("000" + std::to_string(k + 1));
        components[k].ResizePoints(static_cast<int32_t>(readings[k].size()));
        for (std::size_t i = 0; i < readings[k].size(); ++i)
            components[k].points[i].value = readings[k][i];
    }
    const EncodedReply serial = EncodeSerialReply(components);
    const EncodedReply usb = EncodeUsbReply(components);
    ASSERT_TRUE(serial.Ok() && usb.Ok());
    // Serial: header 8, blocks of 14 + 2 per reading: whole at 28, 42 and 60.
    // USB: header and three heads (64 bytes), then the readings: whole at 70, 70 and 74.
    ASSERT_EQ(serial.bytes.size(), 60u);
    ASSERT_EQ(usb.bytes.size(), 74u);
    struct Case {
        ReplyLayout layout;
        std::size_t kept;
        std::size_t whole;
    } cases[] = {
        {ReplyLayout::Serial, 0, 0},  {ReplyLayout::Serial, 7, 0},  {ReplyLayout::Serial, 8, 0},
        {ReplyLayout::Serial, 27, 0}, {ReplyLayout::Serial, 28, 1}, {ReplyLayout::Serial, 41, 1},
        {ReplyLayout::Serial, 42, 2}, {ReplyLayout::Serial, 59, 2}, {ReplyLayout::Serial, 60, 3},
        {ReplyLayout::Usb, 0, 0},     {ReplyLayout::Usb, 63, 0},    {ReplyLayout::Usb, 64, 0},
        {ReplyLayout::Usb, 69, 0},    {ReplyLayout::Usb, 70, 2},    {ReplyLayout::Usb, 73, 2},
        {ReplyLayout::Usb, 74, 3},
    };
    for (const Case& k : cases) {
        const ByteBuffer& whole = k.layout == ReplyLayout::Serial ? serial.bytes : usb.bytes;
        const ByteBuffer part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(k.kept));
        EXPECT_EQ(CountReceived(k.layout, part).components, k.whole)
            << (k.layout == ReplyLayout::Serial ? "serial " : "USB ") << k.kept << " bytes";
    }
    // Counts that promise more than arrives never read past the buffer.
    ByteBuffer lying = serial.bytes;
    lying[kReplyCountOffset + 1] = 0xFF;
    EXPECT_EQ(CountReceived(ReplyLayout::Serial, lying).components, 3u);
}

}  // namespace
}  // namespace ohmlet
