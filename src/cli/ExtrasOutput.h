#pragma once
// A component's survey grid and conditions as the commands show them.
#include <string>

#include <nlohmann/json.hpp>

#include "cli/JsonStream.h"
#include "data/SurveyGrid.h"

namespace ohmlet::cli {

// Any JSON value (keys sorted, as nlohmann keeps them) into the stream.
void WriteJsonValue(JsonStream& json, const nlohmann::json& value);

// One line for a table: "grid 4 x 5, 100 x 100 mm, rows from top-left; probe 50 mm, ...";
// empty without extras.
std::string ExtrasLine(const ComponentExtras& extras);

}  // namespace ohmlet::cli
