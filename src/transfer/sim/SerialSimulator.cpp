#include "transfer/sim/SerialSimulator.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "transfer/Download.h"

namespace ohmlet {
namespace {

// Removes everything up to and including the first request; true when there was one.
bool TakeRequest(ByteBuffer& input) {
    const std::size_t length = std::strlen(kDownloadRequest);
    auto it = std::search(input.begin(), input.end(), kDownloadRequest, kDownloadRequest + length);
    if (it == input.end()) {
        // Keep a tail that may be the start of a request split across reads.
        if (input.size() > length)
            input.erase(input.begin(), input.end() - static_cast<std::ptrdiff_t>(length));
        return false;
    }
    input.erase(input.begin(), it + static_cast<std::ptrdiff_t>(length));
    return true;
}

constexpr std::chrono::milliseconds kStep(10);
constexpr std::chrono::milliseconds kRequestWait(100);

// Sleeps in short steps so a stop ends the pause.
void Pause(int ms, std::atomic<bool>& stop, Clock& clock) {
    for (int waited = 0; waited < ms && !stop; waited += static_cast<int>(kStep.count()))
        clock.SleepFor(kStep);
}

struct Pacing {
    unsigned bytesPerSecond;
    const FaultPlan* faults;
    Clock& clock;
};

LinkResult SendPaced(PseudoTerminal& pty, const ByteBuffer& original, std::atomic<bool>& stop,
                     const Pacing& pace) {
    const FaultPlan* faults = pace.faults;
    const ByteBuffer reply = faults ? faults->Apply(original.data(), original.size(), 0) : original;
    auto start = pace.clock.Now();
    std::size_t sent = 0;
    bool stalled = false;
    while (sent < reply.size() && !stop) {
        if (!stalled && faults && faults->StallsWithin(0, sent + 1)) {
            Pause(faults->stallMs, stop, pace.clock);
            start += std::chrono::milliseconds(faults->stallMs);
            stalled = true;
        }
        double elapsed = std::chrono::duration<double>(pace.clock.Now() - start).count();
        std::size_t due =
            std::min(reply.size(), static_cast<std::size_t>(elapsed * pace.bytesPerSecond) + 1);
        if (!stalled && faults && faults->StallsWithin(sent, due)) due = faults->stallAt;
        if (due > sent) {
            LinkResult written = pty.Write(reply.data() + sent, due - sent);
            if (!written.Ok()) return written;
            sent = due;
        }
        pace.clock.SleepFor(kStep);
    }
    return {};
}

// Appends what the other side sent, waiting on clock at most kRequestWait for it.
LinkResult ReadRequest(PseudoTerminal& pty, ByteBuffer& input, Clock& clock) {
    LinkResult read;
    clock.WaitForSystem(kRequestWait, [&](int ms) {
        const std::size_t before = input.size();
        read = pty.Read(input, ms);
        return !read.Ok() ? -1 : input.size() > before ? 1 : 0;
    });
    return read;
}

}  // namespace

LinkResult RunSerialSimulator(PseudoTerminal& pty, const ByteBuffer& reply, std::atomic<bool>& stop,
                              unsigned bytesPerSecond,
                              const std::function<void(const std::string&)>& log,
                              const FaultPlan* faults, Clock& clock) {
    const Pacing pace{std::max(1u, bytesPerSecond), faults, clock};
    ByteBuffer input;
    while (!stop) {
        LinkResult read = ReadRequest(pty, input, clock);
        if (!read.Ok()) return read;
        while (TakeRequest(input)) {
            if (log) log("request received, sending " + std::to_string(reply.size()) + " bytes");
            LinkResult sent = SendPaced(pty, reply, stop, pace);
            if (!sent.Ok()) return sent;
        }
    }
    return {};
}

}  // namespace ohmlet
