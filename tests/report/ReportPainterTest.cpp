// Pages drawn onto an image: where the page number, header and footer really land.
#include "CReportPainter.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "PrintSettings.h"
#include "ReportCanvas.h"

namespace ohmlet {
namespace {

constexpr int kDpi = 100;  // one pixel = 6 dots

QImage DrawPage(CReportPainter& report, int page) {
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
        ASSERT_TRUE(SavePrintSettings(dir.path(), s));
        CReportPainter report(none, dir.path());
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
        CReportPainter report(none, dir.path());  // no printini at all
        const QImage image = DrawPage(report, 3);
        EXPECT_FALSE(HasInk(image, 300, 380, 4500, 560));
        EXPECT_FALSE(HasInk(image, 300, 6600, 4500, 6700));
    }
    PrintSettings s;
    s.printHeader = 1;
    s.printFooter = 1;
    s.headerText = QStringLiteral("检测中心");
    s.footerText = QStringLiteral("第三方");
    ASSERT_TRUE(SavePrintSettings(dir.path(), s));
    CReportPainter report(none, dir.path());
    const QImage image = DrawPage(report, 3);
    EXPECT_TRUE(HasInk(image, 1700, 400, 3100, 500));  // centred header text
    EXPECT_FALSE(HasInk(image, 300, 400, 1500, 500));
    EXPECT_TRUE(HasInk(image, 320, 520, 400, 545));      // the rule under it
    EXPECT_TRUE(HasInk(image, 1700, 6600, 3100, 6700));  // centred footer text
    EXPECT_FALSE(HasInk(image, 300, 6600, 1500, 6700));
}

}  // namespace
}  // namespace ohmlet
