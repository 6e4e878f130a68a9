#pragma once
// The passes of the statistics that touch every reading or every bin, each in a portable
// form and, where the processor has them, in 256-bit vector instructions. The statistics
// call the dispatching functions; the tests call both forms and compare them.
#include <cstddef>
#include <cstdint>

#include "data/MeasuringPoint.h"

namespace ohmlet {

// Readings from 0 to kReadingWindow - 1 kΩ·cm, which is where real ones lie, are counted
// into fixed histograms of this many bins.
constexpr int32_t kReadingWindow = 1 << 14;

// One pass over a component's readings. `sum` and `squares` are exact whenever every
// reading is in the window (min >= 0 and max < kReadingWindow); otherwise they are
// meaningless and must not be used.
struct ReadingSums {
    int32_t min = 0;
    int32_t max = 0;
    uint64_t sum = 0;
    uint64_t squares = 0;

    bool InWindow() const { return min >= 0 && max < kReadingWindow; }

    // One reading more; min and max must already hold a reading of the set.
    void Add(int32_t v) {
        const uint32_t u = static_cast<uint32_t>(v);
        min = v < min ? v : min;
        max = v > max ? v : max;
        sum += u;
        squares += static_cast<uint64_t>(u) * u;
    }
};

// n >= 1 readings.
ReadingSums AddUpReadings(const MeasuringPoint* p, std::size_t n);

// Adds one to bins[value] for each reading; every reading is in the window.
void CountIntoBins(const MeasuringPoint* p, std::size_t n, uint32_t* bins);

// For i < n: upTo[i] = bins[0] + ... + bins[i]; into[i] += bins[i] unless `into` is
// null; then bins[i] = 0. The bins add up to less than 2^32.
void CumulateAndClear(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into);

namespace kernels {

ReadingSums AddUpReadingsPortable(const MeasuringPoint* p, std::size_t n);
void CumulateAndClearPortable(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into);

// False where the vector forms are not built in or the processor lacks them; they must
// then not be called.
bool HasVectorForms();
ReadingSums AddUpReadingsVector(const MeasuringPoint* p, std::size_t n);
void CumulateAndClearVector(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into);

}  // namespace kernels
}  // namespace ohmlet
