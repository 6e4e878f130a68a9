#include "transfer/ReplyEncoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/ByteOrder.h"

namespace ohmlet {
namespace {

uint16_t Clamp16(double v) {
    if (!(v > 0)) return 0;
    return static_cast<uint16_t>(std::min(65535.0, std::round(v)));
}

unsigned char ClampByte(double v) {
    if (!(v > 0)) return 0;
    return static_cast<unsigned char>(std::min(255.0, std::round(v)));
}

// Year within the century, month and day from the model's date text (year in bytes
// 0-3, month 6-7, day 10-11; a leading space allowed).
struct InstrumentDate {
    unsigned char year = 0, month = 0, day = 0;
};

unsigned char NumberAt(const std::string& text, std::size_t pos, std::size_t len) {
    if (text.size() < pos + len) return 0;
    return ClampByte(std::atoi(text.substr(pos, len).c_str()));
}

InstrumentDate DateOf(const Component& c) {
    std::string text = c.TestDate();
    InstrumentDate d;
    int year = text.size() >= 4 ? std::atoi(text.substr(0, 4).c_str()) : 0;
    d.year = ClampByte(year - 2000);
    d.month = NumberAt(text, 6, 2);
    d.day = NumberAt(text, 10, 2);
    return d;
}

void PutNumber(const Component& c, unsigned char* out) {
    for (std::size_t i = 0; i < 4; ++i) out[i] = CodeDigitValue(c.number[i]);
}

EncodedReply TooLarge(std::string detail) {
    EncodedReply r;
    r.code = EncodeStatus::TooLarge;
    r.cause = std::move(detail);
    return r;
}

}  // namespace

unsigned char CodeDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') return static_cast<unsigned char>(digit - '0');
    if (digit >= 'A' && digit <= 'Z') return static_cast<unsigned char>(digit - 'A' + 10);
    return 0;
}

EncodedReply EncodeSerialReply(const std::vector<Component>& components) {
    std::size_t size = kSerialHeaderSize;
    for (const Component& c : components) size += kSerialBlockSize + 2 * c.points.size();
    if (components.size() > 65535 || size > 65535) {
        return TooLarge("The components need " + std::to_string(size) +
                        " bytes; a serial reply holds at most 65535.");
    }
    EncodedReply r;
    r.bytes.assign(size, 0);
    unsigned char* p = r.bytes.data();
    StoreBE16(p + kReplyCountOffset, static_cast<uint16_t>(components.size()));
    StoreBE16(p + kReplyLengthOffset, static_cast<uint16_t>(size));
    p += kSerialHeaderSize;
    for (const Component& c : components) {
        InstrumentDate d = DateOf(c);
        PutNumber(c, p);
        p[4] = d.year;
        p[5] = d.month;
        p[6] = d.day;
        StoreBE16(p + 7, Clamp16(c.designValue));
        StoreBE16(p + 9, static_cast<uint16_t>(c.points.size()));
        StoreBE16(p + 11, Clamp16(c.ComputeAverage()));
        p[13] = ClampByte(c.passRate);
        p += kSerialBlockSize;
        for (const MeasuringPoint& point : c.points) {
            StoreBE16(p, Clamp16(point.value));
            p += 2;
        }
    }
    return r;
}

EncodedReply EncodeUsbReply(const std::vector<Component>& components) {
    std::size_t points = 0;
    for (const Component& c : components) points += c.points.size();
    std::size_t heads = kUsbHeadSize * (components.size() + 1);
    // Heads must fit below block 168, where the point area begins.
    if (heads > kUsbPointAreaBlock * kUsbBlockSize || 2 * points > 65535) {
        return TooLarge(
            "The components do not fit a USB reply (at most 671 components and "
            "32767 readings).");
    }
    EncodedReply r;
    r.bytes.assign(heads + 2 * points, 0);
    unsigned char* p = r.bytes.data();
    StoreBE16(p + kReplyCountOffset, static_cast<uint16_t>(components.size()));
    StoreBE16(p + kReplyLengthOffset, static_cast<uint16_t>(2 * points));
    unsigned char* head = p + kUsbHeadSize;
    unsigned char* cursor = p + heads;
    for (const Component& c : components) {
        InstrumentDate d = DateOf(c);
        PutNumber(c, head);
        StoreBE16(head + 4, static_cast<uint16_t>(c.points.size()));
        head[6] = d.year;
        head[7] = d.month;
        head[8] = d.day;
        StoreBE16(head + 9, Clamp16(c.designValue));
        head[13] = ClampByte(c.passRate);
        head += kUsbHeadSize;
        for (const MeasuringPoint& point : c.points) {
            StoreBE16(cursor, Clamp16(std::min<double>(point.value, 6553) * 10.0));
            cursor += 2;
        }
    }
    return r;
}

std::optional<ByteBuffer> MakeUsbDeviceImage(const ByteBuffer& usbReply) {
    if (usbReply.size() < kSerialHeaderSize) return std::nullopt;
    std::size_t heads = kUsbHeadSize * (LoadBE16(usbReply.data() + kReplyCountOffset) + 1);
    std::size_t area = kUsbPointAreaBlock * kUsbBlockSize;
    if (heads > area || heads > usbReply.size()) return std::nullopt;
    ByteBuffer image(area + (usbReply.size() - heads), 0);
    std::copy(usbReply.begin(), usbReply.begin() + static_cast<std::ptrdiff_t>(heads),
              image.begin());
    std::copy(usbReply.begin() + static_cast<std::ptrdiff_t>(heads), usbReply.end(),
              image.begin() + static_cast<std::ptrdiff_t>(area));
    return image;
}

}  // namespace ohmlet
