#include <gtest/gtest.h>

#include <map>

#include "report/GbkCodec.h"
#include "report/LineBreaker.h"
#include "report/ReportRows.h"
#include "report/ReportTextPages.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

// points readings of value, in the band 25..75.
Component Filled(int points, bool selected, int value = 20) {
    Component c = test::MakeComponent("", std::vector<int>(points, value), selected ? 1 : 0);
    c.designValue = 45;
    c.lowerTolerance = -20;
    c.upperTolerance = 30;
    return c;
}

TEST(ReportRows, ComponentsWith25And0Points) {
    std::vector<Component> list = {Filled(25, true), Filled(7, false), Filled(0, true)};
    std::vector<ReportRow> rows = BuildReportRows(list);
    ASSERT_EQ(rows.size(), 6u);
    // heading, 10, 10, 5 values; the unselected component takes no rows; heading + empty row.
    const int component[] = {0, 0, 0, 0, 2, 2};
    const int first[] = {-1, 0, 10, 20, -1, 0};
    const int count[] = {0, 10, 10, 5, 0, 0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].component, component[i]);
        EXPECT_EQ(rows[i].firstValue, first[i]);
        EXPECT_EQ(rows[i].valueCount, count[i]);
    }
}

TEST(ReportRows, StoredCountBeyondThePointsHeldIsNotTrusted) {
    Component c = Filled(3, true);
    c.pointCount = 1000;  // a corrupt count must not make the report read past the points
    std::vector<ReportRow> rows = BuildReportRows({c});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].valueCount, 3);
}

TEST(ReportPages, CountFollowsTheTableRows) {
    struct Case {
        std::vector<int> pointsPerSelectedComponent;
        std::size_t rows;
        int pages;
    };
    const Case cases[] = {
        {{}, 0, 3},
        {{390}, 40, 4},  // heading + 39 rows
        {{391}, 41, 5},  // heading + 40 rows
        {{10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10, 10}, 40, 4},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 42, 5},
        {{3990}, 400, 13},
    };
    for (const Case& c : cases) {
        std::vector<Component> list;
        for (int points : c.pointsPerSelectedComponent) list.push_back(Filled(points, true));
        list.push_back(Filled(50, false));  // never counted
        std::vector<ReportRow> rows = BuildReportRows(list);
        EXPECT_EQ(rows.size(), c.rows);
        EXPECT_EQ(ReportPageCount(rows.size()), c.pages);
    }
}

TEST(ReportTotals, CountOnlyTheComponentsTheReportLists) {
    // Pass band 25..75: 20 fails, 50 and 75 pass.
    struct Case {
        std::vector<std::pair<int, bool>> components;  // points of value 50/20/75, ticked
        int points, passed;
        bool meets;
    };
    const Case cases[] = {
        {{{10, true}, {4, false}, {6, true}}, 16, 16, true},  // the failing one is left out
        {{{10, true}, {4, true}, {6, true}}, 20, 16, false},
        {{{10, false}, {4, false}, {6, false}}, 0, 0, false},
        {{{10, false}, {4, true}, {6, false}}, 4, 0, false},
    };
    const int values[] = {50, 20, 75};
    for (const Case& c : cases) {
        std::vector<Component> list;
        for (std::size_t i = 0; i < c.components.size(); ++i)
            list.push_back(Filled(c.components[i].first, c.components[i].second, values[i]));
        ReportTotals t = ComputeReportTotals(list);
        EXPECT_EQ(t.pointCount, c.points);
        EXPECT_EQ(t.passCount, c.passed);
        EXPECT_FLOAT_EQ(t.passRate, c.points ? float(c.passed) / float(c.points) : 0.0f);
        EXPECT_EQ(t.MeetsRequirement(), c.meets);
    }
}

TEST(Conclusion, ClaimsTheRequirementOnlyFrom85Percent) {
    struct Case {
        int points, passed;
        const char* second;
        const char* third;
    };
    const Case cases[] = {
        {312, 305,
         "     混凝土电阻率合格率达到97.8%，合格率大于规范要求的85%，该构件的混凝土电阻率",
         "     满足设计要求!"},
        {100, 85, "     混凝土电阻率合格率达到85.0%，合格率大于规范要求的85%，该构件的混凝土电阻率",
         "     满足设计要求!"},
        {100, 84, "     混凝土电阻率合格率为84.0%，低于规范要求的85%，该构件的混凝土电阻率",
         "     不满足设计要求!"},
        // 84.95% would round to 85.0% beside "below 85%": below the mark it is cut instead.
        {2000, 1699, "     混凝土电阻率合格率为84.9%，低于规范要求的85%，该构件的混凝土电阻率",
         "     不满足设计要求!"},
        {2000, 1700,
         "     混凝土电阻率合格率达到85.0%，合格率大于规范要求的85%，该构件的混凝土电阻率",
         "     满足设计要求!"},
        {0, 0, "     混凝土电阻率合格率为0.0%，低于规范要求的85%，该构件的混凝土电阻率",
         "     不满足设计要求!"},
    };
    for (const Case& c : cases) {
        ReportTotals t{c.points, c.passed,
                       c.points ? static_cast<float>(c.passed) / static_cast<float>(c.points) : 0};
        std::vector<std::string> lines = ConclusionLines(t);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(FromGbk(lines[0]),
                  QStringLiteral(
                      "         共对该构件的%1个测点进行检测，其中合格的测点%2个，不合格测点%3个，")
                      .arg(c.points)
                      .arg(c.passed)
                      .arg(c.points - c.passed));
        EXPECT_EQ(FromGbk(lines[1]), QString::fromUtf8(c.second));
        EXPECT_EQ(FromGbk(lines[2]), QString::fromUtf8(c.third));
    }
}

TEST(SurveyParagraph, LeavesOutEveryClauseWhoseValueIsEmpty) {
    struct Case {
        std::map<QString, QString> values;
        const char* text;
    };
    const std::map<QString, QString> all = {
        {"工程名称", "滨江"}, {"工程地址", "江北路"},         {"结构类别", "框架"},
        {"施工单位", "二建"}, {"施工日期", "2025年 6月 1日"}, {"强度等级", "C30"},
        {"委托单位", "置业"}};
    auto without = [&all](std::initializer_list<const char*> keys) {
        std::map<QString, QString> v = all;
        for (const char* k : keys) v.erase(QString::fromUtf8(k));
        return v;
    };
    const Case cases[] = {
        {all,
         "       滨江工程位于江北路，为框架结构。由二建施工，开工时间为2025年 6月 1日。"
         "根据设计要求，混凝土设计强度等级为C30。\n受置业委托，我所对框架混凝土电阻率进行了检测。"
         " "},
        {{}, "       \n我所对混凝土电阻率进行了检测。 "},
        {without({"工程地址", "施工日期", "委托单位"}),
         "       滨江工程为框架结构。由二建施工。根据设计要求，混凝土设计强度等级为C30。"
         "\n我所对框架混凝土电阻率进行了检测。 "},
        {without({"工程名称", "结构类别", "施工单位", "强度等级"}),
         "       本工程位于江北路。开工时间为2025年 6月 "
         "1日。\n受置业委托，我所对混凝土电阻率进行了检测。 "},
        {without({"工程地址", "结构类别"}),
         "       由二建施工，开工时间为2025年 6月 1日。根据设计要求，混凝土设计强度等级为C30。"
         "\n受置业委托，我所对混凝土电阻率进行了检测。 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto lookup = [&c](const QString& key) {
            auto it = c.values.find(key);
            return it == c.values.end() ? std::string() : ToGbk(it->second);
        };
        EXPECT_EQ(FromGbk(SurveyParagraph(lookup)), QString::fromUtf8(c.text));
    }
}

TEST(LineBreaker, SeventySevenBytesFirstThenSeventySix) {
    struct Case {
        std::size_t length;
        std::vector<std::size_t> lines;
    };
    const Case cases[] = {
        {0, {0}},      {10, {10}},         {76, {76}},          {77, {77, 0}},
        {78, {77, 1}}, {153, {77, 76, 0}}, {200, {77, 76, 47}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        std::vector<std::string> lines = BreakReportLines(std::string(c.length, 'a'));
        std::vector<std::size_t> sizes;
        for (const auto& l : lines) sizes.push_back(l.size());
        EXPECT_EQ(sizes, c.lines);
    }
}

TEST(LineBreaker, NeverSplitsATwoByteCharacter) {
    const std::string han = ToGbk(QStringLiteral("测"));
    // 76 ASCII bytes, then characters: the first would straddle bytes 76 and 77.
    std::string text = std::string(76, 'a') + han + han + "\n" + std::string(80, 'b');
    std::vector<std::string> lines = BreakReportLines(text);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(76, 'a'));
    EXPECT_EQ(lines[1].substr(0, 5), han + han + "\n");  // the line feed counts as one byte
    std::string joined;
    for (const auto& l : lines) {
        EXPECT_LE(l.size(), 77u);
        EXPECT_FALSE(FromGbk(l).contains(QChar::ReplacementCharacter)) << l;
        joined += l;
    }
    EXPECT_EQ(joined, text);
}

}  // namespace
}  // namespace ohmlet
