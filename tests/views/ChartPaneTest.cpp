#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QSet>
#include <QStackedBarSeries>
#include <QTabWidget>
#include <QTest>
#include <QXmlStreamReader>

#include "data/Document.h"
#include "support/QtTestSupport.h"
#include "views/ChartExport.h"
#include "views/ChartPane.h"
#include "views/GridMapWidget.h"

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

    QChart* Chart(ChartPane::Tab tab) const { return pane->ChartView(tab)->chart(); }

    template <typename T>
    QList<T*> SeriesOf(ChartPane::Tab tab) const {
        QList<T*> found;
        for (QAbstractSeries* s : Chart(tab)->series())
            if (auto* t = qobject_cast<T*>(s)) found << t;
        return found;
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
        int bands;              // class bands behind it
        int histogramBars;      // class bar sets of the histogram
        std::size_t mapFirst;   // cells of the map's rows; -1: no map
        std::size_t mapSecond;  //
        int boxes;              // overview boxes
    } cases[] = {
        {"first component", [](Document&) {}, "0001 梁", 4, 2, 2, SIZE_MAX, 0, 2},
        {"grid component", [](Document& d) { d.SelectComponent(1); }, "W007 网格板", 6, 4, 4, 4, 2,
         2},
        {"an unticked one shows, the overview keeps the ticked",
         [](Document& d) { d.SelectComponent(2); }, "0003 柱", 4, 2, 2, SIZE_MAX, 0, 2},
        {"ticking it adds its box", [](Document& d) { d.SetComponentSelected(2, true); }, "0003 柱",
         4, 2, 2, SIZE_MAX, 0, 3},
        {"a component without readings", [](Document& d) { d.SelectComponent(3); }, "0004", 0, 0, 0,
         SIZE_MAX, 0, 3},
        {"an edited reading moves the line",
         [](Document& d) {
             d.SelectComponent(0);
             d.SetCell(0, 1, 150);
         },
         "0001 梁", 4, 4, 3, SIZE_MAX, 0, 3},
    };
    for (const Case& c : cases) {
        c.change(doc);
        QCoreApplication::processEvents();
        EXPECT_TRUE(Chart(ChartPane::ReadingsTab)->title().contains(c.titlePart)) << c.what;
        const auto lines = SeriesOf<QLineSeries>(ChartPane::ReadingsTab);
        int points = 0;
        for (QLineSeries* l : lines)
            if (l->name() == QStringLiteral("读数")) points = static_cast<int>(l->count());
        EXPECT_EQ(points, c.readings) << c.what;
        EXPECT_EQ(SeriesOf<QAreaSeries>(ChartPane::ReadingsTab).size(), c.bands) << c.what;
        const auto bars = SeriesOf<QStackedBarSeries>(ChartPane::HistogramTab);
        EXPECT_EQ(bars.isEmpty() ? 0 : bars.first()->count(), c.histogramBars) << c.what;
        const auto& map = pane->Map()->Map();
        ASSERT_EQ(map.has_value(), c.mapFirst != SIZE_MAX) << c.what;
        if (map) {
            EXPECT_EQ(map->rows[0].size(), c.mapFirst) << c.what;
            EXPECT_EQ(map->rows[1].size(), c.mapSecond) << c.what;
        }
        const auto boxes = SeriesOf<QBoxPlotSeries>(ChartPane::OverviewTab);
        EXPECT_EQ(boxes.isEmpty() ? 0 : boxes.first()->count(), c.boxes) << c.what;
    }
}

TEST_F(ChartPaneTest, HistogramBarsAddUpToTheReadings) {
    Load(Sample());
    doc.SelectComponent(1);
    QCoreApplication::processEvents();
    const auto bars = SeriesOf<QStackedBarSeries>(ChartPane::HistogramTab);
    ASSERT_EQ(bars.size(), 1);
    double total = 0;
    for (QBarSet* set : bars.first()->barSets())
        for (int i = 0; i < set->count(); ++i) total += set->at(i);
    EXPECT_EQ(total, 6);
}

// A PNG of the chart's size with more than a background, or an SVG that is XML and draws.
struct Picture {
    bool read = false;
    QSize size;  // of a PNG
    int colours = 0;
    int drawingElements = 0;
    QString text;
};

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
    if (!file.open(QIODevice::ReadOnly)) return p;
    QXmlStreamReader xml(&file);
    const QSet<QString> drawing = {"path", "polyline", "polygon", "rect", "line", "ellipse"};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && drawing.contains(xml.name().toString())) ++p.drawingElements;
        if (xml.isCharacters()) p.text += xml.text();
    }
    p.read = !xml.hasError();
    return p;
}

TEST_F(ChartPaneTest, ExportsEveryTabAsPngAndSvg) {
    Load(Sample());
    doc.SelectComponent(1);
    QCoreApplication::processEvents();
    const char* endings[] = {"png", "svg"};
    for (int tab = ChartPane::ReadingsTab; tab <= ChartPane::OverviewTab; ++tab) {
        pane->Tabs()->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        QWidget* chart = pane->CurrentChart();
        ASSERT_TRUE(chart);
        for (const char* ending : endings) {
            SCOPED_TRACE(QStringLiteral("tab %1 %2").arg(tab).arg(ending).toStdString());
            const QString path = dir.filePath(QStringLiteral("tab%1.%2").arg(tab).arg(ending));
            const ChartExportResult result = ExportChartImage(*chart, path);
            ASSERT_TRUE(result.Ok()) << result.text;
            const Picture picture = ReadPicture(path);
            ASSERT_TRUE(picture.read);
            if (QString::fromLatin1(ending) == QStringLiteral("png")) {
                EXPECT_EQ(picture.size, chart->size());
                EXPECT_GE(picture.colours, 4);  // background, frame, text, class colours
            } else {
                EXPECT_GE(picture.drawingElements, 5);
                // Text stays text: the component or the overview names itself.
                EXPECT_TRUE(picture.text.contains(tab == ChartPane::OverviewTab
                                                      ? QStringLiteral("0001")
                                                      : QStringLiteral("W007")));
            }
        }
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
        {"missing folder", dir.filePath(QStringLiteral("nowhere/chart.png"))},
    };
    for (const Case& c : cases) {
        const ChartExportResult result = ExportChartImage(*pane->CurrentChart(), c.path);
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
    QString answer = dir.filePath(QStringLiteral("out.svg"));
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
