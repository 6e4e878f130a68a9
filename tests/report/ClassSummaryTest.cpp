// The class summary at the end of the printed report: whether it is there, what it
// lists, and the settings that choose it and its class table.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "report/ClassSummaryPage.h"
#include "report/InterpretationSettings.h"
#include "report/ReportPainter.h"
#include "report/ReportParametersFile.h"

#include "support/TestSupport.h"

namespace ohmlet {
namespace {

Component Make(const char* number, std::vector<int> values, bool ticked = true) {
    Component c;
    c.SetNumber(number);
    c.selected = ticked ? 1 : 0;
    c.ResizePoints(static_cast<int32_t>(values.size()));
    for (std::size_t i = 0; i < values.size(); ++i) c.points[i].value = values[i];
    return c;
}

void WriteFile(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(ClassSummary, PagesFollowTheRawDataWhenTheParameterAsks) {
    // 40 ticked components of 5 readings: 41 entries take three summary pages.
    std::vector<Component> many;
    for (int i = 0; i < 40; ++i) many.push_back(Make("0001", {5, 20, 60, 120, 30}));
    struct Case {
        const char* what;
        const char* reportini;  // nullptr: no file
        int summaryPages;
    } cases[] = {
        {"no settings: on", nullptr, 3},
        {"switched off", "[Data]\r\nClassSummary=0\r\n", 0},
        {"switched on", "[Data]\r\nClassSummary=1\r\n", 3},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        if (c.reportini) WriteFile(folder.filePath(QStringLiteral("reportini.ini")), c.reportini);
        ReportPainter report(many, folder.path() + '/');
        EXPECT_EQ(report.SummaryPageCount(), c.summaryPages) << c.what;
        EXPECT_EQ(report.PageCount(), ReportPageCount(report.Rows().size()) + c.summaryPages)
            << c.what;
    }
}

TEST(ClassSummary, EntriesAreTheTickedComponentsThenAll) {
    const std::vector<Component> list = {Make("0001", {5, 20, 60, 120}), Make("0002", {1}, false),
                                         Make("0003", {55, 65})};
    const ClassSummary s = BuildClassSummary(list, ClassTable::Rilem());
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_EQ(s.entries[0].label, QStringLiteral("0001"));
    EXPECT_EQ(s.entries[1].label, QStringLiteral("0003"));
    EXPECT_EQ(s.entries[2].label, QStringLiteral("全部"));
    EXPECT_EQ(s.entries[2].stats.count, 6);
    EXPECT_EQ(ClassCountsText(s.table, s.entries[0].stats),
              QStringLiteral("可忽略 1 (25.0%) · 低 1 (25.0%) · 中等 1 (25.0%) · 高 1 (25.0%)"));
    EXPECT_EQ(ClassCountsText(s.table, s.entries[1].stats),
              QStringLiteral("可忽略 0 (0.0%) · 低 2 (100.0%) · 中等 0 (0.0%) · 高 0 (0.0%)"));
}

TEST(InterpretationSettingsFile, ChoiceAndDownloadCriterion) {
    struct Case {
        const char* what;
        const char* interpretini;  // nullptr: no file
        const char* classtableini;
        std::string tableName;
        bool problem;
        Criterion download;
    } cases[] = {
        {"nothing set", nullptr, nullptr, "rilem", false, BuiltInDownloadCriterion()},
        {"langford and a criterion",
         "[Interpretation]\r\nClassTable=langford\r\nDownloadDesignValue=30\r\n"
         "DownloadLowerTolerance=-5\r\nDownloadUpperTolerance=10\r\n",
         nullptr,
         "langford",
         false,
         {30, -5, 10}},
        {"half a criterion is none", "[Interpretation]\r\nDownloadDesignValue=30\r\n", nullptr,
         "rilem", false, BuiltInDownloadCriterion()},
        {"unknown table name", "[Interpretation]\r\nClassTable=mine\r\n", nullptr, "rilem", false,
         BuiltInDownloadCriterion()},
        {"user table present", "[Interpretation]\r\nClassTable=user\r\n",
         "[Classes]\r\nName=site\r\nClass1=ok\r\nBound1=40\r\nClass2=bad\r\n", "site", false,
         BuiltInDownloadCriterion()},
        {"user table missing", "[Interpretation]\r\nClassTable=user\r\n", nullptr, "rilem", true,
         BuiltInDownloadCriterion()},
        {"user table broken", "[Interpretation]\r\nClassTable=user\r\n",
         "[Classes]\r\nClass1=only\r\n", "rilem", true, BuiltInDownloadCriterion()},
        // Only whole keys of their own section count; comments never.
        {"comment, longer key, other section",
         "[Interpretation]\r\n; "
         "ClassTable=user\r\nOldClassTable=user\r\n[Old]\r\nClassTable=user\r\n"
         "DownloadDesignValue=30\r\nDownloadLowerTolerance=-5\r\nDownloadUpperTolerance=10\r\n",
         "[Classes]\r\nName=site\r\nClass1=ok\r\nBound1=40\r\nClass2=bad\r\n", "rilem", false,
         BuiltInDownloadCriterion()},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString program = folder.path() + '/';
        if (c.interpretini) WriteFile(program + "interpretini.ini", c.interpretini);
        if (c.classtableini) WriteFile(program + "classtableini.ini", c.classtableini);
        const ChosenClassTable chosen = LoadChosenClassTable(program);
        EXPECT_EQ(chosen.table.Name(), c.tableName) << c.what;
        EXPECT_EQ(!chosen.problem.empty(), c.problem) << c.what << ": " << chosen.problem;
        EXPECT_TRUE(LoadInterpretationSettings(program).DownloadCriterion() == c.download)
            << c.what;
    }
}

// The limit, the default minimum and a band are checked as in the window; what cannot be
// used is named and its default kept.
TEST(InterpretationSettingsFile, LimitMinimumAndBandAreCheckedAndNamed) {
    struct Case {
        const char* keys;
        int32_t limit;
        int32_t minimum;
        Criterion download;  // with the file's limit in force
        std::size_t problems;
    } cases[] = {
        {"", 1000, 10, {10, 0, 990}, 0},
        {"OverflowLimit=2000\r\nDefaultMinimum=25\r\n", 2000, 25, {25, 0, 1975}, 0},
        {"OverflowLimit=1\r\nDefaultMinimum=0\r\n", 1000, 10, {10, 0, 990}, 2},
        {"OverflowLimit=abc\r\nDefaultMinimum=1000\r\n", 1000, 10, {10, 0, 990}, 1},
        {"DownloadDesignValue=45\r\nDownloadLowerTolerance=5\r\nDownloadUpperTolerance=30\r\n",
         1000,
         10,
         {10, 0, 990},
         1},
        {"DownloadDesignValue=45\r\nDownloadLowerTolerance=-20\r\nDownloadUpperTolerance=30\r\n",
         1000,
         10,
         {45, -20, 30},
         0},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString program = folder.path() + '/';
        WriteFile(program + "interpretini.ini", QByteArray("[Interpretation]\r\n") + c.keys);
        const test::OverflowLimitScope restore(OverflowLimit());
        const InterpretationSettings s = ApplyInterpretationSettings(program);
        EXPECT_EQ(OverflowLimit(), c.limit) << c.keys;
        EXPECT_EQ(s.defaultMinimum, c.minimum) << c.keys;
        EXPECT_EQ(s.DownloadCriterion(), c.download) << c.keys;
        EXPECT_EQ(s.problems.size(), c.problems) << c.keys;
    }
}

TEST(InterpretationSettingsFile, SavedSettingsReadBack) {
    QTemporaryDir folder;
    const QString program = folder.path() + '/';
    InterpretationSettings settings;
    settings.classTable = ClassTableChoice::Langford;
    settings.downloadCriterion = Criterion{50, -25, 40};
    ASSERT_TRUE(SaveInterpretationSettings(program, settings).Ok());
    const InterpretationSettings back = LoadInterpretationSettings(program);
    EXPECT_EQ(back.classTable, ClassTableChoice::Langford);
    EXPECT_TRUE(back.DownloadCriterion() == (Criterion{50, -25, 40}));

    ReportParameters parameters = LoadReportParameters(program);
    EXPECT_TRUE(parameters.classSummary);
    parameters.classSummary = false;
    ASSERT_TRUE(SaveReportParameters(program, parameters).Ok());
    EXPECT_FALSE(LoadReportParameters(program).classSummary);
    EXPECT_FALSE(ReadClassSummaryChoice(program));
}

}  // namespace
}  // namespace ohmlet
