#pragma once
// Test dates as components and report settings store them: GBK text with the year at
// bytes 0-3, 年 at 4-5, the month at 6-7, 月 at 8-9, the day at 10-11 and 日 at 12-13.
#include <optional>
#include <string>
#include <string_view>

namespace ohmlet {

struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;
};

// How a one-digit month or day fills its two bytes: "2015年 3月 7日" as the control
// panel and the report settings write it, "2015年03月07日" as a new component gets it.
enum class DatePadding { Blank, Zero };

std::string FormatTestDate(const CalendarDate& date, DatePadding padding);

// The numbers at their byte positions, blanks ignored; none when a position holds no
// digit or something else. The calendar is not checked: 30 February comes back as is.
std::optional<CalendarDate> ParseTestDate(std::string_view gbk);

}  // namespace ohmlet
