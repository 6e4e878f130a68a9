#pragma once
// Where the settings files live. They belong beside the program; an installed program's
// folder is usually not writable, and then:
//   - writing goes to the per-user configuration folder (…/Ohmlet/);
//   - reading takes the user's copy when there is one, else the program folder's
//     (so settings shipped beside the program still apply).
// While the program folder is writable, the user folder is not consulted at all.
#include <QString>
#include <string>

#include "report/IniFile.h"

namespace ohmlet {

enum class SettingsAccess { Read, Write };

// The rule itself, free of the file system so it can be checked case by case.
QString ChooseSettingsFolder(SettingsAccess access, bool programFolderWritable,
                             bool fileInUserFolder, const QString& programFolder,
                             const QString& userFolder);

// The per-user folder, with a trailing separator.
QString UserSettingsFolder();

// Points `file` at baseName + ".ini" in the folder the rule picks and opens it.
bool OpenSettingsFile(IniFile& file, const QString& programFolder, const std::string& baseName,
                      SettingsAccess access);

}  // namespace ohmlet
