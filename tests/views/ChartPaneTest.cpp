#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include "data/Document.h"
#include "report/ClassColours.h"
#include "support/QtTestSupport.h"
#include "views/ChartExport.h"
#include "views/ChartPane.h"
#include "views/ChartView.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class ChartPaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        pane = std::make_unique<ChartPane>(doc);
        pane->resize(700, 480);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
    }
    void TearDown() override { pane.reset(); }

    void Load(std::vector<Component> components) {
        const QString path = WriteFile(dir, QStringLiteral("charts.DZL"), components);
        ASSERT_TRUE(doc.Open(QFile::encodeName(path).toStdString()).Ok());
        doc.SelectComponent(0);
        QCoreApplication::processEvents();
    }

    template <typename T>
    const T& Drawing(ChartPane::Tab tab) const {
        return dynamic_cast<const T&>(*pane->View(tab)->Drawing());
    }

    QTemporaryDir dir;
    Document doc;
    std::unique_ptr<ChartPane> pane;
};

std::vector<Component> Sample() {
    Component grid = MakeComponent("W007", {12, 55, 120, 8, 60, 70}, 1, Gbk("网格板"));
    grid.blockOffset = 4;
    return {MakeComponent("0001", {21, 35, 65, 40}, 1, Gbk("梁")), grid,
            MakeComponent("0003", {45, 49, 50, 55}, 0, Gbk("柱")), MakeComponent("0004", {}, 1)};
}

// The pane follows the current component and the ticks, without being told to refresh.
TEST_F(ChartPaneTest, FollowsTheDocument) {
    Load(Sample());
    struct Case {
        const char* what;
        std::function<void(Document&)> change;
        QString titlePart;
        int readings;           // points on the readings line
        int histogramClasses;   // classes the histogram's bars are split into
        std::size_t mapFirst;   // cells of the map's rows; SIZE_MAX: no map
        std::size_t mapSecond;  //
        std::size_t boxes;      // overview boxes
    } cases[] = {
        {"first component", [](Document&) {}, "0001 梁", 4, 2, SIZE_MAX, 0, 2},
        {"grid component", [](Document& d) { d.SelectComponent(1); }, "W007 网格板", 6, 4, 4, 2, 2},
        {"an unticked one shows, the overview keeps the ticked",
         [](Document& d) { d.SelectComponent(2); }, "0003 柱", 4, 2, SIZE_MAX, 0, 2},
        {"ticking it adds its box", [](Document& d) { d.SetComponentSelected(2, true); }, "0003 柱",
         4, 2, SIZE_MAX, 0, 3},
        {"a component without readings", [](Document& d) { d.SelectComponent(3); }, "0004", 0, 0,
         SIZE_MAX, 0, 3},
        {"an edited reading moves the line",
         [](Document& d) {
             d.SelectComponent(0);
             d.SetCell(0, 1, 150);
         },
         "0001 梁", 4, 3, SIZE_MAX, 0, 3},
    };
    for (const Case& c : cases) {
        c.change(doc);
        QCoreApplication::processEvents();
        const auto& readings = Drawing<ReadingsDrawing>(ChartPane::ReadingsTab);
        EXPECT_TRUE(readings.Texts().title.contains(c.titlePart)) << c.what;
        EXPECT_EQ(static_cast<int>(readings.Points().size()), c.readings) << c.what;
        QSet<std::size_t> classes;
        for (const HistogramBin& bin :
             Drawing<HistogramDrawing>(ChartPane::HistogramTab).Bins().bins)
            for (std::size_t k = 0; k < bin.classCounts.size(); ++k)
                if (bin.classCounts[k] > 0) classes.insert(k);
        EXPECT_EQ(static_cast<int>(classes.size()), c.histogramClasses) << c.what;
        const auto& map = Drawing<GridMapDrawing>(ChartPane::MapTab).Map();
        ASSERT_EQ(map.has_value(), c.mapFirst != SIZE_MAX) << c.what;
        if (map) {
            EXPECT_EQ(map->rows[0].size(), c.mapFirst) << c.what;
            EXPECT_EQ(map->rows[1].size(), c.mapSecond) << c.what;
        }
        EXPECT_EQ(Drawing<OverviewDrawing>(ChartPane::OverviewTab).Boxes().size(), c.boxes)
            << c.what;
    }
}

// The tooltips along a line across each chart name, in order, what is drawn there.
TEST_F(ChartPaneTest, ToolTipsNameWhatIsUnderTheMouse) {
    Load(Sample());
    struct Case {
        const char* what;
        int component;
        ChartPane::Tab tab;
        int mapRow;  // the map's row to run along; others: the middle of the chart
        QStringList tips;
    } cases[] = {
        {"readings",
         0,
         ChartPane::ReadingsTab,
         0,
         {"测点 1：21 kΩ·cm", "测点 2：35 kΩ·cm", "测点 3：65 kΩ·cm", "测点 4：40 kΩ·cm"}},
        {"no readings, nothing to name", 3, ChartPane::ReadingsTab, 0, {}},
        {"bins split by class",
         1,
         ChartPane::HistogramTab,
         0,
         {"0–49 kΩ·cm：2 个测点\n中等：1\n高：1", "50–99 kΩ·cm：3 个测点\n低：3",
          "100–149 kΩ·cm：1 个测点\n可忽略：1"}},
        {"narrow bins",
         2,
         ChartPane::HistogramTab,
         0,
         {"45–49 kΩ·cm：2 个测点\n中等：2", "50–54 kΩ·cm：1 个测点\n中等：1",
          "55–59 kΩ·cm：1 个测点\n低：1"}},
        {"boxes of the ticked",
         0,
         ChartPane::OverviewTab,
         0,
         {"0001 梁\n4 个测点\n最小 21.0，最大 65.0\np10 25.2，中位数 37.5，p90 57.5",
          "W007 网格板\n6 个测点\n最小 8.0，最大 120.0\np10 10.0，中位数 57.5，p90 95.0"}},
        {"first block",
         1,
         ChartPane::MapTab,
         0,
         {"测点 1：12 kΩ·cm（中等）", "测点 2：55 kΩ·cm（低）", "测点 3：120 kΩ·cm（可忽略）",
          "测点 4：8 kΩ·cm（高）"}},
        {"second block",
         1,
         ChartPane::MapTab,
         1,
         {"测点 5：60 kΩ·cm（低）", "测点 6：70 kΩ·cm（低）"}},
    };
    for (const Case& c : cases) {
        doc.SelectComponent(c.component);
        pane->Tabs()->setCurrentIndex(c.tab);
        QCoreApplication::processEvents();
        const ChartView* view = pane->View(c.tab);
        int y = view->height() / 2;
        if (c.tab == ChartPane::MapTab)
            y = static_cast<int>(Drawing<GridMapDrawing>(ChartPane::MapTab)
                                     .CellRect(view->rect(), c.mapRow, 0)
                                     .center()
                                     .y());
        const QImage image = const_cast<ChartView*>(view)->grab().toImage();
        QStringList seen;
        int firstTip = -1, lastTip = -1, wrongColour = 0;
        for (int x = 0; x < view->width(); ++x) {
            const QString tip = view->ToolTipAt(QPoint(x, y));
            if (tip.isEmpty()) continue;
            if (seen.isEmpty() || seen.back() != tip) seen << tip;
            if (firstTip < 0) firstTip = x;
            lastTip = x;
            // A map cell's tip shows over that cell, never over a cell of another class.
            if (c.tab == ChartPane::MapTab) {
                const auto& cells =
                    Drawing<GridMapDrawing>(ChartPane::MapTab).Map()->rows[c.mapRow];
                const QRgb pixel = image.pixel(x, y);
                for (const MapCell& cell : cells)
                    if (tip.contains(QStringLiteral("测点 %1：").arg(cell.number)))
                        for (std::size_t k = 0; k < 4; ++k)
                            wrongColour += k != cell.classIndex && pixel == ClassColour(k, 4).rgb();
            }
        }
        EXPECT_EQ(seen, c.tips) << c.what;
        EXPECT_EQ(wrongColour, 0) << c.what;
        // The readings' tips begin and end where the line is drawn.
        if (c.tab == ChartPane::ReadingsTab && !seen.isEmpty()) {
            int firstInk = -1, lastInk = -1;
            for (int x = 0; x < image.width(); ++x)
                for (int row = 0; row < image.height(); ++row) {
                    const QColor p = image.pixelColor(x, row);
                    if (qAbs(p.red() - 20) + qAbs(p.green() - 60) + qAbs(p.blue() - 160) > 60)
                        continue;
                    if (firstInk < 0) firstInk = x;
                    lastInk = x;
                }
            EXPECT_NEAR(firstTip, firstInk, 3) << c.what;
            EXPECT_NEAR(lastTip, lastInk, 3) << c.what;
        }
        // The title line names nothing.
        EXPECT_TRUE(view->ToolTipAt(QPoint(view->width() / 2, 3)).isEmpty()) << c.what;
    }
}

TEST_F(ChartPaneTest, HistogramBarsAddUpToTheReadings) {
    Load(Sample());
    doc.SelectComponent(1);
    QCoreApplication::processEvents();
    int64_t total = 0;
    for (const HistogramBin& bin : Drawing<HistogramDrawing>(ChartPane::HistogramTab).Bins().bins) {
        int64_t split = 0;
        for (int64_t n : bin.classCounts) split += n;
        EXPECT_EQ(split, bin.count);
        total += bin.count;
    }
    EXPECT_EQ(total, 6);
}

// A PNG of the chart's size with more than a background, or a one-page PDF of that size
// whose text can be read back.
struct Picture {
    bool read = false;
    QSize size;  // of a PNG
    int colours = 0;
    int pages = 0;  // of a PDF
    QSizeF pagePoints;
    QString text;
};

QString RunTool(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

Picture ReadPicture(const QString& path) {
    Picture p;
    if (path.endsWith(QStringLiteral(".png"))) {
        QImage image(path);
        if (image.isNull()) return p;
        p.read = true;
        p.size = image.size();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 3)
            for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
        p.colours = static_cast<int>(colours.size());
        return p;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.read(5).startsWith("%PDF-")) return p;
    const QString info = RunTool(QStringLiteral("pdfinfo"), {path});
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    const QRegularExpressionMatch size =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    p.read = pages.hasMatch() && size.hasMatch();
    p.pages = pages.captured(1).toInt();
    p.pagePoints = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
    p.text = RunTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    return p;
}

TEST_F(ChartPaneTest, ExportsEveryTabAsPngAndPdf) {
    Load(Sample());
    doc.SelectComponent(1);
    QCoreApplication::processEvents();
    const char* endings[] = {"png", "pdf"};
    for (int tab = ChartPane::ReadingsTab; tab <= ChartPane::OverviewTab; ++tab) {
        pane->Tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        ChartView* chart = pane->CurrentChart();
        ASSERT_TRUE(chart);
        for (const char* ending : endings) {
            SCOPED_TRACE(QStringLiteral("tab %1 %2").arg(tab).arg(ending).toStdString());
            const QString path = dir.filePath(QStringLiteral("tab%1.%2").arg(tab).arg(ending));
            const ChartExportResult result = ExportChart(*chart, path);
            ASSERT_TRUE(result.Ok()) << result.text;
            const Picture picture = ReadPicture(path);
            ASSERT_TRUE(picture.read);
            if (QString::fromLatin1(ending) == QStringLiteral("png")) {
                EXPECT_EQ(picture.size, chart->size());
                EXPECT_GE(picture.colours, 4);  // background, frame, text, class colours
            } else {
                EXPECT_EQ(picture.pages, 1);
                const double dpi = chart->logicalDpiX();
                EXPECT_NEAR(picture.pagePoints.width(), chart->width() * 72.0 / dpi, 1.0);
                EXPECT_NEAR(picture.pagePoints.height(), chart->height() * 72.0 / dpi, 1.0);
                // Text stays text: the component or the overview names itself.
                EXPECT_TRUE(picture.text.contains(tab == ChartPane::OverviewTab
                                                      ? QStringLiteral("0001")
                                                      : QStringLiteral("W007")));
            }
        }
    }
}

// A chart with nothing to draw says why, in words that reach the exported file too, and
// paints no class colour.
TEST_F(ChartPaneTest, EmptyChartsSayWhy) {
    std::vector<Component> unticked = Sample();
    for (Component& c : unticked) c.selected = 0;
    struct Case {
        const char* what;
        int component;  // -1: no file open yet
        ChartPane::Tab tab;
        QString said;
    } cases[] = {
        {"no current component", -1, ChartPane::ReadingsTab, "没有当前构件"},
        {"no readings", 3, ChartPane::ReadingsTab, "0004读数曲线没有测点"},
        {"no readings to count", 3, ChartPane::HistogramTab, "0004直方图没有测点"},
        {"not a grid component", 0, ChartPane::MapTab,
         "0001梁网格分布只有网格(W)构件有两块测点的分布图"},
        {"nothing ticked", 1, ChartPane::OverviewTab, "选中构件总览没有选中的构件"},
    };
    for (const Case& c : cases) {
        if (c.component >= 0 && doc.Components().empty()) Load(unticked);
        doc.SelectComponent(c.component);
        pane->Tabs()->setCurrentIndex(c.tab);
        pane->Refresh();
        const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
        ASSERT_TRUE(ExportChart(*pane->CurrentChart(), pdf).Ok()) << c.what;
        QString text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_EQ(text.remove(QRegularExpression(QStringLiteral("\\s+"))), c.said) << c.what;
        const QImage image = pane->CurrentChart()->grab().toImage();
        int coloured = 0;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                for (std::size_t k = 0; k < 4; ++k)
                    coloured += image.pixel(x, y) == ClassColour(k, 4).rgb();
        EXPECT_EQ(coloured, 0) << c.what;
    }
}

TEST_F(ChartPaneTest, ExportRefusesWhatItCannotWrite) {
    Load(Sample());
    struct Case {
        const char* what;
        QString path;
    } cases[] = {
        {"unknown ending", dir.filePath(QStringLiteral("chart.bmp"))},
        {"no ending", dir.filePath(QStringLiteral("chart"))},
        {"svg is not written", dir.filePath(QStringLiteral("chart.svg"))},
        {"missing folder", dir.filePath(QStringLiteral("nowhere/chart.png"))},
    };
    for (const Case& c : cases) {
        const ChartExportResult result = ExportChart(*pane->CurrentChart(), c.path);
        EXPECT_FALSE(result.Ok()) << c.what;
        EXPECT_TRUE(QString::fromStdString(result.text).contains(QFileInfo(c.path).fileName()))
            << c.what;
        EXPECT_FALSE(QFile::exists(c.path)) << c.what;
    }
}

// The button asks for a name, suggests the component and tab, and reports failures.
TEST_F(ChartPaneTest, ExportButtonWritesTheChartShown) {
    Load(Sample());
    pane->Tabs()->setCurrentIndex(ChartPane::HistogramTab);
    QString suggested;
    QString answer = dir.filePath(QStringLiteral("out.pdf"));
    QStringList errors;
    pane->SetFileNamePrompt([&](const QString& suggestion) {
        suggested = suggestion;
        return answer;
    });
    pane->SetErrorSink([&](const QString& text) { errors << text; });
    QTest::mouseClick(pane->ExportButton(), Qt::LeftButton);
    EXPECT_TRUE(QFileInfo(suggested).fileName().startsWith(QStringLiteral("0001_直方图")));
    EXPECT_TRUE(ReadPicture(answer).read);
    EXPECT_TRUE(errors.isEmpty());

    answer = dir.filePath(QStringLiteral("out.gif"));
    QTest::mouseClick(pane->ExportButton(), Qt::LeftButton);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_FALSE(QFile::exists(answer));

    answer.clear();  // cancelled
    QTest::mouseClick(pane->ExportButton(), Qt::LeftButton);
    EXPECT_EQ(errors.size(), 1);
}

}  // namespace
