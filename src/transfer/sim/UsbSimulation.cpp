#include "transfer/sim/UsbSimulation.h"

#include <cstdlib>
#include <mutex>

#include "data/DzlFile.h"
#ifdef _WIN32
#include "transfer/Ch375DllWindows.h"
#include "transfer/Ch375Fallback.h"
#endif
#include "transfer/LibusbCh375.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/SimulatedCh375.h"

namespace ohmlet {
namespace {

std::mutex& SourceMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<std::string>& ChosenSource() {
    static std::optional<std::string> source;
    return source;
}

}  // namespace

void UseSimulatedUsb(const std::string& dzlPath) {
    std::lock_guard<std::mutex> lock(SourceMutex());
    ChosenSource() = dzlPath;
}

std::optional<std::string> SimulatedUsbSource() {
    {
        std::lock_guard<std::mutex> lock(SourceMutex());
        if (ChosenSource()) return ChosenSource();
    }
    const char* variable = std::getenv(kSimulateUsbVariable);
    if (variable && *variable) return std::string(variable);
    return std::nullopt;
}

std::unique_ptr<Ch375> MakeCh375() {
    std::optional<std::string> source = SimulatedUsbSource();
#ifdef _WIN32
    // Windows binds the chip to its maker's driver, which only the maker's library opens;
    // a chip bound to WinUSB instead opens through libusb.
    if (!source)
        return std::make_unique<Ch375Fallback>(std::make_unique<Ch375DllWindows>(),
                                               std::make_unique<LibusbCh375>());
#else
    if (!source) return std::make_unique<LibusbCh375>();
#endif
    // The file is read at each transfer, so edits to it show in the next download.
    DzlReadResult file = ReadDzlFile(*source);
    EncodedReply reply;
    if (file.Ok()) reply = EncodeUsbReply(file.components);
    std::optional<ByteBuffer> image;
    if (file.Ok() && reply.Ok()) image = MakeUsbDeviceImage(reply.bytes);
    auto chip = std::make_unique<SimulatedCh375>(image ? *image : ByteBuffer{});
    if (!file.Ok()) {
        chip->FailOpen({LinkStatus::NoSuchDevice, {}, "simulated instrument: " + file.text});
    } else if (!reply.Ok()) {
        chip->FailOpen({LinkStatus::Failed, {}, "simulated instrument: " + reply.cause});
    }
    return chip;
}

}  // namespace ohmlet
