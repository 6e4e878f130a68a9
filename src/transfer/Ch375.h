#pragma once
// The calls the USB link makes on the instrument's CH375 interface chip. Devices are
// addressed by index 0..5 ("USB1".."USB6").
#include <cstddef>
#include <memory>
#include <string>

#include "transfer/LinkStatus.h"

namespace ohmlet {

class Ch375 {
public:
    virtual ~Ch375() = default;
    virtual LinkResult OpenDevice(unsigned index) = 0;
    // Empty when the device is not open.
    virtual std::string DeviceName(unsigned index) = 0;
    // count: in, the bytes to send; out, the bytes sent.
    virtual LinkResult WriteData(unsigned index, const unsigned char* data, std::size_t& count) = 0;
    // count: in, the capacity; out, the bytes received.
    virtual LinkResult ReadData(unsigned index, unsigned char* data, std::size_t& count) = 0;
    // May be called from another thread to end a pending write or read.
    virtual void AbortWrite(unsigned index) = 0;
    virtual void AbortRead(unsigned index) = 0;
    virtual void CloseDevice(unsigned index) = 0;
};

// The chip on this machine: libusb (on Windows the maker's CH375DLL.DLL), or the
// simulated instrument when one was chosen
// (UseSimulatedUsb, or OHMLET_SIMULATE_USB=FILE.DZL).
std::unique_ptr<Ch375> MakeCh375();

}  // namespace ohmlet
