#pragma once
// The message the user sees when settings chosen in a dialog could not be saved.
#include <QString>

#include "report/IniFile.h"

class QWidget;

namespace ohmlet {

// Tells the user which settings files could not be saved; nothing when all were.
void ShowSettingsOutcome(QWidget* parent, const QString& title, const SettingsOutcome& outcome);

}  // namespace ohmlet
