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
// "> 100", "50–100（不含50）", "≤ 10" (kΩ·cm, without the unit): a reading on a bound
// belongs to the riskier class below it.
QString ClassRangeText(const ClassTable& table, std::size_t index,
                       ClassWording wording = ClassWording::kReport);
// What a built-in table is for, printed under its classes ("钢筋已脱钝时的锈蚀速率");
// empty for a user's table.
QString ClassTableScope(const ClassTable& table, ClassWording wording = ClassWording::kReport);
// What the classes grade: "锈蚀风险" (RILEM), "锈蚀速率" (Langford), "等级" (a user's).
QString ClassMeasureName(const ClassTable& table, ClassWording wording = ClassWording::kReport);
// "低 50–100（不含50）": the name and the range together, for legends.
QString ClassLegendText(const ClassTable& table, std::size_t index,
                        ClassWording wording = ClassWording::kReport);
// "低 25% · 中等 75%": the classes that hold readings, with their shares of `total`.
QString ClassSharesText(const ClassTable& table, const ClassCounts& counts,
                        ClassWording wording = ClassWording::kReport);
// A statistic with one decimal, or "-" when the set does not define it.
QString StatText(const std::optional<double>& value, int decimals = 1);
// A share 0..1 as "12.5%".
// A pass rate as every place shows it: cut to one decimal, "-" without valid readings.
QString PassRateText(int64_t passed, int64_t valid);
QString PercentText(double share);

}  // namespace ohmlet
