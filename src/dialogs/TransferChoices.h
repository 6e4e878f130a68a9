#pragma once
// What a transfer is offered to choose from: the machine's serial ports, and the file
// it writes (the fixed name in a folder, or a name by date).
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace ohmlet {

// A serial port as the list shows it ("COM3", "ttyUSB0") and where it is opened.
struct SerialPortChoice {
    QString name;
    QString location;
};

// The machine's serial ports, by name.
QList<SerialPortChoice> SystemSerialPorts();

// C:\DZLDat.DZL on Windows, DZLDat.DZL in the home folder elsewhere.
QString DefaultTransferTarget();
// The target path the folder rule gives for a chosen folder.
QString TransferTargetForFolder(const QString& folder);
// A name of its own for each download: DZL_20261209_1405.DZL, with the seconds and then a
// counter added while a file of that name exists.
QString DatedTransferTarget(const QString& folder, const QDateTime& now,
                            const std::function<bool(const QString&)>& exists);

}  // namespace ohmlet
