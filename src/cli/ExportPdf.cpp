// ohmlet-cli export --format pdf: the printed report of the selected components, drawn
// exactly as the program prints it, with the settings files beside ohmlet-cli.
#include <QGuiApplication>
#include <QString>
#include <memory>

#include "cli/CliDrawing.h"
#include "cli/ExportFormats.h"
#include "report/ReportOutput.h"

namespace ohmlet::cli {

namespace {

int ExportPdf(const ExportJob& job) {
    const std::unique_ptr<QGuiApplication> app = StartDrawing();
    const QString programFolder = QCoreApplication::applicationDirPath() + '/';
    ReportExportOutcome outcome = ExportReportPdf(job.components, job.outputPath, programFolder);
    if (!outcome.Ok()) return Fail(kExitIo, outcome.text);
    if (!outcome.warning.empty()) Warn(outcome.warning);
    return kExitOk;
}

const ExportFormatRegistration kRegistration("pdf", ExportPdf);

}  // namespace
}  // namespace ohmlet::cli
