// Shows the main window on a file with one component picked and saves a picture:
//   ohmlet_screenshot OUT.png FILE.DZL [COMPONENT [POINT]] [--menu MENU.png] [--about ABOUT.png]
// Meant for Xvfb, where there is no window manager to maximise the window.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <cstdlib>

#include "app/AboutBox.h"
#include "app/MainWindow.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

using namespace ohmlet;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(
            stderr,
            "usage: ohmlet_screenshot OUT.png FILE.DZL [COMPONENT [POINT]] [--menu MENU.png]\n");
        return 2;
    }
    QString menuShot;
    QString aboutShot;
    QStringList args = app.arguments();
    int aboutAt = static_cast<int>(args.indexOf(QStringLiteral("--about")));
    if (aboutAt > 0 && aboutAt + 1 < args.size()) {
        aboutShot = args[aboutAt + 1];
        args.remove(aboutAt, 2);
    }
    int menuAt = static_cast<int>(args.indexOf(QStringLiteral("--menu")));
    if (menuAt > 0 && menuAt + 1 < args.size()) {
        menuShot = args[menuAt + 1];
        args.remove(menuAt, 2);
    }
    Document document;
    MainWindow frame(document);
    frame.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    frame.show();
    if (!frame.OpenDocumentFile(args[2])) return 1;
    QTest::qWait(300);
    // Pick as a user does: a click on the component's row, then on the reading's row.
    if (args.size() > 3) {
        QTableView* list = frame.Panel()->List();
        const QModelIndex row = list->model()->index(args[3].toInt(), 1);
        if (row.isValid()) {
            list->scrollTo(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(row).center());
        }
    }
    if (args.size() > 4) {
        GridControl* grid = frame.MainView()->Grid();
        const int r = args[4].toInt() + 1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(r, 1).center());
    }
    QTest::qWait(300);
    if (!frame.grab().save(args[1])) return 1;
    if (!menuShot.isEmpty()) {
        QMenu* file = frame.menuBar()->actions().first()->menu();
        file->popup(frame.mapToGlobal(QPoint(0, frame.menuBar()->height())));
        QTest::qWait(300);
        file->grab().save(menuShot);
    }
    if (!aboutShot.isEmpty()) {
        AboutBox about(&frame);
        about.show();
        QTest::qWait(300);
        about.grab().save(aboutShot);
    }
    return 0;
}
