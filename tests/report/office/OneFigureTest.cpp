// The example's verdict read back from every output a client gets, against `stats --json`:
// one count of valid, invalid and passing readings, one rate cut to a tenth.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "OfficeTestSupport.h"

namespace ohmlet::test {
namespace {

QByteArray RunOutput(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(120000);
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ' '
                               << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

TEST(OneFigure, EveryOutputStatesTheCountsAndRateThatStatsGives) {
    QTemporaryDir folder;
    const QString example = QStringLiteral(OHMLET_EXAMPLE);
    const QString cli = QStringLiteral(OHMLET_CLI);
    const QJsonObject all = QJsonDocument::fromJson(RunOutput(cli, {"stats", example, "--json"}))
                                .object()[QStringLiteral("all")]
                                .toObject();
    const int valid = all[QStringLiteral("count")].toInt();
    const int invalid = all[QStringLiteral("invalidCount")].toInt();
    const int passed = all[QStringLiteral("passCount")].toInt();
    ASSERT_GT(invalid, 0) << "the example shows invalid readings";
    ASSERT_GT(valid, passed) << "and failing ones";
    const int tenths = passed * 1000 / valid;
    const QString rate = QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);

    const struct {
        const char* format;
        const char* file;
    } outputs[] = {{"pdf", "r.pdf"}, {"xlsx", "r.xlsx"}, {"csv", "r.csv"}, {"docx", "r.docx"}};
    for (const auto& o : outputs)
        RunOutput(cli, {"export", "--format", o.format, example, "-o", folder.filePath(o.file)});

    // The printed conclusion, its line breaks taken out.
    const QString pdf =
        QString::fromUtf8(
            RunOutput(QStringLiteral("pdftotext"), {folder.filePath("r.pdf"), QStringLiteral("-")}))
            .remove(QRegularExpression(QStringLiteral("\\s+")));
    EXPECT_TRUE(pdf.contains(QStringLiteral("合格的测点%1个，不合格测点%2个，无效读数%3个")
                                 .arg(passed)
                                 .arg(valid - passed)
                                 .arg(invalid)));
    EXPECT_TRUE(pdf.contains(QStringLiteral("合格率达到%1%").arg(rate)) ||
                pdf.contains(QStringLiteral("合格率为%1%").arg(rate)));

    // The workbook's summary row over the ticked components.
    const QJsonArray rows =
        ReadBack(QStringLiteral("xlsx"),
                 folder.filePath("r.xlsx"))[QStringLiteral("others")][QStringLiteral("统计汇总")]
            .toArray();
    QJsonArray total;
    for (const QJsonValue& row : rows)
        if (row.toArray()[0].toString() == QStringLiteral("全部")) total = row.toArray();
    ASSERT_FALSE(total.isEmpty());
    EXPECT_EQ(total[2].toInt(), valid);
    EXPECT_EQ(total[3].toInt(), invalid);
    EXPECT_EQ(total[12].toInt(), passed);
    EXPECT_EQ(total[13].toInt(), valid - passed);
    EXPECT_NEAR(total[14].toDouble() * 100, rate.toDouble(), 1e-9);

    // One CSV line per reading of the ticked components, each with its verdict.
    QFile csv(folder.filePath("r.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_EQ(text.count(QStringLiteral(",pass\n")), passed);
    EXPECT_EQ(text.count(QStringLiteral(",fail\n")), valid - passed);
    EXPECT_EQ(text.count(QStringLiteral(",invalid\n")), invalid);

    // The Word table says beside each mean how many readings it left out.
    const QJsonArray word =
        ReadBack(QStringLiteral("docx"), folder.filePath("r.docx"))[QStringLiteral("tables")][0]
            .toArray();
    int leftOut = 0;
    static const QRegularExpression note(QStringLiteral("（无效读数(\\d+)个未计入）"));
    for (const QJsonValue& row : word) {
        const QRegularExpressionMatch m =
            note.match(row.toArray()[0][QStringLiteral("text")].toString());
        if (m.hasMatch()) leftOut += m.captured(1).toInt();
    }
    EXPECT_EQ(leftOut, invalid);
}

}  // namespace
}  // namespace ohmlet::test
