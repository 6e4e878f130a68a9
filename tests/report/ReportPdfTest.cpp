// The report of the example file, written by ohmlet-cli and read back with pdftotext.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "data/DzlFile.h"
#include "report/ClassSummaryPage.h"
#include "report/GbkCodec.h"
#include "report/PdfTextMapping.h"
#include "report/ReportRows.h"

namespace ohmlet {
namespace {

void WriteGbkFile(const QString& path, const QString& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromStdString(ToGbk(text)));
}

class ReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The settings files are read beside the program, so the program runs from a
        // folder of the test's own.
        cli_ = dir_.filePath("ohmlet-cli");
        ASSERT_TRUE(QFile::copy(OHMLET_CLI, cli_));
        pdf_ = dir_.filePath("report.pdf");
    }
    void WriteSettings() {
        WriteGbkFile(
            dir_.filePath("report1ini.ini"),
            QStringLiteral("[Data]\r\n工程名称=滨江花园3号楼\r\n委托单位=滨江置业有限公司\r\n"
                           "施工单位=第二建筑公司\r\n监理单位=华信监理\r\n检测仪器=DZ-1\r\n"
                           "检测依据=GB50204\r\n报告编号=BG-2026-017\r\n"
                           "报告日期=2026年 3月 5日\r\n设计单位=市设计院\r\n"
                           "工程地址=江北路8号\r\n结构类别=框架\r\n强度等级=C30\r\n"
                           "施工日期=2025年 6月 1日\r\n报告格式=0\r\n"));
        WriteGbkFile(
            dir_.filePath("printini.ini"),
            QStringLiteral("[Data]\r\n打印页眉=1\r\n打印页脚=1\r\n打印页码=1\r\n"
                           "页眉内容=电阻率检测中心\r\n页脚内容=仅对来样负责\r\n页码格式=4\r\n"
                           "起始页码=1\r\n页码位置=0\r\n"));
    }
    int Export(const QString& input) {
        QProcess p;
        p.start(cli_, {"export", "--format", "pdf", input, "-o", pdf_});
        p.waitForFinished(60000);
        error_ = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    int PageCount() {
        QProcess p;
        p.start("pdfinfo", {pdf_});
        p.waitForFinished(30000);
        QRegularExpressionMatch m = QRegularExpression("Pages:\\s+(\\d+)")
                                        .match(QString::fromUtf8(p.readAllStandardOutput()));
        return m.hasMatch() ? m.captured(1).toInt() : -1;
    }
    // The text of one page, blanks collapsed to single ones per line.
    QString PageText(int page) {
        QProcess p;
        p.start("pdftotext",
                {"-layout", "-f", QString::number(page), "-l", QString::number(page), pdf_, "-"});
        p.waitForFinished(30000);
        QString text = QString::fromUtf8(p.readAllStandardOutput());
        return text.replace(QRegularExpression("[ \\t]+"), " ");
    }
    // pdftotext does not keep the blanks between CJK characters: compare without any.
    static QString Squeezed(QString text) { return text.remove(QRegularExpression("\\s+")); }
    static bool Has(const QString& text, const QString& wanted) {
        return Squeezed(text).contains(Squeezed(wanted));
    }

    QTemporaryDir dir_;
    QString cli_, pdf_;
    QByteArray error_;
};

TEST_F(ReportPdfTest, ExampleReportHasEverythingOnTheRightPage) {
    WriteSettings();
    ASSERT_EQ(Export(OHMLET_EXAMPLE), 0) << error_.toStdString();
    DzlReadResult file = ReadDzlFile(OHMLET_EXAMPLE);
    ASSERT_TRUE(file.Ok());
    const std::vector<ReportRow> rows = BuildReportRows(file.components);
    // Cover, project, basis, raw data, then the class summary (on by default).
    const int pages =
        3 + static_cast<int>((rows.size() + 39) / 40) +
        ClassSummaryPageCount(BuildClassSummary(file.components, ClassTable::Rilem()));
    ASSERT_EQ(PageCount(), pages);

    const QString cover = PageText(1);
    for (const char* s :
         {"检 测 报 告", "编号：BG-2026-017", "工程名称：", "滨江花园3号楼", "委托单位：",
          "滨江置业有限公司", "检测内容：", "电阻率检测", "2026年 3月 5日"})
        EXPECT_TRUE(Has(cover, QString::fromUtf8(s))) << s;
    EXPECT_FALSE(cover.contains("2008"));

    const QString project = PageText(2);
    for (const char* s : {"工程名称 滨江花园3号楼", "施工单位 第二建筑公司", "监理单位 华信监理",
                          "设计单位 市设计院", "检测项目 混凝土电阻率测试", "一、概况",
                          "滨江花园3号楼工程位于江北路8号，为框架结构。", "二、检测方法",
                          "四电极（Wenner）法", "检 测 结 论", "(以下空白)"})
        EXPECT_TRUE(Has(project, QString::fromUtf8(s))) << s;
    // The totals counted here, independently of the report code, over the listed components:
    // readings of 0 or below and of 1000 or more are left out of the verdict.
    int components = 0, total = 0, invalid = 0, passed = 0;
    for (const Component& c : file.components) {
        if (!c.selected) continue;
        ++components;
        total += c.pointCount;
        for (int i = 0; i < c.pointCount; ++i) {
            const int32_t value = c.points[static_cast<std::size_t>(i)].value;
            const float v = static_cast<float>(value);
            if (value <= 0 || value >= 1000)
                ++invalid;
            else if (v >= c.designValue + c.lowerTolerance && v <= c.designValue + c.upperTolerance)
                ++passed;
        }
    }
    const int valid = total - invalid;
    const QString scope =
        components == 1 ? QStringLiteral("该构件") : QStringLiteral("所检%1个构件").arg(components);
    const QString flat = Squeezed(project);
    EXPECT_TRUE(
        flat.contains(QStringLiteral("共对%1的%2个测点进行检测，其中合格的测点%3个，不合格测点%4个")
                          .arg(scope)
                          .arg(total)
                          .arg(passed)
                          .arg(valid - passed)))
        << flat.toStdString();
    EXPECT_EQ(flat.contains(QStringLiteral("无效读数%1个").arg(invalid)), invalid > 0);
    const bool meets = passed * 100 >= valid * 85;
    EXPECT_EQ(
        flat.contains(QStringLiteral("满足设计要求。")) && !flat.contains(QStringLiteral("不满足")),
        meets);
    // Cut, never rounded, to the tenth.
    EXPECT_TRUE(flat.contains(QStringLiteral("合格率%1%2.%3%")
                                  .arg(meets ? "达到" : "为")
                                  .arg(passed * 100 / valid)
                                  .arg(passed * 1000 / valid % 10)));

    const QString basis = PageText(3);
    EXPECT_FALSE(basis.contains(QStringLiteral("厚度")));
    for (const char* s : {"检测依据：", "GB50204", "检测仪器：", "DZ-1", "参加检测人员："})
        EXPECT_TRUE(Has(basis, QString::fromUtf8(s))) << s;

    // Every table row on the page its index gives, values in their order.
    std::vector<QString> rawPages;
    for (int p = 4; p <= pages; ++p) rawPages.push_back(PageText(p));
    EXPECT_TRUE(rawPages[0].contains(QStringLiteral("原始数据列表:")));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Component& c = file.components[static_cast<std::size_t>(rows[i].component)];
        const QString& page = rawPages[i / 40];
        QString pattern;
        if (rows[i].firstValue < 0) {
            pattern = QRegularExpression::escape(FromGbk(c.Number())) + " ?" +
                      QRegularExpression::escape("(" + FromGbk(c.Name()) + ")") +
                      QStringLiteral(" ?%1%2 kΩ·cm ")
                          .arg(c.lowerTolerance == 0 ? "要求≥" : "设计值:")
                          .arg(c.DesignValue()) +
                      QRegularExpression::escape(FromGbk(c.TestDate()));
        } else {
            QStringList values;
            // Marked as the table's note says: * invalid, × failing.
            for (int s = rows[i].firstValue; s < rows[i].firstValue + rows[i].valueCount; ++s) {
                const int32_t v = c.points[static_cast<std::size_t>(s)].value;
                const float f = static_cast<float>(v);
                const bool invalid = v <= 0 || v >= 1000;
                const bool fails =
                    f < c.designValue + c.lowerTolerance || f > c.designValue + c.upperTolerance;
                values << QString::number(v) + (invalid ? "\\*" : fails ? "×" : "");
            }
            pattern = "(^|\\n) ?" + values.join(' ') + " ?\\n";
        }
        EXPECT_TRUE(page.contains(QRegularExpression(pattern)))
            << i << " " << pattern.toStdString();
    }
    // Unselected components are not in the table.
    for (const Component& c : file.components) {
        if (c.selected) continue;
        for (const QString& page : rawPages)
            EXPECT_FALSE(page.contains(FromGbk(c.Name()))) << c.Number();
    }

    for (int p = 1; p <= pages; ++p) {
        const QString text = p <= 3 ? (p == 1 ? cover : p == 2 ? project : basis) : rawPages[p - 4];
        EXPECT_TRUE(text.contains(QStringLiteral("电阻率检测中心"))) << p;
        EXPECT_TRUE(text.contains(QStringLiteral("仅对来样负责"))) << p;
        EXPECT_TRUE(Has(text, QStringLiteral("共%1页 第%2页").arg(pages).arg(p))) << p;
    }
}

TEST_F(ReportPdfTest, WithoutSettingsThereIsNoHeaderAndTodaysDate) {
    ASSERT_EQ(Export(OHMLET_EXAMPLE), 0) << error_.toStdString();
    const QString cover = PageText(1);
    const QDate today = QDate::currentDate();
    EXPECT_TRUE(cover.contains(QStringLiteral("%1年").arg(today.year()))) << cover.toStdString();
    EXPECT_FALSE(cover.contains(QStringLiteral("第1页")));
    EXPECT_FALSE(PageText(4).contains(QStringLiteral("共")));
    EXPECT_FALSE(PageText(4).contains(QStringLiteral("第")));
}

TEST_F(ReportPdfTest, UnreadableInputOrOutputIsAnError) {
    EXPECT_EQ(Export(dir_.filePath("missing.DZL")), 1);
    pdf_ = dir_.filePath("no/such/folder/out.pdf");
    EXPECT_EQ(Export(OHMLET_EXAMPLE), 1);
    EXPECT_FALSE(error_.isEmpty());
}

TEST(PdfTextMapping, RadicalNamesBecomeIdeographsInPlace) {
    QByteArray pdf =
        "stream\nbegincmap\n1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
        "3 beginbfrange\n<0001> <0003> [<2F49> <0032> <2F2F>]\n<0004> <0004> <2F47>\n"
        "<0005> <0006> <2F00>\nendbfrange\n1 beginbfchar\n<0007> <2F08>\nendbfchar\nendcmap\n";
    const qsizetype size = pdf.size();
    EXPECT_EQ(FixRadicalNamesInPdf(pdf), 4);
    EXPECT_EQ(pdf.size(), size);
    // 月 工 日 人; the two-code range keeps its start (shifting it would rename its second code).
    EXPECT_TRUE(pdf.contains("[<6708> <0032> <5DE5>]"));
    EXPECT_TRUE(pdf.contains("<0004> <0004> <65E5>"));
    EXPECT_TRUE(pdf.contains("<0005> <0006> <2F00>"));
    EXPECT_TRUE(pdf.contains("<0007> <4EBA>"));
    EXPECT_TRUE(pdf.contains("<0000> <FFFF>"));

    // A font's own equivalents come first: ⻚ is not a compatibility form of 页.
    QByteArray page = "begincmap\n1 beginbfchar\n<0001> <2EDA>\nendbfchar\nendcmap\n";
    EXPECT_EQ(FixRadicalNamesInPdf(page, {{0x2EDA, 0x9875}}), 1);
    EXPECT_TRUE(page.contains("<0001> <9875>"));
}

TEST(PdfTextMapping, CjkFontsShareGlyphsBetweenRadicalsAndIdeographs) {
    QFont font;
    font.setFamily(QStringLiteral("Noto Serif CJK SC"));
    if (!QFontInfo(font).family().contains(QStringLiteral("CJK")))
        GTEST_SKIP() << "Noto Serif CJK SC is not installed";
    std::map<char16_t, char16_t> map = RadicalEquivalents({font});
    EXPECT_EQ(map[0x2F49], 0x6708);  // ⽉ 月
    EXPECT_EQ(map[0x2EDA], 0x9875);  // ⻚ 页
}

}  // namespace
}  // namespace ohmlet
