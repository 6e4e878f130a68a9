#include "report/ReportParameters.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

TEST(StoredDate, BlankPadsSingleDigitsAndReadsBack) {
    struct Case {
        QDate date;
        const char* text;  // UTF-8 of the stored GBK text
    };
    const Case cases[] = {
        {QDate(2015, 3, 5), "2015年 3月 5日"},
        {QDate(2015, 12, 25), "2015年12月25日"},
        {QDate(2008, 10, 1), "2008年10月 1日"},
        {QDate(1999, 1, 31), "1999年 1月31日"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string gbk = FormatStoredDate(c.date);
        EXPECT_EQ(gbk, ToGbk(QString::fromUtf8(c.text)));
        // Byte positions the reader relies on.
        EXPECT_EQ(gbk.size(), 14u);
        EXPECT_EQ(ParseStoredDate(gbk), c.date);
    }
}

TEST(StoredDate, TextsThatAreNoDateGiveNoDate) {
    const char* texts[] = {
        "", "2015", "abcd年 3月 5日", "2015年13月 5日", "2015年 2月30日", "2015-03-05"};
    for (const char* t : texts) {
        SCOPED_TRACE(t);
        EXPECT_FALSE(ParseStoredDate(ToGbk(QString::fromUtf8(t))).isValid());
    }
}

TEST(ReportLayouts, TablesAgreeWithThemselves) {
    for (int i = 0; i < kReportLayoutCount; ++i) {
        const ReportLayoutInfo* info = GetReportLayoutInfo(i);
        ASSERT_NE(info, nullptr);
        // Every field is on the screen exactly once.
        std::vector<std::string> screen;
        for (const char* k : info->leftColumn) screen.push_back(k);
        for (const char* k : info->rightColumn) screen.push_back(k);
        ASSERT_EQ(screen.size(), info->fileOrder.size()) << info->comboItem;
        for (const ReportField& f : info->fileOrder)
            EXPECT_EQ(std::count(screen.begin(), screen.end(), std::string(f.key)), 1)
                << info->comboItem << " " << f.key;
    }
    EXPECT_EQ(GetReportLayoutInfo(-1), nullptr);
    EXPECT_EQ(GetReportLayoutInfo(6), nullptr);
}

TEST(GetReportParameter, ReadsTheLayoutsFileTrimmed) {
    QTemporaryDir dir;
    const QString name = QStringLiteral("工程名称");
    EXPECT_EQ(GetReportParameter(dir.path(), 1, name), "");  // no file yet
    std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary)
        << "[Data]\r\n"
        << ToGbk(name) << "=  " << ToGbk(QStringLiteral("新楼")) << "  \r\n";
    std::ofstream(dir.filePath("reportJilinini.ini").toStdString(), std::ios::binary)
        << "[Data]\r\n"
        << ToGbk(name) << "=J\r\n";
    EXPECT_EQ(GetReportParameter(dir.path(), 1, name), ToGbk(QStringLiteral("新楼")));
    EXPECT_EQ(GetReportParameter(dir.path(), 6, name), "J");
    EXPECT_EQ(GetReportParameter(dir.path(), 1, QStringLiteral("委托单位")), "");
    EXPECT_EQ(GetReportParameter(dir.path(), 0, name), "");
    EXPECT_EQ(GetReportParameter(dir.path(), 7, name), "");
}

TEST(ReadReportParameters, OneSetPerLayoutWithDefaultsForWhatIsEmpty) {
    QTemporaryDir dir;
    struct Case {
        const char* key;
        const char* stored;  // nullptr: not in the file
        const char* read;    // nullptr: the default, which must not be empty
    };
    const Case cases[] = {
        {"工程名称", "新楼一期", "新楼一期"},
        {"委托单位", nullptr, ""},
        {"检测仪器", nullptr, nullptr},
        {"检测方法", "", nullptr},
        {"检测依据", "  本所作业指导书 ", "本所作业指导书"},
        {"施工日期", "2025年 6月 1日", "2025年 6月 1日"},
    };
    std::string file = "[Data]\r\n";
    for (const Case& c : cases)
        if (c.stored)
            file +=
                ToGbk(QString::fromUtf8(c.key)) + "=" + ToGbk(QString::fromUtf8(c.stored)) + "\r\n";
    std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary) << file;
    const ReportParameterSet set = ReadReportParameters(dir.path(), 1);
    EXPECT_EQ(set.size(), GetReportLayoutInfo(0)->fileOrder.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QString key = QString::fromUtf8(c.key);
        ASSERT_EQ(set.count(key), 1u);
        const QString expected =
            c.read ? QString::fromUtf8(c.read) : DefaultReportParameter(1, key);
        if (!c.read) {
            EXPECT_FALSE(expected.isEmpty());
        }
        EXPECT_EQ(FromGbk(set.at(key)), expected);
    }
    // Without a file every field reads as its default; other layouts have none.
    QTemporaryDir empty;
    for (const auto& [key, value] : ReadReportParameters(empty.path(), 1)) {
        EXPECT_EQ(FromGbk(value), DefaultReportParameter(1, key)) << key.toStdString();
    }
    for (const auto& [key, value] : ReadReportParameters(empty.path(), 2)) {
        EXPECT_TRUE(value.empty()) << key.toStdString();
    }
    EXPECT_TRUE(ReadReportParameters(empty.path(), 7).empty());
}

}  // namespace
}  // namespace ohmlet
