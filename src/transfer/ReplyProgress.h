#pragma once
// How much of a reply has arrived, in the user's terms: whole components and readings
// rather than bytes. Pure functions over a partly received buffer.
#include <cstddef>

#include "transfer/ByteBuffer.h"
#include "transfer/ReplyDecoder.h"

namespace ohmlet {

struct ReplyCounts {
    bool known = false;                  // the header is there, so the count N is known
    std::size_t componentsExpected = 0;  // N
    std::size_t components = 0;          // components whose readings have all arrived
    std::size_t readings = 0;            // readings received so far
};

ReplyCounts CountReceived(ReplyLayout layout, const ByteBuffer& received);

}  // namespace ohmlet
