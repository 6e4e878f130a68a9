// The map pages of the printed report: one per ticked component with a usable grid,
// after the class summary and before the charts, switched by the report parameters.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "dialogs/ReportParameterDialog.h"
#include "report/PrintSettings.h"
#include "report/ReportOutput.h"
#include "report/ReportPainter.h"
#include "report/ReportParametersFile.h"

namespace ohmlet {
namespace {

// rows 0: no grid; -1: a grid with sides out of range.
Component Make(const char* number, int rows, bool ticked = true) {
    Component c;
    c.SetNumber(number);
    c.selected = ticked ? 1 : 0;
    c.ResizePoints(12);
    for (int k = 0; k < 12; ++k) c.points[static_cast<std::size_t>(k)].value = 5 + 10 * k;
    if (rows != 0) c.extras.grid = SurveyGrid{rows, rows < 0 ? 1 : 12 / rows, 100, 100};
    return c;
}

// Saved through the report-parameter dialog, as the user makes the choice.
void SaveChoices(const QString& folder, bool maps, bool charts) {
    ReportParameterDialog dialog(LoadReportParameters(folder));
    EXPECT_TRUE(dialog.MapPagesCheck()->isChecked()) << "on until switched off";
    dialog.MapPagesCheck()->setChecked(maps);
    dialog.ChartPageCheck()->setChecked(charts);
    ASSERT_TRUE(SaveReportParameters(folder, dialog.Values()).Ok());
}

TEST(MapPage, OnePagePerTickedGriddedComponentWhenChosen) {
    const std::vector<Component> gridded = {Make("W001", 2), Make("0002", 0),
                                            Make("0003", 3, false), Make("0004", 4),
                                            Make("0005", -1)};
    const std::vector<Component> plain = {Make("0001", 0), Make("0002", 0)};
    struct Case {
        const char* what;
        const std::vector<Component>* components;
        std::optional<bool> maps;  // none: no settings saved
        int pages;
    } cases[] = {
        {"no settings, no grids", &plain, std::nullopt, 0},
        {"no settings: on", &gridded, std::nullopt, 2},
        {"switched on", &gridded, true, 2},
        {"switched off", &gridded, false, 0},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        if (c.maps) SaveChoices(folder.path(), *c.maps, false);
        ReportPainter report(*c.components, folder.path() + '/');
        EXPECT_EQ(report.MapPageCount(), c.pages) << c.what;
        EXPECT_EQ(report.PageCount(),
                  report.RawPageCount() + report.SummaryPageCount() + report.MapPageCount())
            << c.what;
    }
}

QString PdfText(const QString& pdf, int page) {
    QProcess p;
    p.start("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).remove(QRegularExpression("\\s+"));
}

// The map pages sit between the summary and the charts, and every page number counts them.
TEST(MapPage, ExportedPdfNumbersTheMapPagesInPlace) {
    std::vector<Component> components = {Make("W001", 2), Make("0002", 0), Make("0004", 4)};
    components[0].extras.conditions.probeSpacingMm = 50;
    components[0].extras.conditions.note = "北侧";
    QTemporaryDir dir;
    SaveChoices(dir.path(), true, true);
    PrintSettings numbered;
    numbered.printPageNumber = 1;
    numbered.pageNumberFormat = 4;  // 共N页 第n页
    ASSERT_TRUE(SavePrintSettings(dir.path(), numbered).Ok());
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const ReportExportOutcome outcome = ExportReportPdf(components, pdf, dir.path() + '/');
    ASSERT_TRUE(outcome.Ok()) << outcome.text;
    const ReportPainter report(components, dir.path() + '/');
    const int maps = report.RawPageCount() + report.SummaryPageCount();
    ASSERT_EQ(outcome.pageCount, maps + 2 + 1) << "two map pages and one chart page";
    const struct {
        int page;
        const char* holds;
    } pages[] = {
        {maps + 1, "电阻率分布图:"}, {maps + 1, "W001电阻率分布图"}, {maps + 1, "探头间距50mm"},
        {maps + 1, "备注：北侧"},    {maps + 2, "0004电阻率分布图"}, {maps + 3, "电阻率图表"},
    };
    for (const auto& p : pages) {
        const QString text = PdfText(pdf, p.page);
        EXPECT_TRUE(text.contains(QString::fromUtf8(p.holds))) << p.holds;
        EXPECT_TRUE(
            text.contains(QStringLiteral("共%1页第%2页").arg(outcome.pageCount).arg(p.page)))
            << "page " << p.page;
    }
    EXPECT_FALSE(PdfText(pdf, maps).contains(QStringLiteral("电阻率分布图")));
}

}  // namespace
}  // namespace ohmlet
