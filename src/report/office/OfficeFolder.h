#pragma once
// Where the Word and Excel files the program opens for the user are written: a folder
// only the user can enter, so nobody else can read them or block their names.
#include <QString>

namespace ohmlet {

// Mode 0700, under the user's runtime folder (or cache folder); empty when none can be made.
QString OfficeOutputFolder();
// A free name in that folder, "数据表格-XXXXXX.<suffix>", so no two outputs share a
// name; empty when the folder cannot be made.
QString NewOfficeOutputPath(const QString& suffix);

}  // namespace ohmlet
