#pragma once
// What writing a Word, Excel or CSV file came to. The caller (the program's commands
// or ohmlet-cli) decides how to tell the user; nothing here shows a message.
#include <QByteArray>
#include <QFile>
#include <QString>

#include "data/Outcome.h"
#include "data/SafeFile.h"

namespace ohmlet {

enum class OfficeCode {
    Written,         // the file is at `path`
    NothingToWrite,  // the document holds no components: the command does nothing
    Failed,          // `text` says why in one sentence; nothing was left at `path`
};

struct OfficeOutcome : Outcome<OfficeCode> {
    QString path;  // the file written, or the one that was meant to be written

    static OfficeOutcome Written(const QString& path) {
        return Make(OfficeCode::Written, path, {});
    }
    static OfficeOutcome Nothing() { return Make(OfficeCode::NothingToWrite, {}, {}); }
    static OfficeOutcome Failed(const QString& path, const QString& sentence) {
        return Make(OfficeCode::Failed, path, sentence);
    }

private:
    static OfficeOutcome Make(OfficeCode code, const QString& path, const QString& sentence) {
        OfficeOutcome outcome;
        outcome.code = code;
        outcome.text = sentence.toStdString();
        outcome.path = path;
        return outcome;
    }
};

// The safe writer's message, its file name bytes read as the system names files.
inline QString DecodedMessage(const SafeWriteResult& result) {
    return QFile::decodeName(QByteArray::fromStdString(result.text));
}

}  // namespace ohmlet
