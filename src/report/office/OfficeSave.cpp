#include "report/office/OfficeSave.h"

#include <QByteArray>
#include <QFile>
#include <new>

#include "data/SafeFile.h"

namespace ohmlet {

OfficeOutcome SaveOfficeFile(const std::string& localPath, const OfficeProducer& produce) {
    const QString outputPath = QFile::decodeName(QByteArray::fromStdString(localPath));
    SafeFileWriter file(localPath);
    SafeWriteResult written = file.Open();
    if (!written.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(written));
    QString cause;
    try {
        cause = produce([&](const char* data, std::size_t size) {
            if (written.Ok()) written = file.Write(data, size);
            return written.Ok();
        });
    } catch (const std::bad_alloc&) {
        cause = QStringLiteral("There is not enough memory to write %1.").arg(outputPath);
    }
    // The writer's own failure is the cause; what the producer made of it comes second.
    if (!written.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(written));
    if (!cause.isEmpty()) {
        file.Abort();
        return OfficeOutcome::Failed(outputPath, cause);
    }
    written = file.Commit();
    if (!written.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(written));
    return OfficeOutcome::Written(outputPath);
}

}  // namespace ohmlet
