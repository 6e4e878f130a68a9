// ohmlet-cli criterion: a minimum or a band given to components in a copy of the file,
// refused on the same grounds as in the window.
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "cli/CliCommands.h"
#include "data/Criterion.h"
#include "data/DzlFile.h"

namespace ohmlet::cli {
namespace {

// "45,-20,30": design value and the two deviations.
bool ParseBand(const std::string& text, Criterion& band) {
    std::stringstream in(text);
    std::string part;
    int values[3];
    for (int& v : values)
        if (!std::getline(in, part, ',') || !ParseWhole(part, v)) return false;
    if (std::getline(in, part)) return false;
    band = {static_cast<float>(values[0]), static_cast<float>(values[1]),
            static_cast<float>(values[2])};
    return true;
}

// The criterion the options ask for, or a usage error's text in `error`.
std::optional<Criterion> WantedCriterion(const std::string& minimum, const std::string& band,
                                         std::string& error) {
    if (minimum.empty() == band.empty()) {
        error = "give either --minimum X or --band DESIGN,LOWER,UPPER.";
        return std::nullopt;
    }
    if (!minimum.empty()) {
        int x = 0;
        if (!ParseWhole(minimum, x)) {
            error = "--minimum takes a whole number of kΩ·cm, not '" + minimum + "'.";
            return std::nullopt;
        }
        if (const std::optional<CriterionFault> fault = MinimumProblem(static_cast<float>(x))) {
            error = "the criterion was not changed: " + CriterionFaultText(*fault) + ".";
            return std::nullopt;
        }
        return MinimumCriterion(static_cast<float>(x));
    }
    Criterion wanted;
    if (!ParseBand(band, wanted)) {
        error = "--band takes three whole numbers: DESIGN,LOWER,UPPER, not '" + band + "'.";
        return std::nullopt;
    }
    if (const std::optional<CriterionFault> fault = CriterionProblem(wanted)) {
        error = "the criterion was not changed: " + CriterionFaultText(*fault) + ".";
        return std::nullopt;
    }
    return wanted;
}

}  // namespace

int RunCriterion(Args args) {
    std::string minimum, band, number, output;
    if (!TakeOption(args, "--minimum", "--minimum", minimum) ||
        !TakeOption(args, "--band", "--band", band) ||
        !TakeOption(args, "--component", "--component", number) ||
        !TakeOption(args, "-o", "--output", output))
        return UsageError("--minimum, --band, --component and -o each need a value.");
    const bool ticked = TakeFlag(args, "--ticked");
    if (args.size() != 1 || output.empty() || (ticked && !number.empty()))
        return UsageError(
            "criterion takes one DZL file, --minimum X or --band DESIGN,LOWER,UPPER, "
            "--component NUMBER or --ticked (else every component), and -o OUT.DZL.",
            args);
    std::string error;
    const std::optional<Criterion> wanted = WantedCriterion(minimum, band, error);
    if (!wanted) return UsageError(error);
    DzlReadResult file = ReadDzlWarning(args[0]);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    if (!number.empty()) {
        const int index = FindComponent(file.components, number, error);
        if (index < 0) return UsageError(args[0] + ": " + error);
        SetCriterion(file.components[static_cast<std::size_t>(index)], *wanted);
    } else if (ticked) {
        ApplyToTicked(file.components, *wanted);
    } else {
        for (Component& c : file.components) SetCriterion(c, *wanted);
    }
    // Figures a file stored are never written back stale beside fresh ones.
    for (Component& c : file.components) c.RecomputeStatistics();
    DzlWriteResult written = WriteDzlFile(output, file.components);
    if (!written.Ok()) return Fail(kExitIo, written.text);
    return kExitOk;
}

const CommandHelp kCriterionHelp = {
    "Gives components a pass criterion and writes the file to OUT.DZL with its readings "
    "unchanged: a minimum (a valid reading of at least X kΩ·cm passes) or a band (from "
    "DESIGN + LOWER to DESIGN + UPPER; LOWER at most 0, UPPER at least 0). The minimum must "
    "lie above 0 and below the overflow limit. Without --component or --ticked every "
    "component gets it.",
    {{"--minimum X", "A minimum of X kΩ·cm."},
     {"--band DESIGN,LOWER,UPPER", "A design value with its two deviations."},
     {"--component NUMBER", "Only this component, by its number."},
     {"--ticked", "Only the ticked components."},
     {"-o, --output OUT.DZL", "The file to write (replaced only once it is whole)."}}};

}  // namespace ohmlet::cli
