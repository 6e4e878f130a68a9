#include <gtest/gtest.h>

#include <climits>
#include <map>

#include "data/CorrosionClasses.h"
#include "data/ReadingStats.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

TEST(CorrosionClasses, BuiltInTablesClassifyAtTheirBoundaries) {
    struct Case {
        const char* table;
        int32_t value;
        const char* expected;
    } cases[] = {
        // A reading on a bound goes to the riskier class, as the tables are published.
        {"rilem", INT32_MAX, "negligible"},
        {"rilem", 101, "negligible"},
        {"rilem", 100, "low"},
        {"rilem", 51, "low"},
        {"rilem", 50, "moderate"},
        {"rilem", 11, "moderate"},
        {"rilem", 10, "high"},
        {"rilem", 0, "high"},
        {"rilem", INT32_MIN, "high"},
        {"langford", 1000, "low"},
        {"langford", 21, "low"},
        {"langford", 20, "low-moderate"},
        {"langford", 11, "low-moderate"},
        {"langford", 10, "high"},
        {"langford", 6, "high"},
        {"langford", 5, "very-high"},
        {"langford", -1, "very-high"},
    };
    for (const Case& k : cases) {
        std::optional<ClassTable> table = ClassTable::BuiltIn(k.table);
        ASSERT_TRUE(table) << k.table;
        EXPECT_EQ(table->Classes()[table->Classify(k.value)].name, k.expected)
            << k.table << ' ' << k.value;
    }
    EXPECT_FALSE(ClassTable::BuiltIn("RILEM"));
    EXPECT_FALSE(ClassTable::BuiltIn(""));
    EXPECT_EQ(
        ClassTable::Rilem().Ranges(),
        (std::vector<std::string>{"negligible > 100", "low > 50", "moderate > 10", "high <= 10"}));
    EXPECT_EQ(
        ClassTable::Langford().Ranges(),
        (std::vector<std::string>{"low > 20", "low-moderate > 10", "high > 5", "very-high <= 5"}));
}

TEST(CorrosionClasses, MakeRefusesUnusableTables) {
    struct Case {
        std::string name;
        std::vector<CorrosionClass> classes;
        std::string error;  // empty: accepted
    } cases[] = {
        {"t", {{"a", 10}, {"b", 0}}, ""},
        // The last bound is never used, so it need not fall.
        {"t", {{"a", 10}, {"b", 99}}, ""},
        {"t", {{"a", 6}, {"b", 5}, {"c", 4}, {"d", 3}, {"e", 2}, {"f", 0}}, ""},
        {"", {{"a", 10}, {"b", 0}}, "no name"},
        {"t", {{"a", 10}}, "2 to 6 classes, not 1"},
        {"t",
         {{"a", 6}, {"b", 5}, {"c", 4}, {"d", 3}, {"e", 2}, {"f", 1}, {"g", 0}},
         "2 to 6 classes, not 7"},
        {"t", {{"a", 10}, {"", 0}}, "class 2 needs a name"},
        {"t", {{std::string(65, 'x'), 10}, {"b", 0}}, "class 1 needs a name"},
        {"t", {{"a", 10}, {"a", 0}}, "'a' is used twice"},
        {"t", {{"a", 10}, {"b", 10}, {"c", 0}}, "'b' (10) must be below that of 'a' (10)"},
        {"t", {{"a", 10}, {"b", 20}, {"c", 0}}, "must be below"},
        // Names reach terminals and workbook cells: no control character of any kind.
        {"t",
         {{"a", 10}, {"b\xC2\x9B", 0}},
         "class 2 holds a control character (U+009B at byte 2)"},
        {"t\tx", {{"a", 10}, {"b", 0}}, "the table's name holds a control character (U+0009"},
        {"t", {{"\xC2\xA0\xC2", 10}, {"\xE9\xAB\x98", 0}}, ""},
    };
    for (const Case& k : cases) {
        std::string error;
        std::optional<ClassTable> table = ClassTable::Make(k.name, k.classes, error);
        if (k.error.empty()) {
            EXPECT_TRUE(table) << error;
        } else {
            EXPECT_FALSE(table) << k.error;
            EXPECT_NE(error.find(k.error), std::string::npos) << error;
        }
    }
}

TEST(CorrosionClasses, UserTableFromSettingsKeys) {
    using Keys = std::map<std::string, std::string>;
    struct Case {
        Keys keys;
        std::string error;  // empty: accepted
        std::string name;
        std::vector<std::string> ranges;
    } cases[] = {
        {{{"Class1", "dry"},
          {"Bound1", "100"},
          {"Class2", "damp"},
          {"Bound2", " 25 "},
          {"Class3", " wet "}},
         "",
         "site",
         {"dry > 100", "damp > 25", "wet <= 25"}},
        {{{"Name", "my table"}, {"Class1", "a"}, {"Bound1", "+5"}, {"Class2", "b"}},
         "",
         "my table",
         {"a > 5", "b <= 5"}},
        {{{"Class1", "a"}, {"Bound1", "-2147483648"}, {"Class2", "b"}},
         "",
         "site",
         {"a > -2147483648", "b <= -2147483648"}},
        {{}, "no classes found", "", {}},
        {{{"Class1", "a"}}, "2 to 6 classes, not 1", "", {}},
        {{{"Class1", "a"}, {"Class2", "b"}}, "Bound1 is missing", "", {}},
        {{{"Class1", "a"}, {"Bound1", "5"}, {"Class2", "b"}, {"Bound2", "0"}},
         "Bound2 is given, but the last class",
         "",
         {}},
        {{{"Class1", "a"}, {"Bound1", "5"}, {"Class3", "b"}},
         "Class3 is given but Class2 is missing",
         "",
         {}},
        {{{"Class1", "a"}, {"Bound1", "1O"}, {"Class2", "b"}},
         "Bound1 is not a whole number: '1O'",
         "",
         {}},
        {{{"Class1", "a"}, {"Bound1", "2147483648"}, {"Class2", "b"}},
         "not a whole number",
         "",
         {}},
        {{{"Class1", "a"}, {"Bound1", "-"}, {"Class2", "b"}}, "not a whole number", "", {}},
        {{{"Class1", "a"}, {"Bound1", "1\x1b[2J\xC2\x9B"}, {"Class2", "b"}},
         "not a whole number: '1?[2J?'",
         "",
         {}},
        {{{"Class1", "a"}, {"Bound1", ""}, {"Class2", "b"}}, "not a whole number", "", {}},
        {{{"Class1", "a"}, {"Bound1", "5"}, {"Class2", "   "}}, "class 2 needs a name", "", {}},
        {{{"Name", " "}, {"Class1", "a"}, {"Bound1", "5"}, {"Class2", "b"}}, "no name", "", {}},
        {{{"Class1", "a"},
          {"Bound1", "6"},
          {"Class2", "b"},
          {"Bound2", "5"},
          {"Class3", "c"},
          {"Bound3", "4"},
          {"Class4", "d"},
          {"Bound4", "3"},
          {"Class5", "e"},
          {"Bound5", "2"},
          {"Class6", "f"},
          {"Class7", "g"}},
         "at most 6 classes",
         "",
         {}},
    };
    for (const Case& k : cases) {
        std::string error;
        std::optional<ClassTable> table = ClassTableFromSettings(
            "site",
            [&](const std::string& key) -> std::optional<std::string> {
                auto it = k.keys.find(key);
                if (it == k.keys.end()) return std::nullopt;
                return it->second;
            },
            error);
        if (k.error.empty()) {
            ASSERT_TRUE(table) << error;
            EXPECT_EQ(table->Name(), k.name);
            EXPECT_EQ(table->Ranges(), k.ranges);
        } else {
            EXPECT_FALSE(table) << k.error;
            EXPECT_NE(error.find(k.error), std::string::npos) << error;
        }
    }
}

// Bounds at the ends of the 32-bit range: the counts are worked out in 64 bits.
TEST(CorrosionClasses, ExtremeBoundsCountEveryReadingOnce) {
    struct Case {
        std::vector<CorrosionClass> classes;
        std::vector<int> values;
        ClassCounts counts;
    } cases[] = {
        {{{"a", INT32_MIN}, {"b", 0}}, {5, 1, 7}, {3, 0}},  // small readings: counted in a window
        // Nothing is above the highest bound: every reading goes below it.
        {{{"a", INT32_MAX}, {"b", INT32_MIN}, {"c", 0}}, {999, 1, 9}, {0, 3, 0}},
    };
    for (const Case& k : cases) {
        std::string error;
        const ClassTable table = ClassTable::Make("t", k.classes, error).value();
        const std::vector<Component> file{test::MakeComponent("0001", k.values)};
        EXPECT_EQ(ComputeStats(file[0], table).classCounts.value(), k.counts) << k.values[0];
        EXPECT_EQ(ComputeDocumentStats(file, table).components[0].classCounts.value(), k.counts)
            << k.values[0];
    }
}

}  // namespace
}  // namespace ohmlet
