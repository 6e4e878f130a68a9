#include "CsvWriter.h"

#include <QSaveFile>
#include <new>
#include <string>

#include "GbkCodec.h"
#include "OfficeLayout.h"

namespace ohmlet {

namespace {

// A field with a separator, a quote or a line break is quoted, its quotes doubled.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

}  // namespace

OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components,
                               const QString& outputPath) {
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly))
        return OfficeOutcome::Failed(
            outputPath,
            QStringLiteral("%1 cannot be written: %2.").arg(outputPath, file.errorString()));
    try {
        std::string out = "number,name,testDate,point,value\n";
        for (const Component* c : SelectedComponents(components)) {
            const std::string lead = CsvField(FromGbk(c->GetNumber()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->GetName()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->GetTestDate()).toStdString()) + ',';
            const int n = ShownPointCount(*c);
            for (int j = 0; j < n; ++j) {
                out += lead;
                out += std::to_string(j + 1);
                out += ',';
                out += std::to_string(ReadingAt(*c, j));
                out += '\n';
                if (out.size() >= (1u << 20)) {
                    if (file.write(out.data(), static_cast<qint64>(out.size())) < 0) break;
                    out.clear();
                }
            }
        }
        file.write(out.data(), static_cast<qint64>(out.size()));
    } catch (const std::bad_alloc&) {
        file.cancelWriting();
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
    if (!file.commit())
        return OfficeOutcome::Failed(
            outputPath,
            QStringLiteral("%1 cannot be written: %2.").arg(outputPath, file.errorString()));
    return OfficeOutcome::Written(outputPath);
}

}  // namespace ohmlet
