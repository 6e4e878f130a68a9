#pragma once
// A byte link to the instrument, apart from any protocol: the serial port, or a
// simulated instrument in tests.
#include <cstddef>

#include "transfer/LinkStatus.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

class Transport {
public:
    virtual ~Transport() = default;
    virtual LinkResult Open() = 0;
    virtual LinkResult Write(const unsigned char* data, std::size_t size) = 0;
    // Appends what has arrived, at most maxBytes, without waiting.
    virtual LinkResult ReadAvailable(ByteBuffer& out, std::size_t maxBytes) = 0;
    // Drops what is pending in either direction.
    virtual void Abort() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
};

}  // namespace ohmlet
