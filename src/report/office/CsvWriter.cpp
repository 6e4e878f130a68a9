#include "report/office/CsvWriter.h"

#include <QFile>
#include <new>
#include <string>
#include <string_view>

#include "report/GbkCodec.h"
#include "report/office/OfficeLayout.h"

namespace ohmlet {

namespace {

// A field with a separator, a quote or a line break is quoted, its quotes doubled; one
// that a spreadsheet would take for a formula is made text with a leading '.
std::string CsvField(const std::string& field) {
    const bool formulaLike =
        !field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos;
    const std::string text = formulaLike ? "'" + field : field;
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
    return WriteReadingsCsv(components, QFile::encodeName(outputPath).toStdString());
}

OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components,
                               const std::string& localPath) {
    const QString outputPath = QFile::decodeName(QByteArray::fromStdString(localPath));
    SafeFileWriter file(localPath);
    SafeWriteResult written = file.Open();
    if (!written.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(written));
    try {
        std::string out = "number,name,testDate,point,value\n";
        for (const Component* c : SelectedComponents(components)) {
            const std::string lead = CsvField(FromGbk(c->Number()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->Name()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->TestDate()).toStdString()) + ',';
            const int n = ShownPointCount(*c);
            for (int j = 0; j < n && written.Ok(); ++j) {
                out += lead;
                out += std::to_string(j + 1);
                out += ',';
                out += std::to_string(ReadingAt(*c, j));
                out += '\n';
                if (out.size() >= (1u << 20)) {
                    written = file.Write(out.data(), out.size());
                    out.clear();
                }
            }
        }
        if (written.Ok()) written = file.Write(out.data(), out.size());
    } catch (const std::bad_alloc&) {
        file.Abort();
        return OfficeOutcome::Failed(
            outputPath, QStringLiteral("There is not enough memory to write %1.").arg(outputPath));
    }
    if (written.Ok()) written = file.Commit();
    if (!written.Ok()) return OfficeOutcome::Failed(outputPath, DecodedMessage(written));
    return OfficeOutcome::Written(outputPath);
}

}  // namespace ohmlet
