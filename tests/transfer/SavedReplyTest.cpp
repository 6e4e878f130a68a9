// `ohmlet-cli fetch --save-reply` against the virtual instruments, then `decode` of the
// saved reply: a user's failing download must come back with the same outcome.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "CliSimulator.h"
#include "data/DzlFile.h"
#include "support/TestSupport.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/FaultPlan.h"
#include "transfer/sim/UsbSimulation.h"

namespace ohmlet {
namespace {

using test::ReadAll;

struct CliResult {
    int exitCode = -1;
    std::string err;
};

CliResult Cli(const QStringList& args, const QString& simulatedUsb = {}) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!simulatedUsb.isEmpty())
        env.insert(QString::fromLatin1(kSimulateUsbVariable), simulatedUsb);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(OHMLET_CLI_PATH), args);
    if (!cli.waitForFinished(30000)) cli.kill();
    cli.waitForFinished();
    return {cli.exitCode(), cli.readAllStandardError().toStdString()};
}

TEST(SavedReply, DecodingTheSavedReplyEndsAsTheFetchDid) {
    QTemporaryDir dir;
    const std::string source = dir.filePath("source.DZL").toStdString();
    const std::vector<Component> components = {test::MakeComponent("0001", {41, 52, 47}),
                                               test::MakeComponent("P002", {60})};
    ASSERT_TRUE(WriteDzlFile(source, components).Ok());
    const ByteBuffer serial = EncodeSerialReply(components).bytes;
    FaultPlan tenComponents, halfCut;
    tenComponents.garble = {{5, 0x08}};  // the count's low byte
    halfCut.cutAt = serial.size() / 2;
    const struct {
        const char* what;
        bool usb;
        ByteBuffer served;  // what the serial instrument sends
        int exitCode;
    } cases[] = {
        {"serial, whole", false, serial, 0},
        {"serial, ten components claimed", false,
         tenComponents.Apply(serial.data(), serial.size(), 0), 4},
        {"serial, cut off halfway", false, halfCut.Apply(serial.data(), serial.size(), 0), 4},
        {"serial, no data", false, EncodeSerialReply({}).bytes, 3},
        {"USB, whole", true, EncodeUsbReply(components).bytes, 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = dir.filePath(QString::number(++n));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString saved = folder + "/reply.bin", target = folder + "/DZLDat.DZL";
        CliResult fetch;
        if (c.usb) {
            fetch = Cli({"fetch", "--usb", "0", "-o", folder, "--save-reply", saved},
                        QString::fromStdString(source));
        } else {
            test::WriteAll((folder + "/served.bin").toStdString(), c.served);
            test::CliSimulator simulator({"--reply", folder + "/served.bin"});
            ASSERT_TRUE(simulator.Port().startsWith('/'));
            fetch = Cli({"fetch", "--serial", simulator.Port(), "-o", folder, "--timeout", "1",
                         "--save-reply", saved});
        }
        EXPECT_EQ(fetch.exitCode, c.exitCode) << fetch.err;
        ByteBuffer kept = ReadAll(saved.toStdString());
        // USB comes in whole blocks: the reply's last one runs on past its end.
        if (c.usb && kept.size() > c.served.size() && kept.size() < c.served.size() + 64)
            kept.resize(c.served.size());
        EXPECT_EQ(kept, c.served);
        const char* layout = c.usb ? "--usb" : "--serial";
        if (c.exitCode != 0) {
            const std::string hint = std::string("ohmlet-cli decode ") + layout + " " +
                                     saved.toStdString() + " -o OUT.DZL";
            EXPECT_NE(fetch.err.find(hint), std::string::npos) << fetch.err;
        }
        const QString decoded = folder + "/decoded.DZL";
        CliResult decode = Cli({"decode", layout, saved, "-o", decoded});
        EXPECT_EQ(decode.exitCode, c.exitCode) << decode.err;
        EXPECT_EQ(ReadAll(decoded.toStdString()), ReadAll(target.toStdString()));
        EXPECT_EQ(QFile::exists(target), c.exitCode == 0);
    }
}

}  // namespace
}  // namespace ohmlet
