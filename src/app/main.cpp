#include <QCommandLineParser>
#include <cstdio>

#include "app/OhmletApp.h"
#include "app/UiLanguage.h"

int main(int argc, char** argv) {
    ohmlet::OhmletApp app(argc, argv);
    // Only --help, --version and --lang are answered here; the rest of the command line (a
    // file to open, --simulate-usb) stays the frame's, so unknown words are no error.
    QCommandLineParser parser;
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
    parser.parse(app.arguments());
    if (parser.isSet(version)) parser.showVersion();
    if (parser.isSet(help)) parser.showHelp();

    const QString langValue = parser.value(lang);
    if (parser.isSet(lang) && !ohmlet::ParseLanguage(langValue)) {
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
