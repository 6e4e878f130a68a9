// Systems without pseudo-terminals: the virtual serial instrument is not offered there,
// and says so instead of failing later with a path nobody can open.
#include "transfer/PseudoTerminal.h"

namespace ohmlet {

const char kPseudoTerminalUnsupported[] =
    "the virtual serial instrument is not supported on this platform: it needs "
    "pseudo-terminals";

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(std::string& error) {
    error = kPseudoTerminalUnsupported;
    return nullptr;
}

PseudoTerminal::~PseudoTerminal() = default;

LinkResult PseudoTerminal::Read(ByteBuffer&, int) {
    return {LinkStatus::Failed, kPseudoTerminalUnsupported};
}

LinkResult PseudoTerminal::Write(const unsigned char*, std::size_t) {
    return {LinkStatus::Failed, kPseudoTerminalUnsupported};
}

}  // namespace ohmlet
