// Pictures of the frame in a chosen language, for looking at by hand (not a test):
//   cmake --build build --target ohmlet-language-snapshots
//   build/bin/ohmlet-language-snapshots en|zh OUT_DIR [FILE.DZL]
// Run it on a real X display: popup menus and dialogs are grabbed from the screen.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "app/AboutBox.h"
#include "app/AppStrings.h"
#include "app/MainWindow.h"
#include "app/UiLanguage.h"
#include "data/Document.h"

namespace {

void Settle(int ms = 400) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void Shoot(const QString& path) {
    Settle();
    QApplication::primaryScreen()->grabWindow(0).save(path);
}

// Grabs the screen while a modal dialog is up, then closes it.
void ShootModal(QDialog& dialog, const QString& path) {
    QTimer::singleShot(600, [&] {
        Shoot(path);
        dialog.reject();
    });
    dialog.exec();
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    const auto language = ohmlet::ParseLanguage(QString::fromLocal8Bit(argv[1]));
    if (!language) return 2;
    ohmlet::InstallTranslators(app, *language);
    const QDir out(QString::fromLocal8Bit(argv[2]));
    const QString code = ohmlet::LanguageCode(*language);

    ohmlet::Document doc;
    ohmlet::MainWindow frame(doc);
    if (argc > 3) frame.OpenLocalFile(argv[3]);
    frame.setGeometry(QApplication::primaryScreen()->availableGeometry());
    frame.show();
    Shoot(out.filePath(code + QStringLiteral("-main.png")));

    int n = 0;
    for (QAction* action : frame.menuBar()->actions()) {
        QMenu* menu = action->menu();
        if (!menu) continue;
        frame.menuBar()->setActiveAction(action);
        Shoot(out.filePath(code + QStringLiteral("-menu%1.png").arg(++n)));
        menu->hide();
        Settle(200);
    }

    ohmlet::AboutBox about(&frame);
    ShootModal(about, out.filePath(code + QStringLiteral("-about.png")));

    QMessageBox question(QMessageBox::Question, ohmlet::AppName(),
                         QCoreApplication::translate("ohmlet::MainWindow", "是否保存对 %1 的更改?")
                             .arg(frame.DocumentTitle()),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &frame);
    ShootModal(question, out.filePath(code + QStringLiteral("-save-question.png")));

    QFileDialog open(&frame);
    open.setOption(QFileDialog::DontUseNativeDialog);
    open.setNameFilter(QCoreApplication::translate("ohmlet::MainWindow", "原始数据文件 (*.DZL)"));
    ShootModal(open, out.filePath(code + QStringLiteral("-open-dialog.png")));
    return 0;
}
