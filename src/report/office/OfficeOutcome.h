#pragma once
// What writing a Word, Excel or CSV file came to. The caller (the program's commands
// or ohmlet-cli) decides how to tell the user; nothing here shows a message.
#include <QByteArray>
#include <QFile>
#include <QString>

#include "SafeFile.h"

namespace ohmlet {

struct OfficeOutcome {
    enum class Status {
        Written,         // the file is at `path`
        NothingToWrite,  // the document holds no components: the command does nothing
        Failed,          // `cause` says why; nothing was left at `path`
    };
    Status status = Status::Written;
    QString path;   // the file written, or the one that was meant to be written
    QString cause;  // one sentence, empty unless Failed

    bool ok() const { return status == Status::Written; }

    static OfficeOutcome Written(const QString& path) { return {Status::Written, path, {}}; }
    static OfficeOutcome Nothing() { return {Status::NothingToWrite, {}, {}}; }
    static OfficeOutcome Failed(const QString& path, const QString& cause) {
        return {Status::Failed, path, cause};
    }
};

// The safe writer's message, its file name bytes read as the system names files.
inline QString DecodedMessage(const SafeWriteResult& result) {
    return QFile::decodeName(QByteArray::fromStdString(result.message));
}

}  // namespace ohmlet
