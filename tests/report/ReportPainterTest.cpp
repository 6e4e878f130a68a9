// Pages drawn onto an image: where the page number, header and footer really land.
#include "report/ReportPainter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "report/GbkCodec.h"
#include "report/PrintSettings.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

constexpr int kDpi = 100;  // one pixel = 6 dots

QImage DrawPage(ReportPainter& report, int page) {
    QImage image(827, 1170, QImage::Format_RGB32);
    image.setDotsPerMeterX(static_cast<int>(kDpi / 0.0254 + 0.5));
    image.setDotsPerMeterY(static_cast<int>(kDpi / 0.0254 + 0.5));
    image.fill(Qt::white);
    QPainter painter(&image);
    MapPainterToDots(painter, image);
    report.DrawPage(painter, page);
    return image;
}

// Any inked (not near-white) pixel inside the rectangle given in dots.
bool HasInk(const QImage& image, int left, int top, int right, int bottom) {
    const double scale = kDpi / kReportDotsPerInch;
    for (int y = static_cast<int>(top * scale); y < static_cast<int>(bottom * scale); ++y)
        for (int x = static_cast<int>(left * scale); x < static_cast<int>(right * scale); ++x)
            if (qGray(image.pixel(x, y)) < 200) return true;
    return false;
}

TEST(ReportPainter, PageNumberLandsInTheBoxOfItsPosition) {
    struct Case {
        int position;
        bool top;
        int third;  // 0 left, 1 centre, 2 right
    };
    const Case cases[] = {{0, false, 2}, {1, false, 1}, {2, false, 0},  {3, true, 2},
                          {4, true, 1},  {5, true, 0},  {-1, false, 2}, {9, false, 2}};
    const std::vector<Component> none;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        QTemporaryDir dir;
        PrintSettings s;
        s.printPageNumber = 1;
        s.pageNumberFormat = 3;
        s.firstPageNumber = 1;
        s.pageNumberPosition = c.position;
        ASSERT_TRUE(SavePrintSettings(dir.path(), s).Ok());
        ReportPainter report(none, dir.path());
        const QImage image = DrawPage(report, 3);  // page 3 leaves both boxes free
        const int top = c.top ? 400 : 6600;
        for (int third = 0; third < 3; ++third) {
            const int left = 300 + 1400 * third;
            EXPECT_EQ(HasInk(image, left, top, left + 1400, top + 100), third == c.third) << third;
        }
        EXPECT_FALSE(HasInk(image, 300, c.top ? 6600 : 400, 4500, c.top ? 6700 : 500));
    }
}

TEST(ReportPainter, HeaderWithItsRuleAndFooterOnlyWhenSwitchedOn) {
    QTemporaryDir dir;
    const std::vector<Component> none;
    {
        ReportPainter report(none, dir.path());  // no printini at all
        const QImage image = DrawPage(report, 3);
        EXPECT_FALSE(HasInk(image, 300, 380, 4500, 560));
        EXPECT_FALSE(HasInk(image, 300, 6600, 4500, 6700));
    }
    PrintSettings s;
    s.printHeader = 1;
    s.printFooter = 1;
    s.headerText = QStringLiteral("检测中心");
    s.footerText = QStringLiteral("第三方");
    ASSERT_TRUE(SavePrintSettings(dir.path(), s).Ok());
    ReportPainter report(none, dir.path());
    const QImage image = DrawPage(report, 3);
    EXPECT_TRUE(HasInk(image, 1700, 400, 3100, 500));  // centred header text
    EXPECT_FALSE(HasInk(image, 300, 400, 1500, 500));
    EXPECT_TRUE(HasInk(image, 320, 520, 400, 545));      // the rule under it
    EXPECT_TRUE(HasInk(image, 1700, 6600, 3100, 6700));  // centred footer text
    EXPECT_FALSE(HasInk(image, 300, 6600, 1500, 6700));
}

// A horizontal band of a page at full resolution: one pixel is one dot.
QImage DrawBand(ReportPainter& report, int page, int top, int bottom) {
    QImage image(4600, bottom - top, QImage::Format_RGB32);
    const int dpm = static_cast<int>(kReportDotsPerInch / 0.0254 + 0.5);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    MapPainterToDots(painter, image);
    painter.translate(0, -top);
    report.DrawPage(painter, page);
    return image;
}

bool Black(const QImage& image, int x, int y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    return qGray(line[x]) < 128;
}

// The first column at or right of `from` with black ink (grey fills do not count); -1.
int FirstInk(const QImage& image, int from) {
    for (int x = std::max(from, 0); x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (Black(image, x, y)) return x;
    return -1;
}

// The rows of a band with black ink between two columns.
std::vector<int> InkRows(const QImage& image, int left, int right) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
        for (int x = left; x < right; ++x)
            if (Black(image, x, y)) {
                rows.push_back(y);
                break;
            }
    return rows;
}

Component Heading(const char* number, const QString& name) {
    Component c;
    c.SetNumber(number);
    c.SetName(ToGbk(name));
    c.SetTestDate(ToGbk(QStringLiteral("2026年10月12日")));
    c.designValue = 45;
    c.ResizePoints(10);
    for (std::size_t i = 0; i < c.points.size(); ++i)
        c.points[i].value = static_cast<int>(1000 + i);
    return c;
}

// Where the layout puts a text and where the ink starts after a blank stretch: the
// texts behind blanks and half-width Latin must land on their coordinates whatever the
// face's own widths are.
TEST(ReportPainter, TextsStartWhereTheLayoutPutsThem) {
    QTemporaryDir dir;
    const std::vector<Component> components = {Heading("0001", QStringLiteral("梁KL1"))};
    ReportPainter report(components, dir.path());
    struct Case {
        const char* what;
        int page, top;   // band of one text line: top .. top + 100
        int searchFrom;  // after the text before it (or the frame's left rule)
        int expected;    // where the layout starts it
    };
    const Case cases[] = {
        {"主检人", 3, 4800, 320, 850},
        {"审定人", 3, 4800, 1200, 2450},
        {"核", 3, 5200, 320, 850},
        {"对", 3, 5200, 960, 1050},
        {"批准人", 3, 5200, 1160, 2450},
        {"component number", 4, 580, 320, 480},
        {"name", 4, 580, 690, 680},
        {"design value", 4, 580, 1100, 2140},
        {"test date", 4, 580, 3100, 3540},
        {"first reading", 4, 730, 320, 480},
        {"sixth reading", 4, 730, 2360, 2480},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage band = DrawBand(report, c.page, c.top, c.top + 100);
        const int x = FirstInk(band, c.searchFrom);
        // A glyph's ink starts a little inside its cell.
        EXPECT_GE(x, c.expected - 2);
        EXPECT_LE(x, c.expected + 25);
    }
    // Four digits fill the number's column without being narrowed: their ink reaches
    // past the column's middle third and stops before the name.
    const QImage heading = DrawBand(report, 4, 580, 680);
    int last = -1;
    for (int x = 480; x < 680; ++x)
        if (!InkRows(heading, x, x + 1).empty()) last = x;
    EXPECT_GE(last, 655);
    EXPECT_LT(last, 680);
}

// A laboratory's own method and basis texts, however long, stay inside their boxes: the
// conclusion keeps its place on the project page, the basis its box on the next page.
TEST(ReportPainter, LongMethodAndBasisTextsStayInsideTheFrame) {
    struct Case {
        int methodChars, basisChars;
    };
    const Case cases[] = {{20, 10}, {400, 200}, {2000, 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.methodChars);
        QTemporaryDir dir;
        std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary)
            << "[Data]\r\n"
            << ToGbk(QStringLiteral("检测方法=") + QString(c.methodChars, QChar(0x6D4B))) << "\r\n"
            << ToGbk(QStringLiteral("检测依据=") + QString(c.basisChars, QChar(0x6807))) << "\r\n";
        const std::vector<Component> none;
        ReportPainter report(none, dir.path());
        // Page 2: the frame ends at 6400; "(以下空白)" is the last thing inside it.
        const QImage project = DrawBand(report, 2, 3000, 6560);
        std::vector<int> rows = InkRows(project, 320, 4380);
        // Leave out the frame's own bottom rule.
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [](int y) { return y >= 6396 - 3000 && y <= 6404 - 3000; }),
                   rows.end());
        ASSERT_FALSE(rows.empty());
        EXPECT_LT(rows.back(), 6396 - 3000);
        // Nothing written over the frame's right edge either.
        EXPECT_EQ(FirstInk(DrawBand(report, 2, 2000, 5000), 4410), -1);
        // Page 3: the basis box runs from 600 to 1600, its texts from 700 to 1500.
        const QImage basis = DrawBand(report, 3, 1450, 1598);
        EXPECT_TRUE(InkRows(basis, 320, 4380).empty() ||
                    InkRows(basis, 320, 4380).back() < 1500 - 1450 + 60);
        EXPECT_EQ(FirstInk(DrawBand(report, 3, 620, 1580), 4410), -1);
    }
}

// Page number and footer (or header) in the same place are stacked: two lines of ink
// with a clear gap, both on the printable page (6732 dots high on A4).
TEST(ReportPainter, PageNumberStacksWithFooterOrHeader) {
    struct Case {
        int position;
        bool header, footer;
        int top, bottom;  // the band holding both
        int lines;
    };
    const Case cases[] = {
        {1, false, true, 6552, 6733, 2}, {0, false, true, 6552, 6733, 2},
        {4, true, false, 260, 520, 2},   {1, true, false, 260, 520, 1},
        {4, false, true, 260, 520, 1},
    };
    const std::vector<Component> none;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position * 100 + c.header * 10 + c.footer);
        QTemporaryDir dir;
        PrintSettings s;
        s.printPageNumber = 1;
        s.printHeader = c.header;
        s.printFooter = c.footer;
        s.headerText = QStringLiteral("电阻率检测中心");
        s.footerText = QStringLiteral("仅对来样负责");
        s.pageNumberFormat = 4;
        s.firstPageNumber = 1;
        s.pageNumberPosition = c.position;
        ASSERT_TRUE(SavePrintSettings(dir.path(), s).Ok());
        ReportPainter report(none, dir.path());
        // The header's rule at 530 lies below the band; count runs of inked rows.
        const QImage band = DrawBand(report, 3, c.top, c.bottom);
        const std::vector<int> rows = InkRows(band, 300, 4500);
        int runs = 0;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (i == 0 || rows[i] > rows[i - 1] + 1) ++runs;
        EXPECT_EQ(runs, c.lines);
        ASSERT_FALSE(rows.empty());
        EXPECT_GT(rows.front(), 0);                 // nothing cut at the top of the band
        EXPECT_LT(rows.back(), band.height() - 1);  // nor at the page's foot
    }
}

// The settings are read when the report is made: files changed or removed while it is
// printed do not change its pages.
TEST(ReportPainter, SettingsFilesAreReadOnceWhenTheReportIsMade) {
    QTemporaryDir dir;
    PrintSettings s;
    s.printHeader = 1;
    s.headerText = QStringLiteral("检测中心");
    ASSERT_TRUE(SavePrintSettings(dir.path(), s).Ok());
    {
        std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary)
            << "[Data]\r\n"
            << ToGbk(QStringLiteral("报告编号=BG-1")) << "\r\n";
    }
    const std::vector<Component> none;
    ReportPainter report(none, dir.path());
    const QImage before = DrawPage(report, 1);
    ASSERT_TRUE(QFile::remove(dir.filePath("printini.ini")));
    ASSERT_TRUE(QFile::remove(dir.filePath("report1ini.ini")));
    for (int page : {1, 3}) {
        const QImage image = DrawPage(report, page);
        EXPECT_TRUE(HasInk(image, 1700, 400, 3100, 500)) << page;  // the header
    }
    EXPECT_EQ(DrawPage(report, 1), before);
    ReportPainter later(none, dir.path());
    EXPECT_FALSE(HasInk(DrawPage(later, 1), 1700, 400, 3100, 500));
}

}  // namespace
}  // namespace ohmlet
