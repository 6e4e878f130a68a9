#pragma once
#include <cstdint>

namespace ohmlet {

// One reading: the resistivity in kΩ·cm is `value`; `position` and `spare` are carried along.
struct MeasuringPoint {
    int32_t position = 0;
    int32_t value = 0;
    int32_t spare = 0;

    friend bool operator==(const MeasuringPoint& a, const MeasuringPoint& b) {
        return a.position == b.position && a.value == b.value && a.spare == b.spare;
    }
};

}  // namespace ohmlet
