// Runs the real ohmlet-cli the way scripts do and checks its output and exit codes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstring>

#include "CliRun.h"
#include "data/Criterion.h"
#include "data/DzlFile.h"
#include "report/GbkCodec.h"
#include "support/TestSupport.h"

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
    std::string fifo = dir.File("pipe.DZL");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string folder = dir.path().string();
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
        // Not regular files: named in a message, never read forever nor replaced.
        {{"info", Q(folder)}, 1, folder + ": it is a folder"},
        {{"dump", Q(folder)}, 1, folder + ": it is a folder"},
        {{"info", Q(fifo)}, 1, fifo + ": it is not a regular file"},
        {{"convert", OHMLET_EXAMPLE_PATH, "-o", Q(fifo)}, 1, fifo + ": it is not a regular file"},
        {{"convert", OHMLET_EXAMPLE_PATH, "-o", Q(folder)}, 1, "it is a folder"},
        {{"export", "--format", "csv", OHMLET_EXAMPLE_PATH, "-o", Q(fifo)},
         1,
         "it is not a regular file"},
    };
    for (const Case& k : cases) {
        CliRun r = RunCli(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << k.args.join(' ').toStdString();
        EXPECT_NE(r.err.toStdString().find(k.messagePart), std::string::npos)
            << k.args.join(' ').toStdString() << ": " << r.err.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the FIFO was replaced";
}

// The same rules as the window's: a refused criterion writes nothing; a given one is
// counted at once. Component 0001 holds 10, 20, 30; 0002 (unticked) holds 0, 40.
TEST(Cli, CriterionSetsAMinimumOrABandAndRefusesWhatCannotBe) {
    const struct {
        std::vector<const char*> options;
        int exit;
        std::vector<Criterion> after;  // empty: no file written
        std::vector<float> passing;
    } cases[] = {
        {{"--minimum", "20"}, 0, {MinimumCriterion(20), MinimumCriterion(20)}, {2, 1}},
        {{"--minimum", "20", "--ticked"}, 0, {MinimumCriterion(20), {20, -3, 5}}, {2, 0}},
        {{"--band", "25,-5,5", "--component", "0002"}, 0, {{20, -3, 5}, {25, -5, 5}}, {1, 0}},
        {{"--minimum", "0"}, 2, {}, {}},
        {{"--minimum", "1000"}, 2, {}, {}},
        {{"--minimum", "12.5"}, 2, {}, {}},
        {{"--band", "20,3,5"}, 2, {}, {}},
        {{"--band", "20,-3,-1"}, 2, {}, {}},
        {{"--band", "20,-3"}, 2, {}, {}},
        {{"--minimum", "20", "--band", "20,-3,5"}, 2, {}, {}},
        {{"--minimum", "20", "--component", "0009"}, 2, {}, {}},
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        const std::string in = dir.File("in.DZL"), out = dir.File("out.DZL");
        ASSERT_TRUE(WriteDzlFile(in, {test::MakeComponent("0001", {10, 20, 30}),
                                      test::MakeComponent("0002", {0, 40}, 0)})
                        .Ok());
        QStringList args{"criterion", Q(in), "-o", Q(out)};
        for (const char* o : c.options) args << QString::fromUtf8(o);
        const CliRun r = RunCli(args);
        const std::string what = ::testing::PrintToString(c.options);
        EXPECT_EQ(r.exitCode, c.exit) << what << r.err.toStdString();
        const DzlReadResult read = ReadDzlFile(out);
        ASSERT_EQ(read.Ok(), !c.after.empty()) << what;
        for (std::size_t i = 0; i < c.after.size(); ++i) {
            EXPECT_EQ(CriterionOf(read.components[i]), c.after[i]) << what << ' ' << i;
            EXPECT_EQ(read.components[i].passCount, c.passing[i]) << what << ' ' << i;
        }
    }
}

TEST(Cli, ConvertSavesThroughALinkAndKeepsAPrivateMode) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    std::string real = dir.File("real/data.DZL");
    test::WriteAll(real, test::Bytes().Int(0).data);
    ::chmod(real.c_str(), 0600);
    std::filesystem::create_symlink(real, dir.File("link.DZL"));
    CliRun r = RunCli({"convert", OHMLET_EXAMPLE_PATH, "-o", Q(dir.File("link.DZL"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.DZL")));
    EXPECT_EQ(test::ReadAll(real), test::ReadAll(OHMLET_EXAMPLE_PATH));
    struct stat st {};
    ::stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// Hostile texts and values: output stays UTF-8 and every column keeps a blank before the next.
TEST(Cli, InfoKeepsColumnsApartAndOutputValid) {
    test::TempDir dir;
    struct Case {
        const char* what;
        std::string number, name;
        std::vector<int> values;
        std::string expectedPiece;
    } cases[] = {
        {"invalid GBK name", "0001", "\xFF\xFE\x81", {20}, "\xEF\xBF\xBD"},
        {"invalid bytes in the number", "\x81\xFF", "a", {20}, "\xEF\xBF\xBD"},
        {"control characters", "0001", "a\x1B[2Jb", {20}, "a\xEF\xBF\xBD[2Jb"},
        {"widest readings", "0001", "a", {999, 1}, "999.0     1.0       500.0"},
        {"long name", "0001", std::string(40, 'n'), {20}, std::string(40, 'n') + " "},
    };
    for (const Case& k : cases) {
        Component c = test::MakeComponent("0001", k.values);
        std::memset(c.number, 0, sizeof c.number);
        std::memcpy(c.number, k.number.data(), std::min(k.number.size(), sizeof c.number - 1));
        c.SetName(k.name);
        std::string path = dir.File("hostile.DZL");
        ASSERT_TRUE(WriteDzlFile(path, {c}).Ok());
        CliRun r = RunCli({"info", Q(path)});
        ASSERT_EQ(r.exitCode, 0) << k.what;
        EXPECT_EQ(QString::fromUtf8(r.out).toUtf8(), r.out) << k.what << ": not UTF-8";
        EXPECT_NE(r.out.toStdString().find(k.expectedPiece), std::string::npos)
            << k.what << ":\n"
            << r.out.toStdString();
        EXPECT_EQ(r.out.indexOf('\x1B'), -1) << k.what;
    }
}

TEST(Cli, DecodeSaysWhenThereIsNoReplyAtAll) {
    test::TempDir dir;
    struct Case {
        std::vector<unsigned char> bytes;
        std::string said;
    } cases[] = {
        {{}, "is empty"},
        {{0x42}, "holds only 1 byte:"},
        {{1, 2, 3, 4, 5, 6, 7}, "holds only 7 bytes:"},
    };
    for (const Case& k : cases) {
        std::string in = dir.File("reply.bin");
        test::WriteAll(in, k.bytes);
        for (const char* layout : {"--serial", "--usb"}) {
            CliRun r = RunCli({"decode", layout, Q(in), "-o", Q(dir.File("out.DZL"))});
            EXPECT_EQ(r.exitCode, 4) << layout;
            EXPECT_NE(r.err.toStdString().find(k.said), std::string::npos) << r.err.toStdString();
            EXPECT_EQ(r.err.indexOf("0 of 0"), -1) << r.err.toStdString();
        }
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// A file larger than the memory the program may use: a message and exit 1, not abort.
TEST(Cli, OutOfMemoryIsAnErrorNotACrash) {
    if (kAddressSanitizer) GTEST_SKIP() << "a data-size limit cannot be combined with ASan";
    test::TempDir dir;
    Component big = test::MakeComponent("0001", {});
    big.ResizePoints(4000000);  // 48 MB of readings
    const std::string path = dir.File("big.DZL");
    ASSERT_TRUE(WriteDzlFile(path, {big}).Ok());
    for (const char* command : {"info", "dump"}) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::dup2(pipeFds[1], 2);
            ::close(pipeFds[0]);
            // 24 MB of heap: plenty for the program, not for the file's readings.
            rlimit limit{24u << 20, 24u << 20};
            ::setrlimit(RLIMIT_DATA, &limit);
            int devnull = ::open("/dev/null", O_WRONLY);
            ::dup2(devnull, 1);
            ::execl(OHMLET_CLI_PATH, OHMLET_CLI_PATH, command, path.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        std::string err;
        char buffer[256];
        ssize_t n;
        while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
            err.append(buffer, static_cast<std::size_t>(n));
        ::close(pipeFds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status)) << command << ": killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 1) << command << ": " << err;
        EXPECT_NE(err.find("not enough memory"), std::string::npos) << err;
    }
}

}  // namespace
}  // namespace ohmlet
