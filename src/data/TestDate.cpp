#include "data/TestDate.h"

#include <cstdio>

#include "data/GbkText.h"

namespace ohmlet {
namespace {

// Digits of bytes from..to, blanks ignored; -1 when there are none or other bytes.
int NumberAt(std::string_view text, std::size_t from, std::size_t to) {
    int value = -1;
    for (std::size_t i = from; i <= to && i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ') continue;
        if (c < '0' || c > '9') return -1;
        value = (value < 0 ? 0 : value * 10) + (c - '0');
    }
    return value;
}

}  // namespace

std::string FormatTestDate(const CalendarDate& date, DatePadding padding) {
    const char* part = padding == DatePadding::Zero ? "%02d" : "%2d";
    char year[8], month[8], day[8];
    std::snprintf(year, sizeof year, "%04d", date.year % 10000);
    std::snprintf(month, sizeof month, part, date.month % 100);
    std::snprintf(day, sizeof day, part, date.day % 100);
    return std::string(year) + gbk::kYear + month + gbk::kMonth + day + gbk::kDay;
}

std::optional<CalendarDate> ParseTestDate(std::string_view gbk) {
    const CalendarDate date{NumberAt(gbk, 0, 3), NumberAt(gbk, 6, 7), NumberAt(gbk, 10, 11)};
    if (date.year < 0 || date.month < 0 || date.day < 0) return std::nullopt;
    return date;
}

}  // namespace ohmlet
