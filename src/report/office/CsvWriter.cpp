#include "report/office/CsvWriter.h"

#include <QDate>
#include <QFile>
#include <string>
#include <string_view>

#include "data/TestDate.h"
#include "report/GbkCodec.h"
#include "report/office/OfficeLayout.h"
#include "report/office/OfficeSave.h"

namespace ohmlet {

namespace {

// Importers split lines on commas, semicolons or tabs, whichever the locale uses, and some
// trim the spaces and quotes around a cell.
constexpr std::string_view kSeparators = ",;\t";
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

// Whether any cell an importer could cut out of `field` would begin a formula.
bool FormulaLike(const std::string& field) {
    for (std::size_t start = 0; start <= field.size();) {
        const std::size_t first = field.find_first_not_of(" \"", start);
        if (first != std::string::npos && kFormulaStarts.find(field[first]) != std::string::npos)
            return true;
        const std::size_t separator = field.find_first_of(kSeparators, start);
        if (separator == std::string::npos) break;
        start = separator + 1;
    }
    return false;
}

// Spreadsheets read a text of digits as a number, so 0001 would show as 1.
bool LosesLeadingZeros(const std::string& field) {
    return field.size() > 1 && field[0] == '0' &&
           field.find_first_not_of("0123456789") == std::string::npos;
}

// A field with a separator, a quote or a line break is quoted, its quotes doubled, so it
// stays one cell whatever the importer splits on; one that could start a formula anywhere
// is also made text with a leading '.
std::string CsvField(const std::string& field) {
    // A formula of nothing but the digits themselves: spreadsheets show the text as it is.
    if (LosesLeadingZeros(field)) return "=\"" + field + "\"";
    const std::string text = FormulaLike(field) ? "'" + field : field;
    if (text.find_first_of(",;\t\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char ch : text) {
        if (ch == '"') quoted += '"';
        quoted += ch;
    }
    return quoted + "\"";
}

std::string IsoDate(const std::string& gbkDate) {
    const std::optional<CalendarDate> fields = ParseTestDate(gbkDate);
    if (!fields) return std::string();
    const QDate date(fields->year, fields->month, fields->day);
    return date.isValid() ? date.toString(Qt::ISODate).toStdString() : std::string();
}

const char* VerdictWord(Component::Verdict verdict) {
    switch (verdict) {
        case Component::Verdict::Passed:
            return "pass";
        case Component::Verdict::Failed:
            return "fail";
        case Component::Verdict::Invalid:
            break;
    }
    return "invalid";
}

}  // namespace

OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components, const QString& outputPath,
                               const CsvOptions& options) {
    return WriteReadingsCsv(components, QFile::encodeName(outputPath).toStdString(), options);
}

OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components,
                               const std::string& localPath, const CsvOptions& options) {
    return SaveOfficeFile(localPath, [&](const OfficeSink& sink) {
        std::string out = options.byteOrderMark ? "\xEF\xBB\xBF" : "";
        // verdict last, so readers of the older columns find them where they were.
        out += "number,name,testDate,point,value,isoDate,verdict\n";
        bool ok = true;
        for (const Component* c : SelectedComponents(components)) {
            const std::string lead = CsvField(FromGbk(c->Number()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->Name()).toStdString()) + ',' +
                                     CsvField(FromGbk(c->TestDate()).toStdString()) + ',';
            const std::string tail = ',' + IsoDate(c->TestDate()) + ',';
            const int n = c->HeldPointCount();
            for (int j = 0; j < n && ok; ++j) {
                out += lead;
                out += std::to_string(j + 1);
                out += ',';
                out += std::to_string(ReadingAt(*c, j));
                out += tail;
                out += VerdictWord(c->VerdictOf(ReadingAt(*c, j)));
                out += '\n';
                if (out.size() >= (1u << 20)) {
                    ok = sink(out.data(), out.size());
                    out.clear();
                }
            }
        }
        if (ok) sink(out.data(), out.size());
        return QString();
    });
}

}  // namespace ohmlet
