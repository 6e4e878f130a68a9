#include "cli/ExtrasOutput.h"

#include <cstdio>

#include "cli/CliCommon.h"
#include "data/SurveyGridNames.h"

namespace ohmlet::cli {
namespace {

std::string Figure(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

// Nesting is bounded: the file's JSON is refused past a small depth when read.
void WriteJsonValue(JsonStream& json, const nlohmann::json& value) {
    using Type = nlohmann::json::value_t;
    switch (value.type()) {
        case Type::object:
            json.BeginObject();
            for (const auto& [key, item] : value.items()) {
                json.Key(key);
                WriteJsonValue(json, item);
            }
            json.EndObject();
            break;
        case Type::array:
            json.BeginArray();
            for (const auto& item : value) WriteJsonValue(json, item);
            json.EndArray();
            break;
        case Type::string:
            json.String(value.get_ref<const std::string&>());
            break;
        case Type::boolean:
            json.Bool(value.get<bool>());
            break;
        case Type::number_integer:
            json.Int(value.get<int64_t>());
            break;
        case Type::number_unsigned:
        case Type::number_float:
            json.Number(value.get<double>());
            break;
        default:
            json.Null();
            break;
    }
}

std::string ExtrasLine(const ComponentExtras& e) {
    std::string line;
    if (e.grid) {
        const SurveyGrid& g = *e.grid;
        line = "grid " + std::to_string(g.rows) + " x " + std::to_string(g.columns) + ", " +
               Figure(g.spacingXmm) + " x " + Figure(g.spacingYmm) + " mm, " +
               ReadingOrderName(g.order) + " from " + GridCornerName(g.firstCorner);
    }
    const SurveyConditions& c = e.conditions;
    auto add = [&line](const std::string& part) { line += (line.empty() ? "" : "; ") + part; };
    if (c.probeSpacingMm) add("probe " + Figure(*c.probeSpacingMm) + " mm");
    if (c.concreteTemperatureC) add(Figure(*c.concreteTemperatureC) + " °C");
    if (!c.moistureState.empty()) add("moisture: " + TerminalText(c.moistureState));
    if (!c.surfaceCondition.empty()) add("surface: " + TerminalText(c.surfaceCondition));
    if (!c.note.empty()) add("note: " + TerminalText(c.note));
    if (!e.otherKeys.empty()) add("more kept for a newer version");
    return line;
}

}  // namespace ohmlet::cli
