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

float Component::ComputeMax() {
    const int n = HeldPointCount();
    if (n == 0) return maxValue;
    int32_t best = points[0].value;
    for (int i = 1; i < n; ++i)
        if (points[i].value > best) best = points[i].value;
    maxValue = static_cast<float>(best);
    return maxValue;
}

float Component::ComputeMin() {
    const int n = HeldPointCount();
    if (n == 0) return minValue;
    int32_t best = points[0].value;
    for (int i = 1; i < n; ++i)
        if (points[i].value < best) best = points[i].value;
    minValue = static_cast<float>(best);
    return minValue;
}

float Component::ComputeAverage() const {
    const int n = HeldPointCount();
    if (n == 0) return 0.0f;
    // The sum wraps as a 32-bit integer, as the instrument's software always did.
    uint32_t sum = 0;
    for (int i = 0; i < n; ++i) sum += static_cast<uint32_t>(points[i].value);
    return static_cast<float>(static_cast<int32_t>(sum)) / static_cast<float>(n);
}

int Component::CountPassing() {
    const int n = HeldPointCount();
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (Passes(points[i].value)) ++count;
    passCount = static_cast<float>(count);
    return count;
}

void Component::RecomputePass() {
    CountPassing();
    if (pointCount > 0) passRate = passCount / static_cast<float>(pointCount);
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
    passRate = passCount / static_cast<float>(pointCount);
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
