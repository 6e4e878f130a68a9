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

// stdoutFile, when given, receives the output instead of the pipe (a full device, say).
inline CliRun RunCli(const QStringList& args, const QString& stdoutFile = {}) {
    QProcess p;
    if (!stdoutFile.isEmpty()) p.setStandardOutputFile(stdoutFile);
    p.start(QStringLiteral(OHMLET_CLI_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

inline QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace ohmlet::test
