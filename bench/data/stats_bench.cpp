// Full statistics against the file read they follow, on the same generated file:
//   stats_bench [COMPONENTS [POINTS [FOLDER]]]   (default 5000 x 200 = 1,000,000 readings)
// Every component is ticked, so the set over the ticked ones holds every reading.
// Prints the best of 31 rounds of: the read alone, the statistics alone, and both as
// `ohmlet-cli stats` does them, with the ratio of both to the read; in wall and in
// processor time.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>

#include "data/DzlFile.h"
#include "data/HeapTuning.h"
#include "data/ReadingStats.h"

using namespace ohmlet;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Best wall and processor time of the runs so far. Processor time leaves out the
// waits of a shared machine; the wall time is what a user sees.
struct Timing {
    double wall = 1e9;
    double cpu = 1e9;

    template <typename F>
    void Run(F f) {
        const std::clock_t cpuStart = std::clock();
        const auto start = Clock::now();
        f();
        wall = std::min(wall, Seconds(start));
        cpu = std::min(cpu, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
    }
};

}  // namespace

int main(int argc, char** argv) {
    KeepFreedMemoryForReuse();  // as the programs do
    int components = argc > 1 ? std::atoi(argv[1]) : 5000;
    int points = argc > 2 ? std::atoi(argv[2]) : 200;
    std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
    std::string path = (folder / "ohmlet-stats-bench.DZL").string();

    // Readings spread like a site's: most between 10 and 150 kΩ·cm, a few far out.
    std::mt19937 random(1);
    std::lognormal_distribution<double> spread(3.8, 0.6);
    std::vector<Component> list(static_cast<std::size_t>(components));
    for (int i = 0; i < components; ++i) {
        Component& c = list[static_cast<std::size_t>(i)];
        c.SetNumber(std::to_string(i % 10000));
        c.designValue = 45;
        c.lowerTolerance = -20;
        c.upperTolerance = 30;
        c.ResizePoints(points);
        for (auto& p : c.points) p.value = static_cast<int32_t>(spread(random));
    }
    if (!WriteDzlFile(path, list).Ok()) return 1;

    const ClassTable table = ClassTable::Rilem();
    constexpr int kRounds = 31;  // a shared machine pauses now and then
    long long sink = 0;
    // The file was just written and the heap is fresh: settle both first, then take
    // the best of the rounds, each timing the read alone, the read with statistics
    // and the statistics alone.
    for (int i = 0; i < 2; ++i) sink += static_cast<long long>(ReadDzlFile(path).components.size());
    Timing read;
    Timing both;
    Timing stats;
    for (int round = 0; round < kRounds; ++round) {
        read.Run([&] {
            DzlReadResult r = ReadDzlFile(path);
            if (!r.Ok() || r.components.size() != list.size()) std::abort();
        });
        both.Run([&] {
            DzlFileStats r = ReadDzlFileWithStats(path, table);
            if (!r.file.Ok()) std::abort();
            sink += r.stats.selected.count;
        });
        stats.Run([&] { sink += ComputeDocumentStats(list, table).selected.count; });
    }
    std::filesystem::remove(path);
    if (sink != 2LL * components + 2LL * kRounds * components * points) std::abort();

    const long long readings = static_cast<long long>(components) * points;
    std::printf("stats file: %d components x %d readings = %lld readings\n", components, points,
                readings);
    std::printf("%-22s %8s %8s\n", "", "wall ms", "cpu ms");
    std::printf("%-22s %8.2f %8.2f\n", "read file", read.wall * 1e3, read.cpu * 1e3);
    std::printf("%-22s %8.2f %8.2f\n", "statistics alone", stats.wall * 1e3, stats.cpu * 1e3);
    std::printf("%-22s %8.2f %8.2f\n", "read + statistics", both.wall * 1e3, both.cpu * 1e3);
    std::printf("%-22s %8.2f %8.2f\n", "ratio to the read", both.wall / read.wall,
                both.cpu / read.cpu);
    return 0;
}
