// ohmlet-cli export --format docx|xlsx|csv on a DZL file written by the program's writer.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QProcess>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "OfficeTestSupport.h"
#include "data/DzlFile.h"
#include "report/office/CsvWriter.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/OfficeFolder.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet::test {
namespace {

struct CliRun {
    int exitCode = -1;
    QString errors;
};

CliRun RunCli(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(OHMLET_CLI), arguments);
    cli.waitForFinished(60000);
    return {cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1,
            QString::fromUtf8(cli.readAllStandardError())};
}

class ExportOfficeCli : public ::testing::Test {
protected:
    void SetUp() override {
        input_ = folder_.filePath(QStringLiteral("in.DZL"));
        auto components = MakeComponents({{"0001", "梁1", "2015年03月07日", Readings(25)},
                                          {"0002", "板2", "2015年03月07日", {0, 87}, false},
                                          {"0003", "柱3", "2015年03月08日", {0, 87}}});
        ASSERT_TRUE(WriteDzlFile(input_.toStdString(), components).Ok());
    }

    QTemporaryDir folder_;
    QString input_;
};

TEST_F(ExportOfficeCli, DocxHoldsTheSelectedComponents) {
    const QString out = folder_.filePath(QStringLiteral("out.docx"));
    CliRun run = RunCli({"export", "--format", "docx", input_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QJsonArray rows = ReadBack(QStringLiteral("docx"), out)[QStringLiteral("tables")][0].toArray();
    ASSERT_EQ(rows.size(), 4 + 2);
    EXPECT_TRUE(
        rows[4][0][QStringLiteral("text")].toString().startsWith(QStringLiteral("0003(柱3)")));
    EXPECT_EQ(rows[5][0][QStringLiteral("text")].toString(), QStringLiteral("0.0"));
}

// The command line draws the same map pictures as the window, without a display.
TEST_F(ExportOfficeCli, DocxHoldsAMapAfterEachGriddedComponent) {
    auto components = MakeComponents({{"0001", "梁1", "2015年03月07日", Readings(25)},
                                      {"0002", "板2", "2015年03月07日", {30, 87}},
                                      {"0003", "柱3", "2015年03月08日", {40, 87}}});
    for (std::size_t i : {std::size_t{0}, std::size_t{2}})
        components[i].extras.grid = SurveyGrid{5, 5, 100, 100};
    const QString input = folder_.filePath(QStringLiteral("gridded.DZL"));
    ASSERT_TRUE(WriteDzlFile(input.toStdString(), components).Ok());
    const QString out = folder_.filePath(QStringLiteral("maps.docx"));
    CliRun run = RunCli({"export", "--format", "docx", input, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    const QJsonArray pictures =
        ReadBack(QStringLiteral("docx"), out)[QStringLiteral("pictures")].toArray();
    ASSERT_EQ(pictures.size(), 2);
    for (const QJsonValue& picture : pictures)
        EXPECT_EQ(picture[QStringLiteral("contentType")].toString(), QStringLiteral("image/png"));
}

TEST_F(ExportOfficeCli, XlsxHoldsTheSelectedComponents) {
    const QString out = folder_.filePath(QStringLiteral("out.xlsx"));
    CliRun run = RunCli({"export", "--format", "xlsx", input_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QJsonObject book = ReadBack(QStringLiteral("xlsx"), out);
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray(),
              (QJsonArray{QStringLiteral("报表1"), QStringLiteral("统计汇总")}));
    EXPECT_EQ(
        book[QStringLiteral("cells")][QStringLiteral("A5")][QStringLiteral("value")].toString(),
        QStringLiteral("0003(柱3)"));
    QJsonObject zero = book[QStringLiteral("cells")][QStringLiteral("A6")].toObject();
    EXPECT_EQ(zero[QStringLiteral("value")].toDouble(-1), 0);
    EXPECT_EQ(zero[QStringLiteral("type")].toString(), QStringLiteral("n"));
}

TEST_F(ExportOfficeCli, CsvHasAHeaderAndOneLinePerReading) {
    const QString out = folder_.filePath(QStringLiteral("out.csv"));
    CliRun run = RunCli({"export", "--format", "csv", input_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    QStringList lines =
        QString::fromUtf8(bytes.mid(3)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 25 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("number,name,testDate,point,value,isoDate,verdict"));
    EXPECT_EQ(lines[25], QStringLiteral("=\"0001\",梁1,2015年03月07日,25,25,2015-03-07,fail"));
    EXPECT_EQ(lines[27], QStringLiteral("=\"0003\",柱3,2015年03月08日,2,87,2015-03-08,fail"));
}

TEST_F(ExportOfficeCli, CsvWithoutByteOrderMark) {
    const QString out = folder_.filePath(QStringLiteral("out.csv"));
    CliRun run = RunCli({"export", "--format", "csv", input_, "-o", out, "--no-bom"});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("number,name,testDate,point,value,isoDate,verdict\n"));
}

// The ISO date comes from the stored text; one that names no real day stays empty.
TEST(CsvExport, IsoDateFromTheStoredDate) {
    struct Case {
        const char* stored;
        const char* iso;
    } cases[] = {
        {"2015年03月07日", "2015-03-07"},
        {"2015年 3月 7日", "2015-03-07"},
        {"2024年02月29日", "2024-02-29"},
        {"2015年02月29日", ""},
        {"2015年13月01日", ""},
        {"", ""},
        {"yesterday", ""},
        {"2015年03月", ""},
    };
    for (const Case& k : cases) {
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("out.csv"));
        CsvOptions options;
        options.byteOrderMark = false;
        auto components = MakeComponents({{"0001", "梁1", k.stored, {7}}});
        ASSERT_TRUE(WriteReadingsCsv(components, out, options).Ok());
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 2) << k.stored;
        EXPECT_EQ(lines[1].section(QLatin1Char(','), 5, 5), QString::fromUtf8(k.iso)) << k.stored;
    }
}

TEST_F(ExportOfficeCli, UnwritableOutputExitsWithOne) {
    for (const char* format : {"docx", "xlsx", "csv"}) {
        const QString out =
            folder_.filePath(QStringLiteral("missing/out.") + QLatin1String(format));
        CliRun run = RunCli({"export", "--format", format, input_, "-o", out});
        EXPECT_EQ(run.exitCode, 1) << format;
        EXPECT_TRUE(run.errors.contains(out)) << run.errors.toStdString();
        EXPECT_FALSE(QFile::exists(out)) << format;
    }
}

// Texts a spreadsheet would run as formulas come out as text, however the importer splits
// cells; readings stay numbers.
TEST(CsvExport, FormulaLikeTextsAreWrittenAsText) {
    struct Case {
        const char* name;
        const char* field;  // as it appears between the commas
    } cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+1", "'+1"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"\tcmd", "\"'\tcmd\""},
        {"\r=1", "\"'\r=1\""},
        {"梁=1", "梁=1"},
        {"a-b", "a-b"},
        // A cell an importer cuts out at a semicolon, comma or tab is as dangerous.
        {"x;=1+1", "\"'x;=1+1\""},
        {"a,@b", "\"'a,@b\""},
        {"a\t-1", "\"'a\t-1\""},
        {"a; +1", "\"'a; +1\""},
        {" =1", "' =1"},
        {"a;b", "\"a;b\""},
        // Digits with a leading zero would lose it as a number; others may be numbers.
        {"0012", "=\"0012\""},
        {"12", "12"},
        {"0", "0"},
        {"0.5", "0.5"},
    };
    for (const Case& k : cases) {
        QTemporaryDir folder;
        const QString out = folder.filePath(QStringLiteral("out.csv"));
        auto components = MakeComponents({{"0001", k.name, "2015年03月07日", {-5}}});
        ASSERT_TRUE(WriteReadingsCsv(components, out).Ok());
        QFile file(out);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        const QString expected = QStringLiteral("=\"0001\",") + QString::fromUtf8(k.field) +
                                 QStringLiteral(",2015年03月07日,1,-5,2015-03-07,invalid\n");
        EXPECT_TRUE(text.endsWith(expected)) << k.name << ": " << text.toStdString();
    }
}

// File names are bytes: one that is not UTF-8 is written under exactly those bytes.
TEST_F(ExportOfficeCli, NonUtf8OutputNamesRoundTrip) {
    const std::string folder = QFile::encodeName(folder_.path()).toStdString() + "/";
    for (const char* format : {"csv", "docx", "xlsx", "pdf"}) {
        const std::string gbkName = std::string("\xB2\xE2\xCA\xD4.") + format;  // 测试 in GBK
        const std::string otherName = std::string("\xB2\xE3\xCA\xD4.") + format;
        for (const std::string& name : {gbkName, otherName}) {
            pid_t child = ::fork();
            if (child == 0) {
                int devnull = ::open("/dev/null", O_WRONLY);
                ::dup2(devnull, 2);
                const std::string in = QFile::encodeName(input_).toStdString();
                const std::string out = folder + name;
                ::execl(OHMLET_CLI, OHMLET_CLI, "export", "--format", format, in.c_str(), "-o",
                        out.c_str(), static_cast<char*>(nullptr));
                ::_exit(127);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << format;
        }
        struct stat st {};
        // Two names that differ only in bytes Qt cannot decode stay two files.
        EXPECT_EQ(::stat((folder + gbkName).c_str(), &st), 0) << format;
        EXPECT_EQ(::stat((folder + otherName).c_str(), &st), 0) << format;
        EXPECT_GT(st.st_size, 0) << format;
        // QTemporaryDir cannot name these files to remove them.
        ::unlink((folder + gbkName).c_str());
        ::unlink((folder + otherName).c_str());
    }
}

TEST(OfficeFolder, OutputsArePrivateAndUnique) {
    const QString folder = OfficeOutputFolder();
    ASSERT_FALSE(folder.isEmpty());
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 077, 0u) << "others can enter the output folder";
    EXPECT_EQ(st.st_uid, ::geteuid());

    const QString word = DefaultWordOutputPath(), other = DefaultWordOutputPath();
    const QString excel = DefaultExcelOutputPath();
    for (const QString& path : {word, other, excel}) {
        EXPECT_EQ(QFileInfo(path).absolutePath(), folder);
        EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("数据表格")))
            << path.toStdString();
    }
    EXPECT_NE(word, other);
    EXPECT_TRUE(word.endsWith(QStringLiteral(".docx")));
    EXPECT_TRUE(excel.endsWith(QStringLiteral(".xlsx")));
    for (const QString& path : {word, other, excel}) QFile::remove(path);
}

}  // namespace
}  // namespace ohmlet::test
