// The frame's 编辑 menu, the context menus of the component list and the grid, the
// Ctrl+C key and the question before a component is deleted.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include "app/AppStrings.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/MainWindow.h"
#include "report/GbkCodec.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

namespace ohmlet {
namespace {

constexpr int kStatusMessageMs = 5000;

// How the question names a component: its number, and its name when it has one.
QString ComponentLabel(const Component& c) {
    QString label = FromGbk(c.Number());
    const QString name = FromGbk(c.Name()).trimmed();
    if (!name.isEmpty()) label += QStringLiteral("（%1）").arg(name);
    return label;
}

}  // namespace

void MainWindow::CreateEditMenu() {
    using namespace cmd;
    QMenu* edit = menuBar()->addMenu(tr("编辑(&J)"));
    edit->setObjectName(QStringLiteral("editMenu"));
    const int items[] = {
        kEditUndo,        kEditRedo,        0, kEditCut,          kEditCopy,         kEditPaste,  0,
        kInsertComponent, kDeleteComponent, 0, kInsertPointAbove, kInsertPointBelow, kDeletePoint};
    for (int id : items) {
        if (id == 0)
            edit->addSeparator();
        else
            edit->addAction(Action(id));
    }

    // The list acts on the component under the mouse, the grid on the picked reading.
    Panel()->SetContextActions({Action(kInsertComponent), Action(kDeleteComponent)});
    view_->SetContextActions({Action(kEditCut), Action(kEditCopy), Action(kEditPaste), nullptr,
                              Action(kInsertPointAbove), Action(kInsertPointBelow),
                              Action(kDeletePoint)});
    connect(view_, &DataView::InputRefused, this, &MainWindow::ShowStatusMessage);
}

// Menu texts that carry no key of their own show the accelerator's first key. The
// accelerators themselves do the work: these keys only count while a menu that holds
// the item has the focus, so they never compete with them.
void MainWindow::ShowShortcutsInMenus() {
    for (const Accelerator& a : Accelerators()) {
        QAction* action = Action(a.command);
        if (!action || !action->shortcut().isEmpty() || action->text().contains(QLatin1Char('\t')))
            continue;
        action->setShortcut(a.keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
    }
}

void MainWindow::ShowStatusMessage(const QString& text) {
    statusBar()->showMessage(text, kStatusMessageMs);
}

QMessageBox::StandardButton MainWindow::Ask(const QString& text) {
    if (savePrompt_) return savePrompt_(text);
    return QMessageBox::question(this, AppName(), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No);
}

void MainWindow::OnDeleteComponent() {
    // The component the delete command takes: the only one, or the current one.
    const int index = doc_.ComponentCount() == 1 ? 0 : doc_.CurrentIndex();
    const Component* c = doc_.ComponentAt(index);
    if (!c) return;
    if (Ask(tr("确实要删除构件 %1 吗？").arg(ComponentLabel(*c))) != QMessageBox::Yes) return;
    doc_.DeleteComponent();
}

void MainWindow::OnCopyOrDeleteKey() {
    GridControl* grid = view_->Grid();
    QWidget* focus = QApplication::focusWidget();
    if (grid && focus && (focus == grid || grid->isAncestorOf(focus))) {
        grid->CopySelection();
        return;
    }
    OnDeleteComponent();
}

}  // namespace ohmlet
