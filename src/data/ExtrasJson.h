#pragma once
// A component's extras as JSON: how the file's trailer keeps them and how the command
// line shows them.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "data/SurveyGrid.h"

namespace ohmlet {

// Deeper JSON than this is no extras of ours; refusing it keeps every later walk of the
// value shallow.
inline constexpr int kMaxExtrasDepth = 32;

// "grid", "conditions" and the keys this version does not know; an empty object for none.
nlohmann::json ExtrasToJson(const ComponentExtras& extras);
// The conditions alone; unset fields are left out.
nlohmann::json ConditionsToJson(const SurveyConditions& conditions);

// One component's entry back into extras. A value that cannot be used is dropped (a grid
// whole, a condition field by field), each with the end of a sentence in `problems`
// ("has 0 rows"); keys this version does not know go to otherKeys.
ComponentExtras ExtrasFromJson(const nlohmann::json& entry, std::vector<std::string>& problems);

// JSON text parsed without exceptions: a discarded value when it is not valid JSON or
// nests deeper than kMaxExtrasDepth.
nlohmann::json ParseExtrasJson(const char* begin, const char* end);

}  // namespace ohmlet
