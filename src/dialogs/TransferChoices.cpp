#include "dialogs/TransferChoices.h"

#include <QCoreApplication>
#include <QDir>
#include <algorithm>

#include "transfer/SerialLink.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {
namespace {

QString Text(const char* utf8) {
    return QCoreApplication::translate("ohmlet::transfer_texts", utf8);
}

}  // namespace

QList<SerialPortChoice> SystemSerialPorts() {
    QList<SerialPortChoice> ports;
    for (const SerialPortName& port : ListSerialPorts())
        ports.append({QString::fromStdString(port.name), QString::fromStdString(port.location)});
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortChoice& a, const SerialPortChoice& b) { return a.name < b.name; });
    return ports;
}

QString DatedTransferTarget(const QString& folder, const QDateTime& now,
                            const std::function<bool(const QString&)>& exists) {
    const QString dir =
        TransferTargetForFolder(folder).chopped(Text(transfer_texts::kTargetFileName).size());
    const QString minute = QStringLiteral("DZL_") + now.toString(QStringLiteral("yyyyMMdd_HHmm"));
    QString path = dir + minute + QStringLiteral(".DZL");
    if (!exists(path)) return path;
    const QString second = minute + now.toString(QStringLiteral("ss"));
    path = dir + second + QStringLiteral(".DZL");
    for (int n = 2; exists(path); ++n) path = dir + second + QStringLiteral("_%1.DZL").arg(n);
    return path;
}

QString DefaultTransferTarget() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\DZLDat.DZL");
#else
    return QDir::toNativeSeparators(QDir::homePath() + QLatin1Char('/') +
                                    Text(transfer_texts::kTargetFileName));
#endif
}

QString TransferTargetForFolder(const QString& folder) {
    QString name = Text(transfer_texts::kTargetFileName);
    if (folder.isEmpty() || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

}  // namespace ohmlet
