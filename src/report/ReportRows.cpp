#include "report/ReportRows.h"

#include <algorithm>

namespace ohmlet {

std::vector<ReportRow> BuildReportRows(const std::vector<Component>& components) {
    std::vector<ReportRow> rows;
    for (std::size_t c = 0; c < components.size(); ++c) {
        const Component& component = components[c];
        if (!component.selected) continue;
        const int index = static_cast<int>(c);
        rows.push_back({index, -1, 0});
        const int count = component.HeldPointCount();
        if (count == 0) rows.push_back({index, 0, 0});
        for (int first = 0; first < count; first += kValuesPerRow)
            rows.push_back({index, first, std::min(kValuesPerRow, count - first)});
    }
    return rows;
}

int ReportPageCount(std::size_t rowCount) {
    return 3 + static_cast<int>((rowCount + kRowsPerPage - 1) / kRowsPerPage);
}

ReportTotals ComputeReportTotals(const std::vector<Component>& components) {
    ReportTotals totals;
    for (const Component& component : components) {
        // A component left out of the tables is left out of the verdict too.
        if (!component.selected) continue;
        ++totals.componentCount;
        const int count = component.HeldPointCount();
        totals.pointCount += count;
        for (int i = 0; i < count; ++i) {
            switch (component.VerdictOf(component.points[static_cast<std::size_t>(i)].value)) {
                case Component::Verdict::Passed:
                    ++totals.passCount;
                    break;
                case Component::Verdict::Invalid:
                    ++totals.invalidCount;
                    break;
                case Component::Verdict::Failed:
                    break;
            }
        }
    }
    return totals;
}

}  // namespace ohmlet
