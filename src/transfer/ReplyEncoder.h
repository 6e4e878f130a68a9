#pragma once
// The inverse of the decoder: components as the instrument would send them. Used by
// the simulated instrument and by the tests.
#include <optional>
#include <string>
#include <vector>

#include "data/Component.h"
#include "data/Outcome.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

enum class EncodeStatus {
    Ok,
    TooLarge,  // the components do not fit the instrument's counts
};

// cause: which count does not fit.
struct EncodedReply : Outcome<EncodeStatus> {
    ByteBuffer bytes;
};

// Fields the reply cannot carry are dropped; numbers are cut to 0..65535 (USB point
// values to 0..6553, since they travel as tenths).
EncodedReply EncodeSerialReply(const std::vector<Component>& components);
// The USB reply as the link assembles it: header, heads, point area.
EncodedReply EncodeUsbReply(const std::vector<Component>& components);

// The instrument's USB memory: the header and heads from block 0, the point area
// from block 168.
inline constexpr unsigned kUsbPointAreaBlock = 168;
std::optional<ByteBuffer> MakeUsbDeviceImage(const ByteBuffer& usbReply);

// The instrument's number byte for one character of a component number.
unsigned char CodeDigitValue(char digit);

}  // namespace ohmlet
