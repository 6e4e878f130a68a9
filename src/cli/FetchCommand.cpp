// ohmlet-cli fetch: download from the instrument without the GUI and write
// DZLDat.DZL into a folder.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "cli/CliCommands.h"
#include "transfer/SerialLink.h"
#include "transfer/SerialTransport.h"
#include "transfer/TransferResult.h"
#include "transfer/TransferTexts.h"
#include "transfer/UsbSession.h"

namespace ohmlet::cli {

namespace {

int Report(const TransferResult& result, const std::string& target) {
    switch (result.status) {
        case TransferResult::Status::Written:
            std::cout << target << ": " << result.componentCount << " components\n";
            return kExitOk;
        case TransferResult::Status::NoData:
            return Fail(kExitNoData, "The instrument holds no data (it reported no components).");
        case TransferResult::Status::Inconsistent:
            return Fail(kExitBadReply, "The instrument's reply is inconsistent: " + result.detail);
        case TransferResult::Status::WriteFailed:
            return Fail(kExitIo, result.detail);
    }
    return kExitIo;
}

// Unlike the dialog, a script cannot press Cancel: give up after a quiet spell.
int FetchSerial(const std::string& port, const std::string& target, int idleSeconds) {
    int argc = 1;
    char name[] = "ohmlet-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    ByteBuffer buffer;
    SerialLink link(buffer);
    QEventLoop loop;
    QElapsedTimer quiet;
    bool complete = false;
    std::string failure;
    QObject::connect(&link, &SerialLink::replyComplete, [&] {
        complete = true;
        loop.quit();
    });
    QObject::connect(&link, &SerialLink::readFailed, [&](const QString& cause) {
        failure = cause.toStdString();
        loop.quit();
    });
    QObject::connect(&link, &SerialLink::progress, [&] { quiet.restart(); });
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (quiet.elapsed() > idleSeconds * 1000) loop.quit();
    });
    LinkResult opened = link.Start(std::make_unique<SerialTransport>(QString::fromStdString(port)));
    if (!opened.ok()) {
        return Fail(kExitIo, std::string(transfer_texts::kCannotOpenSerial) + " " + port + ": " +
                                 DescribeLinkResult(opened) + ".");
    }
    quiet.start();
    watchdog.start(100);
    loop.exec();
    link.Stop();
    if (!failure.empty()) return Fail(kExitIo, "Reading " + port + " failed: " + failure + ".");
    if (!complete) {
        std::string got = std::to_string(buffer.size()) + " bytes";
        return Fail(buffer.empty() ? kExitIo : kExitBadReply,
                    "The instrument on " + port + " stopped answering (" + got +
                        " received, timed out after " + std::to_string(idleSeconds) + " s).");
    }
    return Report(CompleteTransfer(ReplyLayout::Serial, buffer, target), target);
}

int FetchUsb(unsigned index, const std::string& target) {
    UsbConnection connection(MakeCh375(), index);
    UsbOpenOutcome opened = OpenUsbConnection(connection);
    if (!opened.ok) {
        return Fail(kExitIo, opened.message + " USB" + std::to_string(index + 1) + ": " +
                                 DescribeLinkResult(opened.cause) + ".");
    }
    connection.workerRunning = true;
    UsbTransferOutcome outcome = RunUsbTransfer(connection);
    connection.workerRunning = false;
    switch (outcome.status) {
        case UsbTransferOutcome::Status::Complete:
            break;
        case UsbTransferOutcome::Status::BadReply:
            return Fail(kExitBadReply, "The instrument's reply is inconsistent: " +
                                           DescribeLinkResult(outcome.cause) + ".");
        default:
            return Fail(kExitIo, (outcome.message.empty() ? std::string("USB transfer failed.")
                                                          : outcome.message) +
                                     " " + DescribeLinkResult(outcome.cause) + ".");
    }
    return Report(CompleteTransfer(ReplyLayout::Usb, outcome.reply, target), target);
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
    if (!serialPort.empty()) return FetchSerial(serialPort, target, idleSeconds);
    unsigned index = 0;
    if (!ParseUsbIndex(usbText, index))
        return UsageError("--usb takes a device index 0 to 5 (or USB1 to USB6).");
    return FetchUsb(index, target);
}

const CommandRegistration kRegistration(
    "fetch", "--serial PORT | --usb INDEX [-o FOLDER] [--timeout SECONDS]", RunFetch);

}  // namespace
}  // namespace ohmlet::cli
