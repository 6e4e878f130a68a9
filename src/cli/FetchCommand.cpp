// ohmlet-cli fetch: download from the instrument without the GUI and write
// DZLDat.DZL into a folder.
#include <unistd.h>
#include <QCoreApplication>
#include <QEventLoop>

#include <filesystem>
#include <iostream>

#include "cli/CliCommands.h"
#include "data/FileIdentity.h"
#include "data/SafeFile.h"
#include "report/InterpretationSettings.h"
#include "transfer/Ch375Link.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"

namespace ohmlet::cli {

namespace {

// The transfer's own texts are the dialog's, in Chinese; ohmlet-cli speaks English, so
// every message here is made from the outcome's code and its cause.
int Report(const TransferOutcome& result, const std::string& target, const std::string& where,
           int idleSeconds) {
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
            return Fail(kExitIo, "Reading " + where + " failed: " + result.cause + ".");
        case TransferCode::RequestFailed:
            return Fail(kExitIo, "Asking " + where + " for its data failed: " + result.cause +
                                     ". If the instrument was unplugged, plug it in again.");
        case TransferCode::Cancelled:
            return Fail(kExitIo, "The transfer from " + where + " was cancelled.");
    }
    return kExitIo;
}

std::string StartFailure(const StartOutcome& started, const std::string& where) {
    if (started.code == StartCode::OpenFailed)
        return "Cannot open " + where + ": " + started.cause + ".";
    return "Cannot start the transfer from " + where + ": " + started.cause + ".";
}

std::string FormatFetchProgress(qulonglong received, qulonglong expected, qulonglong components) {
    std::string line;
    if (expected > 0) {
        const qulonglong percent = received >= expected ? 100 : received * 100 / expected;
        line = std::to_string(percent) + "% " + std::to_string(received) + " of " +
               std::to_string(expected) + " bytes";
    } else {
        line = std::to_string(received) + " bytes";
    }
    return line + ", " + std::to_string(components) +
           (components == 1 ? " component" : " components");
}

// "\r 45% 1234 of 2745 bytes, 3 components", rewritten in place on a terminal.
class ProgressLine {
public:
    explicit ProgressLine(bool shown) : shown_(shown) {}
    ~ProgressLine() { Finish(); }

    // Counts arrive just after the bytes they were taken from: the line is drawn again.
    void SetComponents(qulonglong count) {
        components_ = count;
        if (drawn_) Show(received_, expected_);
    }
    void Show(qulonglong received, qulonglong expected) {
        received_ = received;
        expected_ = expected;
        if (!shown_) return;
        std::string line = FormatFetchProgress(received, expected, components_);
        // Blanks wipe what a longer earlier line left behind.
        const std::size_t width = line.size();
        if (line.size() < width_) line.append(width_ - line.size(), ' ');
        width_ = width;
        std::cerr << '\r' << line << std::flush;
        drawn_ = true;
    }
    void Finish() {
        if (drawn_) std::cerr << '\n' << std::flush;
        drawn_ = false;
    }

private:
    bool shown_;
    bool drawn_ = false;
    qulonglong components_ = 0;
    qulonglong received_ = 0;
    qulonglong expected_ = 0;
    std::size_t width_ = 0;
};

// What one fetch is to do, as the options said it.
struct FetchPlan {
    std::unique_ptr<Link> link;
    ReplyLayout layout = ReplyLayout::Serial;
    std::string where;      // the port as the user named it
    std::string target;     // the DZL file to write
    std::string saveReply;  // where the raw reply goes; empty: nowhere
    int idleSeconds = 10;
};

// The raw reply is written whatever the transfer came to, so a failing download can be
// sent in and decoded again. A reply that could not be saved fails a fetch that did not.
int SaveReply(const TransferOutcome& result, const FetchPlan& plan, int exitCode) {
    SafeWriteResult saved = WriteFileSafely(plan.saveReply, result.received);
    if (!saved.Ok()) {
        Fail(kExitIo, "The reply was not saved: " + saved.text);
        return exitCode == kExitOk ? kExitIo : exitCode;
    }
    if (exitCode != kExitOk && !result.received.empty()) {
        const char* layout = plan.layout == ReplyLayout::Serial ? "--serial" : "--usb";
        std::cerr << "ohmlet-cli: The reply as received (" << result.received.size()
                  << " bytes) was saved to " << plan.saveReply
                  << "; decode it with: ohmlet-cli decode " << layout << ' ' << plan.saveReply
                  << " -o OUT.DZL\n";
    }
    return exitCode;
}

// The same session as the dialog's, driven by an event loop instead of a window.
// Unlike the dialog, a script cannot press Cancel: a serial transfer gives up after a
// quiet spell.
int Fetch(FetchPlan plan) {
    int argc = 1;
    char name[] = "ohmlet-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TransferSession session;
    session.SetFillCriterion(
        LoadInterpretationSettings(QCoreApplication::applicationDirPath() + QLatin1Char('/'))
            .DownloadCriterion());
    session.SetKeepReply(!plan.saveReply.empty());
    QEventLoop loop;
    ProgressLine progress(::isatty(STDERR_FILENO) == 1);
    QObject::connect(&session, &TransferSession::ended, &loop, &QEventLoop::quit);
    QObject::connect(&session, &TransferSession::counted,
                     [&progress](qulonglong components, qulonglong, qulonglong) {
                         progress.SetComponents(components);
                     });
    QObject::connect(&session, &TransferSession::progress,
                     [&progress](qulonglong received, qulonglong expected) {
                         progress.Show(received, expected);
                     });
    StartOutcome started =
        session.Start(std::move(plan.link), plan.layout, plan.target, plan.idleSeconds * 1000);
    if (!started.Ok()) return Fail(kExitIo, StartFailure(started, plan.where));
    loop.exec();
    progress.Finish();  // the result goes on a line of its own
    const int exitCode = Report(session.Result(), plan.target, plan.where, plan.idleSeconds);
    return plan.saveReply.empty() ? exitCode : SaveReply(session.Result(), plan, exitCode);
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

}  // namespace

int RunFetch(Args args) {
    std::string folder = ".", serialPort, usbText, idleText = "10";
    FetchPlan plan;
    if (!TakeOption(args, "-o", "--output", folder)) return UsageError("-o needs a folder.");
    if (!TakeOption(args, "--save-reply", "--save-reply", plan.saveReply))
        return UsageError("--save-reply needs a file name.");
    if (!TakeOption(args, "--serial", "--serial", serialPort) ||
        !TakeOption(args, "--usb", "--usb", usbText) ||
        !TakeOption(args, "--timeout", "--timeout", idleText) || !args.empty() ||
        serialPort.empty() == usbText.empty()) {
        return UsageError(
            "usage: fetch --serial PORT | --usb INDEX [-o FOLDER] [--timeout SECONDS] "
            "[--save-reply FILE]",
            args);
    }
    plan.idleSeconds = std::atoi(idleText.c_str());
    if (plan.idleSeconds <= 0) return UsageError("--timeout needs a number of seconds.");
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        return Fail(kExitIo, "Cannot write into " + folder + ": it is not a folder.");
    plan.target = (std::filesystem::path(folder) / transfer_texts::kTargetFileName).string();
    if (!plan.saveReply.empty() && SameFile(plan.saveReply, plan.target))
        return UsageError("--save-reply must not name the DZL file the fetch writes.");
    if (!serialPort.empty()) {
        plan.link = std::make_unique<SerialLink>(serialPort);
        plan.where = serialPort;
        return Fetch(std::move(plan));
    }
    unsigned index = 0;
    if (!ParseUsbIndex(usbText, index))
        return UsageError("--usb takes a device index 0 to 5 (or USB1 to USB6).");
    plan.link = std::make_unique<Ch375Link>(MakeCh375(), index);
    plan.layout = ReplyLayout::Usb;
    plan.where = "USB" + std::to_string(index + 1);
    return Fetch(std::move(plan));
}

const CommandHelp kFetchHelp = {
    "Downloads the instrument's data and writes DZLDat.DZL into a folder. Progress is shown "
    "on standard error when it is a terminal.",
    {{"--serial PORT", "Download over this serial port (/dev/ttyUSB0, COM1)."},
     {"--usb INDEX", "Download from this USB instrument: 0 to 5, or USB1 to USB6."},
     {"-o, --output FOLDER", "Where to write DZLDat.DZL (the current folder by default)."},
     {"--timeout SECONDS", "Give up after this long without a byte (10 by default)."},
     {"--save-reply FILE",
      "Also write the raw reply as received, even when the download fails; 'decode' reads it "
      "back."}}};

}  // namespace ohmlet::cli
