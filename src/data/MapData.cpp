#include "data/MapData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ohmlet {

bool HasUsableSides(const SurveyGrid& grid) {
    return grid.rows >= 1 && grid.rows <= SurveyGrid::kMaxSide && grid.columns >= 1 &&
           grid.columns <= SurveyGrid::kMaxSide;
}

std::vector<std::optional<GridCell>> PlaceReadings(const SurveyGrid& grid, int count) {
    std::vector<std::optional<GridCell>> cells(static_cast<std::size_t>(std::max(count, 0)));
    if (!HasUsableSides(grid)) return cells;
    const bool alongRows =
        grid.order == ReadingOrder::Rows || grid.order == ReadingOrder::SerpentineRows;
    const bool serpentine =
        grid.order == ReadingOrder::SerpentineRows || grid.order == ReadingOrder::SerpentineColumns;
    const bool fromRight =
        grid.firstCorner == GridCorner::TopRight || grid.firstCorner == GridCorner::BottomRight;
    const bool fromBottom =
        grid.firstCorner == GridCorner::BottomLeft || grid.firstCorner == GridCorner::BottomRight;
    const int lineLength = alongRows ? grid.columns : grid.rows;
    const int total = std::min(count, grid.rows * grid.columns);
    for (int k = 0; k < total; ++k) {
        const int line = k / lineLength;
        int step = k % lineLength;
        // Every other line walks back the way the last one came.
        if (serpentine && line % 2 == 1) step = lineLength - 1 - step;
        int row = alongRows ? line : step;
        int column = alongRows ? step : line;
        if (fromBottom) row = grid.rows - 1 - row;
        if (fromRight) column = grid.columns - 1 - column;
        cells[static_cast<std::size_t>(k)] = GridCell{row, column};
    }
    return cells;
}

namespace {

int CappedSide(int length) { return std::clamp(length, 1, SurveyGrid::kMaxSide); }

// The common step of the readings' positions, or 0 when they are not evenly spaced.
double EvenStep(const Component& component, int count) {
    if (count < 2) return 0;
    const auto& p = component.points;
    const int64_t step = int64_t{p[1].position} - p[0].position;
    for (std::size_t k = 2; k < static_cast<std::size_t>(count); ++k)
        if (int64_t{p[k].position} - p[k - 1].position != step) return 0;
    return static_cast<double>(step < 0 ? -step : step);
}

}  // namespace

std::optional<SurveyGrid> SuggestedGrid(const Component& component) {
    const int count = component.HeldPointCount();
    if (count == 0) return std::nullopt;
    SurveyGrid grid;
    grid.rows = 1;
    grid.columns = CappedSide(count);
    switch (component.Kind()) {
        case ComponentKind::Grid: {
            // A block offset outside the readings leaves them all in one block. When the
            // first block is the shorter, the second begins on row 1: a grid has no short rows.
            const int first = std::clamp(component.blockOffset, 0, count);
            if (first > 0 && first < count) {
                grid.rows = 2;
                grid.columns = CappedSide(std::max(first, count - first));
            }
            return grid;
        }
        case ComponentKind::Profile: {
            const double step = EvenStep(component, count);
            grid.spacingXmm = step > 0 ? step : 1;
            grid.spacingYmm = grid.spacingXmm;
            return grid;
        }
        case ComponentKind::Single:
            break;
    }
    return std::nullopt;
}

std::size_t ClassOfValue(const ClassTable& table, double value) {
    const std::size_t last = table.Size() - 1;
    for (std::size_t i = 0; i < last; ++i)
        if (value > static_cast<double>(table.Classes()[i].lowerBound)) return i;
    return last;
}

namespace {

// Where a side of a square meets the level, between corners a (at p) and b (at q).
double Cross(double a, double b, double p, double q, double level) {
    return p + (level - a) / (b - a) * (q - p);
}

// One square of marching squares, corners counter-clockwise from the top left: a at
// (x0, y0), b at (x1, y0), c at (x1, y1), d at (x0, y1).
struct Square {
    double a, b, c, d;
    double x0, x1, y0, y1;
};

void AddSquareSegments(const Square& q, double level, std::vector<ContourSegment>& segments) {
    const int mask = (q.a > level ? 1 : 0) | (q.b > level ? 2 : 0) | (q.c > level ? 4 : 0) |
                     (q.d > level ? 8 : 0);
    if (mask == 0 || mask == 15) return;
    // The crossing on each side: top, right, bottom, left.
    const double top = Cross(q.a, q.b, q.x0, q.x1, level);
    const double bottom = Cross(q.d, q.c, q.x0, q.x1, level);
    const double left = Cross(q.a, q.d, q.y0, q.y1, level);
    const double right = Cross(q.b, q.c, q.y0, q.y1, level);
    const ContourSegment t2r{top, q.y0, q.x1, right}, r2b{q.x1, right, bottom, q.y1};
    const ContourSegment b2l{bottom, q.y1, q.x0, left}, l2t{q.x0, left, top, q.y0};
    const ContourSegment t2b{top, q.y0, bottom, q.y1}, l2r{q.x0, left, q.x1, right};
    // A saddle is split by the mean of its corners.
    const bool centreAbove = (q.a + q.b + q.c + q.d) / 4 > level;
    switch (mask) {
        case 1:
        case 14:
            segments.push_back(l2t);
            break;
        case 2:
        case 13:
            segments.push_back(t2r);
            break;
        case 4:
        case 11:
            segments.push_back(r2b);
            break;
        case 8:
        case 7:
            segments.push_back(b2l);
            break;
        case 3:
        case 12:
            segments.push_back(l2r);
            break;
        case 6:
        case 9:
            segments.push_back(t2b);
            break;
        case 5:   // a and c above
        case 10:  // b and d above
            if (centreAbove == (mask == 5)) {
                segments.push_back(t2r);
                segments.push_back(b2l);
            } else {
                segments.push_back(l2t);
                segments.push_back(r2b);
            }
            break;
    }
}

}  // namespace

std::vector<ContourSegment> TraceContour(const SampledField& field, double level) {
    std::vector<ContourSegment> segments;
    for (int j = 0; j + 1 < field.height; ++j) {
        for (int i = 0; i + 1 < field.width; ++i) {
            const Square q{field.At(i, j),          field.At(i + 1, j),
                           field.At(i + 1, j + 1),  field.At(i, j + 1),
                           field.x0 + i * field.dx, field.x0 + (i + 1) * field.dx,
                           field.y0 + j * field.dy, field.y0 + (j + 1) * field.dy};
            if (std::isnan(q.a) || std::isnan(q.b) || std::isnan(q.c) || std::isnan(q.d)) continue;
            AddSquareSegments(q, level, segments);
        }
    }
    return segments;
}

namespace {

bool InField(CellState s) { return s == CellState::Valid || s == CellState::Failing; }

// The two centres around fractional position u (0..n-1) and the weight of the second.
void Bracket(double u, int n, int& first, double& weight) {
    u = std::clamp(u, 0.0, static_cast<double>(n - 1));
    first = std::min(static_cast<int>(std::floor(u)), std::max(n - 2, 0));
    weight = u - first;
}

double FieldAt(const MapData& map, double x, double y) {
    int c = 0, r = 0;
    double tx = 0, ty = 0;
    Bracket(x / map.CellWidth(), map.grid.columns, c, tx);
    Bracket(y / map.CellHeight(), map.grid.rows, r, ty);
    double sum = 0;
    for (int dr = 0; dr < 2; ++dr) {
        for (int dc = 0; dc < 2; ++dc) {
            const double w = (dc ? tx : 1 - tx) * (dr ? ty : 1 - ty);
            if (w <= 0) continue;
            const MapCellData& cell = map.Cell(r + dr, c + dc);
            if (!InField(cell.state)) return std::numeric_limits<double>::quiet_NaN();
            sum += w * cell.value;
        }
    }
    return sum;
}

void SampleField(MapData& map, int samplesPerCell) {
    SampledField& f = map.field;
    f.width = map.grid.columns * samplesPerCell;
    f.height = map.grid.rows * samplesPerCell;
    f.dx = map.CellWidth() / samplesPerCell;
    f.dy = map.CellHeight() / samplesPerCell;
    // Samples at the middles of equal parts of each cell, so the raster covers every cell.
    f.x0 = -map.CellWidth() / 2 + f.dx / 2;
    f.y0 = -map.CellHeight() / 2 + f.dy / 2;
    f.values.resize(static_cast<std::size_t>(f.width) * f.height);
    for (int j = 0; j < f.height; ++j)
        for (int i = 0; i < f.width; ++i)
            f.values[static_cast<std::size_t>(j) * f.width + i] =
                FieldAt(map, f.x0 + i * f.dx, f.y0 + j * f.dy);
}

}  // namespace

std::optional<MapData> MakeMapData(const Component& component, const ClassTable& table,
                                   int32_t overflowLimit, int samplesPerCell) {
    if (!component.extras.grid || !HasUsableSides(*component.extras.grid)) return std::nullopt;
    MapData map;
    map.grid = *component.extras.grid;
    const auto spacingSet = [](double s) { return std::isfinite(s) && s > 0; };
    map.inMm = spacingSet(map.grid.spacingXmm) && spacingSet(map.grid.spacingYmm);
    map.cells.resize(static_cast<std::size_t>(map.grid.rows) * map.grid.columns);
    const int count = component.HeldPointCount();
    const std::vector<std::optional<GridCell>> places = PlaceReadings(map.grid, count);
    for (int k = 0; k < count; ++k) {
        const std::optional<GridCell>& place = places[static_cast<std::size_t>(k)];
        if (!place) {
            map.unplaced.push_back(k);
            continue;
        }
        MapCellData& cell =
            map.cells[static_cast<std::size_t>(place->row) * map.grid.columns + place->column];
        cell.reading = k;
        cell.value = component.points[static_cast<std::size_t>(k)].value;
        if (!IsValidReading(cell.value, overflowLimit)) {
            cell.state = CellState::Invalid;
            continue;
        }
        cell.classIndex = table.Classify(cell.value);
        cell.state = component.Passes(cell.value) ? CellState::Valid : CellState::Failing;
    }
    for (int c = 0; c < map.grid.columns; ++c) map.xs.push_back(c * map.CellWidth());
    for (int r = 0; r < map.grid.rows; ++r) map.ys.push_back(r * map.CellHeight());
    SampleField(map, std::max(samplesPerCell, 1));
    for (std::size_t i = 0; i + 1 < table.Size(); ++i) {
        const double level = static_cast<double>(table.Classes()[i].lowerBound);
        map.contours.push_back({i, level, TraceContour(map.field, level)});
    }
    return map;
}

}  // namespace ohmlet
