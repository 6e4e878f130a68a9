// ohmlet-cli grid and conditions: a component's survey grid or measuring conditions set
// in a copy of the file; the readings are written back as they were read.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <optional>

#include "cli/CliCommands.h"
#include "data/DzlFile.h"
#include "data/SurveyGridNames.h"

namespace ohmlet::cli {
namespace {

// Texts are kept small so a file's extras stay far below what a reader accepts.
constexpr std::size_t kMaxConditionText = 2000;

// An option's value, or nothing when the option is absent; false when it has no value.
bool TakeValue(Args& args, const std::string& name, std::optional<std::string>& value) {
    if (std::find(args.begin(), args.end(), name) == args.end()) return true;
    std::string text;
    if (!TakeOption(args, name, name, text)) return false;
    value = text;
    return true;
}

bool ParseFigure(const std::string& text, double& out) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    out = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(out);
}

// Reads the file, changes the named component's extras and writes every component to
// the output through the safe writer.
int ChangeExtras(const std::string& input, const std::string& number, const std::string& output,
                 const std::function<void(ComponentExtras&)>& change) {
    DzlReadResult file = ReadDzlWarning(input);
    if (!file.Ok()) return Fail(kExitIo, file.text);
    std::string error;
    const int index = FindComponent(file.components, number, error);
    if (index < 0) return UsageError(input + ": " + error);
    change(file.components[static_cast<std::size_t>(index)].extras);
    DzlWriteResult written = WriteDzlFile(output, file.components);
    if (!written.Ok()) return Fail(kExitIo, written.text);
    return kExitOk;
}

struct GridOptions {
    std::optional<std::string> rows, columns, spacing, order, corner;
};

// The grid the options describe, or a usage error in `error`.
std::optional<SurveyGrid> GridFrom(const GridOptions& o, std::string& error) {
    SurveyGrid g;
    if (!o.rows || !o.columns || !ParseWhole(*o.rows, g.rows) ||
        !ParseWhole(*o.columns, g.columns)) {
        error = "grid needs --rows and --columns as whole numbers.";
        return std::nullopt;
    }
    if (o.spacing) {
        const std::size_t comma = o.spacing->find(',');
        const std::string x = o.spacing->substr(0, comma);
        const std::string y = comma == std::string::npos ? x : o.spacing->substr(comma + 1);
        if (!ParseFigure(x, g.spacingXmm) || !ParseFigure(y, g.spacingYmm)) {
            error = "--spacing takes X,Y in millimetres (or one figure for both), not '" +
                    *o.spacing + "'.";
            return std::nullopt;
        }
    }
    if (o.order) {
        auto order = ReadingOrderFromName(*o.order);
        if (!order) {
            error = "--order takes rows, serpentine-rows, columns or serpentine-columns.";
            return std::nullopt;
        }
        g.order = *order;
    }
    if (o.corner) {
        auto corner = GridCornerFromName(*o.corner);
        if (!corner) {
            error = "--first-corner takes top-left, top-right, bottom-left or bottom-right.";
            return std::nullopt;
        }
        g.firstCorner = *corner;
    }
    const std::string problem = GridProblem(g);
    if (!problem.empty()) error = "the grid " + problem + ".";
    if (!problem.empty()) return std::nullopt;
    return g;
}

}  // namespace

int RunGrid(Args args) {
    std::string output, number;
    GridOptions o;
    if (!TakeOption(args, "-o", "--output", output) ||
        !TakeOption(args, "--component", "--component", number) ||
        !TakeValue(args, "--rows", o.rows) || !TakeValue(args, "--columns", o.columns) ||
        !TakeValue(args, "--spacing", o.spacing) || !TakeValue(args, "--order", o.order) ||
        !TakeValue(args, "--first-corner", o.corner))
        return UsageError("an option of grid is missing its value.");
    const bool clear = TakeFlag(args, "--clear");
    if (args.size() != 1 || output.empty() || number.empty())
        return UsageError("usage: grid FILE.DZL --component NUMBER --rows R --columns C -o OUT.DZL",
                          args);
    std::optional<SurveyGrid> grid;
    if (clear) {
        if (o.rows || o.columns || o.spacing || o.order || o.corner)
            return UsageError("--clear takes no other grid option.");
    } else {
        std::string error;
        grid = GridFrom(o, error);
        if (!grid) return UsageError(error);
    }
    return ChangeExtras(args[0], number, output, [&grid](ComponentExtras& e) { e.grid = grid; });
}

int RunConditions(Args args) {
    std::string output, number;
    std::optional<std::string> probe, temperature, moisture, surface, note;
    if (!TakeOption(args, "-o", "--output", output) ||
        !TakeOption(args, "--component", "--component", number) ||
        !TakeValue(args, "--probe-spacing", probe) ||
        !TakeValue(args, "--temperature", temperature) ||
        !TakeValue(args, "--moisture", moisture) || !TakeValue(args, "--surface", surface) ||
        !TakeValue(args, "--note", note))
        return UsageError("an option of conditions is missing its value.");
    const bool clear = TakeFlag(args, "--clear");
    if (args.size() != 1 || output.empty() || number.empty())
        return UsageError("usage: conditions FILE.DZL --component NUMBER [options] -o OUT.DZL",
                          args);
    double spacing = 0, degrees = 0;
    if (probe && (!ParseFigure(*probe, spacing) || spacing < 0))
        return UsageError("--probe-spacing takes millimetres, not '" + *probe + "'.");
    if (temperature && !ParseFigure(*temperature, degrees))
        return UsageError("--temperature takes degrees Celsius, not '" + *temperature + "'.");
    for (const auto* text : {&moisture, &surface, &note})
        if (*text && (*text)->size() > kMaxConditionText)
            return UsageError("a condition's text may hold at most " +
                              std::to_string(kMaxConditionText) + " bytes.");
    return ChangeExtras(args[0], number, output, [&](ComponentExtras& e) {
        SurveyConditions& c = e.conditions;
        if (clear) c = {};
        if (probe) c.probeSpacingMm = spacing;
        if (temperature) c.concreteTemperatureC = degrees;
        if (moisture) c.moistureState = *moisture;
        if (surface) c.surfaceCondition = *surface;
        if (note) c.note = *note;
    });
}

const CommandHelp kGridHelp = {
    "Sets (or clears) the survey grid of one component: how its readings lie on the member. "
    "The file is written to OUT.DZL with its readings unchanged.",
    {{"--component NUMBER", "The component, by its number."},
     {"--rows R, --columns C", "The grid's size, 1 to 100 each."},
     {"--spacing X,Y", "Millimetres between column and between row centres (one figure: both)."},
     {"--order ORDER", "rows (default), serpentine-rows, columns or serpentine-columns."},
     {"--first-corner CORNER", "top-left (default), top-right, bottom-left or bottom-right."},
     {"--clear", "Remove the component's grid."},
     {"-o, --output OUT.DZL", "The file to write (replaced only once it is whole)."}}};

const CommandHelp kConditionsHelp = {
    "Sets the measuring conditions of one component; conditions not given stay as they are. "
    "The file is written to OUT.DZL with its readings unchanged.",
    {{"--component NUMBER", "The component, by its number."},
     {"--probe-spacing MM", "The probe spacing in millimetres."},
     {"--temperature C", "The concrete temperature in degrees Celsius."},
     {"--moisture TEXT", "The moisture state of the concrete."},
     {"--surface TEXT", "The condition of the surface."},
     {"--note TEXT", "A note."},
     {"--clear", "Remove the conditions first, then set those given."},
     {"-o, --output OUT.DZL", "The file to write (replaced only once it is whole)."}}};

}  // namespace ohmlet::cli
