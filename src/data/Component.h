#pragma once
// One component (构件 / test zone): identification, pass band, stored statistics and
// its readings. The field order is the order of the DZL record.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "data/ComponentKind.h"
#include "data/MeasuringPoint.h"
#include "data/ReadingValidity.h"
#include "data/Saturate.h"
#include "data/SurveyGrid.h"

namespace ohmlet {

class Component;

// What a component tells its document after a change, so that the document can
// recompute totals and refresh the views.
class ComponentListener {
public:
    virtual void OnPassRecomputed(Component& component) = 0;
    virtual void OnPointPositionChanged(Component& component) = 0;
    virtual void OnTestDateChanged(Component& component) = 0;

protected:
    ~ComponentListener() = default;
};

class Component {
public:
    static constexpr std::size_t kNumberWidth = 5;
    static constexpr std::size_t kNameWidth = 100;
    static constexpr std::size_t kTestDateWidth = 20;

    char number[kNumberWidth] = {};
    char name[kNameWidth] = {};
    char testDate[kTestDateWidth] = {};
    int32_t selected = 1;
    int32_t auxParam = 0;
    float designValue = 0;
    float lowerTolerance = 0;
    float upperTolerance = 0;
    int32_t pointCount = 0;
    int32_t blockOffset = 0;
    float reservedFloat = 0;
    float maxValue = 0;
    float minValue = 0;
    float passCount = 0;
    float passRate = 0;
    float averageValue = 0;  // set by the instrument decoder only; never saved or copied
    std::vector<MeasuringPoint> points;
    ComponentExtras extras;  // kept in the file's trailer, not in the record

    Component() = default;
    Component(const Component& other);
    Component& operator=(const Component& other);
    Component(Component&&) noexcept = default;
    Component& operator=(Component&&) noexcept = default;

    // The document that is told about changes; none for free-standing components.
    void SetListener(ComponentListener* listener) { listener_ = listener; }

    ComponentKind Kind() const { return KindOfNumber(number[0]); }

    std::string Number() const;
    std::string Name() const;
    std::string TestDate() const;
    void SetNumber(std::string_view text);
    void SetName(std::string_view text);
    void SetTestDate(std::string_view text);  // then the component list is refreshed

    int DesignValue() const { return SaturateToInt(designValue); }
    int LowerTolerance() const { return SaturateToInt(lowerTolerance); }
    int UpperTolerance() const { return SaturateToInt(upperTolerance); }
    void SetDesignValue(int value);
    void SetLowerTolerance(int value);
    void SetUpperTolerance(int value);

    // The readings the component really holds: its count, never negative and never
    // more than the points present, whatever a file or a decoder left in the count.
    int HeldPointCount() const {
        return pointCount <= 0 ? 0
                               : static_cast<int>(std::min<std::size_t>(
                                     static_cast<std::size_t>(pointCount), points.size()));
    }
    bool HasPoint(int index) const { return index >= 0 && index < HeldPointCount(); }
    float PointValue(int index) const;
    void SetPointValue(int index, int value);
    void SetPointPosition(int index, int position);

    // Inline: statistics run it once per distinct reading of every component. Says
    // nothing of validity: see VerdictOf.
    bool Passes(int32_t value) const {
        float v = static_cast<float>(value);
        return designValue + lowerTolerance <= v && v <= designValue + upperTolerance;
    }
    // An invalid reading neither passes nor fails.
    enum class Verdict { Passed, Failed, Invalid };
    Verdict VerdictOf(int32_t value) const {
        if (!IsValidReading(value)) return Verdict::Invalid;
        return Passes(value) ? Verdict::Passed : Verdict::Failed;
    }
    // Of the readings held, those inside the instrument's scale.
    int ValidCount() const;
    int InvalidCount() const { return HeldPointCount() - ValidCount(); }
    // Max, min and mean of the valid readings; 0 when none is valid.
    float ComputeMax();
    float ComputeMin();
    float ComputeAverage() const;
    // Passed valid readings; the rate is over the valid readings.
    int CountPassing();
    void RecomputePass();
    // Max, min, pass count and pass rate from the readings, told to nobody; all zero
    // without valid readings, so a file never keeps figures of readings that are gone.
    void RecomputeStatistics();

    // Point editing; the column is carried for the data view and not used here.
    // Each returns whether the points changed.
    bool InsertPointAbove(int row, int column);
    bool InsertPointBelow(int row, int column);
    bool DeletePoint(int row, int column);

    // Makes points and pointCount agree, the points zeroed.
    void ResizePoints(int32_t count);

private:
    bool InsertPointAt(int index);

    ComponentListener* listener_ = nullptr;
};

}  // namespace ohmlet
