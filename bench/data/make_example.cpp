// Writes the bundled example file with the program's own writer:
//   make_example OUT.DZL
// The readings are drawn from a fixed seed, so the file is the same on every run.
#include <QString>
#include <cstdio>
#include <random>

#include "data/DzlFile.h"
#include "report/GbkCodec.h"

using namespace ohmlet;

namespace {

struct Spec {
    const char* number;
    const char* name;
    const char* date;
    int points;
    int selected;
    double centre;  // typical reading, kΩ·cm
};

// A dozen members of one inspection, beams, slabs and columns of a frame building.
const Spec kSpecs[] = {
    {"0001", "1#楼三层梁KL1", "2026年10月12日", 20, 1, 48},
    {"0002", "1#楼三层梁KL2", "2026年10月12日", 25, 1, 52},
    {"0003", "1#楼三层板LB1", "2026年10月12日", 16, 1, 41},
    {"0004", "1#楼三层柱KZ3", "2026年10月13日", 30, 1, 57},
    {"0005", "1#楼四层柱KZ4", "2026年10月13日", 12, 0, 38},
    {"P006", "1#楼四层剖面梁KL5", "2026年10月13日", 40, 1, 45},
    {"W007", "1#楼四层网格板LB2", "2026年10月14日", 60, 1, 50},
    {"0008", "2#楼一层柱KZ1", "2026年10月14日", 10, 1, 33},
    {"0009", "2#楼一层梁L1", "2026年10月14日", 24, 0, 46},
    {"0010", "2#楼二层板LB3", "2026年10月15日", 35, 1, 55},
    {"0011", "2#楼二层剪力墙Q1", "2026年10月15日", 18, 1, 62},
    {"0012", "2#楼屋面梁WKL1", "2026年10月16日", 22, 0, 44},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_example OUT.DZL\n");
        return 2;
    }
    std::mt19937 random(20261012);
    std::vector<Component> components;
    for (const Spec& s : kSpecs) {
        Component c;
        c.SetNumber(s.number);
        c.SetName(ToGbk(QString::fromUtf8(s.name)));
        c.SetTestDate(ToGbk(QString::fromUtf8(s.date)));
        c.selected = s.selected;
        c.auxParam = 16;
        c.designValue = 45.0f;
        c.lowerTolerance = -20.0f;
        c.upperTolerance = 30.0f;
        c.blockOffset = s.points / 2;
        std::normal_distribution<double> spread(s.centre, s.centre * 0.18);
        c.ResizePoints(s.points);
        for (auto& p : c.points) {
            p.value = std::max(3, static_cast<int>(spread(random) + 0.5));
            p.spare = 16;
        }
        c.ComputeMax();
        c.ComputeMin();
        c.CountPassing();
        c.passRate = c.passCount / static_cast<float>(c.pointCount);
        components.push_back(c);
    }
    DzlWriteResult result = WriteDzlFile(argv[1], components);
    if (!result.Ok()) {
        std::fprintf(stderr, "%s\n", result.text.c_str());
        return 1;
    }
    return 0;
}
