// ohmlet-cli stats: the JSON contract, the class tables and the exit codes.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "CliRun.h"
#include "data/DzlFile.h"
#include "report/GbkCodec.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::CliRun;
using test::Q;
using test::RunCli;

const QStringList kStatsKeys = {"count",     "invalidCount", "mean",       "median", "stddev",
                                "cv",        "p10",          "p90",        "min",    "max",
                                "passCount", "passRate",     "classCounts"};

QSet<QString> KeySet(const QJsonObject& o) {
    QStringList keys = o.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

QSet<QString> Keys(QStringList keys) { return QSet<QString>(keys.begin(), keys.end()); }

// Ticked {10, 20} in the band 17..25; unticked {100}; ticked without readings;
// ticked {30, 31, 31} in its own band 29..31.
std::string WriteSample(const test::TempDir& dir) {
    std::vector<Component> list;
    list.push_back(test::MakeComponent("0001", {10, 20}));
    list[0].SetName(ToGbk(QStringLiteral("梁1")));
    list.push_back(test::MakeComponent("0002", {100}));
    list[1].selected = 0;
    list.push_back(test::MakeComponent("P003", {}));
    list.push_back(test::MakeComponent("0004", {30, 31, 31}));
    list[3].designValue = 30;
    list[3].lowerTolerance = -1;
    list[3].upperTolerance = 1;
    std::string path = dir.File("sample.DZL");
    EXPECT_TRUE(WriteDzlFile(path, list).Ok());
    return path;
}

QJsonObject Counts(std::initializer_list<std::pair<const char*, int>> counts) {
    QJsonObject o;
    for (const auto& [name, count] : counts) o[QString::fromUtf8(name)] = count;
    return o;
}

TEST(StatsCli, JsonShapeAndValues) {
    test::TempDir dir;
    CliRun r = RunCli({"stats", Q(WriteSample(dir)), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error;
    QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_EQ(KeySet(root), Keys({"table", "classes", "components", "all"}));
    EXPECT_EQ(root["table"], "rilem");
    EXPECT_EQ(root["classes"], (QJsonArray{"negligible", "low", "moderate", "high"}));

    QJsonArray list = root["components"].toArray();
    ASSERT_EQ(list.size(), 4);
    for (const QJsonValue& v : list)
        EXPECT_EQ(KeySet(v.toObject()),
                  Keys(kStatsKeys + QStringList{"number", "name", "selected"}));
    EXPECT_EQ(KeySet(root["all"].toObject()), Keys(kStatsKeys));

    struct Case {
        const char* what;
        QJsonObject actual;
        QJsonObject expected;
    } cases[] = {
        {"two readings",
         list[0].toObject(),
         {{"number", "0001"},
          {"name", QStringLiteral("梁1")},
          {"selected", true},
          {"count", 2},
          {"mean", 15},
          {"median", 15},
          {"stddev", std::sqrt(50.0)},
          {"cv", std::sqrt(50.0) / 15},
          {"p10", 11},
          {"p90", 19},
          {"min", 10},
          {"max", 20},
          {"passCount", 1},
          {"passRate", 0.5},
          // 10 lies on a bound: the riskier class takes it.
          {"classCounts", Counts({{"negligible", 0}, {"low", 0}, {"moderate", 1}, {"high", 1}})}}},
        {"one reading, unticked",
         list[1].toObject(),
         {{"number", "0002"},
          {"name", ""},
          {"selected", false},
          {"count", 1},
          {"mean", 100},
          {"median", 100},
          {"stddev", QJsonValue::Null},
          {"cv", QJsonValue::Null},
          {"p10", 100},
          {"p90", 100},
          {"min", 100},
          {"max", 100},
          {"passCount", 0},
          {"passRate", 0},
          {"classCounts", Counts({{"negligible", 0}, {"low", 1}, {"moderate", 0}, {"high", 0}})}}},
        {"no readings",
         list[2].toObject(),
         {{"number", "P003"},
          {"name", ""},
          {"selected", true},
          {"count", 0},
          {"mean", QJsonValue::Null},
          {"median", QJsonValue::Null},
          {"stddev", QJsonValue::Null},
          {"cv", QJsonValue::Null},
          {"p10", QJsonValue::Null},
          {"p90", QJsonValue::Null},
          {"min", QJsonValue::Null},
          {"max", QJsonValue::Null},
          {"passCount", QJsonValue::Null},
          {"passRate", QJsonValue::Null},
          {"classCounts", QJsonValue::Null}}},
        // Printed unrounded: 92 / 3 comes back as the same double.
        {"own band",
         list[3].toObject(),
         {{"number", "0004"},
          {"name", ""},
          {"selected", true},
          {"count", 3},
          {"mean", 92.0 / 3},
          {"median", 31},
          {"stddev", std::sqrt((4.0 / 9 + 1.0 / 9 + 1.0 / 9) / 2)},
          {"cv", std::sqrt((4.0 / 9 + 1.0 / 9 + 1.0 / 9) / 2) / (92.0 / 3)},
          {"p10", 30.2},
          {"p90", 31},
          {"min", 30},
          {"max", 31},
          {"passCount", 3},
          {"passRate", 1},
          {"classCounts", Counts({{"negligible", 0}, {"low", 0}, {"moderate", 3}, {"high", 0}})}}},
        {"ticked together",
         root["all"].toObject(),
         {{"count", 5},
          {"mean", 24.4},
          {"median", 30},
          {"stddev", std::sqrt((14.4 * 14.4 + 4.4 * 4.4 + 5.6 * 5.6 + 2 * 6.6 * 6.6) / 4)},
          {"cv", std::sqrt((14.4 * 14.4 + 4.4 * 4.4 + 5.6 * 5.6 + 2 * 6.6 * 6.6) / 4) / 24.4},
          {"p10", 14},
          {"p90", 31},
          {"min", 10},
          {"max", 31},
          {"passCount", 4},
          {"passRate", 0.8},
          {"classCounts", Counts({{"negligible", 0}, {"low", 0}, {"moderate", 4}, {"high", 1}})}}},
    };
    for (const Case& k : cases) {
        for (auto it = k.expected.begin(); it != k.expected.end(); ++it) {
            QJsonValue actual = k.actual[it.key()];
            if (it->isDouble()) {
                ASSERT_TRUE(actual.isDouble()) << k.what << ' ' << it.key().toStdString();
                EXPECT_NEAR(actual.toDouble(), it->toDouble(), 1e-12 * std::abs(it->toDouble()))
                    << k.what << ' ' << it.key().toStdString();
            } else {
                EXPECT_EQ(actual, *it) << k.what << ' ' << it.key().toStdString();
            }
        }
    }
    EXPECT_EQ(list[3].toObject()["mean"].toDouble(), 92.0 / 3) << "unrounded";
    EXPECT_TRUE(r.out.contains("\"min\": 10,")) << "whole readings print as integers";
}

TEST(StatsCli, ClassTables) {
    test::TempDir dir;
    const std::string sample = WriteSample(dir);
    const QByteArray utf8Table = QStringLiteral(
                                     "[Classes]\r\nName=现场\r\nClass1=干燥\r\nBound1=15\r\n"
                                     "Class2=潮湿\r\n")
                                     .toUtf8();
    const std::string gbk = ToGbk(QString::fromUtf8(utf8Table));
    const std::string utf8Path = dir.File("utf8.ini");
    const std::string gbkPath = dir.File("gbk.ini");
    const std::string unnamedPath = dir.File("beams.ini");
    test::WriteAll(utf8Path, std::vector<unsigned char>(utf8Table.begin(), utf8Table.end()));
    test::WriteAll(gbkPath, std::vector<unsigned char>(gbk.begin(), gbk.end()));
    const std::string unnamed = "[Classes]\nClass1=a\nBound1=25\nClass2=b\nBound2=11\nClass3=c\n";
    test::WriteAll(unnamedPath, std::vector<unsigned char>(unnamed.begin(), unnamed.end()));

    struct Case {
        QString table;
        QString name;
        QJsonArray classes;
        QJsonObject firstCounts;  // of {10, 20}
        QJsonObject allCounts;    // of {10, 20, 30, 31, 31}
    } cases[] = {
        {"langford",
         "langford",
         {"low", "low-moderate", "high", "very-high"},
         Counts({{"low", 0}, {"low-moderate", 1}, {"high", 1}, {"very-high", 0}}),
         Counts({{"low", 3}, {"low-moderate", 1}, {"high", 1}, {"very-high", 0}})},
        {"rilem",
         "rilem",
         {"negligible", "low", "moderate", "high"},
         Counts({{"negligible", 0}, {"low", 0}, {"moderate", 1}, {"high", 1}}),
         Counts({{"negligible", 0}, {"low", 0}, {"moderate", 4}, {"high", 1}})},
        {Q(utf8Path),
         QStringLiteral("现场"),
         {QStringLiteral("干燥"), QStringLiteral("潮湿")},
         Counts({{"干燥", 1}, {"潮湿", 1}}),
         Counts({{"干燥", 4}, {"潮湿", 1}})},
        {Q(gbkPath),
         QStringLiteral("现场"),
         {QStringLiteral("干燥"), QStringLiteral("潮湿")},
         Counts({{"干燥", 1}, {"潮湿", 1}}),
         Counts({{"干燥", 4}, {"潮湿", 1}})},
        {Q(unnamedPath),
         "beams",
         {"a", "b", "c"},
         Counts({{"a", 0}, {"b", 1}, {"c", 1}}),
         Counts({{"a", 3}, {"b", 1}, {"c", 1}})},
    };
    for (const Case& k : cases) {
        CliRun r = RunCli({"stats", "--table", k.table, Q(sample), "--json"});
        ASSERT_EQ(r.exitCode, 0) << k.table.toStdString() << ": " << r.err.toStdString();
        QJsonObject root = QJsonDocument::fromJson(r.out).object();
        EXPECT_EQ(root["table"], k.name) << k.table.toStdString();
        EXPECT_EQ(root["classes"], k.classes) << k.table.toStdString();
        EXPECT_EQ(root["components"].toArray()[0].toObject()["classCounts"], k.firstCounts)
            << k.table.toStdString();
        EXPECT_EQ(root["all"].toObject()["classCounts"], k.allCounts) << k.table.toStdString();
    }
}

TEST(StatsCli, TableWithoutJson) {
    test::TempDir dir;
    CliRun r = RunCli({"stats", Q(WriteSample(dir))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = QString::fromUtf8(r.out).split('\n');
    struct Case {
        QString start;
        QStringList fields;  // in order, separated by spaces
    } cases[] = {
        {QStringLiteral("0001    梁1"),
         {"yes", "2", "0", "15.00", "15.00", "7.07", "0.471", "11.00", "19.00", "10", "20", "1",
          "50.0%"}},
        {"0002",
         {"no", "1", "0", "100.00", "100.00", "-", "-", "100.00", "100.00", "100", "100", "0",
          "0.0%"}},
        {"P003", {"yes", "0", "0", "-", "-", "-", "-", "-", "-", "-", "-", "-", "-"}},
        {"All", {"(ticked", "components)", "5", "0", "24.40", "30.00"}},
        {"Corrosion-likelihood classes (rilem):",
         {"negligible", ">", "100,", "low", ">", "50,", "moderate", ">", "10,", "high",
          "<=", "10"}},
    };
    for (const Case& k : cases) {
        auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const QString& l) { return l.startsWith(k.start); });
        ASSERT_NE(line, lines.end()) << k.start.toStdString() << '\n' << r.out.toStdString();
        QStringList words = line->mid(k.start.size()).split(' ', Qt::SkipEmptyParts);
        EXPECT_EQ(words.mid(0, k.fields.size()), k.fields) << line->toStdString();
    }
    // The class counts: one row per component and one for the ticked ones.
    auto counts = std::find_if(lines.begin(), lines.end(), [](const QString& l) {
        return l.startsWith("Number") && l.contains("negligible");
    });
    ASSERT_NE(counts, lines.end());
    EXPECT_EQ(counts[1].split(' ', Qt::SkipEmptyParts).mid(2), (QStringList{"0", "0", "1", "1"}));
    EXPECT_EQ(counts[3].split(' ', Qt::SkipEmptyParts).mid(1), (QStringList{"-", "-", "-", "-"}));
    EXPECT_EQ(counts[5].split(' ', Qt::SkipEmptyParts).mid(3), (QStringList{"0", "0", "4", "1"}));
}

TEST(StatsCli, ExitCodesAndMessages) {
    test::TempDir dir;
    const std::string sample = WriteSample(dir);
    auto write = [&](const std::string& name, const std::string& text) {
        std::string path = dir.File(name);
        test::WriteAll(path, std::vector<unsigned char>(text.begin(), text.end()));
        return path;
    };
    const std::string noBound = write("nobound.ini", "[Classes]\r\nClass1=a\r\nClass2=b\r\n");
    const std::string noSection = write("nosection.ini", "[Data]\r\nClass1=a\r\n");
    const std::string sevenClasses =
        write("seven.ini",
              "[Classes]\nClass1=a\nBound1=7\nClass2=b\nBound2=6\nClass3=c\nBound3=5\nClass4=d\n"
              "Bound4=4\nClass5=e\nBound5=3\nClass6=f\nClass7=g\n");
    const std::string missingIni = dir.File("missing.ini");
    const std::string folderIni = dir.File("folder.ini");
    std::filesystem::create_directory(folderIni);
    const std::string corrupt = dir.File("corrupt.DZL");
    test::WriteAll(corrupt, test::Bytes().Int(0x7FFFFFFF).data);
    const std::string missing = dir.File("missing.DZL");
    struct Case {
        QStringList args;
        int exitCode;
        std::vector<std::string> messageParts;
    } cases[] = {
        {{"stats"}, 2, {"stats takes one DZL file"}},
        {{"stats", Q(sample), Q(sample)}, 2, {"stats takes one DZL file"}},
        {{"stats", "--json"}, 2, {"stats takes one DZL file"}},
        {{"stats", Q(sample), "--bogus"}, 2, {"stats takes one DZL file"}},
        {{"stats", Q(sample), "--table"}, 2, {"--table needs"}},
        {{"stats", Q(sample), "--table", "Rilem"}, 2, {"not 'Rilem'"}},
        {{"stats", Q(missing)}, 1, {missing}},
        {{"stats", Q(corrupt), "--json"}, 1, {corrupt}},
        {{"stats", Q(sample), "--table", Q(missingIni)}, 1, {missingIni, "cannot be read"}},
        {{"stats", Q(sample), "--table", Q(folderIni)}, 1, {folderIni, "cannot be read"}},
        {{"stats", Q(sample), "--table", Q(noBound)}, 1, {noBound, "Bound1 is missing"}},
        {{"stats", Q(sample), "--table", Q(noSection)}, 1, {noSection, "no [Classes] section"}},
        {{"stats", Q(sample), "--table", Q(sevenClasses)}, 1, {sevenClasses, "at most 6"}},
    };
    for (const Case& k : cases) {
        CliRun r = RunCli(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << k.args.join(' ').toStdString();
        for (const std::string& part : k.messageParts)
            EXPECT_NE(r.err.toStdString().find(part), std::string::npos)
                << k.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
}

// Comments, other sections and longer keys do not count; control characters in names do.
TEST(StatsCli, TableFilesAreReadExactly) {
    test::TempDir dir;
    const std::string sample = WriteSample(dir);
    struct Case {
        const char* what;
        std::string ini;
        int exitCode;
        std::string said;  // in the classes line on success, else on stderr
    } cases[] = {
        {"comment", "[Classes]\r\n; Bound1=50\r\nClass1=a\r\nBound1=100\r\nClass2=b\r\n", 0,
         "a > 100, b <= 100"},
        {"longer key", "[Classes]\r\nClass1=a\r\nXBound1=7\r\nBound1=100\r\nClass2=b\r\n", 0,
         "a > 100, b <= 100"},
        {"key of another section", "[Classes]\r\nClass1=a\r\nClass2=b\r\n[Other]\r\nBound1=5\r\n",
         1, "Bound1 is missing"},
        {"value naming the section",
         "[Meta]\r\nName=Classes\r\nClass1=a\r\nBound1=5\r\nClass2=b\r\n", 1,
         "no [Classes] section"},
        {"escape in a name", "[Classes]\r\nClass1=a\x1b[31mred\r\nBound1=5\r\nClass2=b\r\n", 1,
         "class 1 holds a control character (U+001B at byte 2)"},
        {"NUL in a name",
         std::string("[Classes]\r\nClass1=a\r\nBound1=5\r\nClass2=b") + '\0' + "c\r\n", 1,
         "class 2 holds a control character (U+0000 at byte 2)"},
    };
    for (const Case& k : cases) {
        const std::string path = dir.File("table.ini");
        test::WriteAll(path, std::vector<unsigned char>(k.ini.begin(), k.ini.end()));
        CliRun r = RunCli({"stats", Q(sample), "--table", Q(path)});
        EXPECT_EQ(r.exitCode, k.exitCode) << k.what << ": " << r.err.toStdString();
        const std::string where = k.exitCode == 0 ? r.out.toStdString() : r.err.toStdString();
        EXPECT_NE(where.find(k.said), std::string::npos) << k.what << ": " << where;
        EXPECT_EQ(r.out.contains('\x1b') || r.err.contains('\x1b'), false) << k.what;
    }
}

// ohmlet-cli reads the settings beside itself: a copy in a folder of the test's own.
TEST(StatsCli, ASavedUserTableThatCannotBeUsedIsWarnedAbout) {
    test::TempDir dir;
    const std::string sample = WriteSample(dir);
    const QString cli = Q(dir.File("ohmlet-cli"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OHMLET_CLI_PATH), cli));
    const std::string choice = "[Interpretation]\r\nClassTable=user\r\n";
    test::WriteAll(dir.File("interpretini.ini"), {choice.begin(), choice.end()});
    const std::string table = dir.File("classtableini.ini");
    struct Case {
        const char* what;
        const char* ini;  // nullptr: no file
        const char* why;  // nullptr: no warning
    } cases[] = {
        {"missing", nullptr, "cannot be read: it does not exist"},
        {"one class", "[Classes]\r\nClass1=a\r\n",
         "is not usable: a table needs 2 to 6 classes, not 1."},
        {"usable", "[Classes]\r\nClass1=a\r\nBound1=5\r\nClass2=b\r\n", nullptr},
    };
    for (const Case& k : cases) {
        std::filesystem::remove(table);
        if (k.ini) test::WriteAll(table, {k.ini, k.ini + std::strlen(k.ini)});
        for (const char* format : {"xlsx", "pdf"}) {
            QProcess p;
            p.start(cli, {"export", "--format", format, Q(sample), "-o", Q(dir.File("out"))});
            ASSERT_TRUE(p.waitForFinished(60000));
            const std::string err = p.readAllStandardError().toStdString();
            EXPECT_EQ(p.exitCode(), 0) << k.what << ' ' << format << ": " << err;
            const std::string why = k.why ? "the class table " + table + " " + k.why : "";
            const std::string warning =
                "warning: Using the rilem class table instead of the user's: ";
            EXPECT_EQ(err.find(warning + why) != std::string::npos, k.why != nullptr)
                << k.what << ' ' << format << ": " << err;
        }
    }
}

}  // namespace
}  // namespace ohmlet
