#include <gtest/gtest.h>

#include "data/GbkText.h"
#include "data/TestDate.h"

namespace ohmlet {
namespace {

// The GBK text of year, month and day pieces as they sit between the marks.
std::string Stored(const char* year, const char* month, const char* day) {
    return std::string(year) + gbk::kYear + month + gbk::kMonth + day + gbk::kDay;
}

TEST(TestDate, PaddingOfOneDigitMonthsAndDays) {
    struct Case {
        CalendarDate date;
        DatePadding padding;
        std::string text;
    } cases[] = {
        {{2015, 3, 7}, DatePadding::Blank, Stored("2015", " 3", " 7")},
        {{2015, 3, 7}, DatePadding::Zero, Stored("2015", "03", "07")},
        {{2015, 11, 12}, DatePadding::Blank, Stored("2015", "11", "12")},
        {{2015, 11, 12}, DatePadding::Zero, Stored("2015", "11", "12")},
        {{2008, 10, 1}, DatePadding::Blank, Stored("2008", "10", " 1")},
        {{999, 1, 31}, DatePadding::Blank, Stored("0999", " 1", "31")},
    };
    for (const Case& k : cases) {
        const std::string text = FormatTestDate(k.date, k.padding);
        EXPECT_EQ(text, k.text) << k.date.year << '-' << k.date.month << '-' << k.date.day;
        // Every form keeps the byte positions the readers rely on.
        ASSERT_EQ(text.size(), 14u);
        const auto back = ParseTestDate(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(back->year, k.date.year);
        EXPECT_EQ(back->month, k.date.month);
        EXPECT_EQ(back->day, k.date.day);
    }
}

TEST(TestDate, TextsWithoutNumbersAtTheirPlacesGiveNoDate) {
    const std::string texts[] = {
        "",
        "2015",
        Stored("2015", " 3", ""),    // no day
        Stored("abcd", " 3", " 5"),  // no year
        Stored("2015", "3x", " 5"),  // a letter in the month
        "2015-03-05",
        Stored("20 5", "  ", " 5"),  // a blank month
    };
    for (const std::string& t : texts) EXPECT_FALSE(ParseTestDate(t).has_value()) << t;
}

TEST(TestDate, BlanksInsideANumberAreSkipped) {
    const auto date = ParseTestDate(Stored(" 215", " 3", "1 "));
    ASSERT_TRUE(date.has_value());
    EXPECT_EQ(date->year, 215);
    EXPECT_EQ(date->month, 3);
    EXPECT_EQ(date->day, 1);
}

}  // namespace
}  // namespace ohmlet
