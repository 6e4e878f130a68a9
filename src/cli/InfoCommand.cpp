// ohmlet-cli info: the component list with the statistics the control panel shows.
#include <cstdio>
#include <iostream>

#include <QList>
#include <QString>

#include "cli/CliCommands.h"
#include "cli/ExtrasOutput.h"
#include "data/DzlFile.h"
#include "data/PassRate.h"

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
              << Pad("Points", 8) << Pad("Invalid", 9) << Pad("Max", 10) << Pad("Min", 10)
              << "Average\n";
    long long points = 0;
    long long passing = 0;
    long long invalid = 0;
    int index = 0;
    for (Component& c : file.components) {
        ++index;
        std::cout << Pad(std::to_string(index), 6) << Pad(GbkToUtf8(c.Number()), 8)
                  << Pad(GbkToUtf8(c.Name()), 24) << Pad(GbkToUtf8(c.TestDate()), 18)
                  << Pad(std::to_string(c.pointCount), 8)
                  << Pad(std::to_string(c.InvalidCount()), 9);
        if (c.ValidCount() > 0) {
            std::cout << Pad(Number(c.ComputeMax()), 10) << Pad(Number(c.ComputeMin()), 10)
                      << Number(c.ComputeAverage());
        } else {
            std::cout << Pad("-", 10) << Pad("-", 10) << "-";
        }
        std::cout << '\n';
        if (!c.extras.IsEmpty()) std::cout << Pad("", 6) << ExtrasLine(c.extras) << '\n';
        points += c.HeldPointCount();
        invalid += c.InvalidCount();
        passing += c.CountPassing();
    }
    std::cout << "\nComponents: " << file.components.size() << "\nReadings: " << points
              << "\nInvalid readings (left out): " << invalid
              << "\nReadings in the pass band: " << passing
              << "\nOverall pass rate: " << RateText(passing, points - invalid) << "%\n";
    return kExitOk;
}

const CommandHelp kInfoHelp = {
    "Lists the components of a DZL file with their point count, invalid readings, and the "
    "maximum, minimum and average of the valid ones, then the totals.",
    {}};

}  // namespace ohmlet::cli
