// ohmlet-cli info: the component list with the statistics the control panel shows.
#include <cstdio>
#include <iostream>

#include <QList>
#include <QString>

#include "cli/CliCommands.h"
#include "cli/ExtrasOutput.h"
#include "data/DzlFile.h"

namespace ohmlet::cli {
namespace {

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

}  // namespace

int RunInfo(Args args) {
    if (args.size() != 1) return UsageError("info takes one DZL file.", args);
    const std::string& path = args[0];
    DzlReadResult file = ReadDzlWarning(path);
    if (!file.Ok()) return Fail(kExitIo, file.text);

    std::cout << Pad("No.", 6) << Pad("Number", 8) << Pad("Name", 24) << Pad("Date", 18)
              << Pad("Points", 8) << Pad("Max", 10) << Pad("Min", 10) << "Average\n";
    long long points = 0;
    long long passing = 0;
    int index = 0;
    char line[64];
    for (Component& c : file.components) {
        ++index;
        std::cout << Pad(std::to_string(index), 6) << Pad(GbkToUtf8(c.Number()), 8)
                  << Pad(GbkToUtf8(c.Name()), 24) << Pad(GbkToUtf8(c.TestDate()), 18)
                  << Pad(std::to_string(c.pointCount), 8);
        if (c.pointCount > 0) {
            std::cout << Pad(Number(c.ComputeMax()), 10) << Pad(Number(c.ComputeMin()), 10)
                      << Number(c.ComputeAverage());
        } else {
            std::cout << Pad("-", 10) << Pad("-", 10) << "-";
        }
        std::cout << '\n';
        if (!c.extras.IsEmpty()) std::cout << Pad("", 6) << ExtrasLine(c.extras) << '\n';
        points += c.pointCount;
        passing += c.CountPassing();
    }
    std::snprintf(line, sizeof line, "%.1f%%", points > 0 ? 100.0 * passing / points : 0.0);
    std::cout << "\nComponents: " << file.components.size() << "\nReadings: " << points
              << "\nReadings in the pass band: " << passing << "\nOverall pass rate: " << line
              << '\n';
    return kExitOk;
}

const CommandHelp kInfoHelp = {
    "Lists the components of a DZL file with their point count, maximum, minimum and "
    "average, then the totals.",
    {}};

}  // namespace ohmlet::cli
