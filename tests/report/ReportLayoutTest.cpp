#include <gtest/gtest.h>

#include <map>
#include <tuple>

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

TEST(ReportTotals, CountOnlyTheComponentsTheReportListsAndLeaveOutInvalidReadings) {
    // Pass band 25..75: 20 fails, 50 and 75 pass; 0 and 1000 are invalid.
    struct Case {
        std::vector<std::tuple<int, bool, int>> components;  // points, ticked, value
        int components_, points, invalid, passed;
        bool meets;
    };
    const Case cases[] = {
        {{{10, true, 50}, {4, false, 20}, {6, true, 75}}, 2, 16, 0, 16, true},
        {{{10, true, 50}, {4, true, 20}, {6, true, 75}}, 3, 20, 0, 16, false},
        {{{10, false, 50}, {4, false, 20}}, 0, 0, 0, 0, false},
        // Invalid readings neither pass nor fail: 16 of 16 valid pass.
        {{{10, true, 50}, {4, true, 0}, {6, true, 75}, {3, true, 1000}}, 4, 23, 7, 16, true},
        {{{5, true, -5}}, 1, 5, 5, 0, false},  // nothing valid: no verdict to claim
    };
    for (const Case& c : cases) {
        std::vector<Component> list;
        for (const auto& [points, ticked, value] : c.components)
            list.push_back(Filled(points, ticked, value));
        const ReportTotals t = ComputeReportTotals(list);
        EXPECT_EQ(t.componentCount, c.components_);
        EXPECT_EQ(t.pointCount, c.points);
        EXPECT_EQ(t.invalidCount, c.invalid);
        EXPECT_EQ(t.passCount, c.passed);
        EXPECT_EQ(t.MeetsRequirement(85), c.meets);
    }
}

TEST(Conclusion, DecidesOnTheCountsCutsTheRateAndNamesWhatItCovers) {
    struct Case {
        int components, points, invalid, passed, required;
        const char* text;  // the printed lines run together
    };
    const Case cases[] = {
        {1, 312, 0, 305, 85,
         "共对该构件的312个测点进行检测，其中合格的测点305个，不合格测点7个。"
         "混凝土电阻率合格率达到97.7%，不低于检测依据要求的85%"
         "，该构件的混凝土电阻率满足设计要求。"},
        // At the mark exactly it is reached, and said so without "above".
        {9, 100, 0, 85, 85,
         "共对所检9个构件的100个测点进行检测，其中合格的测点85个，不合格测点15个。"
         "混凝土电阻率合格率达到85.0%，不低于检测依据要求的85%"
         "，所检9个构件的混凝土电阻率满足设计要求。"},
        // 84.95% would round to 85.0% beside "below 85%": it is cut instead.
        {2, 2000, 0, 1699, 85,
         "共对所检2个构件的2000个测点进行检测，其中合格的测点1699个，不合格测点301个。"
         "混凝土电阻率合格率为84.9%，低于检测依据要求的85%"
         "，所检2个构件的混凝土电阻率不满足设计要求。"},
        {1, 24, 4, 18, 90,
         "共对该构件的24个测点进行检测，其中合格的测点18个，不合格测点2个，无效读数4个（无接触或超"
         "出量程，未计入合格率）。"
         "混凝土电阻率合格率达到90.0%，不低于检测依据要求的90%"
         "，该构件的混凝土电阻率满足设计要求。"},
        {1, 3, 3, 0, 85,
         "共对该构件的3个测点进行检测，其中合格的测点0个，不合格测点0个，无效读数3个（无接触或超出"
         "量程，未计入合格率）。"
         "没有有效读数，不能判定该构件的混凝土电阻率是否满足设计要求。"},
    };
    for (const Case& c : cases) {
        const ReportTotals t{c.components, c.points, c.invalid, c.passed};
        QString text;
        for (const std::string& line : ConclusionLines(t, c.required)) {
            EXPECT_LE(line.size(), kLineBreakBytes + 1) << c.text;
            text += FromGbk(line).trimmed();
        }
        EXPECT_EQ(text, QString::fromUtf8(c.text));
    }
}

TEST(BasisTexts, RequiredRateSpacingAndConditionsComeFromTheParameters) {
    struct Case {
        std::map<QString, QString> values;
        int rate;
        const char* conditions;
        const char* methodTail;  // what follows the laboratory's method text
    };
    const Case cases[] = {
        {{}, 85, "", ""},
        {{{"要求合格率", "90"}, {"电极间距", "50"}},
         90,
         "电极间距：50mm",
         "电阻率按ρ=2πaV/I计算，其中电极间距a=50mm，V为测得的电位差，I为通入的电流。"},
        {{{"要求合格率", "0"}, {"混凝土温度", "18"}, {"表面状况", "干燥，无涂层"}},
         85,
         "混凝土温度：18℃；表面状况：干燥，无涂层",
         ""},
        {{{"要求合格率", "abc"}, {"表面湿度状况", "潮湿"}}, 85, "表面湿度状况：潮湿", ""},
    };
    for (const Case& c : cases) {
        const ReportParameterLookup lookup = [&](const QString& key) {
            auto it = c.values.find(key);
            return it == c.values.end() ? std::string() : ToGbk(it->second);
        };
        EXPECT_EQ(RequiredRate(lookup), c.rate);
        EXPECT_EQ(FromGbk(ConditionsText(lookup)), QString::fromUtf8(c.conditions));
        EXPECT_EQ(FromGbk(MethodText(lookup)), QString::fromUtf8(c.methodTail));
    }
}

// The box holds three lines: the report's defaults first, then components measured under
// their own conditions, the rest named by count.
TEST(BasisTexts, ComponentsWithTheirOwnConditionsFollowTheDefaults) {
    auto measured = [](const char* number, double spacing, bool ticked = true) {
        Component c = Filled(1, ticked);
        c.SetNumber(number);
        c.extras.conditions.probeSpacingMm = spacing;
        return c;
    };
    const ReportParameterLookup spacing50 = [](const QString& key) {
        return key == QStringLiteral("电极间距") ? std::string("50") : std::string();
    };
    const struct {
        std::vector<Component> components;
        std::vector<const char*> lines;
    } cases[] = {
        {{Filled(1, true)}, {"电极间距：50mm"}},
        {{measured("W007", 40), measured("0002", 30, false)},
         {"电极间距：50mm", "构件W007：探头间距 40 mm"}},
        {{measured("0001", 40), measured("0002", 30), measured("0003", 25)},
         {"电极间距：50mm", "构件0001：探头间距 40 mm", "另有2个构件的测量条件见其分布图页。"}},
    };
    for (const auto& c : cases) {
        QStringList got;
        for (const std::string& line : ConditionLines(spacing50, c.components))
            got << FromGbk(line);
        QStringList want;
        for (const char* line : c.lines) want << QString::fromUtf8(line);
        EXPECT_EQ(got, want);
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
