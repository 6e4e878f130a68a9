// The serial link on POSIX systems: termios, poll and a wake-up pipe for Abort.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "transfer/SerialLink.h"

namespace ohmlet {

struct SerialLink::Port {
    int fd = -1;
    // Abort writes a byte here; a read waiting in poll wakes at once.
    int wake[2] = {-1, -1};
};

namespace {

// How long a write waits for room in the driver before it gives up.
constexpr std::chrono::milliseconds kWriteWait(1000);
// A read in one call at most; the driver keeps the rest.
constexpr std::size_t kReadChunk = 4096;

std::string ErrorText(int code) { return std::generic_category().message(code); }

bool SetNonBlockingCloexec(int fd) {
    int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0 &&
           ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0;
}

void Drain(int fd) {
    unsigned char sink[64];
    while (::read(fd, sink, sizeof sink) > 0) {
    }
}

// Raw 2400 8N1 without flow control. VMIN 1: a read of a non-blocking descriptor with
// nothing there then fails with EAGAIN, and 0 bytes means the line hung up.
bool Configure(int fd) {
    termios mode{};
    if (::tcgetattr(fd, &mode) != 0) return false;
    ::cfmakeraw(&mode);
    if (::cfsetispeed(&mode, B2400) != 0 || ::cfsetospeed(&mode, B2400) != 0) return false;
    mode.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB);
#ifdef CRTSCTS
    mode.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
#endif
    mode.c_cflag |= CS8 | CLOCAL | CREAD;
    mode.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &mode) == 0;
}

// Waits until fd is ready for events, Abort has written to the wake-up pipe, or wait has
// passed on clock: > 0 ready, 0 time is up, < 0 the failure's errno negated.
int WaitFor(Clock& clock, int fd, int wake, short events, std::chrono::milliseconds wait) {
    const Clock::TimePoint deadline = clock.Now() + wait;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock.Now());
        if (left.count() <= 0) return 0;
        pollfd fds[2] = {{fd, events, 0}, {wake, POLLIN, 0}};
        int ready = clock.WaitForSystem(left, [&](int ms) { return ::poll(fds, 2, ms); });
        if (ready > 0) return ready;
        if (ready < 0 && errno != EINTR) return -errno;
    }
}

LinkResult SystemFailure(int code, const std::string& doing = {}) {
    std::string cause = doing.empty() ? ErrorText(code) : doing + ": " + ErrorText(code);
    return LinkFailure(SerialLink::StatusForError(static_cast<unsigned long>(code)), cause);
}

}  // namespace

LinkStatus SerialLink::StatusForError(unsigned long code) {
    switch (static_cast<int>(code)) {
        case 0:
            return LinkStatus::Ok;
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EIO:  // a terminal that hung up: the adapter was pulled out
            return LinkStatus::NoSuchDevice;
        case EACCES:
        case EPERM:
        case EROFS:
            return LinkStatus::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:  // flock's answer when another program holds the port
            return LinkStatus::InUse;
        case ETIMEDOUT:
            return LinkStatus::TimedOut;
        case ECANCELED:
            return LinkStatus::Aborted;
        default:
            return LinkStatus::Failed;
    }
}

SerialLink::SerialLink(std::string portName, Clock& clock)
    : portName_(std::move(portName)), clock_(clock), port_(std::make_unique<Port>()) {
    if (::pipe(port_->wake) != 0) {
        port_->wake[0] = port_->wake[1] = -1;
    } else if (!SetNonBlockingCloexec(port_->wake[0]) || !SetNonBlockingCloexec(port_->wake[1])) {
        ::close(port_->wake[0]);
        ::close(port_->wake[1]);
        port_->wake[0] = port_->wake[1] = -1;
    }
}

SerialLink::~SerialLink() {
    Close();
    for (int fd : port_->wake)
        if (fd >= 0) ::close(fd);
}

LinkResult SerialLink::Open() {
    Close();
    aborted_ = false;
    if (port_->wake[0] < 0) return LinkFailure(LinkStatus::Failed, "no wake-up pipe for the port");
    Drain(port_->wake[0]);
    if (portName_.empty()) return LinkFailure(LinkStatus::NoSuchDevice, "no port chosen");
    int fd = ::open(portName_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return SystemFailure(errno);
    LinkResult r;
    if (!::isatty(fd)) {
        r = LinkFailure(LinkStatus::Failed, "not a serial port");
    } else if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        r = errno == EWOULDBLOCK ? LinkFailure(LinkStatus::InUse, "another program has it open")
                                 : SystemFailure(errno, "locking the port");
    } else if (::ioctl(fd, TIOCEXCL) != 0) {
        r = SystemFailure(errno, "taking the port for this program");
    } else if (!Configure(fd)) {
        r = SystemFailure(errno, "the port settings were refused");
    }
    if (!r.Ok()) {
        ::close(fd);
        return r;
    }
    // Whatever the driver still holds from before belongs to no reply of ours.
    ::tcflush(fd, TCIOFLUSH);
    port_->fd = fd;
    return {};
}

LinkResult SerialLink::Write(const unsigned char* data, std::size_t size) {
    if (port_->fd < 0) return LinkFailure(LinkStatus::Failed, "the port is not open");
    while (size > 0) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, "writing the request");
        ssize_t n = ::write(port_->fd, data, size);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return SystemFailure(errno, "writing the request");
        const int ready = WaitFor(clock_, port_->fd, port_->wake[0], POLLOUT, kWriteWait);
        if (ready == 0) return LinkFailure(LinkStatus::TimedOut, "writing the request");
        if (ready < 0) return SystemFailure(-ready, "writing the request");
    }
    return {};
}

LinkResult SerialLink::Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) {
    if (port_->fd < 0) return LinkFailure(LinkStatus::Failed, "the port is not open");
    const Clock::TimePoint deadline =
        clock_.Now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    for (;;) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, {});
        if (maxBytes == 0) return {};
        const std::size_t at = out.size(), want = std::min(maxBytes, kReadChunk);
        out.resize(at + want);
        ssize_t n = ::read(port_->fd, out.data() + at, want);
        out.resize(at + static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
        if (n > 0) return {};
        // A terminal reads 0 bytes only once its line hung up.
        if (n == 0) return LinkFailure(LinkStatus::NoSuchDevice, "the port hung up");
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return SystemFailure(errno);
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_.Now());
        if (left.count() <= 0) return {};
        const int ready = WaitFor(clock_, port_->fd, port_->wake[0], POLLIN, left);
        if (ready < 0) return SystemFailure(-ready);
    }
}

void SerialLink::Abort() {
    aborted_ = true;
    const unsigned char wake = 1;
    // A full pipe already wakes the reader; nothing more to do then.
    if (port_->wake[1] >= 0 && ::write(port_->wake[1], &wake, 1) < 0) return;
}

void SerialLink::Close() {
    if (port_->fd < 0) return;
    // The exclusive mode outlives our descriptor while others (the simulator) hold the
    // terminal open; leave it as we found it.
    ::ioctl(port_->fd, TIOCNXCL);
    ::close(port_->fd);
    port_->fd = -1;
}

std::vector<SerialPortName> ListSerialPortsIn(const std::string& sysClassTty,
                                              const std::string& devDir) {
    namespace fs = std::filesystem;
    std::vector<SerialPortName> ports;
    std::error_code ec;
    for (fs::directory_iterator it(sysClassTty, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        // Consoles and pseudo-terminals have no device behind them.
        if (!fs::exists(it->path() / "device", ec)) continue;
        // The 8250 driver makes ttyS0..31 whether or not a UART answers; type 0 is none.
        if (name.rfind("ttyS", 0) == 0) {
            std::ifstream typeFile(it->path() / "type");
            int type = 0;
            if (!(typeFile >> type) || type == 0) continue;
        }
        const fs::path node = fs::path(devDir) / name;
        if (fs::exists(node, ec)) ports.push_back({name, node.string()});
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortName& a, const SerialPortName& b) { return a.name < b.name; });
    return ports;
}

std::vector<SerialPortName> ListSerialPorts() {
    return ListSerialPortsIn("/sys/class/tty", "/dev");
}

}  // namespace ohmlet
