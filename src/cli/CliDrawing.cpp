#include "cli/CliDrawing.h"

#include <cstdio>

// Offscreen Qt on Windows reads fonts only from a folder of its own, so there the
// system's own plug-in serves (the build says which).
#ifndef OHMLET_CLI_PLATFORM
#define OHMLET_CLI_PLATFORM "offscreen"
#endif

namespace ohmlet::cli {
namespace {

// Errors go to stderr as one sentence of our own; only Qt's critical ones are passed on.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

}  // namespace

std::unique_ptr<QGuiApplication> StartDrawing() {
    qInstallMessageHandler(QuietQtMessages);
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 3;
    static char name[] = "ohmlet-cli", option[] = "-platform", platform[] = OHMLET_CLI_PLATFORM;
    static char* argv[] = {name, option, platform, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace ohmlet::cli
