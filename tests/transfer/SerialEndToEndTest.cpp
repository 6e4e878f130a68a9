// The serial link against `ohmlet-cli simulate --serial` over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>

#include "CliSimulator.h"
#include "ReplyBytes.h"
#include "data/Criterion.h"
#include "data/DzlFile.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"

namespace ohmlet {
namespace {

ByteBuffer FileBytes(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Components as the instrument holds them, so the fetched file must equal the source
// byte for byte.
std::vector<Component> InstrumentComponents() {
    std::vector<Component> list(3);
    const char* numbers[] = {"0001", "P012", "W9AZ"};
    for (int k = 0; k < 3; ++k) {
        Component& c = list[k];
        c.SetNumber(numbers[k]);
        c.SetTestDate(
            "2026\xC4\xEA"
            "10\xD4\xC2"
            "1" +
            std::to_string(k) + "\xC8\xD5");
        c.designValue = 20.0f + k;
        c.ResizePoints(5 + 7 * k);
        for (int i = 0; i < c.pointCount; ++i) c.points[i].value = 30 + (i * 7 + k) % 40;
        c.ComputeMax();
        c.ComputeMin();
        c.passCount = 0;
        c.passRate = 40.0f + k;
    }
    return list;
}

TEST(SerialEndToEnd, FetchOverThePseudoTerminalGivesTheSourceFile) {
    QTemporaryDir dir;
    QString source = dir.path() + "/source.DZL";
    ASSERT_TRUE(WriteDzlFile(source.toStdString(), InstrumentComponents()).Ok());
    // What a download must write: the source with the empty pass bands filled.
    QString expected = dir.path() + "/expected.DZL";
    std::vector<Component> filled = InstrumentComponents();
    ASSERT_EQ(FillEmptyBands(filled, BuiltInDownloadCriterion()), filled.size());
    ASSERT_TRUE(WriteDzlFile(expected.toStdString(), filled).Ok());
    test::CliSimulator simulator({"--from", source});
    ASSERT_TRUE(simulator.Port().startsWith('/')) << simulator.Port().toStdString();

    QString target = dir.path() + "/DZLDat.DZL";
    TransferSession session;
    QEventLoop loop;
    QObject::connect(&session, &TransferSession::ended, &loop, &QEventLoop::quit);
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    StartOutcome opened =
        session.Start(std::make_unique<SerialLink>(simulator.Port().toStdString()),
                      ReplyLayout::Serial, target.toStdString());
    ASSERT_TRUE(opened.Ok()) << opened.cause;
    loop.exec();
    ASSERT_FALSE(session.IsRunning()) << "no complete reply within 30 s";

    const TransferOutcome& result = session.Result();
    ASSERT_TRUE(result.Ok()) << result.cause;
    EXPECT_EQ(result.componentCount, 3);
    EXPECT_TRUE(result.received.empty());
    EXPECT_EQ(FileBytes(target), FileBytes(expected));

    // The command-line fetch, against the same simulator, writes the same file.
    QString folder = dir.path() + "/cli";
    ASSERT_TRUE(QDir().mkpath(folder));
    QProcess fetch;
    fetch.start(QStringLiteral(OHMLET_CLI_PATH),
                {"fetch", "--serial", simulator.Port(), "-o", folder});
    ASSERT_TRUE(fetch.waitForFinished(30000));
    EXPECT_EQ(fetch.exitCode(), 0) << fetch.readAllStandardError().toStdString();
    EXPECT_EQ(FileBytes(folder + "/DZLDat.DZL"), FileBytes(expected));
}

TEST(SerialEndToEnd, CommandLineExitCodesFollowTheReply) {
    QTemporaryDir dir;
    auto write = [&](const char* name, const ByteBuffer& bytes) {
        QString path = dir.path() + "/" + name;
        std::ofstream(path.toStdString(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    };
    ByteBuffer noData = {0, 0, 0, 0, 0, 0, 0, 8};
    ByteBuffer cut = {0, 0, 0, 0, 0, 1, 0, 30, 0, 0};  // claims 30 bytes, holds 10
    ByteBuffer overrun = {0, 0, 0, 0, 0, 2, 0, 8};     // two components in no bytes
    ByteBuffer serial = test::SerialReply({{{0, 0, 0, 7}, 26, 5, 4, 20, 31, 50, {30, 32}}});
    ByteBuffer usb = test::UsbReply({{{0, 0, 0, 7}, 26, 5, 4, 20, 50, {300, 320}}});
    struct Case {
        const char* file;
        const char* layout;
        ByteBuffer bytes;
        int exitCode;
    } cases[] = {{"nodata.bin", "--serial", noData, 3},   {"cut.bin", "--serial", cut, 4},
                 {"overrun.bin", "--serial", overrun, 4}, {"usbcut.bin", "--usb", cut, 4},
                 {"serial.bin", "--serial", serial, 0},   {"usb.bin", "--usb", usb, 0}};
    for (const Case& c : cases) {
        QString out = dir.path() + "/out.DZL";
        QFile::remove(out);
        QProcess decode;
        decode.start(QStringLiteral(OHMLET_CLI_PATH),
                     {"decode", c.layout, write(c.file, c.bytes), "-o", out});
        ASSERT_TRUE(decode.waitForFinished(10000));
        EXPECT_EQ(decode.exitCode(), c.exitCode) << c.file;
        if (c.exitCode != 0) {
            EXPECT_FALSE(decode.readAllStandardError().isEmpty()) << c.file;
            EXPECT_FALSE(QFile::exists(out)) << c.file;
            continue;
        }
        DzlReadResult file = ReadDzlFile(out.toStdString());
        ASSERT_TRUE(file.Ok()) << c.file;
        ASSERT_EQ(file.components.size(), 1u);
        EXPECT_EQ(file.components[0].Number(), "0007");
        EXPECT_EQ(file.components[0].points[1].value, 32) << c.file;
    }
}

}  // namespace
}  // namespace ohmlet
