#pragma once
// Faults a simulated instrument injects on purpose, so tests can show what the links do
// when the line or the chip misbehaves. Offsets count reply bytes as the serial
// simulator sends them, or instrument memory addresses (block * 64 + i) over USB.
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>

#include "transfer/ByteBuffer.h"
#include "transfer/LinkStatus.h"

namespace ohmlet {

struct FaultPlan {
    std::set<std::size_t> dropBytes;              // never sent
    std::map<std::size_t, unsigned char> garble;  // sent XORed with the mask
    std::size_t cutAt = SIZE_MAX;                 // nothing from here on is sent
    std::size_t stallAt = SIZE_MAX;               // sending pauses before this byte ...
    int stallMs = 0;                              // ... this long; a USB abort ends it early
    std::set<unsigned> failWriteBlocks;           // USB: the request for these blocks fails
    std::set<unsigned> failReadBlocks;            // USB: reading these blocks fails
    LinkStatus failure = LinkStatus::Failed;

    // Bytes [offset, offset + size) of a stream as they arrive: dropped, garbled, cut.
    ByteBuffer Apply(const unsigned char* data, std::size_t size, std::size_t offset) const;
    // Whether a stall lies in [from, to).
    bool StallsWithin(std::size_t from, std::size_t to) const;
};

}  // namespace ohmlet
