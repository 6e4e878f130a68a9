#pragma once
// Where on the member a component's readings were taken, and the conditions of that
// measurement. Kept in the DZL file's trailer; older readers never see them.
#include <optional>
#include <string>

namespace ohmlet {

// How the inspector walked the grid: along rows or columns, turning back at each end
// (serpentine) or starting every line at the same side.
enum class ReadingOrder { Rows, SerpentineRows, Columns, SerpentineColumns };

// The corner of the first reading, seen on the member as the map draws it: row 0 at
// the top, column 0 at the left.
enum class GridCorner { TopLeft, TopRight, BottomLeft, BottomRight };

struct SurveyGrid {
    static constexpr int kMaxSide = 100;

    int rows = 0;
    int columns = 0;
    double spacingXmm = 0;  // between column centres
    double spacingYmm = 0;  // between row centres
    ReadingOrder order = ReadingOrder::Rows;
    GridCorner firstCorner = GridCorner::TopLeft;

    bool operator==(const SurveyGrid& o) const {
        return rows == o.rows && columns == o.columns && spacingXmm == o.spacingXmm &&
               spacingYmm == o.spacingYmm && order == o.order && firstCorner == o.firstCorner;
    }
    bool operator!=(const SurveyGrid& o) const { return !(*this == o); }
};

// Unset fields are left out of the report, never filled with a guess.
struct SurveyConditions {
    std::optional<double> probeSpacingMm;
    std::optional<double> concreteTemperatureC;
    std::string moistureState;     // UTF-8
    std::string surfaceCondition;  // UTF-8
    std::string note;              // UTF-8

    bool IsEmpty() const {
        return !probeSpacingMm && !concreteTemperatureC && moistureState.empty() &&
               surfaceCondition.empty() && note.empty();
    }
    bool operator==(const SurveyConditions& o) const {
        return probeSpacingMm == o.probeSpacingMm &&
               concreteTemperatureC == o.concreteTemperatureC && moistureState == o.moistureState &&
               surfaceCondition == o.surfaceCondition && note == o.note;
    }
    bool operator!=(const SurveyConditions& o) const { return !(*this == o); }
};

// What a component carries beyond its DZL record. `otherKeys` holds, as JSON text, the
// keys a newer Ohmlet wrote that this one does not know, so a save keeps them.
struct ComponentExtras {
    std::optional<SurveyGrid> grid;
    SurveyConditions conditions;
    std::string otherKeys;

    bool IsEmpty() const { return !grid && conditions.IsEmpty() && otherKeys.empty(); }
    bool operator==(const ComponentExtras& o) const {
        return grid == o.grid && conditions == o.conditions && otherKeys == o.otherKeys;
    }
    bool operator!=(const ComponentExtras& o) const { return !(*this == o); }
};

}  // namespace ohmlet
