#pragma once
// One device index ("USB1".."USB6") of a CH375 chip as a link: each write is one
// request, each read one block.
#include <atomic>
#include <memory>

#include "transfer/Ch375.h"
#include "transfer/Clock.h"
#include "transfer/Link.h"

namespace ohmlet {

class Ch375Link : public Link {
public:
    // Close's pauses for the driver run on clock, which must outlive the link.
    Ch375Link(std::unique_ptr<Ch375> chip, unsigned deviceIndex,
              Clock& clock = SystemClock::Instance());
    ~Ch375Link() override;

    // Opens the device and checks it has a name to talk to; a failure carries the
    // USB failure box text and leaves nothing open.
    LinkResult Open() override;
    LinkResult Write(const unsigned char* data, std::size_t size) override;
    // The chip keeps its own time-out.
    LinkResult Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) override;
    void Abort() override;
    // Aborts what is pending and closes the device; does nothing when it is not open.
    void Close() override;

    bool IsOpen() const { return open_; }

private:
    const std::unique_ptr<Ch375> chip_;
    const unsigned index_;
    Clock& clock_;
    std::atomic<bool> open_{false};
};

}  // namespace ohmlet
