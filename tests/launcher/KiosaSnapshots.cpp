// Saves Kiosa's window at rest and with the pointer over each button, for a human to look at.
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>

#include "launcher/AboutKiosaDialog.h"
#include "launcher/LauncherWindow.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kiosa-snapshots FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    kiosa::LauncherWindow window(kiosa::ProgramStarter(QString(), nullptr));
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    const struct {
        const char* name;
        QPoint point;
    } shots[] = {{"rest", {200, 200}},
                 {"left", {100, 100}},
                 {"left-edge", {50, 100}},
                 {"right", {300, 100}},
                 {"close", {385, 20}}};
    for (const auto& shot : shots) {
        QMouseEvent move(QEvent::MouseMove, QPointF(shot.point),
                         window.mapToGlobal(QPointF(shot.point)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&window, &move);
        const QString path = out.filePath(QStringLiteral("kiosa-%1.png").arg(shot.name));
        if (!window.grab().save(path)) return 1;
        std::printf("%s\n", qPrintable(path));
    }
    kiosa::AboutKiosaDialog about(&window);
    about.show();
    if (!QTest::qWaitForWindowExposed(&about)) return 1;
    const QString path = out.filePath(QStringLiteral("kiosa-about.png"));
    if (!about.grab().save(path)) return 1;
    std::printf("%s\n", qPrintable(path));
    return 0;
}
