// Runs the real ohmlet-cli the way scripts do and checks its output and exit codes.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "../data/TestSupport.h"
#include "CliRun.h"
#include "GbkCodec.h"

namespace ohmlet {
namespace {

using test::CliRun;
using test::Q;
using test::RunCli;

// Bytes as a different writer might produce them: garbage after the NULs.
std::vector<unsigned char> ForeignFile() {
    test::Bytes b;
    b.Int(1);
    b.Text("W012", 5, 0x11).Text(ToGbk(QStringLiteral("梁1")), 100, 0x22);
    b.Text(ToGbk(QStringLiteral("2015年03月07日")), 20, 0x33).Byte(0);
    b.Int(16).Float(20).Float(-3).Float(5).Int(2).Int(1).Float(0.5f);
    b.Float(46).Float(45).Float(2).Float(1);
    b.Int(3).Int(45).Int(16).Int(4).Int(46).Int(17);
    return b.data;
}

TEST(Cli, DumpShowsEveryStoredFieldInUtf8) {
    test::TempDir dir;
    std::string path = dir.File("foreign.DZL");
    test::WriteAll(path, ForeignFile());
    CliRun r = RunCli({"dump", Q(path)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonObject root = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(root["componentCount"].toInt(), 1);
    QJsonObject c = root["components"].toArray()[0].toObject();
    struct Field {
        const char* name;
        QJsonValue expected;
    } fields[] = {
        {"number", "W012"},
        {"name", QStringLiteral("梁1")},
        {"testDate", QStringLiteral("2015年03月07日")},
        {"selected", 0},
        {"auxParam", 16},
        {"designValue", 20.0},
        {"lowerTolerance", -3.0},
        {"upperTolerance", 5.0},
        {"pointCount", 2},
        {"blockOffset", 1},
        {"reservedFloat", 0.5},
        {"maxValue", 46.0},
        {"minValue", 45.0},
        {"passCount", 2.0},
        {"passRate", 1.0},
    };
    for (const Field& f : fields) EXPECT_EQ(c[f.name], f.expected) << f.name;
    EXPECT_EQ(c["points"].toArray(), (QJsonArray{QJsonArray{3, 45, 16}, QJsonArray{4, 46, 17}}));
}

TEST(Cli, ConvertReproducesOurOwnFilesByteForByte) {
    test::TempDir dir;
    std::string foreign = dir.File("foreign.DZL");
    test::WriteAll(foreign, ForeignFile());
    std::string once = dir.File("once.DZL");
    std::string twice = dir.File("twice.DZL");
    ASSERT_EQ(RunCli({"convert", Q(foreign), "-o", Q(once)}).exitCode, 0);
    ASSERT_EQ(RunCli({"convert", Q(once), "-o", Q(twice)}).exitCode, 0);
    EXPECT_EQ(test::ReadAll(once), test::ReadAll(twice));
    EXPECT_EQ(test::ReadAll(once).size(), ForeignFile().size());

    std::string example = OHMLET_EXAMPLE_PATH;
    std::string copy = dir.File("example.DZL");
    ASSERT_EQ(RunCli({"convert", Q(example), "-o", Q(copy)}).exitCode, 0);
    EXPECT_EQ(test::ReadAll(copy), test::ReadAll(example));
}

TEST(Cli, InfoListsComponentsAndTotals) {
    CliRun r = RunCli({"info", OHMLET_EXAMPLE_PATH});
    ASSERT_EQ(r.exitCode, 0);
    QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains(QStringLiteral("1#楼三层梁KL1"))) << r.out.toStdString();
    EXPECT_TRUE(out.contains("W007"));
    EXPECT_TRUE(out.contains("Components: 12"));
}

TEST(Cli, ExitCodesAndMessages) {
    test::TempDir dir;
    std::string corrupt = dir.File("corrupt.DZL");
    test::WriteAll(corrupt, test::Bytes().Int(0x7FFFFFFF).data);
    std::string missing = dir.File("missing.DZL");
    struct Case {
        QStringList args;
        int exitCode;
        std::string messagePart;
    } cases[] = {
        {{}, 2, "usage"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"info"}, 2, "one DZL file"},
        {{"info", Q(missing)}, 1, missing},
        {{"dump", Q(corrupt)}, 1, corrupt},
        {{"convert", Q(corrupt)}, 2, "usage"},
        {{"convert", Q(corrupt), "-o"}, 2, "-o"},
        {{"convert", OHMLET_EXAMPLE_PATH, "-o", Q(dir.File("no/such/folder.DZL"))},
         1,
         "no/such/folder.DZL"},
    };
    for (const Case& k : cases) {
        CliRun r = RunCli(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args.join(' ').toStdString();
        EXPECT_NE(r.err.toStdString().find(k.messagePart), std::string::npos)
            << k.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
}

}  // namespace
}  // namespace ohmlet
