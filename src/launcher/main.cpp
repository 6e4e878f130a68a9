// Kiosa: the start program that opens Ohmlet or Ferrolog from the folders beside it.
#include <QApplication>
#include <QIcon>

#include "launcher/LauncherWindow.h"
#include "launcher/ProgramStarter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kiosa/kiosa.png")));
    kiosa::LauncherWindow window(kiosa::ProgramStarter(QCoreApplication::applicationDirPath(),
                                                       &kiosa::ProgramStarter::StartDetached));
    window.exec();
    return 0;
}
