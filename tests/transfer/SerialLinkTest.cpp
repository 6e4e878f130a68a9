// The serial link's own system calls: open results, bytes both ways over a
// pseudo-terminal, an abort that wakes a waiting read, and the port list from sysfs.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>

#include "transfer/PseudoTerminal.h"
#include "transfer/SerialLink.h"

namespace ohmlet {
namespace {

TEST(SerialLink, SystemErrorsKeepTheirCause) {
    const struct {
        int code;
        LinkStatus status;
    } cases[] = {
        {ENOENT, LinkStatus::NoSuchDevice},
        {ENODEV, LinkStatus::NoSuchDevice},
        {ENXIO, LinkStatus::NoSuchDevice},
        {EIO, LinkStatus::NoSuchDevice},
        {EACCES, LinkStatus::PermissionDenied},
        {EPERM, LinkStatus::PermissionDenied},
        {EBUSY, LinkStatus::InUse},
        {EWOULDBLOCK, LinkStatus::InUse},
        {ETIMEDOUT, LinkStatus::TimedOut},
        {ENOTTY, LinkStatus::Failed},
        {EINVAL, LinkStatus::Failed},
        {0, LinkStatus::Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SerialLink::StatusForError(static_cast<unsigned long>(c.code)), c.status)
            << c.code;
}

TEST(SerialLink, OpenSaysWhyAPortCannotBeUsed) {
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Open(error);
    ASSERT_TRUE(pty) << error;
    QTemporaryDir dir;
    const std::string plainFile = dir.path().toStdString() + "/plain";
    std::ofstream(plainFile) << "not a port";
    SerialLink holder(pty->PortPath());
    const struct {
        const char* what;
        std::string port;
        bool held;
        LinkStatus status;
        const char* cause;
    } cases[] = {
        {"no port chosen", "", false, LinkStatus::NoSuchDevice, "no port chosen"},
        {"absent device", "/dev/ohmlet-no-such-tty", false, LinkStatus::NoSuchDevice, ""},
        {"a plain file", plainFile, false, LinkStatus::Failed, "not a serial port"},
        {"a free port", pty->PortPath(), false, LinkStatus::Ok, ""},
        {"held by another link", pty->PortPath(), true, LinkStatus::InUse, ""},
        {"free again once closed", pty->PortPath(), false, LinkStatus::Ok, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.held) {
            ASSERT_TRUE(holder.Open().Ok());
        }
        SerialLink link(c.port);
        LinkResult r = link.Open();
        EXPECT_EQ(r.code, c.status) << r.cause;
        EXPECT_NE(r.cause.find(c.cause), std::string::npos) << r.cause;
        holder.Close();
    }
}

TEST(SerialLink, BytesCrossTheLineAndAnAbortEndsAWait) {
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Open(error);
    ASSERT_TRUE(pty) << error;
    SerialLink link(pty->PortPath());
    ASSERT_TRUE(link.Open().Ok());

    const unsigned char request[] = {'B', 'H', 'V', '2', '0', '!'};
    ASSERT_TRUE(link.Write(request, sizeof request).Ok());
    ByteBuffer sent;
    while (sent.size() < sizeof request && pty->Read(sent, 2000).Ok() && !sent.empty()) {
    }
    EXPECT_EQ(sent, ByteBuffer(request, request + sizeof request));

    // Raw mode: a CR, LF, DEL or ^C in a reply arrives as it is; reads stop at maxBytes.
    ByteBuffer reply(300);
    for (std::size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<unsigned char>(i);
    ASSERT_TRUE(pty->Write(reply.data(), reply.size()).Ok());
    ByteBuffer got;
    while (got.size() < reply.size()) {
        const std::size_t before = got.size();
        ASSERT_TRUE(link.Read(got, 64, 2000).Ok());
        ASSERT_GT(got.size(), before);
        ASSERT_LE(got.size() - before, 64u);
    }
    EXPECT_EQ(got, reply);

    // Nothing comes: only the abort from another thread can end this read early.
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        link.Abort();
    });
    LinkResult waited = link.Read(got, 64, 60000);
    canceller.join();
    EXPECT_EQ(waited.code, LinkStatus::Aborted);
    EXPECT_EQ(link.Write(request, sizeof request).code, LinkStatus::Aborted);

    // Open again starts afresh; the instrument's side going away is a vanished device.
    ASSERT_TRUE(link.Open().Ok());
    EXPECT_TRUE(link.Read(got, 64, 10).Ok());
    pty.reset();
    EXPECT_EQ(link.Read(got, 64, 2000).code, LinkStatus::NoSuchDevice);
}

TEST(SerialLink, ASilentLineTimesOutOnTheLinksClock) {
    std::string error;
    std::unique_ptr<PseudoTerminal> pty = PseudoTerminal::Open(error);
    ASSERT_TRUE(pty) << error;
    for (int timeoutMs : {0, 10, 215, 60000}) {
        SCOPED_TRACE(timeoutMs);
        SimulatedClock clock;
        SerialLink link(pty->PortPath(), clock);
        ASSERT_TRUE(link.Open().Ok());
        ByteBuffer got;
        EXPECT_TRUE(link.Read(got, 64, timeoutMs).Ok());
        EXPECT_TRUE(got.empty());
        EXPECT_EQ(clock.Elapsed(), std::chrono::milliseconds(timeoutMs));
    }
}

TEST(SerialLink, ThePortListHoldsDevicesThatAnswer) {
    QTemporaryDir dir;
    namespace fs = std::filesystem;
    const fs::path sys = dir.path().toStdString() + "/sys", dev = dir.path().toStdString() + "/dev";
    fs::create_directories(dev);
    const struct {
        const char* name;
        bool device;  // a device folder behind the class entry
        const char* type;
        bool node;  // the node in /dev
    } entries[] = {
        {"ttyUSB0", true, nullptr, true}, {"ttyS0", true, "4", true},
        {"ttyS1", true, "0", true},       {"ttyS2", true, nullptr, true},
        {"tty3", false, nullptr, true},   {"ttyACM1", true, nullptr, false},
        {"ttyACM0", true, nullptr, true},
    };
    for (const auto& e : entries) {
        fs::create_directories(sys / e.name);
        if (e.device) fs::create_directories(sys / e.name / "device");
        if (e.type) std::ofstream(sys / e.name / "type") << e.type << "\n";
        if (e.node) std::ofstream(dev / e.name);
    }
    std::vector<std::string> listed;
    for (const SerialPortName& port : ListSerialPortsIn(sys.string(), dev.string())) {
        EXPECT_EQ(port.location, (dev / port.name).string());
        listed.push_back(port.name);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyUSB0"}));
    EXPECT_TRUE(ListSerialPortsIn((sys / "absent").string(), dev.string()).empty());
}

}  // namespace
}  // namespace ohmlet
