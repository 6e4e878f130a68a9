#include "transfer/ReplyDecoder.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "data/ByteOrder.h"
#include "data/GbkText.h"

namespace ohmlet {
namespace {

std::size_t Be16At(const ByteBuffer& b, std::size_t offset) { return LoadBE16(b.data() + offset); }

std::string TwoDigits(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, value < 10 ? "0%u" : "%u", value);
    return text;
}

void FillCommon(Component& c, const unsigned char* number, unsigned year, unsigned month,
                unsigned day, unsigned passRateByte) {
    char digits[5] = {CodeDigit(number[0]), CodeDigit(number[1]), CodeDigit(number[2]),
                      CodeDigit(number[3]), 0};
    c.SetNumber(digits);
    std::string date = MakeInstrumentDate(year, month, day);
    std::fill(std::begin(c.testDate), std::end(c.testDate), 0);
    std::copy(date.begin(), date.end(), c.testDate);  // at most 17 bytes of 20
    c.selected = 1;
    c.passRate = static_cast<float>(passRateByte);
}

void SetMaxMin(Component& c) {
    if (c.points.empty()) return;
    int32_t hi = c.points.front().value, lo = hi;
    for (const MeasuringPoint& p : c.points) {
        hi = std::max(hi, p.value);
        lo = std::min(lo, p.value);
    }
    c.maxValue = static_cast<float>(hi);
    c.minValue = static_cast<float>(lo);
}

DecodedReply Inconsistent(std::string detail) {
    DecodedReply r;
    r.code = DecodedReply::Status::Inconsistent;
    r.cause = std::move(detail);
    return r;
}

}  // namespace

char CodeDigit(unsigned char v) {
    if (v <= 9) return static_cast<char>('0' + v);
    if (v <= 35) return static_cast<char>('A' + (v - 10));
    return '0';
}

std::string MakeInstrumentDate(unsigned year, unsigned month, unsigned day) {
    std::string text = "20" + TwoDigits(year) + TwoDigits(month) + TwoDigits(day);
    // Inserted one after the other into the growing text, as the instrument's own
    // software does; a three-digit year therefore shifts the marks.
    text.insert(4, gbk::kYear);
    text.insert(8, gbk::kMonth);
    text.insert(12, gbk::kDay);
    return text;
}

bool IsSerialReplyComplete(const ByteBuffer& buffer) {
    return buffer.size() >= kSerialHeaderSize &&
           buffer.size() >= Be16At(buffer, kReplyLengthOffset);
}

bool IsUsbReplyComplete(const ByteBuffer& buffer) {
    return buffer.size() >= 9 && buffer.size() >= ExpectedReplySize(ReplyLayout::Usb, buffer);
}

std::size_t ExpectedReplySize(ReplyLayout layout, const ByteBuffer& buffer) {
    if (buffer.size() < kSerialHeaderSize) return 0;
    std::size_t length = Be16At(buffer, kReplyLengthOffset);
    if (layout == ReplyLayout::Serial) return length;
    return kUsbHeadSize * (Be16At(buffer, kReplyCountOffset) + 1) + length;
}

namespace {

// Both layouts start alike: a reply too short for its header is inconsistent, and one
// that counts no components holds no data. Otherwise decoding goes on.
std::optional<DecodedReply> DecodeHeader(const ByteBuffer& reply) {
    if (reply.size() < kSerialHeaderSize)
        return Inconsistent("The reply is shorter than its header.");
    if (Be16At(reply, kReplyCountOffset) == 0) {
        DecodedReply noData;
        noData.code = DecodedReply::Status::NoData;
        return noData;
    }
    return std::nullopt;
}

// The heads' counts must take the point area exactly, or readings went to the wrong
// component (a count lowered in transit); past the area only the rest of its last block
// may follow. The caller has checked that the heads lie within the reply.
std::optional<DecodedReply> CheckUsbCounts(const ByteBuffer& reply, std::size_t count) {
    const std::size_t pointArea = kUsbHeadSize * (count + 1);
    const std::size_t areaLength = Be16At(reply, kReplyLengthOffset);
    std::size_t readingBytes = 0;
    for (std::size_t k = 1; k <= count; ++k)
        readingBytes += 2 * Be16At(reply, kUsbHeadSize * k + 4);
    if (readingBytes != areaLength) {
        return Inconsistent("The " + std::to_string(count) + " components claim " +
                            std::to_string(readingBytes) +
                            " bytes of readings but the point area is " +
                            std::to_string(areaLength) + " bytes long.");
    }
    const std::size_t blocks = (areaLength + kUsbBlockSize - 1) / kUsbBlockSize;
    if (reply.size() > pointArea + blocks * kUsbBlockSize) {
        return Inconsistent("The reply goes on for " +
                            std::to_string(reply.size() - pointArea - areaLength) +
                            " bytes past the end of its point area.");
    }
    return std::nullopt;
}

}  // namespace

DecodedReply DecodeSerialReply(const ByteBuffer& reply) {
    if (std::optional<DecodedReply> early = DecodeHeader(reply)) return *early;
    DecodedReply result;
    std::size_t count = Be16At(reply, kReplyCountOffset);
    // The reply ends at L or at the last received byte, whichever comes first;
    // bytes after L belong to nothing.
    std::size_t end = std::min(reply.size(), Be16At(reply, kReplyLengthOffset));
    std::size_t pos = kSerialHeaderSize;
    // Grown as blocks are found: N alone must not allocate 65,535 components.
    result.components.reserve(std::min(count, (end - std::min(end, pos)) / kSerialBlockSize));
    for (std::size_t k = 0; k < count; ++k) {
        if (end < pos || end - pos < kSerialBlockSize) {
            return Inconsistent("Component " + std::to_string(k + 1) + " of " +
                                std::to_string(count) + " lies beyond the end of the reply.");
        }
        const unsigned char* block = reply.data() + pos;
        std::size_t points = LoadBE16(block + 9);
        if ((end - pos - kSerialBlockSize) / 2 < points) {
            return Inconsistent("Component " + std::to_string(k + 1) + " claims " +
                                std::to_string(points) + " readings that the reply does not hold.");
        }
        Component& c = result.components.emplace_back();
        FillCommon(c, block, block[4], block[5], block[6], block[13]);
        c.designValue = static_cast<float>(LoadBE16(block + 7));
        c.averageValue = static_cast<float>(LoadBE16(block + 11));
        c.ResizePoints(static_cast<int32_t>(points));
        for (std::size_t i = 0; i < points; ++i) c.points[i].value = LoadBE16(block + 14 + 2 * i);
        SetMaxMin(c);
        pos += kSerialBlockSize + 2 * points;
    }
    // The blocks fill L exactly: a count lowered in transit leaves blocks unread.
    const std::size_t length = Be16At(reply, kReplyLengthOffset);
    if (pos != length) {
        return Inconsistent("The " + std::to_string(count) + " components end at byte " +
                            std::to_string(pos) + " but the reply's length is " +
                            std::to_string(length) + ".");
    }
    if (reply.size() - length > kSerialReplySlack) {
        return Inconsistent("The device sent " + std::to_string(reply.size() - length) +
                            " bytes past the end of its reply.");
    }
    return result;
}

DecodedReply DecodeUsbReply(const ByteBuffer& reply) {
    if (std::optional<DecodedReply> early = DecodeHeader(reply)) return *early;
    DecodedReply result;
    std::size_t count = Be16At(reply, kReplyCountOffset);
    std::size_t pointArea = kUsbHeadSize * (count + 1);
    if (reply.size() < pointArea)
        return Inconsistent("The component heads lie beyond the end of the reply.");
    if (std::optional<DecodedReply> wrong = CheckUsbCounts(reply, count)) return *wrong;
    // The point area is A bytes long, and no longer than what was received.
    std::size_t end = std::min(reply.size(), pointArea + Be16At(reply, kReplyLengthOffset));
    std::size_t cursor = pointArea;
    result.components.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const unsigned char* head = reply.data() + kUsbHeadSize * (k + 1);
        std::size_t points = LoadBE16(head + 4);
        if ((end - cursor) / 2 < points) {
            return Inconsistent("Component " + std::to_string(k + 1) + " claims " +
                                std::to_string(points) + " readings beyond the point area.");
        }
        Component& c = result.components[k];
        FillCommon(c, head, head[6], head[7], head[8], head[13]);
        // The design value follows the date here as in the serial block; bytes 7-8
        // would be the month and day.
        c.designValue = static_cast<float>(LoadBE16(head + 9));
        c.ResizePoints(static_cast<int32_t>(points));
        int64_t sum = 0;
        for (std::size_t i = 0; i < points; ++i, cursor += 2) {
            c.points[i].value = LoadBE16(reply.data() + cursor) / 10;
            sum += c.points[i].value;
        }
        SetMaxMin(c);
        c.averageValue = points ? static_cast<float>(sum) / static_cast<float>(points) : 0.0f;
    }
    return result;
}

DecodedReply DecodeReply(ReplyLayout layout, const ByteBuffer& reply) {
    return layout == ReplyLayout::Serial ? DecodeSerialReply(reply) : DecodeUsbReply(reply);
}

}  // namespace ohmlet
