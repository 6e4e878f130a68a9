#include "report/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtGlobal>

namespace ohmlet {

namespace {

QString WithSeparator(const QString& folder) {
    if (folder.isEmpty() || folder.endsWith('/') || folder.endsWith('\\')) return folder;
    return folder + '/';
}

}  // namespace

QString ChooseSettingsFolder(SettingsAccess access, bool programFolderWritable,
                             bool fileInUserFolder, const QString& programFolder,
                             const QString& userFolder) {
    if (programFolderWritable) return programFolder;
    if (access == SettingsAccess::Write) return userFolder;
    return fileInUserFolder ? userFolder : programFolder;
}

QString UserSettingsFolder() {
    return WithSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/Ohmlet"));
}

bool OpenSettingsFile(IniFile& file, const QString& programFolder, const std::string& baseName,
                      SettingsAccess access) {
    const QString program = WithSeparator(programFolder);
    const bool writable = QFileInfo(program.isEmpty() ? QStringLiteral(".") : program).isWritable();
    // Asked only when it matters: settings are read for every printed page.
    const QString user = writable ? QString() : UserSettingsFolder();
    const QString fileName = QString::fromStdString(baseName) + QStringLiteral(".ini");
    const bool inUser = !writable && QFileInfo::exists(user + fileName);
    const QString folder = ChooseSettingsFolder(access, writable, inUser, program, user);
    if (access == SettingsAccess::Write && folder == user) QDir().mkpath(user);
    file.SetPath(QFile::encodeName(folder).toStdString());
    file.SetFileName(baseName);
    if (access == SettingsAccess::Write) return file.OpenForWrite();
    const bool opened = file.OpenForRead();
    // Read as if absent; whoever uses the settings still hears why they were left out.
    if (!file.LastOutcome().Ok()) qWarning("%s", file.LastOutcome().text.c_str());
    return opened;
}

}  // namespace ohmlet
