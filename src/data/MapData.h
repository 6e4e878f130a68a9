#pragma once
// A component's readings laid out on its survey grid: which cell each reading belongs
// to, what state every cell is in, and a smooth field between the cell centres with the
// class boundaries traced through it. Worked out once; the map drawing only paints it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "data/ReadingValidity.h"
#include "data/SurveyGrid.h"

namespace ohmlet {

struct GridCell {
    int row;
    int column;
    bool operator==(const GridCell& o) const { return row == o.row && column == o.column; }
};

// Rows and columns both 1..SurveyGrid::kMaxSide.
bool HasUsableSides(const SurveyGrid& grid);

// The cell of each of `count` readings in the order the inspector walked the grid from
// its first corner; nothing for readings past rows × columns (or for a grid whose sides
// are out of range).
std::vector<std::optional<GridCell>> PlaceReadings(const SurveyGrid& grid, int count);

// The grid the grid dialog offers a component that has none, from what the instrument
// recorded: a W component's two blocks as two rows (its first block on row 1, columns
// as long as the longer block); a P component's readings as one row, spaced as its
// stored positions are when they are evenly spaced, else 1 mm apart. Nothing for other
// kinds or a component without readings. Sides never pass SurveyGrid::kMaxSide.
std::optional<SurveyGrid> SuggestedGrid(const Component& component);

enum class CellState { Empty, Valid, Failing, Invalid };

struct MapCellData {
    CellState state = CellState::Empty;
    int reading = -1;  // 0-based index into the component's points; -1 when empty
    int32_t value = 0;
    std::size_t classIndex = 0;  // of a valid or failing reading
};

// Values sampled on a raster; NaN where the field is undefined.
struct SampledField {
    int width = 0;               // samples along x
    int height = 0;              // samples along y
    double x0 = 0, y0 = 0;       // position of sample (0, 0)
    double dx = 1, dy = 1;       // between samples
    std::vector<double> values;  // row after row

    double At(int i, int j) const { return values[static_cast<std::size_t>(j) * width + i]; }
};

// One stroke of a contour line, in the field's coordinates.
struct ContourSegment {
    double x1, y1, x2, y2;
};

// Marching squares at `level`: a sample counts as above it when value > level, as a
// reading on a class bound belongs to the riskier class. Squares with an undefined
// corner give nothing; a saddle is split by the mean of its corners.
std::vector<ContourSegment> TraceContour(const SampledField& field, double level);

struct ClassContour {
    std::size_t classIndex;  // the class whose lower bound this is
    double level;
    std::vector<ContourSegment> segments;
};

struct MapData {
    SurveyGrid grid;
    // Whether the spacings are set; without them positions count cells (0, 1, 2…).
    bool inMm = true;
    std::vector<MapCellData> cells;  // rows × columns, row after row
    std::vector<int> unplaced;       // readings past the last cell
    std::vector<double> xs, ys;      // cell centres: column * spacingX, row * spacingY
    // Bilinear between the centres of valid readings (failing ones included) and held flat
    // in the outer half cell. Where a centre it needs holds no valid reading the field is
    // left undefined: a hole is never filled with a guess.
    SampledField field;
    std::vector<ClassContour> contours;

    const MapCellData& Cell(int row, int column) const {
        return cells[static_cast<std::size_t>(row) * grid.columns + column];
    }
    double CellWidth() const { return inMm ? grid.spacingXmm : 1; }
    double CellHeight() const { return inMm ? grid.spacingYmm : 1; }
};

// The class of a field value, with the same rule as ClassTable::Classify.
std::size_t ClassOfValue(const ClassTable& table, double value);

// Nothing without a grid or with sides out of range. `samplesPerCell` raster steps
// between neighbouring centres (at least 1).
std::optional<MapData> MakeMapData(const Component& component, const ClassTable& table,
                                   int32_t overflowLimit = kDefaultOverflowLimit,
                                   int samplesPerCell = 8);

}  // namespace ohmlet
