#include "cli/CliSettings.h"

#include <QCoreApplication>

#include "cli/CliCommon.h"
#include "report/InterpretationSettings.h"

namespace ohmlet::cli {

QString ProgramFolder() {
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    static int argc = 1;
    static char name[] = "ohmlet-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    return QCoreApplication::applicationDirPath();
}

void ApplyProgramSettings() {
    for (const std::string& problem : ApplyInterpretationSettings(ProgramFolder()).problems)
        Warn("settings: " + problem + "; the default is used.");
}

}  // namespace ohmlet::cli
