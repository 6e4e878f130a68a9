#include "app/DesktopOpener.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace ohmlet {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)

void OpenWithDesktop(const QString& path, QObject* context, std::function<void()> failed) {
    const QString launcher = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (launcher.isEmpty()) {
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) failed();
        return;
    }
    // No parent: closing the window must not end a viewer the launcher is still running.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer started;
    started.start();
    QObject::connect(process, &QProcess::finished, context,
                     [process, failed, started](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         // Without a desktop session xdg-open waits for the viewer, and
                         // passes on a viewer's failure as 4: only a quick one means the
                         // file was never shown.
                         const bool viewerEnded = code == 4 && started.elapsed() > 5000;
                         if (status != QProcess::NormalExit || (code != 0 && !viewerEnded))
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         failed();
                     });
    process->start(launcher, {path});
}

#else

void OpenWithDesktop(const QString& path, QObject*, std::function<void()> failed) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) failed();
}

#endif

}  // namespace ohmlet
