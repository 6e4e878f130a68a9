#pragma once
// The readings as CSV for scripts and other programs: a header line, then one line
// per reading of every selected component, UTF-8.
#include <QString>
#include <vector>

#include "Component.h"
#include "OfficeOutcome.h"

namespace ohmlet {

// "number,name,testDate,point,value"; `point` counts from 1 as the data view does, and
// `value` is the reading as stored, in kΩ·cm.
OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components, const QString& outputPath);

}  // namespace ohmlet
