#include "dialogs/TransferPortList.h"

namespace ohmlet {
namespace {

constexpr int kLocationRole = Qt::UserRole;
constexpr int kUsbIndexRole = Qt::UserRole + 1;

}  // namespace

QStringList NumberedPorts(const QString& prefix) {
    QStringList names;
    for (int i = 1; i <= 6; ++i) names << prefix + QString::number(i);
    return names;
}

TransferPortList::TransferPortList(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("portList"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void TransferPortList::Fill(const QList<SerialPortChoice>& serial, bool withUsb) {
    clear();
    if (withUsb) {
        const QStringList usb = NumberedPorts(QStringLiteral("USB"));
        for (int i = 0; i < usb.size(); ++i) {
            addItem(usb[i]);
            setItemData(i, i, kUsbIndexRole);
        }
    }
    for (const SerialPortChoice& port : serial) {
        addItem(port.name, port.location);
        setItemData(count() - 1, -1, kUsbIndexRole);
    }
    setCurrentIndex(count() == 0 ? -1 : 0);
}

void TransferPortList::FillNames(const QStringList& names) {
    QList<SerialPortChoice> ports;
    for (const QString& name : names) ports.append({name, name});
    Fill(ports, false);
}

TransferPortList::Choice TransferPortList::Chosen() const {
    Choice choice;
    const QString typed = currentText().trimmed();
    const int position = findText(typed, Qt::MatchFixedString);
    choice.name = typed;
    if (position < 0) {
        choice.location = typed;
        return choice;
    }
    choice.listed = true;
    choice.name = itemText(position);
    choice.usbIndex = itemData(position, kUsbIndexRole).toInt();
    if (choice.usbIndex < 0) choice.location = itemData(position, kLocationRole).toString();
    return choice;
}

}  // namespace ohmlet
