#pragma once
// Opens a file with the desktop's default program. Qt's own call only says whether the
// launcher started, not whether any program took the file (xdg-open ends with 3 when none
// is set up), so on Linux the launcher's exit status is watched and a failure reported.
#include <QString>
#include <functional>

class QObject;

namespace ohmlet {

// `failed` runs (on the UI thread, while `context` lives) when no program opened `path`,
// possibly after this returns.
void OpenWithDesktop(const QString& path, QObject* context, std::function<void()> failed);

}  // namespace ohmlet
