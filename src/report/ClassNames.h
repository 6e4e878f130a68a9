#pragma once
// How classes and statistics are written for people: the built-in tables' class names
// and each class's range of readings. The panel, the legend, the printed report and the
// workbook all use these; the report and the workbook keep the names in Chinese, the
// window shows them in its language.
#include <QString>
#include <cstddef>
#include <optional>

#include "data/ClassCounts.h"
#include "data/CorrosionClasses.h"

namespace ohmlet {

enum class ClassWording {
    kReport,     // Chinese, as the printed report's other texts
    kInterface,  // in the window's language
};

// "低" (or "Low" in an English window) for the built-in "low"; a user's own name as it is.
QString ClassDisplayName(const CorrosionClass& cls, ClassWording wording = ClassWording::kReport);
// "≥ 100", "50 ~ 100", "< 10" (kΩ·cm, without the unit).
QString ClassRangeText(const ClassTable& table, std::size_t index);
// "低 50 ~ 100": the name and the range together, for legends.
QString ClassLegendText(const ClassTable& table, std::size_t index,
                        ClassWording wording = ClassWording::kReport);
// "低 25% · 中等 75%": the classes that hold readings, with their shares of `total`.
QString ClassSharesText(const ClassTable& table, const ClassCounts& counts,
                        ClassWording wording = ClassWording::kReport);
// A statistic with one decimal, or "-" when the set does not define it.
QString StatText(const std::optional<double>& value, int decimals = 1);
// A share 0..1 as "12.5%".
QString PercentText(double share);

}  // namespace ohmlet
