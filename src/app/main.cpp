#include <QCommandLineParser>

#include "app/OhmletApp.h"
#include "data/HeapTuning.h"

int main(int argc, char** argv) {
    ohmlet::KeepFreedMemoryForReuse();
    ohmlet::OhmletApp app(argc, argv);
    // Only --help and --version are answered here; the rest of the command line (a file to
    // open, --simulate-usb) stays the frame's, so unknown words are no error.
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
    parser.addPositionalArgument(QStringLiteral("FILE.DZL"), QStringLiteral("The file to open."),
                                 QStringLiteral("[FILE.DZL]"));
    parser.parse(app.arguments());
    if (parser.isSet(version)) parser.showVersion();
    if (parser.isSet(help)) parser.showHelp();

    if (!app.InitInstance()) return 1;
    return app.exec();
}
