#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "BlockingCh375.h"
#include "CliSimulator.h"
#include "data/Document.h"
#include "data/DzlFile.h"
#include "dialogs/TransferDialog.h"
#include "dialogs/TransferPrompter.h"
#include "support/TestSupport.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/FaultPlan.h"
#include "transfer/sim/SimulatedCh375.h"
#include "transfer/sim/UsbSimulation.h"
#include "widgets/ProductName.h"

namespace ohmlet {
namespace {

struct RecordingPrompter : TransferPrompter {
    struct Box {
        QString kind, caption, text;
    };
    std::vector<Box> boxes;
    bool answer = true;
    std::optional<QString> folder;

    void Inform(QWidget*, const QString& text) override { boxes.push_back({"inform", {}, text}); }
    bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({"question", caption, text});
        return answer;
    }
    void ShowError(QWidget*, const QString& caption, const QString& text) override {
        boxes.push_back({"error", caption, text});
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString& title) override {
        boxes.push_back({"folder", title, {}});
        return folder;
    }
    bool takeOffer = false;
    std::optional<QString> saveAs;
    bool ShowErrorWithOffer(QWidget*, const QString& caption, const QString& text,
                            const QString& offerText) override {
        boxes.push_back({"offer", caption, text + " | " + offerText});
        return takeOffer;
    }
    std::optional<QString> ChooseSaveFile(QWidget*, const QString&, const QString& suggested,
                                          const QString&) override {
        boxes.push_back({"save", {}, suggested});
        return saveAs;
    }
};

template <typename W>
W* Control(QWidget& dialog, const char* name) {
    W* w = dialog.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

std::vector<Component> SampleComponents() {
    std::vector<Component> list(2);
    list[0].SetNumber("0001");
    list[0].ResizePoints(3);
    list[0].points = {{0, 41, 0}, {0, 52, 0}, {0, 47, 0}};
    list[1].SetNumber("P002");
    list[1].ResizePoints(1);
    list[1].points = {{0, 60, 0}};
    return list;
}

class TransferDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramSettings().remove(TransferDialog::NameByDateKey());
        source_ = (dir_.path() + "/instrument.DZL").toStdString();
        ASSERT_TRUE(WriteDzlFile(source_, SampleComponents()).Ok());
        prompter_.folder = dir_.path();
        target_ = dir_.path() + "/DZLDat.DZL";
    }
    // Runs the dialog modally, pressing the folder button then start, as a user does.
    int RunToEnd(TransferDialog& dlg) {
        dlg.SetPrompter(&prompter_);
        QTimer::singleShot(0, &dlg, [&] {
            QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
            QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        });
        QTimer::singleShot(15000, &dlg, &QDialog::reject);  // never hang the suite
        return dlg.exec();
    }
    void TearDown() override { ProgramSettings().remove(TransferDialog::NameByDateKey()); }
    static QSettings ProgramSettings() {
        return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                         QStringLiteral("Ohmlet"));
    }
    QTemporaryDir dir_;
    std::string source_;
    QString target_;
    RecordingPrompter prompter_;
    Document doc_;
};

TEST_F(TransferDialogTest, ShowsTheTemplatesTextsAndPorts) {
    TransferDialog dlg(doc_);
    dlg.SetSerialPorts({});
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("数据传输"));
    EXPECT_EQ(Control<QPushButton>(dlg, "startButton")->text(), QStringLiteral("开始传输"));
    EXPECT_TRUE(Control<QPushButton>(dlg, "startButton")->isDefault());
    EXPECT_EQ(Control<QPushButton>(dlg, "cancelButton")->text(), QStringLiteral("取消"));
    EXPECT_EQ(Control<QPushButton>(dlg, "folderButton")->text(), QStringLiteral("存放目录"));
    QComboBox* ports = Control<QComboBox>(dlg, "portList");
    QStringList names;
    for (int i = 0; i < ports->count(); ++i) names << ports->itemText(i);
    EXPECT_EQ(names, (QStringList{"USB1", "USB2", "USB3", "USB4", "USB5", "USB6"}));
    EXPECT_EQ(ports->currentIndex(), 0);
    dlg.show();
    EXPECT_FALSE(Control<QRadioButton>(dlg, "typeUsb")->isVisible());
    EXPECT_FALSE(Control<QRadioButton>(dlg, "typeCom")->isVisible());
    EXPECT_TRUE(Control<QRadioButton>(dlg, "typeUsb")->isChecked());
    // Both the target and the port can be typed as well as chosen.
    EXPECT_FALSE(Control<QLineEdit>(dlg, "targetPath")->isReadOnly());
    EXPECT_TRUE(ports->isEditable());
    EXPECT_EQ(dlg.TargetPath(), DefaultTransferTarget());
    EXPECT_TRUE(dlg.TargetPath().endsWith("DZLDat.DZL"));
}

TEST_F(TransferDialogTest, FolderChoiceMakesTheTarget) {
    const QString sep = QDir::separator();
    struct Case {
        QString folder, target;
    } cases[] = {{sep, sep + "DZLDat.DZL"},
                 {sep + "data", sep + "data" + sep + "DZLDat.DZL"},
                 {sep + "data" + sep, sep + "data" + sep + "DZLDat.DZL"},
                 {"", "DZLDat.DZL"}};
    for (const Case& c : cases) {
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        prompter_.folder = c.folder;
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        EXPECT_EQ(dlg.TargetPath(), c.target);
        EXPECT_EQ(Control<QLineEdit>(dlg, "targetPath")->text(), c.target);
        prompter_.folder.reset();  // cancelled: nothing changes
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        EXPECT_EQ(dlg.TargetPath(), c.target);
        EXPECT_EQ(prompter_.boxes.back().caption, QStringLiteral("Select folder"));
    }
}

// What the lists do not offer can be typed: the target file, and a serial port by path.
TEST_F(TransferDialogTest, TypedTargetAndPortAreTaken) {
    const QString typedTarget =
        QDir::toNativeSeparators(dir_.filePath(QStringLiteral("sub/今天.DZL")));
    const QString missingPort = dir_.filePath(QStringLiteral("ttyNone"));
    TransferDialog dlg(doc_);
    dlg.SetPrompter(&prompter_);
    QLineEdit* target = Control<QLineEdit>(dlg, "targetPath");
    target->setText(typedTarget);
    QComboBox* ports = Control<QComboBox>(dlg, "portList");
    ports->setEditText(missingPort);
    QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    EXPECT_EQ(dlg.TargetPath(), typedTarget);
    // The typed port was tried as a serial port, and the message names it.
    ASSERT_FALSE(prompter_.boxes.empty());
    EXPECT_EQ(prompter_.boxes.back().kind, "inform");
    EXPECT_TRUE(prompter_.boxes.back().text.startsWith(QStringLiteral("不能打开串口!")));
    EXPECT_TRUE(prompter_.boxes.back().text.contains(missingPort))
        << prompter_.boxes.back().text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(typedTarget));
}

// Enter on a question about replacing a file or closing a document answers No.
TEST(MessageBoxPrompterTest, EnterAnswersNo) {
    MessageBoxPrompter prompter;
    QTimer press;  // lives with this test, so it never fires into another
    press.setSingleShot(true);
    QObject::connect(&press, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    press.start(0);
    EXPECT_FALSE(prompter.AskYesNo(nullptr, QStringLiteral("提示"),
                                   QStringLiteral("数据文件已存在，确认要覆盖吗？")));
}

TEST_F(TransferDialogTest, SimulatedUsbTransferWritesAFileThatOpens) {
    UseSimulatedUsb(source_);
    doc_.TransferBuffer() = {7, 7, 7};  // a cancelled transfer's leftovers
    TransferDialog dlg(doc_);
    RunToEnd(dlg);
    ASSERT_TRUE(dlg.IsFinished());
    EXPECT_EQ(dlg.TargetPath(), target_);
    ASSERT_EQ(prompter_.boxes.size(), 2u);
    EXPECT_EQ(prompter_.boxes[1].text, QStringLiteral("数据传输结束!"));
    EXPECT_TRUE(doc_.TransferBuffer().empty());

    DzlReadResult opened = doc_.Open(dlg.TargetPath().toStdString());
    ASSERT_TRUE(opened.Ok()) << opened.text;
    ASSERT_EQ(doc_.ComponentCount(), 2);
    EXPECT_EQ(doc_.Components()[0].Number(), "0001");
    EXPECT_EQ(doc_.Components()[0].points[1].value, 52);
    EXPECT_EQ(doc_.Components()[1].Number(), "P002");
}

TEST_F(TransferDialogTest, RefusesTheOpenFileAndAsksBeforeOverwriting) {
    UseSimulatedUsb(source_);
    ASSERT_TRUE(WriteDzlFile(target_.toStdString(), {}).Ok());
    ASSERT_TRUE(doc_.Open(target_.toStdString()).Ok());
    {
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        EXPECT_FALSE(dlg.IsTransferRunning());
        EXPECT_FALSE(dlg.IsFinished());
        // Replacing the file is asked first; only then is the open document in the way.
        ASSERT_EQ(prompter_.boxes.size(), 3u);
        EXPECT_EQ(prompter_.boxes[1].text, QStringLiteral("数据文件已存在，确认要覆盖吗？"));
        EXPECT_EQ(prompter_.boxes[2].text,
                  QStringLiteral("该文件已经打开，请先关闭文件，然后进行传输!"));
    }
    doc_.NewDocument();
    prompter_.boxes.clear();
    prompter_.answer = false;
    {
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        ASSERT_EQ(prompter_.boxes.size(), 2u);
        EXPECT_EQ(prompter_.boxes[1].kind, "question");
        EXPECT_EQ(prompter_.boxes[1].caption, QStringLiteral("提示"));
        EXPECT_EQ(prompter_.boxes[1].text, QStringLiteral("数据文件已存在，确认要覆盖吗？"));
        EXPECT_FALSE(dlg.IsTransferRunning());
        EXPECT_EQ(ReadDzlFile(target_.toStdString()).components.size(), 0u);  // untouched
    }
    prompter_.boxes.clear();
    prompter_.answer = true;
    TransferDialog dlg(doc_);
    RunToEnd(dlg);
    EXPECT_TRUE(dlg.IsFinished());
    EXPECT_EQ(ReadDzlFile(target_.toStdString()).components.size(), 2u);
}

// However the open document was named, a transfer into it is refused.
TEST_F(TransferDialogTest, RefusesTheOpenFileByAnyName) {
    UseSimulatedUsb(source_);
    ASSERT_TRUE(WriteDzlFile(target_.toStdString(), {}).Ok());
    const std::string folder = dir_.path().toStdString();
    ASSERT_TRUE(std::filesystem::create_directory(folder + "/sub"));
    std::filesystem::create_symlink(target_.toStdString(), folder + "/link.DZL");
    const std::string names[] = {"DZLDat.DZL",
                                 "./DZLDat.DZL",
                                 "sub/../DZLDat.DZL",
                                 folder + "//DZLDat.DZL",
                                 folder + "/./DZLDat.DZL",
                                 "link.DZL"};
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    for (const std::string& name : names) {
        ASSERT_TRUE(doc_.Open(name).Ok()) << name;
        prompter_.boxes.clear();
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        EXPECT_FALSE(dlg.IsTransferRunning()) << name;
        ASSERT_EQ(prompter_.boxes.size(), 3u) << name;
        EXPECT_EQ(prompter_.boxes[2].text,
                  QStringLiteral("该文件已经打开，请先关闭文件，然后进行传输!"))
            << name;
    }
    std::filesystem::current_path(before);
    EXPECT_EQ(ReadDzlFile(target_.toStdString()).components.size(), 0u);  // untouched
}

TEST_F(TransferDialogTest, UsbFailuresShowTheDebugBoxWithTheCause) {
    TransferDialog dlg(doc_);
    dlg.SetPrompter(&prompter_);
    dlg.SetCh375Factory([] {
        auto chip = std::make_unique<SimulatedCh375>(ByteBuffer{});
        chip->FailOpen(LinkFailure(LinkStatus::PermissionDenied, "test"));
        return chip;
    });
    dlg.show();
    QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    ASSERT_FALSE(prompter_.boxes.empty());
    EXPECT_EQ(prompter_.boxes.back().kind, "error");
    EXPECT_EQ(prompter_.boxes.back().caption, ProductName());  // the program, not a chip name
    EXPECT_TRUE(prompter_.boxes.back().text.startsWith(
        QStringLiteral("打开设备失败！\npermission denied")));
    EXPECT_TRUE(dlg.isVisible());  // the user may try again
}

TEST_F(TransferDialogTest, CancelStopsAHangingUsbTransfer) {
    auto record = std::make_shared<test::BlockingCh375::Record>();
    test::BlockingCh375* chip = nullptr;
    {
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        dlg.SetCh375Factory([&] {
            auto c = std::make_unique<test::BlockingCh375>(test::BlockingCh375::Mode::HangOnRead,
                                                           record);
            chip = c.get();
            return c;
        });
        dlg.show();
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        ASSERT_NE(chip, nullptr);
        ASSERT_TRUE(chip->WaitUntilReading());
        EXPECT_TRUE(dlg.IsTransferRunning());
        EXPECT_FALSE(Control<QPushButton>(dlg, "startButton")->isEnabled());
        QTest::mouseClick(Control<QPushButton>(dlg, "cancelButton"), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(dlg.IsFinished());
    }
    EXPECT_EQ(record->endRequests.load(), 1);
    EXPECT_EQ(record->closes.load(), 1);
    EXPECT_TRUE(prompter_.boxes.empty());
}

TEST_F(TransferDialogTest, SerialPathFetchesFromTheVirtualInstrument) {
    TransferDialog dlg(doc_);
    dlg.SetSerialPortNames({});
    Control<QRadioButton>(dlg, "typeCom")->click();
    dlg.SetPrompter(&prompter_);
    QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    ASSERT_EQ(prompter_.boxes.size(), 1u);  // no port in the list
    EXPECT_TRUE(prompter_.boxes[0].text.startsWith(QStringLiteral("不能打开串口!")));
    prompter_.boxes.clear();

    test::CliSimulator simulator({"--from", QString::fromStdString(source_)});
    ASSERT_TRUE(simulator.Port().startsWith('/'));
    dlg.SetSerialPortNames({"/dev/nonexistent", simulator.Port()});
    Control<QComboBox>(dlg, "portList")->setCurrentIndex(1);
    QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    });
    QTimer::singleShot(15000, &dlg, &QDialog::reject);
    dlg.exec();
    ASSERT_TRUE(dlg.IsFinished());
    EXPECT_EQ(prompter_.boxes.back().text, QStringLiteral("数据传输结束!"));
    ASSERT_TRUE(doc_.Open(dlg.TargetPath().toStdString()).Ok());
    EXPECT_EQ(doc_.ComponentCount(), 2);
    EXPECT_EQ(doc_.Components()[0].points[2].value, 47);
}

// --- ports, the open file, dated names and progress ---------------------------------

QStringList PortNames(QComboBox* ports) {
    QStringList names;
    for (int i = 0; i < ports->count(); ++i) names << ports->itemText(i);
    return names;
}

TEST_F(TransferDialogTest, SerialPortsFollowTheUsbDevicesByTheirNames) {
    TransferDialog dlg(doc_);
    const QStringList usb = {"USB1", "USB2", "USB3", "USB4", "USB5", "USB6"};
    const struct {
        QList<SerialPortChoice> ports;
        QStringList shown;
    } cases[] = {
        {{}, usb},
        {{{"ttyS0", "/dev/ttyS0"}}, usb + QStringList{"ttyS0"}},
        {{{"COM3", "\\\\.\\COM3"}, {"ttyUSB0", "/dev/ttyUSB0"}},
         usb + QStringList{"COM3", "ttyUSB0"}},
    };
    for (const auto& c : cases) {
        dlg.SetSerialPorts(c.ports);
        QComboBox* ports = Control<QComboBox>(dlg, "portList");
        EXPECT_EQ(PortNames(ports), c.shown);
        EXPECT_EQ(ports->currentIndex(), 0);
    }
}

// A serial entry of the list runs the serial protocol through the port's location.
TEST_F(TransferDialogTest, ChoosingASerialPortFetchesOverIt) {
    test::CliSimulator simulator({"--from", QString::fromStdString(source_)});
    ASSERT_TRUE(simulator.Port().startsWith('/'));
    TransferDialog dlg(doc_);
    dlg.SetPrompter(&prompter_);
    dlg.SetSerialPorts({{"missing", "/dev/nonexistent-port"}, {"instrument", simulator.Port()}});
    QComboBox* ports = Control<QComboBox>(dlg, "portList");
    ports->setCurrentIndex(6);  // "missing"
    QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    ASSERT_EQ(prompter_.boxes.size(), 2u);
    EXPECT_TRUE(prompter_.boxes[1].text.startsWith(QStringLiteral("不能打开串口!")));
    EXPECT_FALSE(dlg.IsTransferRunning());
    prompter_.boxes.clear();

    ports->setCurrentIndex(7);  // the instrument
    QTimer::singleShot(0, &dlg, [&] {
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
    });
    QTimer::singleShot(15000, &dlg, &QDialog::reject);
    dlg.exec();
    ASSERT_TRUE(dlg.IsFinished());
    EXPECT_EQ(prompter_.boxes.back().text, QStringLiteral("数据传输结束!"));
    ASSERT_TRUE(doc_.Open(dlg.TargetPath().toStdString()).Ok());
    EXPECT_EQ(doc_.ComponentCount(), 2);
    // The progress ends in components and readings, not bytes.
    EXPECT_EQ(Control<QProgressBar>(dlg, "progress")->text(),
              QStringLiteral("已接收 2 / 2 个构件，4 个数据"));
}

// A download into the open file may close it first, unless that would lose edits.
TEST_F(TransferDialogTest, TheOpenFileIsClosedFirstWhenNothingIsLost) {
    UseSimulatedUsb(source_);
    const struct {
        const char* name;
        bool modified;
        bool closerSet;
        bool answer;
        const char* lastBox;
        bool finished;
    } cases[] = {
        {"unedited, Yes", false, true, true, "数据传输结束!", true},
        // No to replacing the file ends it there: the open document stays open.
        {"unedited, No", false, true, false, "数据文件已存在，确认要覆盖吗？", false},
        {"edited", true, true, true, "该文件已经打开，请先关闭文件，然后进行传输!", false},
        {"no closer", false, false, true, "该文件已经打开，请先关闭文件，然后进行传输!", false},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteDzlFile(target_.toStdString(), {}).Ok());
        ASSERT_TRUE(doc_.Open(target_.toStdString()).Ok());
        if (c.modified) doc_.InsertComponent();
        prompter_.boxes.clear();
        prompter_.answer = c.answer;
        int closes = 0;
        TransferDialog dlg(doc_);
        if (c.closerSet)
            dlg.SetDocumentCloser([&] {
                ++closes;
                doc_.NewDocument();
                return true;
            });
        if (c.finished) {
            RunToEnd(dlg);
        } else {
            dlg.SetPrompter(&prompter_);
            QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
            QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        }
        EXPECT_EQ(dlg.IsFinished(), c.finished) << c.name;
        ASSERT_FALSE(prompter_.boxes.empty()) << c.name;
        EXPECT_EQ(prompter_.boxes.back().text, QString::fromUtf8(c.lastBox)) << c.name;
        EXPECT_EQ(closes, c.finished ? 1 : 0) << c.name;
        EXPECT_EQ(ReadDzlFile(target_.toStdString()).components.size(), c.finished ? 2u : 0u)
            << c.name;
        doc_.NewDocument();
    }
}

TEST_F(TransferDialogTest, DatedNamesAddSecondsThenACounterRatherThanOverwrite) {
    const QDateTime now(QDate(2026, 12, 9), QTime(14, 5, 7));
    const QString sep = QDir::separator();
    const QString dir = sep + "data" + sep;
    const struct {
        QStringList existing;
        QString name;
    } cases[] = {
        {{}, "DZL_20261209_1405.DZL"},
        {{"DZL_20261209_1405.DZL"}, "DZL_20261209_140507.DZL"},
        {{"DZL_20261209_1405.DZL", "DZL_20261209_140507.DZL"}, "DZL_20261209_140507_2.DZL"},
        {{"DZL_20261209_1405.DZL", "DZL_20261209_140507.DZL", "DZL_20261209_140507_2.DZL"},
         "DZL_20261209_140507_3.DZL"},
    };
    for (const auto& c : cases) {
        auto exists = [&](const QString& path) {
            return path.startsWith(dir) && c.existing.contains(path.mid(dir.size()));
        };
        EXPECT_EQ(DatedTransferTarget(sep + "data", now, exists), dir + c.name);
        EXPECT_EQ(DatedTransferTarget(dir, now, exists), dir + c.name);
    }
}

// The option is remembered, and a download with it on writes a file of its own.
TEST_F(TransferDialogTest, TheDatedNameOptionIsRememberedAndUsed) {
    UseSimulatedUsb(source_);
    const QDateTime now(QDate(2026, 12, 9), QTime(14, 5, 7));
    {
        TransferDialog dlg(doc_);
        EXPECT_FALSE(dlg.NamesByDate());
        EXPECT_TRUE(dlg.TargetPath().endsWith("DZLDat.DZL"));
        Control<QCheckBox>(dlg, "nameByDate")->click();
    }
    ASSERT_TRUE(WriteDzlFile((dir_.path() + "/DZL_20261209_1405.DZL").toStdString(), {}).Ok());
    TransferDialog dlg(doc_);
    EXPECT_TRUE(dlg.NamesByDate());
    dlg.SetClock([&] { return now; });
    RunToEnd(dlg);
    ASSERT_TRUE(dlg.IsFinished());
    EXPECT_EQ(dlg.TargetPath(), dir_.path() + "/DZL_20261209_140507.DZL");
    EXPECT_EQ(ReadDzlFile(dlg.TargetPath().toStdString()).components.size(), 2u);
    EXPECT_EQ(ReadDzlFile((dir_.path() + "/DZL_20261209_1405.DZL").toStdString()).components.size(),
              0u)
        << "the older download stays";
    EXPECT_FALSE(QFileInfo::exists(target_));
    dlg.SetNamesByDate(false);
    EXPECT_EQ(dlg.TargetPath(), target_);
    EXPECT_FALSE(TransferDialog(doc_).NamesByDate());
}

// --- a reply the decoder refuses can be saved -----------------------------------------

int DecodeExitCode(const char* layout, const QString& reply, const QString& out) {
    QProcess decode;
    decode.start(QStringLiteral(OHMLET_CLI_PATH), {"decode", layout, reply, "-o", out});
    return decode.waitForFinished(10000) ? decode.exitCode() : -1;
}

TEST_F(TransferDialogTest, ARefusedReplyIsOfferedForSavingAndDecodesAlike) {
    // Serial: the count says ten components where two came, so the decoder refuses it.
    FaultPlan tenComponents;
    tenComponents.garble = {{5, 0x08}};
    const ByteBuffer serial = EncodeSerialReply(SampleComponents()).bytes;
    const ByteBuffer garbled = tenComponents.Apply(serial.data(), serial.size(), 0);
    const QString served = dir_.path() + "/served.bin";
    test::WriteAll(served.toStdString(), garbled);
    test::CliSimulator simulator({"--reply", served});
    ASSERT_TRUE(simulator.Port().startsWith('/'));
    // USB: the first point block comes with 4 of its 64 bytes.
    FaultPlan shortBlock;
    shortBlock.cutAt = kUsbPointAreaBlock * kUsbBlockSize + 4;
    const ByteBuffer image = *MakeUsbDeviceImage(EncodeUsbReply(SampleComponents()).bytes);

    const struct {
        const char* what;
        bool usb, takeOffer;
        const char* saveAs;  // null: the file dialog is cancelled
        const char* lastBox;
        bool saved;
    } cases[] = {
        {"declined", false, false, "a.bin", "offer", false},
        {"saved", false, true, "serial.bin", "save", true},
        {"file dialog cancelled", false, true, nullptr, "save", false},
        {"unwritable", false, true, "missing/b.bin", "error", false},
        {"USB saved", true, true, "usb.bin", "save", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompter_.boxes.clear();
        prompter_.takeOffer = c.takeOffer;
        prompter_.saveAs.reset();
        if (c.saveAs) prompter_.saveAs = dir_.path() + "/" + c.saveAs;
        TransferDialog dlg(doc_);
        dlg.SetPrompter(&prompter_);
        dlg.SetSerialPorts({{"instrument", simulator.Port()}});
        dlg.SetCh375Factory([&] {
            auto chip = std::make_unique<SimulatedCh375>(image);
            chip->SetFaultPlan(shortBlock);
            return chip;
        });
        Control<QComboBox>(dlg, "portList")->setCurrentIndex(c.usb ? 0 : 6);
        QTest::mouseClick(Control<QPushButton>(dlg, "folderButton"), Qt::LeftButton);
        QTest::mouseClick(Control<QPushButton>(dlg, "startButton"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompter_.boxes.size() > 1; }, 15000));
        const auto offer = prompter_.boxes[1];
        EXPECT_EQ(offer.kind, "offer");
        EXPECT_EQ(offer.caption, ProductName());
        EXPECT_TRUE(offer.text.startsWith(QStringLiteral("接收的数据不完整，未写入数据文件!")));
        EXPECT_TRUE(offer.text.endsWith(QStringLiteral(" | 保存原始数据(&S)...")))
            << offer.text.toStdString();
        EXPECT_EQ(prompter_.boxes.back().kind, c.lastBox);
        if (c.takeOffer) {
            ASSERT_GT(prompter_.boxes.size(), 2u);
            EXPECT_TRUE(
                prompter_.boxes[2].text.endsWith(c.usb ? "/reply_usb.bin" : "/reply_serial.bin"));
        }
        if (c.lastBox == std::string("error")) {
            EXPECT_TRUE(
                prompter_.boxes.back().text.startsWith(QStringLiteral("不能保存原始数据!")));
        }
        EXPECT_FALSE(dlg.IsFinished());
        EXPECT_FALSE(QFileInfo::exists(target_));
        if (!c.saveAs) continue;
        const QString saved = dir_.path() + "/" + c.saveAs;
        ASSERT_EQ(QFileInfo::exists(saved), c.saved);
        if (!c.saved) continue;
        EXPECT_EQ(test::ReadAll(saved.toStdString()), c.usb ? doc_.TransferBuffer() : garbled);
        EXPECT_EQ(doc_.TransferBuffer().size(), c.usb ? 3 * kUsbHeadSize + 4 : garbled.size());
        // The saved reply is refused again the same way.
        EXPECT_EQ(DecodeExitCode(c.usb ? "--usb" : "--serial", saved, dir_.path() + "/x.DZL"), 4);
    }
}

// The real box: its extra button answers true, OK false.
TEST(TransferPrompterBox, TheOfferButtonIsTheOnlyYes) {
    for (const bool pressOffer : {true, false}) {
        MessageBoxPrompter prompter;
        QTimer::singleShot(0, [pressOffer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return ADD_FAILURE() << "no message box";
            QAbstractButton* offer = box->findChild<QAbstractButton*>("offerButton");
            EXPECT_NE(offer, nullptr);
            if (offer) {
                EXPECT_EQ(offer->text(), QStringLiteral("Save"));
            }
            (pressOffer && offer ? offer : box->button(QMessageBox::Ok))->click();
        });
        EXPECT_EQ(prompter.ShowErrorWithOffer(nullptr, "caption", "text", "Save"), pressOffer);
    }
}

}  // namespace
}  // namespace ohmlet
