// ohmlet-cli's standard output: failed writes, the JSON's exact layout, texts that are not GBK.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "CliRun.h"
#include "data/DzlFile.h"
#include "report/GbkCodec.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::Q;
using test::RunCli;

void SetText(char* field, std::size_t width, const std::string& bytes) {
    std::memset(field, 0, width);
    std::memcpy(field, bytes.data(), std::min(bytes.size(), width - 1));
}

// Values at the edges of how JSON spells numbers, texts that need escaping, no readings,
// and enough readings that the output passes several write blocks.
std::string WriteAwkwardFile(const test::TempDir& dir) {
    const float kFloats[] = {-0.0f, 1e-45f, 0.1f,    -2.5f,    16777216.0f, 1e6f,
                             1e16f, 1e20f,  FLT_MAX, -FLT_MAX, NAN,         INFINITY};
    const char* const kNames[] = {"a\"b\\c", "tab\there\nnew", "\x01\x1F\x7F\b\f\r", ""};
    std::vector<Component> list;
    for (std::size_t i = 0; i < std::size(kFloats); ++i) {
        Component c = test::MakeComponent(
            "0001", i == 0 ? std::vector<int>{} : std::vector<int>{-7, 2147483647});
        const float f = kFloats[i];
        c.designValue = c.maxValue = c.minValue = c.passRate = c.reservedFloat = f;
        c.lowerTolerance = -f;
        c.auxParam = i == 1 ? -2147483647 - 1 : static_cast<int32_t>(i);
        SetText(c.name, sizeof c.name, kNames[i % std::size(kNames)]);
        list.push_back(c);
    }
    list.push_back(test::MakeComponent("0002", std::vector<int>(6000, 45)));
    list.back().SetName(ToGbk(QStringLiteral("梁\"KL\\1")));
    const std::string path = dir.File("awkward.DZL");
    EXPECT_TRUE(WriteDzlFile(path, list).Ok());
    return path;
}

// Texts as the model keeps them: some bytes are GBK, some are not.
TEST(CliOutput, TextsThatAreNotGbkKeepTheirBytes) {
    const QString bad(QChar(QChar::ReplacementCharacter));
    const struct Case {
        const char* what;
        std::string field, bytes;
        QString shown;
        bool raw;  // whether the bytes must be carried beside the text
    } cases[] = {
        {"not a lead byte, then a private-use pair", "name", "\xFF\xFE\x81", bad + bad, true},
        {"a lead byte with a bad trail", "number", "\x81\xFF", bad + bad, true},
        {"a lead byte cut off at the end", "testDate", "2026\xA1", "2026" + bad, true},
        {"the byte outside GBK", "name", "ok\x80", "ok" + bad, true},
        {"GBK characters", "name", ToGbk(QStringLiteral("梁1")), QStringLiteral("梁1"), false},
        {"ASCII to escape", "testDate", "a\"\x1B", "a\"\x1B", false},
    };
    test::TempDir dir;
    std::vector<Component> list;
    for (const Case& k : cases) {
        list.push_back(test::MakeComponent("0001", {20}));
        Component& c = list.back();
        if (k.field == "name") SetText(c.name, sizeof c.name, k.bytes);
        if (k.field == "number") SetText(c.number, sizeof c.number, k.bytes);
        if (k.field == "testDate") SetText(c.testDate, sizeof c.testDate, k.bytes);
    }
    const std::string path = dir.File("texts.DZL");
    ASSERT_TRUE(WriteDzlFile(path, list).Ok());
    for (const QStringList& command : {QStringList{"dump"}, QStringList{"stats", "--json"}}) {
        const auto r = RunCli(command + QStringList{Q(path)});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonArray components =
            QJsonDocument::fromJson(r.out).object()["components"].toArray();
        ASSERT_EQ(components.size(), static_cast<qsizetype>(std::size(cases)));
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const Case& k = cases[i];
            if (command[0] == "stats" && k.field == "testDate") continue;
            const QJsonObject c = components[static_cast<qsizetype>(i)].toObject();
            const QString key = Q(k.field);
            const std::string what = command[0].toStdString() + ": " + k.what;
            EXPECT_EQ(c[key].toString(), k.shown) << what;
            // Absent for valid texts; the exact bytes in hex for the others.
            EXPECT_EQ(c[key + "Bytes"].toString().toStdString(),
                      k.raw ? QByteArray::fromStdString(k.bytes).toHex().toStdString() : "")
                << what;
        }
    }
}

// Every number as the program once built it, through QJsonValue(double), which decides
// which numbers are written as integers; the parser alone would keep "1e+06" a double.
QJsonValue Rebuilt(const QJsonValue& v) {
    if (v.isDouble()) return QJsonValue(v.toDouble());
    if (v.isArray()) {
        QJsonArray a;
        for (const QJsonValue& item : v.toArray()) a.append(Rebuilt(item));
        return a;
    }
    if (!v.isObject()) return v;
    QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) *it = Rebuilt(*it);
    return o;
}

// The JSON is written piece by piece; it must stay byte for byte what Qt's own writer makes
// of the same values, which is what scripts have always been given.
TEST(CliOutput, StreamedJsonIsWhatQtWritesOfTheSameValues) {
    test::TempDir dir;
    const std::string ini = dir.File("mixed.ini");
    const QByteArray table =
        QStringLiteral(
            "[Classes]\r\nClass1=Zed\r\nBound1=60\r\nClass2=干燥\r\nBound2=40\r\n"
            "Class3=apple\r\n")
            .toUtf8();
    test::WriteAll(ini, std::vector<unsigned char>(table.begin(), table.end()));
    const std::string files[] = {OHMLET_EXAMPLE_PATH, WriteAwkwardFile(dir)};
    const QStringList commands[] = {
        {"dump"}, {"stats", "--json"}, {"stats", "--json", "--table", Q(ini)}};
    for (const std::string& file : files) {
        for (const QStringList& command : commands) {
            const QStringList args = command + QStringList{Q(file)};
            const auto r = RunCli(args);
            ASSERT_EQ(r.exitCode, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
            QJsonParseError error;
            const QJsonDocument parsed = QJsonDocument::fromJson(r.out, &error);
            ASSERT_EQ(error.error, QJsonParseError::NoError) << args.join(' ').toStdString();
            const QJsonDocument rebuilt(Rebuilt(parsed.object()).toObject());
            EXPECT_TRUE(rebuilt.toJson(QJsonDocument::Indented) == r.out)
                << args.join(' ').toStdString();
        }
    }
}

// Output that never arrived is a failure, for every command that prints, whether it fails
// at once or in the middle of a long JSON.
TEST(CliOutput, AFullDeviceIsAnErrorNotASuccess) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    test::TempDir dir;
    const std::string missing = dir.File("missing.DZL");
    const QString example = OHMLET_EXAMPLE_PATH;
    const std::string written = "cannot write the output: " + std::string(std::strerror(ENOSPC));
    struct Case {
        QStringList args;
        int exitCode;
        std::string said;
    } cases[] = {
        {{"info", example}, 1, written},
        {{"stats", example}, 1, written},
        {{"stats", example, "--json"}, 1, written},
        {{"dump", example}, 1, written},
        {{"dump", Q(WriteAwkwardFile(dir))}, 1, written},
        {{"--version"}, 1, written},
        {{"help"}, 1, written},
        {{"dump", "--help"}, 1, written},
        // Nothing to print: a full stdout does not matter.
        {{"convert", example, "-o", Q(dir.File("copy.DZL"))}, 0, ""},
        // The command's own error is the one that is told.
        {{"info", Q(missing)}, 1, missing},
    };
    for (const Case& k : cases) {
        const auto r = RunCli(k.args, "/dev/full");
        const std::string args = k.args.join(' ').toStdString();
        EXPECT_EQ(r.exitCode, k.exitCode) << args << ": " << r.err.toStdString();
        EXPECT_NE(r.err.toStdString().find(k.said), std::string::npos)
            << args << ": " << r.err.toStdString();
        EXPECT_EQ(r.err.count("cannot write"), k.said == written ? 1 : 0) << args;
    }
}

}  // namespace
}  // namespace ohmlet
