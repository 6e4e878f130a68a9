// POSIX pseudo-terminals (posix_openpt).
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "transfer/PseudoTerminal.h"

namespace ohmlet {

std::unique_ptr<PseudoTerminal> PseudoTerminal::Open(std::string& error) {
    std::unique_ptr<PseudoTerminal> pty(new PseudoTerminal);
    pty->master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (pty->master_ < 0 || grantpt(pty->master_) != 0 || unlockpt(pty->master_) != 0) {
        error = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    const char* name = ptsname(pty->master_);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    pty->portPath_ = name;
    pty->slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (pty->slave_ < 0) {
        error = "cannot open " + pty->portPath_ + ": " + std::strerror(errno);
        return nullptr;
    }
    // Raw bytes both ways: no echo of the request, no line editing of the reply.
    termios mode{};
    if (tcgetattr(pty->slave_, &mode) == 0) {
        cfmakeraw(&mode);
        tcsetattr(pty->slave_, TCSANOW, &mode);
    }
    return pty;
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

LinkResult PseudoTerminal::Read(ByteBuffer& out, int timeoutMs) {
    pollfd p{master_, POLLIN, 0};
    int ready = ::poll(&p, 1, timeoutMs);
    if (ready < 0 && errno != EINTR) return {LinkStatus::Failed, {}, std::strerror(errno)};
    if (ready <= 0 || !(p.revents & POLLIN)) return {};
    unsigned char chunk[1024];
    ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n < 0) {
        if (errno == EAGAIN || errno == EINTR || errno == EIO) return {};
        return {LinkStatus::Failed, {}, std::strerror(errno)};
    }
    out.insert(out.end(), chunk, chunk + n);
    return {};
}

LinkResult PseudoTerminal::Write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(master_, data, size);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            return {LinkStatus::Failed, {}, std::strerror(errno)};
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

}  // namespace ohmlet
