#pragma once
// The instrument's serial port: 2400 baud, 8 data bits, no parity, 1 stop bit, no flow
// control. One class; the system's calls behind it live in SerialLinkPosix.cpp or
// SerialLinkWindows.cpp, whichever the build picks.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "transfer/Clock.h"
#include "transfer/Link.h"

namespace ohmlet {

class SerialLink : public Link {
public:
    // portName: a device path ("/dev/ttyUSB0") or a COM name ("COM3"). Read's time-out
    // and the wait for room to write run on clock, which must outlive the link.
    explicit SerialLink(std::string portName, Clock& clock = SystemClock::Instance());
    ~SerialLink() override;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;

    LinkResult Open() override;
    LinkResult Write(const unsigned char* data, std::size_t size) override;
    LinkResult Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) override;
    void Abort() override;
    void Close() override;

    // What a system error code means for a port: errno here, GetLastError() on Windows.
    static LinkStatus StatusForError(unsigned long code);

private:
    struct Port;  // the system's handles
    std::string portName_;
    Clock& clock_;
    std::unique_ptr<Port> port_;
    std::atomic<bool> aborted_{false};
};

// A serial port the system offers: the name to show and the path to open.
struct SerialPortName {
    std::string name;
    std::string location;
};

// The serial ports present now, sorted by name.
std::vector<SerialPortName> ListSerialPorts();

#ifndef _WIN32
// The ports under a sysfs tty class folder whose device node exists in devDir.
std::vector<SerialPortName> ListSerialPortsIn(const std::string& sysClassTty,
                                              const std::string& devDir);
#endif

}  // namespace ohmlet
