// The CH375 link through the maker's driver library, with the stand-in library in its
// place: what it says when the library cannot serve, and that the blocks arrive as the
// simulated chip sends them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "data/DzlFile.h"
#include "transfer/Ch375DllWindows.h"
#include "transfer/Ch375Link.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferTexts.h"
#include "transfer/sim/SimulatedCh375.h"

namespace ohmlet {
namespace {

std::wstring Wide(const char* text) {
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

TEST(Ch375DllWindows, ALibraryThatCannotServeFailsTheOpenWithWhatToDo) {
    const struct {
        std::wstring library;
        LinkStatus status;
        const char* cause;
    } cases[] = {
        // Nothing named so beside the test program, in the system or on PATH.
        {L"CH375DLL.DLL", LinkStatus::NoSuchDevice,
         "the CH375 USB driver library CH375DLL.DLL is not installed; install the instrument's "
         "USB driver"},
        {L"Z:\\nowhere\\CH375DLL.DLL", LinkStatus::NoSuchDevice, "is not installed"},
        {Wide(OHMLET_STANDIN_PARTIAL_DLL), LinkStatus::Failed, "CH375DLL.DLL has no CH375ReadData"},
        {Wide(OHMLET_EXAMPLE_FILE), LinkStatus::Failed, "CH375DLL.DLL could not be loaded"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.library.begin(), c.library.end()));
        Ch375Link link(std::make_unique<Ch375DllWindows>(c.library), 0);
        LinkResult opened = link.Open();
        EXPECT_EQ(opened.code, c.status);
        EXPECT_EQ(opened.text, transfer_texts::kUsbOpenFailed);
        EXPECT_NE(opened.cause.find(c.cause), std::string::npos) << opened.cause;

        // Nothing else reaches a library that is not there.
        Ch375DllWindows chip(c.library);
        EXPECT_EQ(chip.OpenDevice(0).code, c.status);
        unsigned char block[64] = {0, 0};
        std::size_t count = sizeof block;
        EXPECT_EQ(chip.ReadData(0, block, count).code, LinkStatus::NoSuchDevice);
        EXPECT_EQ(count, 0u);
        EXPECT_EQ(chip.DeviceName(0), "");
        chip.AbortRead(0);
        chip.CloseDevice(0);
    }
}

TEST(Ch375DllWindows, TheStandInAnswersAsTheSimulatedChipDoes) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"CH375_STANDIN_DZL", Wide(OHMLET_EXAMPLE_FILE).c_str()));
    DzlReadResult file = ReadDzlFile(OHMLET_EXAMPLE_FILE);
    ASSERT_TRUE(file.Ok()) << file.text;
    auto image = MakeUsbDeviceImage(EncodeUsbReply(file.components).bytes);
    ASSERT_TRUE(image);
    SimulatedCh375 direct(*image);
    ASSERT_TRUE(direct.OpenDevice(0).Ok());

    Ch375DllWindows chip(Wide(OHMLET_STANDIN_DLL));
    EXPECT_EQ(chip.OpenDevice(1).code, LinkStatus::NoSuchDevice);
    ASSERT_TRUE(chip.OpenDevice(0).Ok());
    EXPECT_EQ(chip.OpenDevice(0).code, LinkStatus::InUse);
    EXPECT_EQ(chip.DeviceName(0), "\\\\.\\simulated-ch375");
    EXPECT_EQ(chip.DeviceName(1), "");

    // A read with no block asked for times out, through the system's error code.
    unsigned char got[100], want[100];
    std::size_t count = sizeof got;
    EXPECT_EQ(chip.ReadData(0, got, count).code, LinkStatus::TimedOut);
    EXPECT_EQ(count, 0u);

    const std::size_t blocks = image->size() / kUsbBlockSize + 2;
    for (unsigned block = 0; block < blocks; ++block) {
        SCOPED_TRACE(block);
        const unsigned char request[2] = {static_cast<unsigned char>(block >> 8),
                                          static_cast<unsigned char>(block)};
        std::size_t sent = sizeof request, sentDirect = sizeof request;
        ASSERT_TRUE(chip.WriteData(0, request, sent).Ok());
        ASSERT_TRUE(direct.WriteData(0, request, sentDirect).Ok());
        EXPECT_EQ(sent, sizeof request);
        std::size_t wantCount = sizeof want;
        count = sizeof got;
        ASSERT_TRUE(chip.ReadData(0, got, count).Ok());
        ASSERT_TRUE(direct.ReadData(0, want, wantCount).Ok());
        ASSERT_EQ(count, wantCount);
        EXPECT_EQ(std::string(got, got + count), std::string(want, want + wantCount));
    }
    EXPECT_EQ(chip.ReadData(1, got, count).code, LinkStatus::NoSuchDevice);
    chip.CloseDevice(0);
    EXPECT_EQ(chip.DeviceName(0), "");
}

}  // namespace
}  // namespace ohmlet
