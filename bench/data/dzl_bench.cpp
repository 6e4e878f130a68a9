// DZL read and write throughput on a large generated file:
//   dzl_bench [COMPONENTS [POINTS [FOLDER]]]   (default 5000 x 200, the temp folder)
// Prints MB/s for writing and reading the file (warm cache) and for the in-memory
// encode and decode alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "data/DzlFile.h"

using namespace ohmlet;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

template <typename F>
double Best(int runs, F f) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        best = std::min(best, Seconds(start));
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int components = argc > 1 ? std::atoi(argv[1]) : 5000;
    int points = argc > 2 ? std::atoi(argv[2]) : 200;
    std::filesystem::path folder = argc > 3 ? argv[3] : std::filesystem::temp_directory_path();
    std::string path = (folder / "ohmlet-bench.DZL").string();

    std::mt19937 random(1);
    std::vector<Component> list(static_cast<std::size_t>(components));
    for (int i = 0; i < components; ++i) {
        Component& c = list[static_cast<std::size_t>(i)];
        c.SetNumber(std::to_string(i % 10000));
        c.SetName("bench");
        c.ResizePoints(points);
        for (auto& p : c.points) p.value = static_cast<int32_t>(random() % 100);
    }

    std::vector<unsigned char> bytes = SerializeDzl(list);
    double mb = static_cast<double>(bytes.size()) / 1e6;
    double encode = Best(5, [&] { bytes = SerializeDzl(list); });
    double decode = Best(5, [&] {
        DzlReadResult r = ParseDzl(bytes.data(), bytes.size(), path);
        if (r.components.size() != list.size()) std::abort();
    });
    double write = Best(5, [&] {
        if (!WriteDzlFile(path, list).Ok()) std::abort();
    });
    double read = Best(5, [&] {
        DzlReadResult r = ReadDzlFile(path);
        if (!r.Ok() || r.components.size() != list.size()) std::abort();
    });
    // bench/run times `cat` of the very same bytes.
    if (!std::getenv("OHMLET_BENCH_KEEP_FILE")) std::filesystem::remove(path);

    std::printf("DZL file: %d components x %d readings = %.1f MB\n", components, points, mb);
    std::printf("%-22s %8.1f ms %9.0f MB/s\n", "write file", write * 1e3, mb / write);
    std::printf("%-22s %8.1f ms %9.0f MB/s\n", "read file", read * 1e3, mb / read);
    std::printf("%-22s %8.1f ms %9.0f MB/s\n", "encode (memory only)", encode * 1e3, mb / encode);
    std::printf("%-22s %8.1f ms %9.0f MB/s\n", "decode (memory only)", decode * 1e3, mb / decode);
    return 0;
}
