// Reading texts and the CSV form of the readings.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <cmath>
#include <cstdio>

#include "OfficeTestSupport.h"
#include "report/office/CsvWriter.h"
#include "report/office/OfficeLayout.h"

namespace ohmlet::test {
namespace {

std::string Printf(float value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.1f", static_cast<double>(value));
    return buffer;
}

// The fast path must agree with printf wherever a reading can land, including the
// values a float cannot hold exactly.
TEST(OfficeLayout, OneDecimalAgreesWithPrintf) {
    const float values[] = {0.0f,      -0.0f,         1.0f,          -1.0f,
                            87.0f,     9.0f,          10.0f,         65535.0f,
                            -65536.0f, 16777217.0f,   2147483647.0f, static_cast<float>(INT_MIN),
                            0.25f,     0.05f,         1e20f,         -3.75f,
                            1e-3f,     std::nanf(""), INFINITY};
    for (float v : values) {
        std::string fast;
        AppendOneDecimal(fast, v);
        EXPECT_EQ(fast, Printf(v)) << "value " << v;
    }
    for (int v = -1000; v <= 100000; v += 7) {
        std::string fast;
        AppendOneDecimal(fast, static_cast<float>(v));
        ASSERT_EQ(fast, Printf(static_cast<float>(v)));
    }
}

TEST(OfficeLayout, ZeroDiffersBetweenWordAndExcel) {
    EXPECT_EQ(WordReadingText(0.0f), "0.0");
    EXPECT_EQ(ExcelReadingText(0.0f), "0");
    EXPECT_EQ(WordReadingText(87.0f), "87.0");
    EXPECT_EQ(ExcelReadingText(87.0f), "87.0");
}

TEST(OfficeLayout, ComponentWhoseCountExceedsItsPointsShowsOnlyWhatItHolds) {
    Component c = MakeComponents({{"0001", "梁", "2015年03月07日", {10, 20}}})[0];
    c.pointCount = 25;
    EXPECT_EQ(c.HeldPointCount(), 2);
    EXPECT_EQ(ValueRowCount(c), 1);
    EXPECT_NE(WordHeadingText(c).find("平均电阻率:15.0 KΩ*cm"), std::string::npos)
        << WordHeadingText(c);
    c.pointCount = -3;
    EXPECT_EQ(c.HeldPointCount(), 0);
    EXPECT_EQ(ValueRowCount(c), 0);
}

TEST(ReadingsCsv, OneLinePerReadingOfTheSelectedComponents) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("r.csv"));
    auto components = MakeComponents({{"0001", "梁1", "2015年03月07日", {45, 0}},
                                      {"0002", "skipped", "2015年03月07日", {1}, false},
                                      {"0003", "板, \"B\"", "2015年 3月 7日", {87}},
                                      {"0004", "empty", "2015年03月08日", {}}});
    ASSERT_TRUE(WriteReadingsCsv(components, path).Ok());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));  // Qt's decoder would drop it unseen
    EXPECT_EQ(QString::fromUtf8(bytes.mid(3)),
              QStringLiteral("number,name,testDate,point,value,isoDate,verdict\n"
                             "=\"0001\",梁1,2015年03月07日,1,45,2015-03-07,fail\n"
                             "=\"0001\",梁1,2015年03月07日,2,0,2015-03-07,invalid\n"
                             "=\"0003\",\"板, \"\"B\"\"\",2015年 3月 7日,1,87,2015-03-07,fail\n"));
}

TEST(ReadingsCsv, UnwritablePathFails) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/r.csv"));
    OfficeOutcome outcome = WriteReadingsCsv(MakeComponents({{"0001", "a", "d", {1}}}), path);
    EXPECT_EQ(outcome.code, OfficeCode::Failed);
    EXPECT_FALSE(outcome.text.empty());
}

}  // namespace
}  // namespace ohmlet::test
