#pragma once
// The readings as CSV for scripts and other programs: a header line, then one line
// per reading of every selected component, UTF-8 behind a byte-order mark so that
// spreadsheet programs on Windows take it for UTF-8 too.
#include <QString>
#include <vector>

#include "data/Component.h"
#include "report/office/OfficeOutcome.h"

namespace ohmlet {

struct CsvOptions {
    bool byteOrderMark = true;  // EF BB BF ahead of the header
};

// "number,name,testDate,point,value,isoDate"; `point` counts from 1 as the data view
// does, `value` is the reading as stored, in kΩ·cm, and `isoDate` is the test date as
// YYYY-MM-DD, empty when the stored date names no real day. `isoDate` comes last so
// that scripts reading the first five columns by position keep working. A text field in which
// a cell could begin with =, +, -, @, a tab or a carriage return (at its start or after a
// comma, semicolon or tab, spaces and quotes skipped) is written with a leading ' so that
// spreadsheet programs show it as text instead of running it as a formula; a field holding
// a separator of any locale is quoted. Readings stay plain numbers.
OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components, const QString& outputPath,
                               const CsvOptions& options = {});
// The same for a file name given as the system's bytes, which need not be UTF-8.
OfficeOutcome WriteReadingsCsv(const std::vector<Component>& components,
                               const std::string& localPath, const CsvOptions& options = {});

}  // namespace ohmlet
