#pragma once
// Two ways to the same chip: the first that opens the device serves every later call.
// On Windows the maker's library comes first and libusb, for a chip bound to WinUSB,
// second.
#include <atomic>
#include <memory>

#include "transfer/Ch375.h"

namespace ohmlet {

class Ch375Fallback : public Ch375 {
public:
    Ch375Fallback(std::unique_ptr<Ch375> first, std::unique_ptr<Ch375> second);

    // A failure of both keeps the first one's cause, which names what to install, and
    // adds the second's.
    LinkResult OpenDevice(unsigned index) override;
    std::string DeviceName(unsigned index) override;
    LinkResult WriteData(unsigned index, const unsigned char* data, std::size_t& count) override;
    LinkResult ReadData(unsigned index, unsigned char* data, std::size_t& count) override;
    void AbortWrite(unsigned index) override;
    void AbortRead(unsigned index) override;
    void CloseDevice(unsigned index) override;

private:
    std::unique_ptr<Ch375> first_;
    std::unique_ptr<Ch375> second_;
    // The way that opened, until it is closed; atomic, as an abort comes from another thread.
    std::atomic<Ch375*> open_{nullptr};
};

}  // namespace ohmlet
