#pragma once
// A pseudo-terminal for the virtual instrument: programs open its path as a serial
// port. The only platform-specific piece of the transfer layer.
#include <memory>
#include <string>

#include "transfer/ByteBuffer.h"
#include "transfer/LinkStatus.h"

namespace ohmlet {

class PseudoTerminal {
public:
    // Nothing when the system offers no pseudo-terminal; error then says why.
    static std::unique_ptr<PseudoTerminal> Open(std::string& error);
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The path a serial program opens.
    const std::string& PortPath() const { return portPath_; }
    // Appends what the other side sent, waiting at most timeoutMs for the first byte.
    LinkResult Read(ByteBuffer& out, int timeoutMs);
    LinkResult Write(const unsigned char* data, std::size_t size);

private:
    PseudoTerminal() = default;
    int master_ = -1;
    int slave_ = -1;  // kept open so the master never sees a hang-up between clients
    std::string portPath_;
};

}  // namespace ohmlet
