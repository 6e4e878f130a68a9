// ohmlet-cli export --format docx|xlsx|csv on a DZL file written by the program's writer.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QProcess>

#include "DzlFile.h"
#include "OfficeTestSupport.h"

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
        ASSERT_TRUE(WriteDzlFile(input_.toStdString(), components).ok);
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

TEST_F(ExportOfficeCli, XlsxHoldsTheSelectedComponents) {
    const QString out = folder_.filePath(QStringLiteral("out.xlsx"));
    CliRun run = RunCli({"export", "--format", "xlsx", input_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QJsonObject book = ReadBack(QStringLiteral("xlsx"), out);
    EXPECT_EQ(book[QStringLiteral("sheets")].toArray(), QJsonArray{QStringLiteral("报表1")});
    EXPECT_EQ(
        book[QStringLiteral("cells")][QStringLiteral("A5")][QStringLiteral("value")].toString(),
        QStringLiteral("0003(柱3)"));
    EXPECT_EQ(
        book[QStringLiteral("cells")][QStringLiteral("A6")][QStringLiteral("value")].toString(),
        QStringLiteral("0"));
}

TEST_F(ExportOfficeCli, CsvHasAHeaderAndOneLinePerReading) {
    const QString out = folder_.filePath(QStringLiteral("out.csv"));
    CliRun run = RunCli({"export", "--format", "csv", input_, "-o", out});
    ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList lines =
        QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 25 + 2);
    EXPECT_EQ(lines[0], QStringLiteral("number,name,testDate,point,value"));
    EXPECT_EQ(lines[25], QStringLiteral("0001,梁1,2015年03月07日,25,25"));
    EXPECT_EQ(lines[27], QStringLiteral("0003,柱3,2015年03月08日,2,87"));
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

}  // namespace
}  // namespace ohmlet::test
