// The Win32 serial link without a port to talk to: its reading of the system's error
// codes, and what it says of a port that is not there.
#include <gtest/gtest.h>
#include <windows.h>

#include "transfer/SerialLink.h"

namespace ohmlet {
namespace {

TEST(SerialLinkWindows, SystemErrorsKeepTheirCause) {
    const struct {
        DWORD code;
        LinkStatus status;
    } cases[] = {
        {ERROR_FILE_NOT_FOUND, LinkStatus::NoSuchDevice},
        {ERROR_PATH_NOT_FOUND, LinkStatus::NoSuchDevice},
        {ERROR_DEVICE_NOT_CONNECTED, LinkStatus::NoSuchDevice},
        {ERROR_BAD_COMMAND, LinkStatus::NoSuchDevice},
        {ERROR_ACCESS_DENIED, LinkStatus::InUse},
        {ERROR_SHARING_VIOLATION, LinkStatus::InUse},
        {ERROR_SEM_TIMEOUT, LinkStatus::TimedOut},
        {ERROR_OPERATION_ABORTED, LinkStatus::Aborted},
        {ERROR_INVALID_PARAMETER, LinkStatus::Failed},
        {ERROR_SUCCESS, LinkStatus::Ok},
    };
    for (const auto& c : cases) EXPECT_EQ(SerialLink::StatusForError(c.code), c.status) << c.code;
}

TEST(SerialLinkWindows, AMissingPortIsNoSuchDeviceAndNothingElseRuns) {
    const struct {
        const char* port;
        const char* cause;
    } cases[] = {{"COM250", ""}, {"\\\\.\\COM251", ""}, {"", "no port chosen"}};
    const unsigned char request[] = {'B', 'H', 'V', '2', '0', '!'};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        SerialLink link(c.port);
        LinkResult opened = link.Open();
        EXPECT_EQ(opened.code, LinkStatus::NoSuchDevice) << opened.cause;
        EXPECT_NE(opened.cause.find(c.cause), std::string::npos) << opened.cause;
        EXPECT_FALSE(opened.cause.empty());
        ByteBuffer out;
        EXPECT_EQ(link.Write(request, sizeof request).code, LinkStatus::Failed);
        EXPECT_EQ(link.Read(out, 16, 10).code, LinkStatus::Failed);
        EXPECT_TRUE(out.empty());
    }
}

}  // namespace
}  // namespace ohmlet
