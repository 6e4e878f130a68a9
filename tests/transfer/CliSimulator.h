#pragma once
// `ohmlet-cli simulate --serial` as a child process: the virtual instrument on a real
// pseudo-terminal, ended with the test.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace ohmlet::test {

class CliSimulator {
public:
    explicit CliSimulator(const QStringList& args) {
        process_.start(QStringLiteral(OHMLET_CLI_PATH), QStringList{"simulate", "--serial"} + args);
        if (process_.waitForReadyRead(5000))
            port_ = QString::fromUtf8(process_.readLine()).trimmed();
    }
    ~CliSimulator() {
        process_.terminate();
        if (!process_.waitForFinished(3000)) process_.kill();
    }
    const QString& Port() const { return port_; }

private:
    QProcess process_;
    QString port_;
};

}  // namespace ohmlet::test
