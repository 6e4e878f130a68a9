// The production libusb link against an emulated CH375 below libusb: the usbdevfs
// requests libusb makes are answered by EmulatedCh375, so everything from the block
// loop down to the URBs is the code that runs with the instrument.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "data/Document.h"
#include "data/DzlFile.h"
#include "dialogs/TransferDialog.h"

#include "EmulatedCh375.h"
#include "ReplyBytes.h"
#include "UsbRun.h"
#include "dialogs/TransferPrompter.h"
#include "transfer/LibusbCh375.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/TransferOutcome.h"
#include "transfer/TransferTexts.h"
#include "transfer/sim/SimulatedCh375.h"
#include "transfer/sim/UsbSimulation.h"
#include "widgets/ProductName.h"

namespace ohmlet {
namespace {

using test::EmulatedCh375;
using Fault = EmulatedCh375::Fault;
using Status = DownloadCode;

// n components of pointsEach raw readings 10, 20, ...
test::Bytes ReplyWith(std::size_t n, std::size_t pointsEach) {
    std::vector<test::UsbHead> heads(n);
    unsigned raw = 10;
    for (std::size_t k = 0; k < n; ++k) {
        heads[k] = {
            {0, 0, static_cast<unsigned char>(k / 36 % 36), static_cast<unsigned char>(k % 36)},
            26,
            1,
            1,
            20,
            100,
            {}};
        for (std::size_t i = 0; i < pointsEach; ++i, raw += 10)
            heads[k].rawPoints.push_back(raw % 65536);
    }
    return test::UsbReply(heads);
}

ByteBuffer FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<int> Range(int from, int to) {
    std::vector<int> r;
    for (int b = from; b <= to; ++b) r.push_back(b);
    return r;
}

std::vector<int> Concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class UsbEmulation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EmulatedCh375::InMockEnvironment())
            << "run with libumockdev-preload (umockdev-wrapper, or LD_PRELOAD as CTest does)";
        ASSERT_TRUE(dir_.isValid());
    }
    std::string Path(const char* name) const { return (dir_.path() + "/" + name).toStdString(); }

    // One whole transfer through the production chip, as the command line runs it.
    struct Run {
        LinkResult open;
        DownloadOutcome transfer;
        ByteBuffer reply;
    };
    static Run Transfer(unsigned index = 0,
                        const std::function<void(test::UsbRun&)>& prepare = {}) {
        test::UsbRun connection(std::make_unique<LibusbCh375>(), index);
        Run run;
        run.open = connection.Open();
        if (!run.open.Ok()) return run;
        if (prepare) prepare(connection);
        run.transfer = connection.Run();
        run.reply = connection.reply;
        return run;
    }

    QTemporaryDir dir_;
};

TEST_F(UsbEmulation, BlockSequencesMatchTheSimulatedChipAndWriteTheSameFile) {
    struct Case {
        std::size_t n, pointsEach;
        std::vector<int> blocks;
    } cases[] = {
        {0, 0, {0}},                                      // complete after 16 bytes: no data
        {2, 2, {0, 168}},                                 // H = 48
        {3, 1, {0, 1, 168}},                              // H = 64: block 1 adds nothing
        {300, 1, Concat(Range(0, 75), Range(168, 177))},  // H = 4816
        {1, 4300, Concat({0}, Range(168, 302))},          // 8600 bytes of points
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("N = " + std::to_string(c.n));
        const test::Bytes reply = ReplyWith(c.n, c.pointsEach);
        const ByteBuffer image = *MakeUsbDeviceImage(reply);
        EmulatedCh375 device(image);

        Run run = Transfer();
        ASSERT_TRUE(run.open.Ok()) << DescribeLinkResult(run.open);
        EXPECT_EQ(run.transfer.code, Status::Complete) << run.transfer.cause;
        EXPECT_EQ(device.RequestedBlocks(), c.blocks);
        EXPECT_TRUE(device.EndedWithEndRequest());
        EXPECT_EQ(device.Claims(), 1);
        EXPECT_EQ(device.Releases(), 1);
        EXPECT_EQ(device.Opens(), 1);
        EXPECT_EQ(device.OpenHandles(), 0);
        EXPECT_EQ(device.UnknownRequests(), "");

        // The simulated chip on the same image: same bytes, same file.
        test::UsbRun simulated(std::make_unique<SimulatedCh375>(image), 0);
        ASSERT_TRUE(simulated.Open().Ok());
        EXPECT_TRUE(simulated.Run().Ok());
        EXPECT_EQ(run.reply, simulated.reply);
        const std::string real = Path("real.DZL"), sim = Path("sim.DZL");
        std::remove(real.c_str());
        std::remove(sim.c_str());
        TransferOutcome a = DecodeAndWrite(ReplyLayout::Usb, run.reply, real);
        TransferOutcome b = DecodeAndWrite(ReplyLayout::Usb, simulated.reply, sim);
        EXPECT_EQ(a.code, b.code);
        EXPECT_EQ(a.componentCount, static_cast<int>(c.n));
        EXPECT_EQ(FileBytes(real), FileBytes(sim));
        EXPECT_EQ(a.code, c.n == 0 ? TransferCode::NoData : TransferCode::Written);
    }
}

// A cancel sets the session's flag, then aborts the chip; the abort can land after the
// worker last looked at the flag and before its next call starts. That call must end
// at once, and the end request after it must still go out.
TEST_F(UsbEmulation, AnAbortBeforeACallEndsThatCallAndSparesTheEndRequest) {
    enum class Call { Read, Write };
    struct Case {
        const char* what;
        bool abortWrite, abortRead;
        Call call;
    } cases[] = {
        {"read abort before the read", false, true, Call::Read},
        {"both aborts, as a cancel sends them, before the read", true, true, Call::Read},
        {"write abort before the next request", true, false, Call::Write},
        {"both aborts before the next request", true, true, Call::Write},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)));
        LibusbCh375 chip;
        ASSERT_TRUE(chip.OpenDevice(0).Ok());
        unsigned char request[2] = {0, 0};
        std::size_t count = sizeof request;
        ASSERT_TRUE(chip.WriteData(0, request, count).Ok());
        if (c.abortWrite) chip.AbortWrite(0);
        if (c.abortRead) chip.AbortRead(0);
        LinkResult aborted;
        if (c.call == Call::Read) {
            unsigned char block[64];
            count = sizeof block;
            aborted = chip.ReadData(0, block, count);
        } else {
            request[1] = 1;
            count = sizeof request;
            aborted = chip.WriteData(0, request, count);
        }
        EXPECT_EQ(aborted.code, LinkStatus::Aborted);
        EXPECT_EQ(count, 0u);
        const unsigned char end[3] = {0, 0, 0};
        count = sizeof end;
        EXPECT_TRUE(chip.WriteData(0, end, count).Ok());
        EXPECT_EQ(count, 3u);
        EXPECT_TRUE(device.EndedWithEndRequest());
        EXPECT_EQ(device.RequestedBlocks(), std::vector<int>{0});  // the aborted one never left
        chip.CloseDevice(0);
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

// An instrument that stops answering: the read gives up after its time-out, or as soon
// as the user cancels; either way the end request goes and the device is closed.
TEST_F(UsbEmulation, AReadThatNeverCompletesTimesOutOrIsCancelled) {
    struct Case {
        const char* what;
        bool cancel;
        Status status;
        LinkStatus cause;
    } cases[] = {
        {"nobody cancels", false, Status::ReadFailed, LinkStatus::TimedOut},
        {"the user cancels", true, Status::Cancelled, LinkStatus::Aborted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)));  // blocks 0, 1, 2, 168
        device.FailRead(1, Fault::Hang);
        test::UsbRun connection(std::make_unique<LibusbCh375>(), 0);
        ASSERT_TRUE(connection.Open().Ok());
        DownloadOutcome outcome;
        std::thread worker([&] { outcome = connection.Run(); });
        ASSERT_TRUE(device.WaitForHangingRead(3000));
        EXPECT_EQ(device.OpenHandles(), 1);
        if (c.cancel) connection.Cancel();
        worker.join();
        EXPECT_EQ(outcome.code, c.status);
        EXPECT_EQ(outcome.link, c.cause) << outcome.cause;
        EXPECT_EQ(connection.reply.size(), 64u);  // block 0 is kept
        EXPECT_EQ(device.RequestedBlocks(), (std::vector<int>{0, 1}));
        EXPECT_TRUE(device.EndedWithEndRequest());
        EXPECT_EQ(device.Releases(), 1);
        EXPECT_EQ(device.OpenHandles(), 0);
        EXPECT_FALSE(connection.link.IsOpen());
    }
}

// A cancel that arrives while a block request is on its way ends the transfer as
// cancelled, not as a failed request.
TEST_F(UsbEmulation, ACancelDuringARequestEndsAsCancelled) {
    EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)));
    Run run = Transfer(0, [&](test::UsbRun& connection) {
        device.OnRequest(2, [&connection] { connection.Cancel(); });
    });
    ASSERT_TRUE(run.open.Ok());
    EXPECT_EQ(run.transfer.code, Status::Cancelled);
    EXPECT_EQ(run.transfer.text, "");
    EXPECT_EQ(device.RequestedBlocks(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(device.EndedWithEndRequest());
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST_F(UsbEmulation, OpenFailuresKeepTheirCauseAndLeaveNothingOpen) {
    struct Case {
        const char* what;
        bool plugged, busy;
        unsigned index;
        LinkStatus status;
        const char* detail;
    } cases[] = {
        {"nothing plugged in", false, false, 0, LinkStatus::NoSuchDevice, "USB1 is not connected"},
        {"only one instrument", true, false, 1, LinkStatus::NoSuchDevice, "USB2 is not connected"},
        {"another program holds it", true, true, 0, LinkStatus::InUse, "claiming the device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(2, 2)), c.plugged);
        device.SetBusy(c.busy);
        Run run = Transfer(c.index);
        EXPECT_FALSE(run.open.Ok());
        EXPECT_EQ(run.open.text, transfer_texts::kUsbOpenFailed);
        EXPECT_EQ(run.open.code, c.status);
        EXPECT_NE(run.open.cause.find(c.detail), std::string::npos) << run.open.cause;
        EXPECT_TRUE(device.Writes().empty());
        EXPECT_EQ(device.OpenHandles(), 0);
    }
}

// What the bus can do to a transfer half-way: every case ends with the cause kept, the
// device closed, and nothing that is not the instrument's reply passed on.
TEST_F(UsbEmulation, BusFaultsEndTheTransferWithTheirCause) {
    struct Case {
        const char* what;
        bool onRequest;  // the fault hits the block request, else the read
        unsigned block;
        Fault fault;
        std::size_t shortBytes;
        Status status;
        LinkStatus cause;
        const char* detail;
        std::size_t kept;  // reply bytes that arrived before the fault
        bool endRequest;
        int haltClears;
    } cases[] = {
        {"unplugged while block 1 is read", false, 1, Fault::Unplug, 0, Status::ReadFailed,
         LinkStatus::NoSuchDevice, "reading a block", 64, false, 0},
        {"unplugged as block 168 is requested", true, 168, Fault::Unplug, 0, Status::RequestFailed,
         LinkStatus::NoSuchDevice, "sending a request", 176, false, 0},
        {"block 0 too short for a header", false, 0, Fault::Short, 4, Status::BadReply,
         LinkStatus::Ok, "too short", 0, true, 0},
        {"short head block", false, 1, Fault::Short, 30, Status::BadReply, LinkStatus::Ok,
         "block 1 came with 30 of its 64 bytes", 94, true, 0},
        {"short point block", false, 168, Fault::Short, 40, Status::BadReply, LinkStatus::Ok,
         "block 168 came with 40 of its 64 bytes", 216, true, 0},
        {"short last block holding the rest of the reply", false, 168, Fault::Short, 60,
         Status::Complete, LinkStatus::Ok, "", 236, true, 0},
        {"babble on block 168", false, 168, Fault::Babble, 0, Status::ReadFailed,
         LinkStatus::Failed, "Overflow", 176, true, 0},
        {"stall reading block 1", false, 1, Fault::Stall, 0, Status::ReadFailed, LinkStatus::Failed,
         "Pipe", 64, true, 1},
        {"stall on the request for block 168", true, 168, Fault::Stall, 0, Status::RequestFailed,
         LinkStatus::Failed, "Pipe", 176, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const test::Bytes reply = ReplyWith(10, 3);  // H = 176: blocks 0, 1, 2, then 168
        EmulatedCh375 device(*MakeUsbDeviceImage(reply));
        if (c.onRequest) {
            device.FailRequest(c.block, c.fault);
        } else {
            device.FailRead(c.block, c.fault, c.shortBytes);
        }
        Run run = Transfer();
        ASSERT_TRUE(run.open.Ok());
        const DownloadOutcome& out = run.transfer;
        EXPECT_EQ(out.code, c.status);
        EXPECT_EQ(out.link, c.cause) << out.cause;
        EXPECT_NE(out.cause.find(c.detail), std::string::npos) << out.cause;
        EXPECT_EQ(out.text, c.status == Status::RequestFailed ? transfer_texts::kUsbRequestFailed
                            : c.status == Status::BadReply    ? transfer_texts::kBadReply
                                                              : "");
        ASSERT_EQ(run.reply.size(), c.kept);
        EXPECT_TRUE(std::equal(run.reply.begin(), run.reply.end(), reply.begin()));
        EXPECT_EQ(device.EndedWithEndRequest(), c.endRequest);
        EXPECT_EQ(device.HaltClears(), c.haltClears);
        EXPECT_EQ(device.OpenHandles(), 0);
        if (c.fault == Fault::Stall) {
            // The halt was cleared: the user's next try goes through.
            device.FailRequest(c.block, Fault::None);
            device.FailRead(c.block, Fault::None);
            Run again = Transfer();
            EXPECT_EQ(again.transfer.code, Status::Complete) << again.transfer.cause;
        }
    }
}

// ohmlet-cli in a child process, reaching the emulated device through the same
// preload library and testbed.
class UsbEmulationCli : public UsbEmulation {
protected:
    struct Result {
        int exitCode = -1;
        std::string out, err;
    };
    Result Fetch(const QStringList& args, const QString& asUser = {}) {
        QProcess cli;
        QStringList command = {"fetch"};
        command += args;
        command += QStringList{"-o", dir_.path()};
        if (asUser.isEmpty()) {
            cli.start(QStringLiteral(OHMLET_CLI_PATH), command);
        } else {
            cli.start("setpriv", QStringList{"--reuid=" + asUser, "--regid=" + asUser,
                                             "--clear-groups", QStringLiteral(OHMLET_CLI_PATH)} +
                                     command);
        }
        Result r;
        if (!cli.waitForFinished(30000)) {
            cli.kill();
            cli.waitForFinished();
            ADD_FAILURE() << "ohmlet-cli fetch did not end";
            return r;
        }
        r.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        r.out = cli.readAllStandardOutput().toStdString();
        r.err = cli.readAllStandardError().toStdString();
        return r;
    }
};

TEST_F(UsbEmulationCli, FetchWritesTheFileTheSimulatedChipGives) {
    const test::Bytes reply = ReplyWith(300, 1);
    const ByteBuffer image = *MakeUsbDeviceImage(reply);
    EmulatedCh375 device(image);
    Result r = Fetch({"--usb", "USB1"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string target = Path("DZLDat.DZL");
    EXPECT_EQ(r.out, target + ": 300 components\n");
    DzlReadResult file = ReadDzlFile(target);
    ASSERT_TRUE(file.Ok()) << file.text;
    EXPECT_EQ(file.components.size(), 300u);

    test::UsbRun simulated(std::make_unique<SimulatedCh375>(image), 0);
    ASSERT_TRUE(simulated.Open().Ok());
    ASSERT_TRUE(simulated.Run().Ok());
    ASSERT_TRUE(DecodeAndWrite(ReplyLayout::Usb, simulated.reply, Path("sim.DZL")).Ok());
    EXPECT_EQ(FileBytes(target), FileBytes(Path("sim.DZL")));
    EXPECT_TRUE(device.EndedWithEndRequest());
    EXPECT_EQ(device.Releases(), 1);
}

TEST_F(UsbEmulationCli, FailuresKeepTheirCauseAndTheOldFile) {
    const ByteBuffer oldFile = {1, 0, 0, 0, 'o', 'l', 'd'};
    struct Case {
        const char* what;
        bool plugged;
        const char* port;
        std::function<void(EmulatedCh375&)> arrange;
        bool unprivileged;  // the node is not open to the user
        std::vector<std::string> said;
    } cases[] = {
        {"nothing plugged in",
         false,
         "USB1",
         {},
         false,
         {"Cannot open USB1: no such device: USB1 is not connected."}},
        {"busy",
         true,
         "USB1",
         [](EmulatedCh375& d) { d.SetBusy(true); },
         false,
         {"Cannot open USB1", "in use by another program"}},
        {"node not readable without the udev rule",
         true,
         "USB1",
         {},
         true,
         {"Cannot open USB1", "permission denied", "60-ohmlet-ch375.rules"}},
        {"unplugged mid-transfer",
         true,
         "USB1",
         [](EmulatedCh375& d) { d.FailRead(168, Fault::Unplug); },
         false,
         {"no such device"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string target = Path("DZLDat.DZL");
        std::ofstream(target, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(oldFile.data()), oldFile.size());
        EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)), c.plugged);
        // Root opens any node: the program then runs as nobody, who must see the testbed
        // and the program but not the node. Anyone else is shut out by the mode alone.
        const bool dropRoot = c.unprivileged && geteuid() == 0;
        if (dropRoot) {
            device.ShareWithOtherUsers();
            device.SetNodeMode(0600);
            std::filesystem::permissions(
                dir_.path().toStdString(),
                std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
                std::filesystem::perm_options::add);
        } else if (c.unprivileged) {
            device.SetNodeMode(0);
        }
        if (c.arrange) c.arrange(device);
        Result r = Fetch({"--usb", c.port}, dropRoot ? "65534" : QString());  // 65534: nobody
        EXPECT_EQ(r.exitCode, 1) << r.err;
        for (const std::string& words : c.said)
            EXPECT_NE(r.err.find(words), std::string::npos) << r.err;
        EXPECT_EQ(FileBytes(target), oldFile);
    }
}

// The transfer dialog on the real link, as the user runs it from the main window.
class UsbEmulationDialog : public UsbEmulation {
protected:
    struct Prompter : TransferPrompter {
        QStringList texts;
        QString folder;
        void Inform(QWidget*, const QString& text) override { texts << text; }
        bool AskYesNo(QWidget*, const QString&, const QString& text) override {
            texts << text;
            return true;
        }
        void ShowError(QWidget*, const QString& caption, const QString& text) override {
            texts << caption + ": " + text;
        }
        std::optional<QString> ChooseFolder(QWidget*, const QString&) override { return folder; }
    };
    void SetUp() override {
        UsbEmulation::SetUp();
        qunsetenv(kSimulateUsbVariable);
        prompter_.folder = dir_.path();
    }
    Prompter prompter_;
    Document doc_;
};

TEST_F(UsbEmulationDialog, TransferWritesAFileThatOpens) {
    std::vector<Component> components(3);
    for (std::size_t k = 0; k < components.size(); ++k) {
        components[k].SetNumber("000" + std::to_string(k + 1));
        components[k].ResizePoints(4);
        for (std::size_t i = 0; i < 4; ++i) components[k].points[i].value = 40 + 5 * (k + i);
    }
    EncodedReply reply = EncodeUsbReply(components);
    ASSERT_TRUE(reply.Ok());
    EmulatedCh375 device(*MakeUsbDeviceImage(reply.bytes));
    TransferDialog dlg(doc_);
    dlg.SetPrompter(&prompter_);
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(dlg.findChild<QPushButton*>("folderButton"), Qt::LeftButton);
        QTest::mouseClick(dlg.findChild<QPushButton*>("startButton"), Qt::LeftButton);
    });
    QTimer::singleShot(20000, &dlg, &QDialog::reject);  // never hang the suite
    dlg.exec();
    ASSERT_TRUE(dlg.IsFinished()) << prompter_.texts.join(" | ").toStdString();
    EXPECT_EQ(prompter_.texts, QStringList{QStringLiteral("数据传输结束!")});
    DzlReadResult opened = doc_.Open(dlg.TargetPath().toStdString());
    ASSERT_TRUE(opened.Ok()) << opened.text;
    ASSERT_EQ(doc_.ComponentCount(), 3);
    EXPECT_EQ(doc_.Components()[2].Number(), "0003");
    EXPECT_EQ(doc_.Components()[2].points[3].value, 65);
    EXPECT_TRUE(device.EndedWithEndRequest());
    EXPECT_EQ(device.OpenHandles(), 0);
}

TEST_F(UsbEmulationDialog, FailuresShowTheirCauseAndCancelStopsAHangingRead) {
    {
        EmulatedCh375 nothing(ByteBuffer{}, false);
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>("startButton"), Qt::LeftButton);
        ASSERT_EQ(prompter_.texts.size(), 1);
        EXPECT_EQ(prompter_.texts[0],
                  ProductName() +
                      QStringLiteral(": 打开设备失败！\nno such device: USB1 is not connected"));
        EXPECT_TRUE(dlg.isVisible());
    }
    prompter_.texts.clear();
    {
        // Unplugged half-way: the dialog stays open with the cause, the old file stays.
        const std::string target = Path("DZLDat.DZL");
        ASSERT_TRUE(WriteDzlFile(target, {}).Ok());
        const ByteBuffer old = FileBytes(target);
        EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)));
        device.FailRead(168, Fault::Unplug);
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>("folderButton"), Qt::LeftButton);
        QTest::mouseClick(dlg.findChild<QPushButton*>("startButton"), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !dlg.IsTransferRunning(); }, 10000));
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_FALSE(dlg.IsFinished());
        EXPECT_EQ(prompter_.texts, QStringList{QStringLiteral("数据文件已存在，确认要覆盖吗？")});
        bool causeShown = false;
        for (QLabel* label : dlg.findChildren<QLabel*>())
            causeShown |= label->text().startsWith("no such device: reading a block");
        EXPECT_TRUE(causeShown);
        EXPECT_EQ(doc_.TransferBuffer().size(), 176u);  // what arrived is kept
        EXPECT_EQ(FileBytes(target), old);
        EXPECT_EQ(device.OpenHandles(), 0);
        std::remove(target.c_str());
    }
    prompter_.texts.clear();
    EmulatedCh375 device(*MakeUsbDeviceImage(ReplyWith(10, 3)));
    device.FailRead(168, Fault::Hang);
    {
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>("startButton"), Qt::LeftButton);
        ASSERT_TRUE(device.WaitForHangingRead(5000));
        EXPECT_TRUE(dlg.IsTransferRunning());
        QTest::mouseClick(dlg.findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(dlg.IsFinished());
    }  // the dialog waits for its worker here
    EXPECT_TRUE(prompter_.texts.isEmpty()) << prompter_.texts.join(" | ").toStdString();
    EXPECT_EQ(device.RequestedBlocks(), (std::vector<int>{0, 1, 2, 168}));
    EXPECT_TRUE(device.EndedWithEndRequest());
    EXPECT_EQ(device.OpenHandles(), 0);
}

}  // namespace
}  // namespace ohmlet
