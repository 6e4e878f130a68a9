// Helper for the kill test: saves two different models to one path, alternately, for
// ever (until killed). Prints "ready" once the first save has landed.
#include <cstdio>
#include <string>

#include "data/DzlFile.h"

using namespace ohmlet;

std::vector<Component> Model(int points, int value) {
    Component c;
    c.SetNumber("0001");
    c.ResizePoints(points);
    for (auto& p : c.points) p.value = value;
    return {c, c, c};
}

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string path = argv[1];
    // Sizes differ so that a torn file cannot pass for either.
    const std::vector<Component> models[2] = {Model(50000, 1), Model(70000, 2)};
    for (unsigned long i = 0;; ++i) {
        if (!WriteDzlFile(path, models[i % 2]).Ok()) return 1;
        if (i == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
