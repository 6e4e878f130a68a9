// Kiosa: the start program that opens Ohmlet or Ferrolog from the folders beside it.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>

#include "launcher/LauncherLanguage.h"
#include "launcher/LauncherWindow.h"
#include "launcher/ProgramStarter.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Starts the tester's programs."));
    parser.addHelpOption();
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The language: zh (Chinese) or en (English), handed on to Ohmlet."),
        QStringLiteral("zh|en"));
    parser.addOption(lang);
    parser.process(app);
    const QString word = parser.value(lang);
    const auto code = kiosa::LanguageCode(word);
    if (parser.isSet(lang) && !code) {
        std::fprintf(stderr, "Unknown language \"%s\": use zh or en.\n", qUtf8Printable(word));
        return 2;
    }
    kiosa::InstallTranslators(app, kiosa::UseEnglish(word, QLocale::system()));

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kiosa/kiosa.png")));
    kiosa::ProgramStarter starter(QCoreApplication::applicationDirPath(),
                                  &kiosa::ProgramStarter::StartDetached);
    if (code) starter.SetOhmletArguments({QStringLiteral("--lang"), *code});
    kiosa::LauncherWindow window(starter);
    window.exec();
    return 0;
}
