#include "OfficeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ohmlet {

namespace {

constexpr QFileDevice::Permissions kPrivate =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;

constexpr QFileDevice::Permissions kShared = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                             QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                             QFileDevice::WriteOther | QFileDevice::ExeOther;

bool IsPrivateFolder(const QString& path) {
    QFileInfo info(path);
    if (!info.isDir() || info.isSymLink() || !info.isWritable()) return false;
#ifdef Q_OS_UNIX
    if (info.ownerId() != ::geteuid()) return false;
#endif
    return (QFile::permissions(path) & kShared) == 0;
}

}  // namespace

QString OfficeOutputFolder() {
    for (auto location : {QStandardPaths::RuntimeLocation, QStandardPaths::CacheLocation}) {
        const QString base = QStandardPaths::writableLocation(location);
        if (base.isEmpty()) continue;
        const QString folder = QDir(base).filePath(QStringLiteral("ohmlet-office"));
        if (!QFileInfo(folder).exists()) {
            QDir().mkpath(base);
            QDir().mkdir(folder, kPrivate);
        }
        if (IsPrivateFolder(folder)) return folder;
    }
    return {};
}

QString NewOfficeOutputPath(const QString& suffix) {
    const QString folder = OfficeOutputFolder();
    if (folder.isEmpty()) return {};
    // A name no file has; the writer creates the file whole, so a command that ends up
    // writing nothing leaves nothing. Nobody else can enter the folder to take the name.
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral("数据表格-XXXXXX.") + suffix));
    if (!file.open()) return {};
    return file.fileName();  // removed again when `file` goes
}

}  // namespace ohmlet
