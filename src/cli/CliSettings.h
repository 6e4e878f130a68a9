#pragma once
// The settings beside the programs that every command judges readings by.
#include <QString>

namespace ohmlet::cli {

// The folder of ohmlet-cli, where the Word template and the settings are looked up.
QString ProgramFolder();

// Reads the interpretation settings and makes their overflow limit this run's; a value
// that cannot be used is named on stderr and its default taken.
void ApplyProgramSettings();

}  // namespace ohmlet::cli
