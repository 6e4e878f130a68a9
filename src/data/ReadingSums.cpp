#include "data/ReadingSums.h"

#include <algorithm>
#include <cstddef>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define OHMLET_VECTOR_FORMS 1
#include <immintrin.h>
#endif

namespace ohmlet {

static_assert(sizeof(MeasuringPoint) == 12 && offsetof(MeasuringPoint, value) == 4,
              "the vector form reads every third 32-bit word from the second on");

namespace kernels {

ReadingSums AddUpReadingsPortable(const MeasuringPoint* p, std::size_t n) {
    ReadingSums r;
    r.min = r.max = p[0].value;
    for (std::size_t i = 0; i < n; ++i) r.Add(p[i].value);
    return r;
}

void CumulateAndClearPortable(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into) {
    uint32_t total = 0;
    for (std::size_t i = 0; i < n; ++i) {
        total += bins[i];
        upTo[i] = total;
        if (into) into[i] += bins[i];
        bins[i] = 0;
    }
}

#if OHMLET_VECTOR_FORMS

bool HasVectorForms() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

__attribute__((target("avx2"))) ReadingSums AddUpReadingsVector(const MeasuringPoint* p,
                                                                std::size_t n) {
    // Eight points are 24 words in three loads; their values are words 1, 4, 7 of the
    // first, 2, 5 of the second and 0, 3, 6 of the third. Those places do not overlap,
    // so two blends gather all eight; their order does not matter to these sums.
    constexpr int kFromSecond = 0x24;  // words 2 and 5
    constexpr int kFromThird = 0x49;   // words 0, 3 and 6
    const __m256i zero = _mm256_setzero_si256();
    __m256i low = _mm256_set1_epi32(p[0].value);
    __m256i high = low;
    __m256i sum = zero;      // four 64-bit lanes
    __m256i squares = zero;  // likewise
    std::size_t i = 0;
    const std::size_t whole = n - n % 8;
    while (i < whole) {
        // In the window a reading is below 2^14 and its square below 2^28, so eight
        // rounds fit the 32-bit lanes before they are widened.
        __m256i sum32 = zero;
        __m256i squares32 = zero;
        for (int round = 0; round < 8 && i < whole; ++round, i += 8) {
            const char* at = reinterpret_cast<const char*>(p + i);
            const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
            const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
            const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 64));
            const __m256i v =
                _mm256_blend_epi32(_mm256_blend_epi32(a, b, kFromSecond), c, kFromThird);
            low = _mm256_min_epi32(low, v);
            high = _mm256_max_epi32(high, v);
            sum32 = _mm256_add_epi32(sum32, v);
            // Below 2^15 a reading's high half-word is 0, so this is its square.
            squares32 = _mm256_add_epi32(squares32, _mm256_madd_epi16(v, v));
        }
        sum = _mm256_add_epi64(sum, _mm256_add_epi64(_mm256_unpacklo_epi32(sum32, zero),
                                                     _mm256_unpackhi_epi32(sum32, zero)));
        squares =
            _mm256_add_epi64(squares, _mm256_add_epi64(_mm256_unpacklo_epi32(squares32, zero),
                                                       _mm256_unpackhi_epi32(squares32, zero)));
    }
    alignas(32) int32_t lows[8];
    alignas(32) int32_t highs[8];
    alignas(32) uint64_t sums[4];
    alignas(32) uint64_t squareSums[4];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lows), low);
    _mm256_store_si256(reinterpret_cast<__m256i*>(highs), high);
    _mm256_store_si256(reinterpret_cast<__m256i*>(sums), sum);
    _mm256_store_si256(reinterpret_cast<__m256i*>(squareSums), squares);
    ReadingSums r;
    r.min = *std::min_element(lows, lows + 8);
    r.max = *std::max_element(highs, highs + 8);
    r.sum = sums[0] + sums[1] + sums[2] + sums[3];
    r.squares = squareSums[0] + squareSums[1] + squareSums[2] + squareSums[3];
    for (; i < n; ++i) r.Add(p[i].value);
    return r;
}

// Eight bins at a time: their running totals within the eight, plus the total so far.
template <bool kMove>
__attribute__((target("avx2"))) std::size_t CumulateEights(uint32_t* bins, std::size_t n,
                                                           uint32_t* upTo, uint32_t* into) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i last = _mm256_set1_epi32(7);
    __m256i total = zero;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i* from = reinterpret_cast<__m256i*>(bins + i);
        const __m256i x = _mm256_loadu_si256(from);
        if (kMove) {
            __m256i* to = reinterpret_cast<__m256i*>(into + i);
            _mm256_storeu_si256(to, _mm256_add_epi32(_mm256_loadu_si256(to), x));
        }
        _mm256_storeu_si256(from, zero);
        // Running totals within each half, then the lower half's total carried up.
        __m256i run = _mm256_add_epi32(x, _mm256_slli_si256(x, 4));
        run = _mm256_add_epi32(run, _mm256_slli_si256(run, 8));
        run = _mm256_add_epi32(
            run, _mm256_shuffle_epi32(_mm256_permute2x128_si256(run, run, 0x08), 0xFF));
        // The total carried on waits only on an addition, not on the shuffle.
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(upTo + i), _mm256_add_epi32(run, total));
        total = _mm256_add_epi32(total, _mm256_permutevar8x32_epi32(run, last));
    }
    return i;
}

void CumulateAndClearVector(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into) {
    const std::size_t done = into ? CumulateEights<true>(bins, n, upTo, into)
                                  : CumulateEights<false>(bins, n, upTo, into);
    const uint32_t before = done > 0 ? upTo[done - 1] : 0;
    CumulateAndClearPortable(bins + done, n - done, upTo + done, into ? into + done : nullptr);
    for (std::size_t i = done; i < n; ++i) upTo[i] += before;
}

#else

bool HasVectorForms() { return false; }
ReadingSums AddUpReadingsVector(const MeasuringPoint* p, std::size_t n) {
    return AddUpReadingsPortable(p, n);
}
void CumulateAndClearVector(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into) {
    CumulateAndClearPortable(bins, n, upTo, into);
}

#endif

}  // namespace kernels

ReadingSums AddUpReadings(const MeasuringPoint* p, std::size_t n) {
    return kernels::HasVectorForms() ? kernels::AddUpReadingsVector(p, n)
                                     : kernels::AddUpReadingsPortable(p, n);
}

void CountIntoBins(const MeasuringPoint* p, std::size_t n, uint32_t* bins) {
    // Four at a time: the loop's own upkeep is most of what a single count costs.
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        ++bins[p[i].value];
        ++bins[p[i + 1].value];
        ++bins[p[i + 2].value];
        ++bins[p[i + 3].value];
    }
    for (; i < n; ++i) ++bins[p[i].value];
}

void CumulateAndClear(uint32_t* bins, std::size_t n, uint32_t* upTo, uint32_t* into) {
    if (kernels::HasVectorForms())
        kernels::CumulateAndClearVector(bins, n, upTo, into);
    else
        kernels::CumulateAndClearPortable(bins, n, upTo, into);
}

}  // namespace ohmlet
