// ohmlet-cli export --format docx|xlsx|csv: the same Word table and Excel workbook the
// program writes, and the readings as CSV.
#include <QCoreApplication>
#include <QString>

#include "cli/CliDrawing.h"
#include "cli/CliSettings.h"
#include "cli/ExportFormats.h"
#include "report/InterpretationSettings.h"
#include "report/office/CsvWriter.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet::cli {

namespace {

int Finish(const OfficeOutcome& outcome) {
    if (outcome.Ok()) return kExitOk;
    return Fail(kExitIo, outcome.text);
}

int ExportDocx(const ExportJob& job) {
    // The maps after the gridded components' tables are drawn with text.
    const std::unique_ptr<QGuiApplication> app = StartDrawing();
    return Finish(WriteWordTable(job.components, ProgramFolder(), job.outputPath));
}

int ExportXlsx(const ExportJob& job) {
    // The class table the settings beside the program choose, as the GUI uses.
    const ChosenClassTable chosen = LoadChosenClassTable(ProgramFolder());
    if (!chosen.problem.empty()) Warn(chosen.Warning());
    return Finish(WriteExcelWorkbook(job.components, job.outputPath, chosen.table));
}

int ExportCsv(const ExportJob& job) {
    CsvOptions options;
    options.byteOrderMark = job.byteOrderMark;
    return Finish(WriteReadingsCsv(job.components, job.outputPath, options));
}

const ExportFormatRegistration kDocx("docx", ExportDocx);
const ExportFormatRegistration kXlsx("xlsx", ExportXlsx);
const ExportFormatRegistration kCsv("csv", ExportCsv);

}  // namespace
}  // namespace ohmlet::cli
