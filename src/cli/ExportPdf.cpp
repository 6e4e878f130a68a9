// ohmlet-cli export --format pdf: the printed report of the selected components, drawn
// exactly as the program prints it, with the settings files beside ohmlet-cli.
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <memory>

#include "cli/ExportFormats.h"
#include "report/ReportOutput.h"

// Lays out text without a display. Offscreen Qt on Windows reads fonts only from a folder
// of its own, so there the system's own plug-in serves (the build says which).
#ifndef OHMLET_CLI_PLATFORM
#define OHMLET_CLI_PLATFORM "offscreen"
#endif

namespace ohmlet::cli {

namespace {

// Qt's start-up chatter (a missing runtime folder and the like) is not ours to print:
// errors go to stderr as one sentence of our own.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int ExportPdf(const ExportJob& job) {
    qInstallMessageHandler(QuietQtMessages);
    // Text layout needs a GUI application; without a display the offscreen platform serves.
    std::unique_ptr<QGuiApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 3;
        static char name[] = "ohmlet-cli", option[] = "-platform", platform[] = OHMLET_CLI_PLATFORM;
        static char* argv[] = {name, option, platform, nullptr};
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    const QString programFolder = QCoreApplication::applicationDirPath() + '/';
    ReportExportOutcome outcome = ExportReportPdf(job.components, job.outputPath, programFolder);
    if (!outcome.Ok()) return Fail(kExitIo, outcome.text);
    if (!outcome.warning.empty()) Warn(outcome.warning);
    return kExitOk;
}

const ExportFormatRegistration kRegistration("pdf", ExportPdf);

}  // namespace
}  // namespace ohmlet::cli
