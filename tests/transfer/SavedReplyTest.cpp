// `ohmlet-cli fetch --save-reply` against the virtual instruments, then `decode` of the
// saved reply: a user's failing download must come back with the same outcome.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "CliSimulator.h"
#include "ReplyBytes.h"
#include "data/DzlFile.h"
#include "transfer/ReplyEncoder.h"
#include "transfer/sim/FaultPlan.h"
#include "transfer/sim/UsbSimulation.h"

namespace ohmlet {
namespace {

struct CliResult {
    int exitCode = -1;
    std::string err;
};

CliResult Cli(const QStringList& args, const QString& simulatedUsb = {}) {
    QProcess cli;
    if (!simulatedUsb.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kSimulateUsbVariable), simulatedUsb);
        cli.setProcessEnvironment(env);
    }
    cli.start(QStringLiteral(OHMLET_CLI_PATH), args);
    if (!cli.waitForFinished(30000)) {
        cli.kill();
        cli.waitForFinished();
        return {};
    }
    return {cli.exitCode(), cli.readAllStandardError().toStdString()};
}

ByteBuffer FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return ByteBuffer(bytes.begin(), bytes.end());
}

bool WriteBytes(const QString& path, const ByteBuffer& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), bytes.size()) ==
               static_cast<qint64>(bytes.size());
}

std::vector<Component> Components() {
    std::vector<Component> list(2);
    list[0].SetNumber("0001");
    list[0].ResizePoints(3);
    list[0].points = {{0, 41, 0}, {0, 52, 0}, {0, 47, 0}};
    list[1].SetNumber("P002");
    list[1].ResizePoints(1);
    list[1].points = {{0, 60, 0}};
    return list;
}

FaultPlan Garbled(std::size_t at, unsigned char mask) {
    FaultPlan plan;
    plan.garble = {{at, mask}};
    return plan;
}

FaultPlan CutAt(std::size_t at) {
    FaultPlan plan;
    plan.cutAt = at;
    return plan;
}

TEST(SavedReply, DecodingTheSavedReplyEndsAsTheFetchDid) {
    QTemporaryDir dir;
    const QString source = dir.filePath("source.DZL");
    ASSERT_TRUE(WriteDzlFile(source.toStdString(), Components()).Ok());
    const ByteBuffer serial = EncodeSerialReply(Components()).bytes;
    const struct {
        const char* what;
        bool usb;
        FaultPlan plan;  // how the served serial reply is spoiled
        int exitCode;
    } cases[] = {
        {"serial, whole", false, {}, 0},
        {"serial, ten components claimed", false, Garbled(5, 0x08), 4},
        {"serial, cut off halfway", false, CutAt(serial.size() / 2), 4},
        {"serial, no data", false, CutAt(0), 3},
        {"USB, whole", true, {}, 0},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString folder = dir.filePath(QString::number(++n));
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString saved = folder + "/reply.bin", target = folder + "/DZLDat.DZL";
        CliResult fetch;
        ByteBuffer served;
        if (c.usb) {
            served = EncodeUsbReply(Components()).bytes;
            fetch = Cli({"fetch", "--usb", "0", "-o", folder, "--save-reply", saved}, source);
        } else {
            // "No data" is the instrument's own empty reply, not a cut one.
            served = c.exitCode == 3 ? EncodeSerialReply({}).bytes
                                     : c.plan.Apply(serial.data(), serial.size(), 0);
            ASSERT_TRUE(WriteBytes(folder + "/served.bin", served));
            test::CliSimulator simulator({"--reply", folder + "/served.bin"});
            ASSERT_TRUE(simulator.Port().startsWith('/'));
            fetch = Cli({"fetch", "--serial", simulator.Port(), "-o", folder, "--timeout", "1",
                         "--save-reply", saved});
        }
        EXPECT_EQ(fetch.exitCode, c.exitCode) << fetch.err;
        ASSERT_TRUE(QFile::exists(saved)) << fetch.err;
        // USB comes in whole blocks: the reply's last one runs on past its end.
        ByteBuffer kept = FileBytes(saved);
        if (c.usb && kept.size() > served.size() && kept.size() - served.size() < kUsbBlockSize)
            kept.resize(served.size());
        EXPECT_EQ(kept, served);
        const char* layout = c.usb ? "--usb" : "--serial";
        if (c.exitCode != 0) {
            const std::string hint = std::string("ohmlet-cli decode ") + layout + " " +
                                     saved.toStdString() + " -o OUT.DZL";
            EXPECT_NE(fetch.err.find(hint), std::string::npos) << fetch.err;
        }
        const QString decoded = folder + "/decoded.DZL";
        CliResult decode = Cli({"decode", layout, saved, "-o", decoded});
        EXPECT_EQ(decode.exitCode, c.exitCode) << decode.err;
        EXPECT_EQ(QFile::exists(decoded), c.exitCode == 0);
        EXPECT_EQ(QFile::exists(target), c.exitCode == 0);
        if (c.exitCode == 0) {
            EXPECT_EQ(FileBytes(decoded), FileBytes(target));
        }
    }
}

}  // namespace
}  // namespace ohmlet
