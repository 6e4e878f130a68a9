#pragma once
// The virtual instrument on a serial line: answers every "BHV20!" with its reply,
// at the pace of the real line.
#include <atomic>
#include <functional>
#include <string>

#include "transfer/ByteBuffer.h"
#include "transfer/Clock.h"
#include "transfer/PseudoTerminal.h"
#include "transfer/sim/FaultPlan.h"

namespace ohmlet {

// 2400 baud, 10 bits a byte (start, 8 data, stop).
inline constexpr unsigned kSerialBytesPerSecond = 240;

// Runs until stop is set or the terminal fails. log gets one line per answered request.
// faults, for tests: what goes wrong on the line while each reply is sent. The pace, the
// stalls and the waits for a request run on clock.
LinkResult RunSerialSimulator(PseudoTerminal& pty, const ByteBuffer& reply, std::atomic<bool>& stop,
                              unsigned bytesPerSecond = kSerialBytesPerSecond,
                              const std::function<void(const std::string&)>& log = {},
                              const FaultPlan* faults = nullptr,
                              Clock& clock = SystemClock::Instance());

}  // namespace ohmlet
