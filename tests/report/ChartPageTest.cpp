// The optional chart pages of the printed report: kept with the report parameters,
// counted in the pages, drawn in the class colours, and present in the exported PDF.
#include "report/ChartPage.h"
#include "report/ClassSummaryPage.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "dialogs/ReportParameterDialog.h"
#include "report/ClassColours.h"
#include "report/GbkCodec.h"
#include "report/ReportCanvas.h"
#include "report/ReportOutput.h"
#include "report/ReportPainter.h"
#include "report/ReportParametersFile.h"

namespace ohmlet {
namespace {

Component Made(const char* number, std::vector<int> values, int selected = 1) {
    Component c;
    c.SetNumber(number);
    c.SetName(ToGbk(QStringLiteral("梁")));
    c.selected = selected;
    c.ResizePoints(static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) c.points[i].value = values[i];
    return c;
}

std::vector<Component> Ticked(int count) {
    std::vector<Component> list;
    for (int i = 0; i < count; ++i)
        list.push_back(
            Made(QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')).toLatin1().constData(),
                 {20 + i, 60, 35, 120}));
    return list;
}

void SaveChartOption(const QString& folder, bool on) {
    ReportParameters p = LoadReportParameters(folder);
    p.chartPage = on;
    ASSERT_TRUE(SaveReportParameters(folder, p).Ok());
}

TEST(ChartPage, PagesForTheCharts) {
    struct Case {
        std::size_t charts;
        int pages;
    } cases[] = {{0, 0}, {1, 1}, {4, 1}, {5, 2}, {12, 2}, {13, 3}, {20, 3}, {21, 4}};
    for (const Case& c : cases) EXPECT_EQ(ChartPageCount(c.charts), c.pages) << c.charts;
}

TEST(ChartPage, ReportGainsItsPagesOnlyWhenAskedFor) {
    std::vector<Component> emptyOnes = {Made("0001", {}), Made("0002", {})};
    std::vector<Component> mixed = Ticked(6);
    mixed[1].selected = 0;  // five ticked with readings
    mixed.push_back(Made("0009", {}));
    struct Case {
        const char* what;
        bool on;
        std::vector<Component> components;
        int extraPages;
    } cases[] = {
        {"off", false, Ticked(9), 0},
        {"on, nothing ticked", true, {}, 0},
        {"on, ticked without readings", true, emptyOnes, 0},
        {"on, one chart", true, Ticked(1), 1},
        {"on, four fit the first page", true, Ticked(4), 1},
        {"on, unticked and empty ones take no room", true, mixed, 2},
        {"on, thirteen", true, Ticked(13), 3},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        SaveChartOption(dir.path(), c.on);
        ReportPainter report(c.components, dir.path());
        EXPECT_EQ(report.PageCount(),
                  report.RawPageCount() + report.SummaryPageCount() + c.extraPages)
            << c.what;
        EXPECT_EQ(report.RawPageCount(), ReportPageCount(BuildReportRows(c.components).size()))
            << c.what;
    }
}

TEST(ChartPage, OptionIsKeptWithTheReportParameters) {
    QTemporaryDir dir;
    const QString reportini = dir.filePath(QStringLiteral("reportini.ini"));
    const QByteArray key = QByteArray::fromStdString(ChartPageKeyGbk()) + "=1";
    struct Step {
        bool on;
        bool keyInFile;
    } steps[] = {{true, true}, {false, false}, {true, true}};
    EXPECT_FALSE(ReadReportChartPage(dir.path()));  // never saved: off
    for (const Step& s : steps) {
        SaveChartOption(dir.path(), s.on);
        QFile file(reportini);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().contains(key), s.keyInFile) << s.on;
        EXPECT_EQ(ReadReportChartPage(dir.path()), s.on);
        EXPECT_EQ(LoadReportParameters(dir.path()).chartPage, s.on);
    }
}

TEST(ChartPage, DialogShowsAndSavesTheOption) {
    for (bool initially : {false, true}) {
        QTemporaryDir dir;
        SaveChartOption(dir.path(), initially);
        ReportParameterDialog dialog(LoadReportParameters(dir.path()));
        QCheckBox* check = dialog.ChartPageCheck();
        ASSERT_TRUE(check);
        EXPECT_EQ(check->isChecked(), initially);
        check->click();
        EXPECT_EQ(dialog.Values().chartPage, !initially);
        ASSERT_TRUE(SaveReportParameters(dir.path(), dialog.Values()).Ok());
        EXPECT_EQ(ReadReportChartPage(dir.path()), !initially);
    }
}

// Pixels of exactly the colour of each class on the first chart page.
TEST(ChartPage, DrawsTheClassesOfTheReadings) {
    const ClassTable rilem = ClassTable::Rilem();
    struct Case {
        const char* what;
        std::vector<Component> components;
        std::vector<bool> shown;  // per Rilem class
    } cases[] = {
        {"every class", {Made("0001", {5, 30, 60, 150})}, {true, true, true, true}},
        {"low and moderate only", {Made("0001", {30, 35, 60, 65})}, {false, true, true, false}},
    };
    for (const Case& c : cases) {
        QImage image(827, 1170, QImage::Format_RGB32);
        image.setDotsPerMeterX(3937);  // 100 dpi
        image.setDotsPerMeterY(3937);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            MapPainterToDots(painter, image);
            DrawChartPage(painter, ReportPageFrame(), c.components, ChartedComponents(c.components),
                          rilem, 0);
        }
        for (std::size_t cls = 0; cls < rilem.Size(); ++cls) {
            const QRgb colour = ClassColour(cls, rilem.Size()).rgb();
            int found = 0;
            for (int y = 0; y < image.height(); y += 2)
                for (int x = 0; x < image.width(); x += 2) found += image.pixel(x, y) == colour;
            // The legend swatches are small; the bands behind the charts are not.
            EXPECT_EQ(found > 100, c.shown[cls]) << c.what << " class " << cls;
        }
    }
}

QString PdfText(const QString& pdf, int first, int last) {
    QProcess p;
    p.start("pdftotext", {"-f", QString::number(first), "-l", QString::number(last), pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).remove(QRegularExpression("\\s+"));
}

TEST(ChartPage, ExportedPdfCarriesTheChartPages) {
    const std::vector<Component> components = Ticked(5);
    for (bool on : {false, true}) {
        SCOPED_TRACE(on);
        QTemporaryDir dir;
        SaveChartOption(dir.path(), on);
        const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
        const ReportExportOutcome outcome = ExportReportPdf(components, pdf, dir.path());
        ASSERT_TRUE(outcome.Ok()) << outcome.text;
        // The class summary, on by default, comes before the charts.
        const int raw = ReportPageCount(BuildReportRows(components).size()) +
                        ClassSummaryPageCount(BuildClassSummary(components, ClassTable::Rilem()));
        EXPECT_EQ(outcome.pageCount, raw + (on ? 2 : 0));
        const QString all = PdfText(pdf, 1, outcome.pageCount);
        EXPECT_EQ(all.contains(QStringLiteral("电阻率图表")), on);
        if (on) {
            // The fifth component's chart is on the second chart page.
            EXPECT_TRUE(PdfText(pdf, raw + 2, raw + 2).contains(QStringLiteral("0005")));
            EXPECT_TRUE(PdfText(pdf, raw + 1, raw + 1).contains(QStringLiteral("p10")));
        }
    }
}

}  // namespace
}  // namespace ohmlet
