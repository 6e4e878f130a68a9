#pragma once
// Runs the real ohmlet-cli the way scripts do.
#include <QProcess>
#include <QStringList>

namespace ohmlet::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunCli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(OHMLET_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace ohmlet::test
