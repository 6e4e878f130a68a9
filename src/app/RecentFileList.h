#pragma once
// The four most recently opened or saved files, kept in the user's settings under
// the organisation the program has always used.
#include <QString>
#include <QStringList>

namespace ohmlet {

class RecentFileList {
public:
    static constexpr int kSize = 4;

    RecentFileList();
    const QStringList& Files() const { return files_; }
    // Moves path to the top; the oldest entry falls off.
    void Add(const QString& path);
    void Remove(const QString& path);
    void Load();
    void Save() const;

private:
    QStringList files_;
};

}  // namespace ohmlet
