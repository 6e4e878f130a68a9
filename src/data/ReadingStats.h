#pragma once
// Full statistics of a set of readings: one component's, or those of several together.
// Values that a set cannot define (a mean of no readings, a deviation of one) are absent.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/ClassCounts.h"
#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "data/DzlFile.h"

namespace ohmlet {

// Only valid readings enter the figures; the invalid ones are counted beside them.
struct ReadingStats {
    int64_t count = 0;  // valid readings
    int64_t invalidCount = 0;
    std::optional<double> mean;
    std::optional<double> median;
    std::optional<double> stddev;  // sample deviation, n - 1; needs two readings
    std::optional<double> cv;      // stddev / mean; absent when the mean is 0
    std::optional<double> p10;     // linear between closest ranks, as PERCENTILE.INC
    std::optional<double> p90;
    std::optional<int32_t> min;
    std::optional<int32_t> max;
    std::optional<int64_t> passCount;        // by each component's own pass band
    std::optional<double> passRate;          // exact; shown through RateText
    std::optional<ClassCounts> classCounts;  // in the order of the table
};

ReadingStats ComputeStats(const Component& component, const ClassTable& table);
ReadingStats ComputeStats(const std::vector<const Component*>& components, const ClassTable& table);

struct DocumentStats {
    std::vector<ReadingStats> components;  // one per component, in list order
    ReadingStats selected;                 // over the readings of the ticked components
};

DocumentStats ComputeDocumentStats(const std::vector<Component>& components,
                                   const ClassTable& table);

struct DzlFileStats {
    DzlReadResult file;
    DocumentStats stats;  // of file.components; empty unless the file was read
};

// Reads a DZL file, then works out its statistics with ComputeDocumentStats.
DzlFileStats ReadDzlFileWithStats(const std::string& path, const ClassTable& table);

}  // namespace ohmlet
