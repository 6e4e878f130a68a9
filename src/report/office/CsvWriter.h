#pragma once
// The readings as CSV for scripts and other programs: a header line, then one line
// per reading of every selected component, UTF-8.
#include <QString>
#include <vector>

#include "Component.h"
#include "OfficeOutcome.h"

namespace ohmlet {

// "number,name,testDate,point,value"; `point` counts from 1 as the data view does, and
// `value` is the reading as stored, in kΩ·cm. A text field that begins with =, +, -, @,
// a tab or a carriage return is written with a leading ' so that spreadsheet programs
// show it as text instead of running it as a formula; readings stay plain numbers.
OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components, const QString& outputPath);
// The same for a file name given as the system's bytes, which need not be UTF-8.
OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components,
                               const std::string& localPath);

}  // namespace ohmlet
