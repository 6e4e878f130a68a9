// Full statistics against the file read they follow, at the sizes the instrument makes:
//   stats_bench [FOLDER]   (default: the temp folder)
// Two files: the instrument's largest download (one component of 32,767 readings) and a
// merged file of 100 such downloads. Every component is ticked, so the set over the
// ticked ones holds every reading. Prints, per file, the best of 31 rounds of the read
// alone, the statistics alone and both as `ohmlet-cli stats` does them, in wall time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "data/DzlFile.h"
#include "data/ReadingStats.h"

using namespace ohmlet;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kLargestDownload = 32767;
constexpr int kRounds = 31;  // a shared machine pauses now and then

template <typename F>
double BestMs(F f) {
    double best = 1e9;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        f();
        best =
            std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

// Readings spread like a site's: most between 10 and 150 kΩ·cm, a few far out.
std::vector<Component> SiteFile(int components, std::mt19937& random) {
    std::lognormal_distribution<double> spread(3.8, 0.6);
    std::vector<Component> list(static_cast<std::size_t>(components));
    for (int i = 0; i < components; ++i) {
        Component& c = list[static_cast<std::size_t>(i)];
        c.SetNumber(std::to_string(i + 1));
        c.designValue = 45;
        c.lowerTolerance = -20;
        c.upperTolerance = 30;
        c.ResizePoints(kLargestDownload);
        for (auto& p : c.points) p.value = static_cast<int32_t>(spread(random));
    }
    return list;
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::string path = (folder / "ohmlet-stats-bench.DZL").string();
    const ClassTable table = ClassTable::Rilem();
    std::mt19937 random(1);
    long long sink = 0;

    std::printf("%-26s %10s %10s %10s\n", "stats file", "read ms", "stats ms", "both ms");
    for (int components : {1, 100}) {
        const std::vector<Component> list = SiteFile(components, random);
        if (!WriteDzlFile(path, list).Ok()) return 1;
        const double read = BestMs([&] {
            const DzlReadResult r = ReadDzlFile(path);
            if (!r.Ok() || r.components.size() != list.size()) std::abort();
        });
        const double stats =
            BestMs([&] { sink += ComputeDocumentStats(list, table).selected.count; });
        const double both = BestMs([&] {
            const DzlFileStats r = ReadDzlFileWithStats(path, table);
            if (!r.file.Ok()) std::abort();
            sink += r.stats.selected.count;
        });
        std::filesystem::remove(path);
        if (sink != 2LL * kRounds * components * kLargestDownload) std::abort();
        sink = 0;
        const std::string shape =
            std::to_string(components) + " x " + std::to_string(kLargestDownload) + " readings";
        std::printf("%-26s %10.3f %10.3f %10.3f\n", shape.c_str(), read, stats, both);
    }
    return 0;
}
