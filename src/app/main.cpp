#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>
#include <cstring>

#include "app/OhmletApp.h"
#include "app/UiLanguage.h"
#include "data/Version.h"

namespace {

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption lang;
};

// Only --help, --version and --lang are answered here; the rest of the command line (a
// file to open, --simulate-usb) stays the frame's, so unknown words are no error.
Options AddOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        QStringLiteral("Downloads, views, edits and reports the readings of the concrete "
                       "resistivity tester."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addOption(
        QCommandLineOption(QStringLiteral("simulate-usb"),
                           QStringLiteral("USB1 becomes a simulated instrument holding FILE.DZL."),
                           QStringLiteral("FILE.DZL")));
    const QCommandLineOption lang(
        QStringLiteral("lang"),
        QStringLiteral("The language of the window: zh (Chinese) or en (English). Without it, "
                       "the one chosen in the View menu, else the system's."),
        QStringLiteral("zh|en"));
    parser.addOption(lang);
    parser.addPositionalArgument(QStringLiteral("FILE.DZL"), QStringLiteral("The file to open."),
                                 QStringLiteral("[FILE.DZL]"));
    return {help, version, lang};
}

bool AsksForTextOnly(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        for (const char* word : {"-h", "--help", "--help-all", "-?", "-v", "--version"})
            if (std::strcmp(argv[i], word) == 0) return true;
    }
    return false;
}

// Help and version need no window system, so they work over ssh and in scripts.
int AnswerWithoutDisplay(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Ohmlet"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(ohmlet::kVersion));
    QCommandLineParser parser;
    const Options options = AddOptions(parser);
    parser.parse(core.arguments());
    if (parser.isSet(options.version)) parser.showVersion();
    parser.showHelp();
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForTextOnly(argc, argv)) return AnswerWithoutDisplay(argc, argv);
    ohmlet::OhmletApp app(argc, argv);
    QCommandLineParser parser;
    const Options options = AddOptions(parser);
    parser.parse(app.arguments());

    const QString langValue = parser.value(options.lang);
    if (parser.isSet(options.lang) && !ohmlet::ParseLanguage(langValue)) {
        std::fprintf(stderr, "Unknown language \"%s\": use zh or en.\n", qUtf8Printable(langValue));
        return 2;
    }
    const ohmlet::UiLanguage language =
        ohmlet::ChooseLanguage(langValue, ohmlet::SavedLanguage(), QLocale::system());
    if (!ohmlet::InstallTranslators(app, language))
        std::fprintf(stderr, "Some translations were not found; those texts stay as they are.\n");

    if (!app.InitInstance()) return 1;
    return app.exec();
}
