#pragma once
// The words a survey grid's order and corner are written as, in the file's trailer and on
// the command line alike, and the limits a grid must keep.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "data/SurveyGrid.h"

namespace ohmlet {

inline constexpr std::pair<ReadingOrder, const char*> kReadingOrderNames[] = {
    {ReadingOrder::Rows, "rows"},
    {ReadingOrder::SerpentineRows, "serpentine-rows"},
    {ReadingOrder::Columns, "columns"},
    {ReadingOrder::SerpentineColumns, "serpentine-columns"},
};

inline constexpr std::pair<GridCorner, const char*> kGridCornerNames[] = {
    {GridCorner::TopLeft, "top-left"},
    {GridCorner::TopRight, "top-right"},
    {GridCorner::BottomLeft, "bottom-left"},
    {GridCorner::BottomRight, "bottom-right"},
};

template <typename Enum, std::size_t N>
const char* NameOf(const std::pair<Enum, const char*> (&names)[N], Enum value) {
    for (const auto& [e, name] : names)
        if (e == value) return name;
    return names[0].second;
}

template <typename Enum, std::size_t N>
std::optional<Enum> FromName(const std::pair<Enum, const char*> (&names)[N],
                             std::string_view name) {
    for (const auto& [e, text] : names)
        if (name == text) return e;
    return std::nullopt;
}

inline const char* ReadingOrderName(ReadingOrder o) { return NameOf(kReadingOrderNames, o); }
inline const char* GridCornerName(GridCorner c) { return NameOf(kGridCornerNames, c); }
inline std::optional<ReadingOrder> ReadingOrderFromName(std::string_view name) {
    return FromName(kReadingOrderNames, name);
}
inline std::optional<GridCorner> GridCornerFromName(std::string_view name) {
    return FromName(kGridCornerNames, name);
}

// Empty when the grid can be drawn; otherwise what is wrong with it, as the end of a
// sentence ("has 0 rows").
inline std::string GridProblem(const SurveyGrid& g) {
    auto side = [](int n, const char* what) -> std::string {
        if (n >= 1 && n <= SurveyGrid::kMaxSide) return {};
        return "has " + std::to_string(n) + ' ' + what + " (1 to " +
               std::to_string(SurveyGrid::kMaxSide) + " allowed)";
    };
    if (std::string p = side(g.rows, "rows"); !p.empty()) return p;
    if (std::string p = side(g.columns, "columns"); !p.empty()) return p;
    // NaN fails both comparisons, so it is refused with the negatives.
    if (!(g.spacingXmm >= 0 && g.spacingYmm >= 0) || !std::isfinite(g.spacingXmm) ||
        !std::isfinite(g.spacingYmm))
        return "has a spacing that is negative or not a number";
    return {};
}

}  // namespace ohmlet
