#include "data/ExtrasJson.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "data/SurveyGridNames.h"

namespace ohmlet {
namespace {

using nlohmann::json;

const char* const kGridKeys[] = {"rows",       "columns", "spacingXmm",
                                 "spacingYmm", "order",   "firstCorner"};
const char* const kConditionKeys[] = {"probeSpacingMm", "concreteTemperatureC", "moistureState",
                                      "surfaceCondition", "note"};
// Read and written by the trailer itself, never kept as unknown.
const char* const kEntryKeys[] = {"index", "number", "grid", "conditions"};

template <std::size_t N>
bool IsKnown(const char* const (&keys)[N], const std::string& key) {
    for (const char* k : keys)
        if (key == k) return true;
    return false;
}

template <std::size_t N>
json UnknownKeys(const json& object, const char* const (&known)[N]) {
    json rest = json::object();
    for (const auto& [key, value] : object.items())
        if (!IsKnown(known, key)) rest[key] = value;
    return rest;
}

std::optional<int> WholeNumber(const json& value) {
    if (value.is_number_unsigned())
        return static_cast<int>(std::min<uint64_t>(value.get<uint64_t>(), INT32_MAX));
    if (value.is_number_integer())
        return static_cast<int>(std::clamp<int64_t>(value.get<int64_t>(), INT32_MIN, INT32_MAX));
    return std::nullopt;
}

// Missing keys take the grid's defaults; a present key must have the right type.
std::optional<SurveyGrid> GridFromJson(const json& j, std::string& problem) {
    SurveyGrid g;
    problem.clear();
    if (!j.is_object()) {
        problem = "is not a JSON object";
        return std::nullopt;
    }
    auto rows = j.contains("rows") ? WholeNumber(j["rows"]) : std::optional<int>(0);
    auto columns = j.contains("columns") ? WholeNumber(j["columns"]) : std::optional<int>(0);
    if (!rows || !columns) {
        problem = "has rows or columns that are not whole numbers";
        return std::nullopt;
    }
    g.rows = *rows;
    g.columns = *columns;
    for (auto [key, field] :
         {std::pair{"spacingXmm", &g.spacingXmm}, {"spacingYmm", &g.spacingYmm}}) {
        if (!j.contains(key)) continue;
        if (!j[key].is_number()) {
            problem = std::string("has a ") + key + " that is not a number";
            return std::nullopt;
        }
        *field = j[key].get<double>();
    }
    if (j.contains("order")) {
        const json& o = j["order"];
        auto order = o.is_string() ? ReadingOrderFromName(o.get<std::string>()) : std::nullopt;
        if (!order) {
            problem = "has an unknown reading order";
            return std::nullopt;
        }
        g.order = *order;
    }
    if (j.contains("firstCorner")) {
        const json& c = j["firstCorner"];
        auto corner = c.is_string() ? GridCornerFromName(c.get<std::string>()) : std::nullopt;
        if (!corner) {
            problem = "has an unknown first corner";
            return std::nullopt;
        }
        g.firstCorner = *corner;
    }
    problem = GridProblem(g);
    if (!problem.empty()) return std::nullopt;
    return g;
}

void ReadNumber(const json& j, const char* key, bool nonNegative, std::optional<double>& out,
                std::vector<std::string>& problems) {
    if (!j.contains(key)) return;
    const json& v = j[key];
    if (v.is_number() && std::isfinite(v.get<double>()) && (!nonNegative || v.get<double>() >= 0))
        out = v.get<double>();
    else
        problems.push_back(std::string("has a ") + key + " that is not a usable number");
}

void ReadText(const json& j, const char* key, std::string& out,
              std::vector<std::string>& problems) {
    if (!j.contains(key)) return;
    if (j[key].is_string())
        out = j[key].get<std::string>();
    else
        problems.push_back(std::string("has a ") + key + " that is not text");
}

SurveyConditions ConditionsFromJson(const json& j, std::vector<std::string>& problems) {
    SurveyConditions c;
    if (!j.is_object()) {
        problems.push_back("has conditions that are not a JSON object");
        return c;
    }
    ReadNumber(j, "probeSpacingMm", true, c.probeSpacingMm, problems);
    ReadNumber(j, "concreteTemperatureC", false, c.concreteTemperatureC, problems);
    ReadText(j, "moistureState", c.moistureState, problems);
    ReadText(j, "surfaceCondition", c.surfaceCondition, problems);
    ReadText(j, "note", c.note, problems);
    return c;
}

// The unknown keys of an entry and of its grid and conditions, as one object to write
// back; a dropped grid's go with it.
json OtherKeysOf(const json& entry, bool gridKept) {
    json other = UnknownKeys(entry, kEntryKeys);
    auto keep = [&](const char* key, json rest) {
        if (!rest.empty()) other[key] = std::move(rest);
    };
    if (gridKept) keep("grid", UnknownKeys(entry["grid"], kGridKeys));
    if (entry.contains("conditions") && entry["conditions"].is_object())
        keep("conditions", UnknownKeys(entry["conditions"], kConditionKeys));
    return other;
}

// Kept unknown keys join the entry; a grid's only while the entry has a grid, so a
// cleared grid stays cleared.
void MergeOtherKeys(json& entry, const std::string& otherKeys) {
    if (otherKeys.empty()) return;
    const json other = ParseExtrasJson(otherKeys.data(), otherKeys.data() + otherKeys.size());
    if (!other.is_object()) return;
    for (const auto& [key, value] : other.items()) {
        if (key == "grid" || key == "conditions") {
            if (!value.is_object() || (key == "grid" && !entry.contains(key))) continue;
            if (!entry.contains(key)) entry[key] = json::object();
            for (const auto& [sub, v] : value.items())
                if (!entry[key].contains(sub)) entry[key][sub] = v;
        } else if (!IsKnown(kEntryKeys, key)) {
            entry[key] = value;
        }
    }
}

}  // namespace

json ConditionsToJson(const SurveyConditions& c) {
    json j = json::object();
    // JSON has no NaN or infinity: such a value is left out rather than written as null.
    if (c.probeSpacingMm && std::isfinite(*c.probeSpacingMm))
        j["probeSpacingMm"] = *c.probeSpacingMm;
    if (c.concreteTemperatureC && std::isfinite(*c.concreteTemperatureC))
        j["concreteTemperatureC"] = *c.concreteTemperatureC;
    if (!c.moistureState.empty()) j["moistureState"] = c.moistureState;
    if (!c.surfaceCondition.empty()) j["surfaceCondition"] = c.surfaceCondition;
    if (!c.note.empty()) j["note"] = c.note;
    return j;
}

json ExtrasToJson(const ComponentExtras& extras) {
    json j = json::object();
    if (extras.grid) {
        const SurveyGrid& g = *extras.grid;
        j["grid"] = {{"rows", g.rows},
                     {"columns", g.columns},
                     {"spacingXmm", g.spacingXmm},
                     {"spacingYmm", g.spacingYmm},
                     {"order", ReadingOrderName(g.order)},
                     {"firstCorner", GridCornerName(g.firstCorner)}};
    }
    if (!extras.conditions.IsEmpty()) j["conditions"] = ConditionsToJson(extras.conditions);
    MergeOtherKeys(j, extras.otherKeys);
    return j;
}

ComponentExtras ExtrasFromJson(const json& entry, std::vector<std::string>& problems) {
    ComponentExtras extras;
    if (!entry.is_object()) return extras;
    if (entry.contains("grid")) {
        std::string problem;
        extras.grid = GridFromJson(entry["grid"], problem);
        if (!extras.grid) problems.push_back("has a survey grid that " + problem);
    }
    if (entry.contains("conditions"))
        extras.conditions = ConditionsFromJson(entry["conditions"], problems);
    const json other = OtherKeysOf(entry, extras.grid.has_value());
    if (!other.empty())
        extras.otherKeys = other.dump(-1, ' ', false, json::error_handler_t::replace);
    return extras;
}

json ParseExtrasJson(const char* begin, const char* end) {
    bool tooDeep = false;
    json::parser_callback_t limit = [&tooDeep](int depth, json::parse_event_t, json&) {
        if (depth > kMaxExtrasDepth) tooDeep = true;
        return !tooDeep;
    };
    json j = json::parse(begin, end, limit, false);
    return tooDeep ? json(json::value_t::discarded) : j;
}

}  // namespace ohmlet
