#include "report/ReportParametersFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
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
        const ReportLayoutInfo* info = ReportLayoutInfoAt(i);
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
    EXPECT_EQ(ReportLayoutInfoAt(-1), nullptr);
    EXPECT_EQ(ReportLayoutInfoAt(6), nullptr);
}

TEST(ReadReportParameter, ReadsTheLayoutsFileTrimmed) {
    QTemporaryDir dir;
    const QString name = QStringLiteral("工程名称");
    EXPECT_EQ(ReadReportParameter(dir.path(), 1, name), "");  // no file yet
    std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary)
        << "[Data]\r\n"
        << ToGbk(name) << "=  " << ToGbk(QStringLiteral("新楼")) << "  \r\n";
    std::ofstream(dir.filePath("reportJilinini.ini").toStdString(), std::ios::binary)
        << "[Data]\r\n"
        << ToGbk(name) << "=J\r\n";
    EXPECT_EQ(ReadReportParameter(dir.path(), 1, name), ToGbk(QStringLiteral("新楼")));
    EXPECT_EQ(ReadReportParameter(dir.path(), 6, name), "J");
    EXPECT_EQ(ReadReportParameter(dir.path(), 1, QStringLiteral("委托单位")), "");
    EXPECT_EQ(ReadReportParameter(dir.path(), 0, name), "");
    EXPECT_EQ(ReadReportParameter(dir.path(), 7, name), "");
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
    EXPECT_EQ(set.size(), ReportLayoutInfoAt(0)->fileOrder.size());
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

// What the page loads from a layout's file: stored texts and dates; a date that makes no
// date, a missing key and a missing file keep the fresh value; an emptied text its default.
TEST(LoadReportParameters, FileValuesOverFreshOnes) {
    QTemporaryDir dir;
    const QDate today(2026, 12, 9);
    struct Case {
        const char* key;
        const char* stored;  // nullptr: not in the file
        QString text;        // for text fields
        QDate date;          // for date fields
    };
    const Case cases[] = {
        {"工程名称", "新楼一期", QStringLiteral("新楼一期"), {}},
        {"委托单位", nullptr, QString(), {}},
        {"检测方法", "", DefaultReportParameter(1, QStringLiteral("检测方法")), {}},
        {"检测仪器", nullptr, DefaultReportParameter(1, QStringLiteral("检测仪器")), {}},
        {"强度等级", "C40", QStringLiteral("C40"), {}},
        {"报告日期", "2015年 3月 5日", {}, QDate(2015, 3, 5)},
        // A date that is none stays unset: no date is guessed but the report's own.
        {"施工日期", "2015年13月 5日", {}, {}},
    };
    std::string file = "[Data]\r\n";
    for (const Case& c : cases)
        if (c.stored)
            file +=
                ToGbk(QString::fromUtf8(c.key)) + "=" + ToGbk(QString::fromUtf8(c.stored)) + "\r\n";
    file += ToGbk(QStringLiteral("报告格式")) + "=3\r\n";
    std::ofstream(dir.filePath("report1ini.ini").toStdString(), std::ios::binary) << file;

    const ReportParameters loaded = LoadReportParameters(dir.path(), today);
    EXPECT_EQ(loaded.chosenLayout, 3);  // no "reportini": layout 1's file keeps the choice
    const LayoutParameters& first = loaded.layouts[0];
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QString key = QString::fromUtf8(c.key);
        if (KindOfField(*ReportLayoutInfoAt(0), c.key) == FieldKind::Date)
            EXPECT_EQ(first.dates.count(key) ? first.dates.at(key) : QDate(), c.date);
        else
            EXPECT_EQ(first.texts.at(key), c.text);
    }
    // Layouts without a file are fresh: every field there, dates today.
    for (int layout = 1; layout < kReportLayoutCount; ++layout) {
        const LayoutParameters& values = loaded.layouts[static_cast<std::size_t>(layout)];
        const LayoutParameters fresh = FreshLayoutParameters(layout, today);
        EXPECT_EQ(values.texts, fresh.texts) << layout;
        EXPECT_EQ(values.dates, fresh.dates) << layout;
        // Every text field there; of the dates only the report's own.
        std::size_t texts = 0, reportDates = 0;
        for (const ReportField& f : ReportLayoutInfoAt(layout)->fileOrder) {
            if (f.kind != FieldKind::Date) ++texts;
            if (std::string(f.key) == "报告日期") ++reportDates;
        }
        EXPECT_EQ(values.texts.size(), texts) << layout;
        EXPECT_EQ(values.dates.size(), reportDates) << layout;
    }
    EXPECT_EQ(LoadReportParameters(QTemporaryDir().path(), today).chosenLayout, -1);
}

// A failed save loses nothing it can keep: every other file is still written, and the
// outcome names each file that could not be.
TEST(SaveReportParameters, EveryFileIsTriedAndEveryFailureNamed) {
    struct Case {
        const char* what;
        std::vector<const char*> blocked;  // made folders, so they cannot be replaced
    };
    const Case cases[] = {
        {"all saved", {}},
        {"one layout", {"report2ini"}},
        {"a layout and the choice", {"report1ini", "reportini"}},
    };
    const char* files[] = {"report1ini",     "report2ini",     "report3ini", "report4ini",
                           "reportGansuini", "reportJilinini", "reportini"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir dir;
        for (const char* name : c.blocked) QDir(dir.path()).mkdir(QString(name) + ".ini");
        ReportParameters parameters = LoadReportParameters(dir.path(), QDate(2020, 1, 2));
        parameters.chosenLayout = 5;
        parameters.layouts[5].texts[QStringLiteral("工程名称")] = QStringLiteral("吉林");

        const SettingsOutcome saved = SaveReportParameters(dir.path(), parameters);
        EXPECT_EQ(saved.Ok(), c.blocked.empty());
        EXPECT_EQ(saved.code, c.blocked.empty() ? SettingsCode::Ok : SettingsCode::CannotSave);
        for (const char* name : files) {
            const std::string file = std::string(name) + ".ini";
            const bool blocked = std::find_if(c.blocked.begin(), c.blocked.end(), [&](auto b) {
                                     return file == std::string(b) + ".ini";
                                 }) != c.blocked.end();
            EXPECT_EQ(saved.text.find("/" + file) != std::string::npos, blocked) << file;
            EXPECT_EQ(QFileInfo(dir.filePath(QString::fromStdString(file))).isFile(), !blocked)
                << file;
        }
        EXPECT_EQ(std::count(saved.text.begin(), saved.text.end(), '\n'),
                  c.blocked.empty() ? 0 : static_cast<long>(c.blocked.size()) - 1);
        if (c.blocked.empty()) {
            const ReportParameters back = LoadReportParameters(dir.path(), QDate(2021, 1, 1));
            EXPECT_EQ(back.chosenLayout, 5);
            EXPECT_EQ(back.layouts[5].texts.at(QStringLiteral("工程名称")), QStringLiteral("吉林"));
            EXPECT_EQ(back.layouts[5].dates.count(QStringLiteral("检测日期")), 0u)
                << "a date never set stays unset through a save";
        }
    }
}

}  // namespace
}  // namespace ohmlet
