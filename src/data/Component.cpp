#include "data/Component.h"

#include <cstdlib>

#include "data/FixedText.h"

namespace ohmlet {

Component::Component(const Component& other) { *this = other; }

// A copy takes the stored record and fresh points, but neither the decoder's
// average nor the listener: the new owner attaches itself.
Component& Component::operator=(const Component& other) {
    if (this == &other) return *this;
    std::copy(std::begin(other.number), std::end(other.number), number);
    std::copy(std::begin(other.name), std::end(other.name), name);
    std::copy(std::begin(other.testDate), std::end(other.testDate), testDate);
    selected = other.selected;
    auxParam = other.auxParam;
    designValue = other.designValue;
    lowerTolerance = other.lowerTolerance;
    upperTolerance = other.upperTolerance;
    pointCount = other.pointCount;
    blockOffset = other.blockOffset;
    reservedFloat = other.reservedFloat;
    extras = other.extras;
    maxValue = other.maxValue;
    minValue = other.minValue;
    passCount = other.passCount;
    passRate = other.passRate;
    averageValue = 0;
    points = other.points;
    listener_ = nullptr;
    return *this;
}

std::string Component::Number() const { return ReadFixedText(number, kNumberWidth); }
std::string Component::Name() const { return ReadFixedText(name, kNameWidth); }
std::string Component::TestDate() const { return ReadFixedText(testDate, kTestDateWidth); }

void Component::SetNumber(std::string_view text) { StoreFixedText(number, kNumberWidth, text); }
void Component::SetName(std::string_view text) { StoreFixedText(name, kNameWidth, text); }

void Component::SetTestDate(std::string_view text) {
    StoreFixedText(testDate, kTestDateWidth, text);
    if (listener_) listener_->OnTestDateChanged(*this);
}

void Component::SetDesignValue(int value) {
    designValue = static_cast<float>(value);
    RecomputePass();
}

void Component::SetLowerTolerance(int value) {
    lowerTolerance = static_cast<float>(value);
    RecomputePass();
}

void Component::SetUpperTolerance(int value) {
    upperTolerance = static_cast<float>(value);
    RecomputePass();
}

float Component::PointValue(int index) const {
    return HasPoint(index) ? static_cast<float>(points[index].value) : 0.0f;
}

void Component::SetPointValue(int index, int value) {
    if (HasPoint(index)) points[index].value = value;
    ComputeMax();
    ComputeMin();
    RecomputePass();
}

void Component::SetPointPosition(int index, int position) {
    if (!HasPoint(index)) return;
    points[index].position = position;
    if (listener_) listener_->OnPointPositionChanged(*this);
}

int Component::ValidCount() const {
    const int n = HeldPointCount();
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (IsValidReading(points[i].value)) ++count;
    return count;
}

namespace {
// The lowest (or highest) valid reading; 0 when none is valid.
template <typename Better>
float ValidExtreme(const Component& c, Better better) {
    const int n = c.HeldPointCount();
    bool found = false;
    int32_t best = 0;
    for (int i = 0; i < n; ++i) {
        const int32_t v = c.points[i].value;
        if (!IsValidReading(v)) continue;
        if (!found || better(v, best)) best = v;
        found = true;
    }
    return static_cast<float>(best);
}
}  // namespace

float Component::ComputeMax() {
    if (HeldPointCount() == 0) return maxValue;
    maxValue = ValidExtreme(*this, [](int32_t a, int32_t b) { return a > b; });
    return maxValue;
}

float Component::ComputeMin() {
    if (HeldPointCount() == 0) return minValue;
    minValue = ValidExtreme(*this, [](int32_t a, int32_t b) { return a < b; });
    return minValue;
}

float Component::ComputeAverage() const {
    const int n = HeldPointCount();
    int64_t sum = 0;
    int valid = 0;
    for (int i = 0; i < n; ++i) {
        if (!IsValidReading(points[i].value)) continue;
        sum += points[i].value;
        ++valid;
    }
    return valid == 0 ? 0.0f : static_cast<float>(static_cast<double>(sum) / valid);
}

int Component::CountPassing() {
    const int n = HeldPointCount();
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (VerdictOf(points[i].value) == Verdict::Passed) ++count;
    passCount = static_cast<float>(count);
    return count;
}

namespace {
float RateOf(float passed, int valid) {
    return valid > 0 ? passed / static_cast<float>(valid) : 0.0f;
}
}  // namespace

void Component::RecomputePass() {
    CountPassing();
    passRate = RateOf(passCount, ValidCount());
    if (listener_) listener_->OnPassRecomputed(*this);
}

void Component::RecomputeStatistics() {
    if (pointCount <= 0) {
        maxValue = minValue = passCount = passRate = 0;
        return;
    }
    ComputeMax();
    ComputeMin();
    CountPassing();
    passRate = RateOf(passCount, ValidCount());
}

bool Component::InsertPointAt(int index) {
    points.insert(points.begin() + index, MeasuringPoint{});
    pointCount = static_cast<int32_t>(points.size());
    return true;
}

bool Component::InsertPointAbove(int row, int /*column*/) {
    if (row < 0 || row > pointCount) return false;
    return InsertPointAt(row);
}

bool Component::InsertPointBelow(int row, int /*column*/) {
    if (row < 0 || row > pointCount - 1) return false;
    return InsertPointAt(row + 1);
}

bool Component::DeletePoint(int row, int /*column*/) {
    if (row < 0 || row > pointCount - 1) return false;
    points.erase(points.begin() + row);
    pointCount = static_cast<int32_t>(points.size());
    return true;
}

void Component::ResizePoints(int32_t count) {
    if (count < 0) count = 0;
    points.assign(static_cast<std::size_t>(count), MeasuringPoint{});
    pointCount = count;
}

}  // namespace ohmlet
