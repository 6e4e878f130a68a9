#include "launcher/ProgramStarter.h"

#include <QDir>
#include <QProcess>
#include <utility>

namespace kiosa {

QString RelativeProgramPath(LaunchedProgram program) {
#ifdef Q_OS_WIN
    const QString suffix = QStringLiteral(".exe");
#else
    const QString suffix;
#endif
    switch (program) {
        case LaunchedProgram::Ohmlet:
            return QStringLiteral("gangjin/Ohmlet") + suffix;
        case LaunchedProgram::Ferrolog:
            return QStringLiteral("xiushi/Ferrolog") + suffix;
    }
    return QString();
}

ProgramStarter::ProgramStarter(QString launcherFolder, StartProcessFunction startProcess)
    : launcherFolder_(std::move(launcherFolder)), startProcess_(std::move(startProcess)) {}

QString ProgramStarter::ProgramPath(LaunchedProgram program) const {
    return QDir::cleanPath(QDir(launcherFolder_).filePath(RelativeProgramPath(program)));
}

bool ProgramStarter::Start(LaunchedProgram program) const {
    if (!startProcess_) return false;
    return startProcess_(ProgramPath(program),
                         program == LaunchedProgram::Ohmlet ? ohmletArguments_ : QStringList());
}

bool ProgramStarter::StartDetached(const QString& program, const QStringList& arguments) {
    // No file is named: the programs open with an empty document.
    return QProcess::startDetached(program, arguments);
}

}  // namespace kiosa
