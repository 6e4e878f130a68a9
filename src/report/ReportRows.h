#pragma once
// The rows of the raw data table and the page count of the printed report.
#include <cstdint>
#include <vector>

#include "data/Component.h"
#include "data/PassRate.h"

namespace ohmlet {

inline constexpr int kRowsPerPage = 40;
inline constexpr int kValuesPerRow = 10;
inline constexpr int kFirstRawDataPage = 4;

struct ReportRow {
    int component = 0;    // index in the component list
    int firstValue = -1;  // -1: the component's heading row; else its first value
    int valueCount = 0;   // values in this row (0 for the empty row of a component without points)
};

// Per selected component in list order: a heading row, then rows of up to 10 values,
// at least one (empty when there are no points).
std::vector<ReportRow> BuildReportRows(const std::vector<Component>& components);

int ReportPageCount(std::size_t rowCount);

// The totals of the conclusion: over the components the report lists, and only those.
struct ReportTotals {
    int32_t componentCount = 0;
    int32_t pointCount = 0;    // every reading held, invalid ones included
    int32_t invalidCount = 0;  // left out of the verdict
    int32_t passCount = 0;
    int32_t ValidCount() const { return pointCount - invalidCount; }
    int32_t FailCount() const { return ValidCount() - passCount; }
    // Decided on the counts, never on a rounded rate.
    bool MeetsRequirement(int requiredPercent) const {
        return MeetsRequiredRate(passCount, ValidCount(), requiredPercent);
    }
};
ReportTotals ComputeReportTotals(const std::vector<Component>& components);

}  // namespace ohmlet
