#include "transfer/sim/SerialSimulator.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

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

// Sleeps in short steps so a stop ends the pause.
void Pause(int ms, std::atomic<bool>& stop) {
    for (int waited = 0; waited < ms && !stop; waited += 10)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

LinkResult SendPaced(PseudoTerminal& pty, const ByteBuffer& original, std::atomic<bool>& stop,
                     unsigned bytesPerSecond, const FaultPlan* faults) {
    using Clock = std::chrono::steady_clock;
    const ByteBuffer reply = faults ? faults->Apply(original.data(), original.size(), 0) : original;
    auto start = Clock::now();
    std::size_t sent = 0;
    bool stalled = false;
    while (sent < reply.size() && !stop) {
        if (!stalled && faults && faults->StallsWithin(0, sent + 1)) {
            Pause(faults->stallMs, stop);
            start += std::chrono::milliseconds(faults->stallMs);
            stalled = true;
        }
        double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        std::size_t due =
            std::min(reply.size(), static_cast<std::size_t>(elapsed * bytesPerSecond) + 1);
        if (!stalled && faults && faults->StallsWithin(sent, due)) due = faults->stallAt;
        if (due > sent) {
            LinkResult written = pty.Write(reply.data() + sent, due - sent);
            if (!written.Ok()) return written;
            sent = due;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

}  // namespace

LinkResult RunSerialSimulator(PseudoTerminal& pty, const ByteBuffer& reply, std::atomic<bool>& stop,
                              unsigned bytesPerSecond,
                              const std::function<void(const std::string&)>& log,
                              const FaultPlan* faults) {
    ByteBuffer input;
    while (!stop) {
        LinkResult read = pty.Read(input, 100);
        if (!read.Ok()) return read;
        while (TakeRequest(input)) {
            if (log) log("request received, sending " + std::to_string(reply.size()) + " bytes");
            LinkResult sent = SendPaced(pty, reply, stop, std::max(1u, bytesPerSecond), faults);
            if (!sent.Ok()) return sent;
        }
    }
    return {};
}

}  // namespace ohmlet
