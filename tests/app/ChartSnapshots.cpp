// Shows the main window with the chart pane on one tab for a person (or a screenshot) to
// look at, and writes that chart as PNG and PDF beside it.
//   chart-snapshots FILE.DZL COMPONENT TAB SECONDS [EXPORT-BASENAME]
#include <QApplication>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "app/MainWindow.h"
#include "data/Document.h"
#include "views/ChartExport.h"
#include "views/ChartPane.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: chart-snapshots FILE.DZL COMPONENT TAB SECONDS [EXPORT]\n");
        return 2;
    }
    ohmlet::Document doc;
    ohmlet::MainWindow window(doc);
    window.resize(1260, 860);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    if (!window.OpenLocalFile(argv[1])) return 1;
    window.CurrentDocument().SelectComponent(std::atoi(argv[2]));
    ohmlet::ChartPane* pane = window.Charts();
    pane->show();
    window.resizeDocks({pane}, {620}, Qt::Horizontal);
    pane->Tabs()->setCurrentIndex(std::atoi(argv[3]));
    QTest::qWait(500);
    if (argc > 5) {
        for (const char* ending : {".png", ".pdf"}) {
            const QString path = QString::fromLocal8Bit(argv[5]) + QLatin1String(ending);
            const ohmlet::ChartExportResult r = ohmlet::ExportChart(*pane->CurrentChart(), path);
            std::printf("%s: %s\n", qPrintable(path), r.Ok() ? "written" : r.text.c_str());
        }
    }
    std::printf("ready\n");
    std::fflush(stdout);
    QTimer::singleShot(std::atoi(argv[4]) * 1000, &app, &QApplication::quit);
    return app.exec();
}
