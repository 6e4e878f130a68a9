#pragma once
// A byte link to the instrument, apart from any protocol: the serial port, the CH375
// over libusb, or a simulated instrument.
#include <cstddef>

#include "transfer/ByteBuffer.h"
#include "transfer/LinkStatus.h"

namespace ohmlet {

class Link {
public:
    virtual ~Link() = default;
    virtual LinkResult Open() = 0;
    virtual LinkResult Write(const unsigned char* data, std::size_t size) = 0;
    // Appends at most maxBytes of what arrives, waiting up to timeoutMs for the first
    // of them; nothing arriving in that time is no error.
    virtual LinkResult Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) = 0;
    // Ends a pending write or read; the only call that may come from another thread.
    virtual void Abort() = 0;
    virtual void Close() = 0;
};

}  // namespace ohmlet
