#pragma once
// The instrument's reply, serial or USB layout, turned into components. Pure
// functions over the received bytes: nothing is read past the end of the buffer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Component.h"
#include "data/Outcome.h"
#include "transfer/ByteBuffer.h"

namespace ohmlet {

enum class ReplyLayout { Serial, Usb };

enum class ReplyStatus {
    Ok,
    NoData,        // N = 0
    Inconsistent,  // the counts ask for bytes the reply does not hold
};

// cause: why a reply is inconsistent, one sentence.
struct DecodedReply : Outcome<ReplyStatus> {
    using Status = ReplyStatus;
    std::vector<Component> components;
};

// Header fields shared by both layouts.
inline constexpr std::size_t kReplyCountOffset = 4;   // N, components
inline constexpr std::size_t kReplyLengthOffset = 6;  // serial: L, USB: A
inline constexpr std::size_t kSerialHeaderSize = 8;
inline constexpr std::size_t kSerialBlockSize = 14;  // without its points
inline constexpr std::size_t kUsbHeadSize = 16;      // the header and each head
// The USB link reads whole blocks: a downloaded reply ends with the rest of the block
// that holds its last reading.
inline constexpr std::size_t kUsbBlockSize = 64;
// Bytes after the serial reply's length that are put down to line noise; more mean a
// device that keeps sending, whose reply is not trusted.
inline constexpr std::size_t kSerialReplySlack = 2048;

bool IsSerialReplyComplete(const ByteBuffer& buffer);
bool IsUsbReplyComplete(const ByteBuffer& buffer);

// How many bytes make the reply whole once the header is there; 0 before that.
std::size_t ExpectedReplySize(ReplyLayout layout, const ByteBuffer& buffer);

DecodedReply DecodeSerialReply(const ByteBuffer& reply);
DecodedReply DecodeUsbReply(const ByteBuffer& reply);
DecodedReply DecodeReply(ReplyLayout layout, const ByteBuffer& reply);

// One number byte as the instrument's code digit: 0-9, A-Z, and '0' beyond.
char CodeDigit(unsigned char value);

// "20" year month day with 年 月 日 (GBK) inserted at byte positions 4, 8 and 12.
std::string MakeInstrumentDate(unsigned year, unsigned month, unsigned day);

}  // namespace ohmlet
