#include <gtest/gtest.h>

#include "ReplyBytes.h"
#include "transfer/ReplyDecoder.h"
#include "transfer/ReplyEncoder.h"

namespace ohmlet {
namespace {

// A component as an instrument sends it: only the fields a reply carries.
Component InstrumentComponent(const char* number, const char* date, int design,
                              std::vector<int32_t> values, float passRateByte) {
    Component c;
    c.SetNumber(number);
    c.SetTestDate(date);
    c.designValue = static_cast<float>(design);
    c.ResizePoints(static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) c.points[i].value = values[i];
    c.passRate = passRateByte;
    return c;
}

TEST(ReplyEncoder, SerialReplyMatchesHandBuiltBytes) {
    std::vector<Component> components = {InstrumentComponent("1234",
                                                             "2007\xC4\xEA"
                                                             "03\xD4\xC2"
                                                             "15\xC8\xD5",
                                                             20, {50, 90, 70}, 80),
                                         InstrumentComponent("P012",
                                                             "2009\xC4\xEA"
                                                             "12\xD4\xC2"
                                                             "01\xC8\xD5",
                                                             21, {33}, 5)};
    EncodedReply encoded = EncodeSerialReply(components);
    ASSERT_TRUE(encoded.Ok());
    test::Bytes expected = test::SerialReply({{{1, 2, 3, 4}, 7, 3, 15, 20, 70, 80, {50, 90, 70}},
                                              {{25, 0, 1, 2}, 9, 12, 1, 21, 33, 5, {33}}});
    EXPECT_EQ(encoded.bytes, expected);
}

TEST(ReplyEncoder, UsbReplyMatchesHandBuiltBytesAndDecodesBack) {
    std::vector<Component> components = {InstrumentComponent("W9AZ",
                                                             "2026\xC4\xEA"
                                                             "10\xD4\xC2"
                                                             "12\xC8\xD5",
                                                             20, {50, 6553, 0}, 100),
                                         InstrumentComponent("0001",
                                                             "2026\xC4\xEA"
                                                             " 1\xD4\xC2"
                                                             " 2\xC8\xD5",
                                                             35, {}, 0)};
    EncodedReply encoded = EncodeUsbReply(components);
    ASSERT_TRUE(encoded.Ok());
    test::Bytes expected = test::UsbReply({{{32, 9, 10, 35}, 26, 10, 12, 20, 100, {500, 65530, 0}},
                                           {{0, 0, 0, 1}, 26, 1, 2, 35, 0, {}}});
    EXPECT_EQ(encoded.bytes, expected);
    DecodedReply back = DecodeUsbReply(encoded.bytes);
    ASSERT_EQ(back.code, DecodedReply::Status::Ok);
    EXPECT_EQ(back.components[0].points[1].value, 6553);
    EXPECT_EQ(back.components[1].TestDate(),
              "2026\xC4\xEA"
              "01\xD4\xC2"
              "02\xC8\xD5");
}

TEST(ReplyEncoder, ValuesOutsideTheInstrumentsRangeAreCut) {
    struct Case {
        int32_t value;
        unsigned serialRaw, usbRaw;
    } cases[] = {{-5, 0, 0}, {70000, 65535, 65530}, {6554, 6554, 65530}, {1, 1, 10}};
    for (const Case& c : cases) {
        std::vector<Component> one = {InstrumentComponent("0001", "", 0, {c.value}, 0)};
        test::Bytes serial = EncodeSerialReply(one).bytes;
        test::Bytes usb = EncodeUsbReply(one).bytes;
        ASSERT_EQ(serial.size(), 8u + 14 + 2);
        ASSERT_EQ(usb.size(), 32u + 2);
        EXPECT_EQ(unsigned(serial[22] << 8 | serial[23]), c.serialRaw) << c.value;
        EXPECT_EQ(unsigned(usb[32] << 8 | usb[33]), c.usbRaw) << c.value;
    }
}

TEST(ReplyEncoder, RepliesTooLargeForTheCountsAreRefused) {
    std::vector<Component> many(672);
    EXPECT_FALSE(EncodeUsbReply(many).Ok());
    many.resize(671);
    EXPECT_TRUE(EncodeUsbReply(many).Ok());
    std::vector<Component> long1 = {
        InstrumentComponent("0001", "", 0, std::vector<int32_t>(32762, 1), 0)};
    EXPECT_FALSE(EncodeSerialReply(long1).Ok());  // 8 + 14 + 65524 bytes
    long1[0].ResizePoints(32756);
    EXPECT_TRUE(EncodeSerialReply(long1).Ok());  // exactly 65534
}

TEST(ReplyEncoder, DeviceImagePutsThePointAreaAtBlock168) {
    test::Bytes reply = test::UsbReply({{{0, 0, 0, 1}, 1, 1, 1, 0, 0, {10, 20}}});
    auto image = MakeUsbDeviceImage(reply);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 168u * 64 + 4);
    EXPECT_TRUE(std::equal(reply.begin(), reply.begin() + 32, image->begin()));
    EXPECT_EQ((*image)[168 * 64 + 1], 10);
    EXPECT_EQ((*image)[168 * 64 + 3], 20);
    EXPECT_EQ((*image)[40], 0);  // nothing of the points below block 168
}

}  // namespace
}  // namespace ohmlet
