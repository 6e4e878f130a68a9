#pragma once
// The transfer's port box: USB1..USB6 and the machine's serial ports, each entry knowing
// its link, and room to type a port the list does not offer (a pseudo-terminal, a renamed
// adapter).
#include <QComboBox>
#include <QList>

#include "dialogs/TransferChoices.h"

namespace ohmlet {

class TransferPortList : public QComboBox {
    Q_OBJECT
public:
    explicit TransferPortList(QWidget* parent = nullptr);

    // The serial ports, after USB1..USB6 when `withUsb`.
    void Fill(const QList<SerialPortChoice>& serial, bool withUsb);
    // Ports known by name only ("COM1".."COM6").
    void FillNames(const QStringList& names);

    struct Choice {
        int usbIndex = -1;    // 0..5 for USB1..USB6
        QString location;     // the serial port to open; empty for USB or nothing chosen
        QString name;         // as the user sees it
        bool listed = false;  // false: typed, or nothing at all
    };
    // What the box holds now: a listed entry, or a serial port typed by its path.
    Choice Chosen() const;
};

// "USB1".."USB6", "COM1".."COM6".
QStringList NumberedPorts(const QString& prefix);

}  // namespace ohmlet
