#pragma once
// How a corrosion class is named on screen and on paper: the built-in classes in Chinese,
// a user's classes as their table names them, with the class's range of readings.
#include <QString>
#include <cstddef>

#include "data/CorrosionClasses.h"

namespace ohmlet {

// "可忽略" for "negligible" and so on; any other name as it is (UTF-8).
QString ClassDisplayName(const std::string& name);

// "可忽略 ≥100", "低 50–100", "高 <10": the name and the readings in kΩ·cm it takes.
QString ClassLegend(const ClassTable& table, std::size_t index);

}  // namespace ohmlet
