// Saves the frame's menus, context menus, the component list and the transfer dialog as
// the screen shows them, for a human to look at. Needs a real display (X or Xvfb).
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "data/Document.h"
#include "dialogs/TransferDialog.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

using namespace ohmlet;

namespace {

QDir out;

bool Shoot(const char* name) {
    QTest::qWait(400);
    const QString path = out.filePath(QStringLiteral("%1.png").arg(QLatin1String(name)));
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path)) return false;
    std::printf("%s\n", qPrintable(path));
    return true;
}

QMenu* MenuNamed(MainWindow& frame, const QString& title) {
    for (QAction* a : frame.menuBar()->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ohmlet-snapshots FOLDER FILE.DZL\n");
        return 2;
    }
    out = QDir(QString::fromLocal8Bit(argv[1]));
    Document doc;
    MainWindow frame(doc);
    frame.resize(1200, 850);
    frame.move(20, 20);
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame)) return 1;
    frame.OpenDocumentFile(QString::fromLocal8Bit(argv[2]));

    for (const char* title : {"文件(&F)", "编辑(&J)", "工具(&E)", "帮助(&H)"}) {
        QMenu* menu = MenuNamed(frame, QString::fromUtf8(title));
        if (!menu) return 1;
        frame.menuBar()->setActiveAction(menu->menuAction());
        if (QString::fromUtf8(title) == QStringLiteral("文件(&F)")) {
            QMenu* exportMenu = menu->findChild<QMenu*>(QStringLiteral("exportMenu"));
            QTest::qWait(300);
            menu->setActiveAction(exportMenu->menuAction());
            exportMenu->popup(
                menu->mapToGlobal(menu->actionGeometry(exportMenu->menuAction()).topRight()));
        }
        const QByteArray name =
            QByteArray("menu-") +
            QByteArray::number(static_cast<int>(QString::fromUtf8(title).front().unicode()));
        if (!Shoot(name.constData())) return 1;
        menu->close();
        frame.menuBar()->setActiveAction(nullptr);
        QTest::qWait(200);
    }

    ControlPanel* panel = frame.Panel();
    QTableView* list = panel->List();
    const QRect row = list->visualRect(list->model()->index(2, 1));
    QMenu* listMenu = panel->MakeContextMenu(row.center(), &frame);
    listMenu->popup(list->viewport()->mapToGlobal(row.center()));
    if (!Shoot("context-list")) return 1;
    listMenu->close();

    GridControl* grid = frame.MainView()->Grid();
    const QPoint cell = grid->CellRect(3, 1).center();
    QMenu* gridMenu = frame.MainView()->MakeContextMenu(cell, &frame);
    gridMenu->popup(grid->viewport()->mapToGlobal(cell));
    if (!Shoot("context-grid")) return 1;
    gridMenu->close();

    panel->FilterEdit()->setText(QStringLiteral("00"));
    list->sortByColumn(2, Qt::DescendingOrder);
    if (!Shoot("list-filtered-sorted")) return 1;
    panel->FilterEdit()->clear();
    list->sortByColumn(0, Qt::AscendingOrder);

    // The delete question, as Ctrl+C in the list asks it.
    list->setFocus();
    bool asked = false;
    QTimer::singleShot(600, &frame, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            asked = Shoot("delete-question");
            box->close();
        }
    });
    QTest::keyClick(&frame, Qt::Key_C, Qt::ControlModifier);
    if (!asked) return 1;

    TransferDialog dialog(frame.CurrentDocument(), &frame);
    dialog.SetSerialPorts({{"ttyS0", "/dev/ttyS0"}, {"ttyUSB0", "/dev/ttyUSB0"}});
    dialog.findChild<QCheckBox*>(QStringLiteral("nameByDate"))->setChecked(true);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) return 1;
    auto* ports = dialog.findChild<QComboBox*>(QStringLiteral("portList"));
    ports->showPopup();
    if (!Shoot("transfer-dialog")) return 1;
    ports->hidePopup();
    dialog.findChild<QCheckBox*>(QStringLiteral("nameByDate"))->setChecked(false);
    return 0;
}
