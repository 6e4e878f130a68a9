#include "RecentFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "AppStrings.h"

namespace ohmlet {
namespace {

// One entry per file however it was named: links and "." or ".." resolved where it exists.
QString Canonical(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

RecentFileList::RecentFileList() { Load(); }

void RecentFileList::Load() {
    files_.clear();
    QSettings settings(RegistryKey(), SettingsApplication());
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= kSize; ++i) {
        QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !files_.contains(path)) files_.append(path);
    }
}

void RecentFileList::Save() const {
    QSettings settings(RegistryKey(), SettingsApplication());
    settings.beginGroup(QStringLiteral("Recent File List"));
    for (int i = 1; i <= kSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files_.size())
            settings.setValue(key, files_[i - 1]);
        else
            settings.remove(key);
    }
}

void RecentFileList::Add(const QString& path) {
    const QString full = Canonical(path);
    files_.removeAll(full);
    files_.prepend(full);
    while (files_.size() > kSize) files_.removeLast();
    Save();
}

void RecentFileList::Remove(const QString& path) {
    files_.removeAll(Canonical(path));
    files_.removeAll(path);
    Save();
}

}  // namespace ohmlet
