// ohmlet-cli fetch: download from the instrument without the GUI and write
// DZLDat.DZL into a folder.
#include <QCoreApplication>
#include <QEventLoop>
#include <filesystem>
#include <iostream>

#include "cli/CliCommands.h"
#include "report/InterpretationSettings.h"
#include "transfer/Ch375Link.h"
#include "transfer/SerialPortLink.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"

namespace ohmlet::cli {

namespace {

int Report(const TransferOutcome& result, ReplyLayout layout, const std::string& target,
           const std::string& where, int idleSeconds) {
    switch (result.code) {
        case TransferCode::Written:
            std::cout << target << ": " << result.componentCount << " components\n";
            return kExitOk;
        case TransferCode::NoData:
            return Fail(kExitNoData, "The instrument holds no data (it reported no components).");
        case TransferCode::Inconsistent:
            return Fail(kExitBadReply, "The instrument's reply is inconsistent: " + result.cause);
        case TransferCode::BadBlocks:
            return Fail(kExitBadReply,
                        "The instrument's reply is inconsistent: " + result.cause + ".");
        case TransferCode::WriteFailed:
            return Fail(kExitIo, result.cause);
        case TransferCode::Stalled: {
            std::string got = std::to_string(result.received.size()) + " bytes";
            return Fail(result.received.empty() ? kExitIo : kExitBadReply,
                        "The instrument on " + where + " stopped answering (" + got +
                            " received, timed out after " + std::to_string(idleSeconds) + " s).");
        }
        case TransferCode::ReadFailed:
            if (layout == ReplyLayout::Serial)
                return Fail(kExitIo, "Reading " + where + " failed: " + result.cause + ".");
            [[fallthrough]];
        case TransferCode::RequestFailed:
        case TransferCode::Cancelled:
            return Fail(kExitIo,
                        (result.text.empty() ? std::string("USB transfer failed.") : result.text) +
                            " " + result.cause + ".");
    }
    return kExitIo;
}

// The same session as the dialog's, driven by an event loop instead of a window.
// Unlike the dialog, a script cannot press Cancel: a serial transfer gives up after a
// quiet spell.
int Fetch(std::unique_ptr<Link> link, ReplyLayout layout, const std::string& where,
          const std::string& target, int idleSeconds) {
    int argc = 1;
    char name[] = "ohmlet-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TransferSession session;
    session.SetFillCriterion(
        LoadInterpretationSettings(QCoreApplication::applicationDirPath() + QLatin1Char('/'))
            .DownloadCriterion());
    QEventLoop loop;
    QObject::connect(&session, &TransferSession::ended, &loop, &QEventLoop::quit);
    StartOutcome started = session.Start(std::move(link), layout, target, idleSeconds * 1000);
    if (!started.Ok())
        return Fail(kExitIo, started.text + " " + where + ": " + started.cause + ".");
    loop.exec();
    return Report(session.Result(), layout, target, where, idleSeconds);
}

bool ParseUsbIndex(std::string text, unsigned& index) {
    bool named = text.rfind("USB", 0) == 0;  // "USB1".."USB6" as the dialog names them
    if (named) text = text.substr(3);
    if (text.size() != 1 || text[0] < '0' || text[0] > '9') return false;
    int value = text[0] - '0' - (named ? 1 : 0);
    if (value < 0 || value > 5) return false;
    index = static_cast<unsigned>(value);
    return true;
}

int RunFetch(Args args) {
    std::string folder = ".", serialPort, usbText, idleText = "10";
    if (!TakeOption(args, "-o", "--output", folder)) return UsageError("-o needs a folder.");
    if (!TakeOption(args, "--serial", "--serial", serialPort) ||
        !TakeOption(args, "--usb", "--usb", usbText) ||
        !TakeOption(args, "--timeout", "--timeout", idleText) || !args.empty() ||
        serialPort.empty() == usbText.empty()) {
        return UsageError("usage: fetch --serial PORT | --usb INDEX [-o FOLDER]");
    }
    int idleSeconds = std::atoi(idleText.c_str());
    if (idleSeconds <= 0) return UsageError("--timeout needs a number of seconds.");
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return Fail(kExitIo, "Cannot write into " + folder + ": it is not a folder.");
    std::string target = (std::filesystem::path(folder) / transfer_texts::kTargetFileName).string();
    if (!serialPort.empty()) {
        return Fetch(std::make_unique<SerialPortLink>(QString::fromStdString(serialPort)),
                     ReplyLayout::Serial, serialPort, target, idleSeconds);
    }
    unsigned index = 0;
    if (!ParseUsbIndex(usbText, index))
        return UsageError("--usb takes a device index 0 to 5 (or USB1 to USB6).");
    return Fetch(std::make_unique<Ch375Link>(MakeCh375(), index), ReplyLayout::Usb,
                 "USB" + std::to_string(index + 1), target, idleSeconds);
}

const CommandRegistration kRegistration(
    "fetch", "--serial PORT | --usb INDEX [-o FOLDER] [--timeout SECONDS]", RunFetch);

}  // namespace
}  // namespace ohmlet::cli
