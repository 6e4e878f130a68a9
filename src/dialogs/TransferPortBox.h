#pragma once
// The transfer dialog's port choice: USB1..USB6 and the serial ports in one list, and
// the link the chosen entry stands for.
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "transfer/Ch375.h"
#include "transfer/Link.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QRadioButton;

namespace ohmlet {

// A serial port as the list shows it ("COM3", "ttyUSB0") and where it is opened.
struct SerialPortChoice {
    QString name;
    QString location;
};

class TransferPortBox : public QObject {
    Q_OBJECT
public:
    explicit TransferPortBox(QObject* parent = nullptr);

    // The list goes at listRow, the (hidden) port type controls at typeRow.
    void Place(QGridLayout& grid, int listRow, int typeRow);

    void SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory);
    void SetSerialPorts(const QList<SerialPortChoice>& ports);
    static QList<SerialPortChoice> SystemSerialPorts();

    // Whether the chosen entry is a USB device.
    bool ChosenIsUsb() const;
    // The chosen entry's link, unopened; null when the list offers nothing.
    std::unique_ptr<Link> MakeLink() const;
    void SetEnabled(bool enabled);

private:
    void FillList(const QStringList& names);
    void FillList(const QList<SerialPortChoice>& serial, bool withUsb);
    void OnUsbType();
    void OnComType();

    QList<SerialPortChoice> serialPorts_;
    std::function<std::unique_ptr<Ch375>()> chipFactory_;
    QComboBox* list_ = nullptr;
    QComboBox* typeList_ = nullptr;
    QRadioButton* usbType_ = nullptr;
    QRadioButton* comType_ = nullptr;
    QLabel* typeCaption_ = nullptr;
};

}  // namespace ohmlet
