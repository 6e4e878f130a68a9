// The stand-in pseudo-terminal of systems without one: it refuses plainly, whatever the
// caller held in its error text before.
#include <gtest/gtest.h>

#include "transfer/PseudoTerminal.h"

namespace ohmlet {
namespace {

TEST(PseudoTerminalUnsupported, OpenRefusesAndSaysWhy) {
    const std::string before[] = {"", "cannot make a pseudo-terminal: earlier failure"};
    for (const std::string& earlier : before) {
        SCOPED_TRACE(earlier);
        std::string error = earlier;
        std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Open(error);
        EXPECT_EQ(pty, nullptr);
        EXPECT_EQ(error,
                  "the virtual serial instrument is not supported on this platform: it needs "
                  "pseudo-terminals");
    }
}

}  // namespace
}  // namespace ohmlet
