// Kiosa: the start program that opens Ohmlet or Ferrolog from the folders beside it.
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "launcher/LauncherLanguage.h"
#include "launcher/LauncherWindow.h"
#include "launcher/ProgramStarter.h"

namespace {

QCommandLineOption AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Starts the tester's programs."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The language: zh (Chinese) or en (English), handed on to Ohmlet."),
        QStringLiteral("zh|en"));
    parser.addOption(lang);
    return lang;
}

bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* word : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (std::strcmp(argv[i], word) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Kiosa"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0"));  // as its About box says
    QCommandLineParser parser;
    const QCommandLineOption lang = AddOptions(parser);
    // Help and version need no window system: answer them before one is opened.
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication core(argc, argv);
        parser.process(core);
    }
    QApplication app(argc, argv);
    parser.process(app);
    const QString word = parser.value(lang);
    const auto code = kiosa::LanguageCode(word);
    if (parser.isSet(lang) && !code) {
        std::fprintf(stderr, "Unknown language \"%s\": use zh or en.\n", qUtf8Printable(word));
        return 2;
    }
    const bool english = kiosa::UseEnglish(word, QLocale::system());
    kiosa::InstallTranslators(app, english);

    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kiosa/kiosa.png")));
    kiosa::ProgramStarter starter(QCoreApplication::applicationDirPath(),
                                  &kiosa::ProgramStarter::StartDetached);
    if (code) starter.SetOhmletArguments({QStringLiteral("--lang"), *code});
    kiosa::LauncherWindow window(starter, nullptr, english);
    window.exec();
    return 0;
}
