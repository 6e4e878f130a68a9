#include "dialogs/TransferPortBox.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <algorithm>

#include "transfer/Ch375Link.h"
#include "transfer/SerialPortLink.h"

namespace ohmlet {
namespace {

QStringList Numbered(const QString& prefix) {
    QStringList names;
    for (int i = 1; i <= 6; ++i) names << prefix + QString::number(i);
    return names;
}

constexpr int kLocationRole = Qt::UserRole;
constexpr int kUsbIndexRole = Qt::UserRole + 1;

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TransferPortBox::TransferPortBox(QObject* parent)
    : QObject(parent), serialPorts_(SystemSerialPorts()), chipFactory_(&MakeCh375) {
    list_ = Named(new QComboBox, "portList");
    usbType_ = Named(new QRadioButton(QStringLiteral("USB")), "typeUsb");
    comType_ = Named(new QRadioButton(QStringLiteral("COM")), "typeCom");
    typeCaption_ = new QLabel(tr("端口类型"));
    typeList_ = Named(new QComboBox, "portTypeList");
    typeList_->addItems({QStringLiteral("USB"), QStringLiteral("COM")});
    // The port type stays USB for the user; the COM path is reached by the program.
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{usbType_, comType_, typeCaption_, typeList_})
        hidden->setVisible(false);
    connect(usbType_, &QRadioButton::clicked, this, &TransferPortBox::OnUsbType);
    connect(comType_, &QRadioButton::clicked, this, &TransferPortBox::OnComType);
    usbType_->setChecked(true);
    FillList(serialPorts_, true);
}

void TransferPortBox::Place(QGridLayout& grid, int listRow, int typeRow) {
    grid.addWidget(new QLabel(tr("端口号")), listRow, 0);
    grid.addWidget(list_, listRow, 1);
    auto* types = new QHBoxLayout;
    types->addWidget(typeCaption_);
    types->addWidget(usbType_);
    types->addWidget(comType_);
    types->addWidget(typeList_);
    grid.addLayout(types, typeRow, 1);
}

QList<SerialPortChoice> TransferPortBox::SystemSerialPorts() {
    QList<SerialPortChoice> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports.append({info.portName(), info.systemLocation()});
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortChoice& a, const SerialPortChoice& b) { return a.name < b.name; });
    return ports;
}

void TransferPortBox::SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory) {
    chipFactory_ = std::move(factory);
}

void TransferPortBox::SetSerialPorts(const QList<SerialPortChoice>& ports) {
    serialPorts_ = ports;
    FillList(serialPorts_, !comType_->isChecked());
}

void TransferPortBox::SetEnabled(bool enabled) { list_->setEnabled(enabled); }

void TransferPortBox::FillList(const QStringList& names) {
    QList<SerialPortChoice> ports;
    for (const QString& name : names) ports.append({name, name});
    FillList(ports, false);
}

// Each entry knows its link: a USB device index, or the serial port's location.
void TransferPortBox::FillList(const QList<SerialPortChoice>& serial, bool withUsb) {
    list_->clear();
    if (withUsb) {
        const QStringList usb = Numbered(QStringLiteral("USB"));
        for (int i = 0; i < usb.size(); ++i) {
            list_->addItem(usb[i]);
            list_->setItemData(i, i, kUsbIndexRole);
        }
    }
    for (const SerialPortChoice& port : serial) {
        list_->addItem(port.name, port.location);
        list_->setItemData(list_->count() - 1, -1, kUsbIndexRole);
    }
    list_->setCurrentIndex(list_->count() == 0 ? -1 : 0);
}

void TransferPortBox::OnUsbType() { FillList(serialPorts_, true); }

void TransferPortBox::OnComType() {
#ifdef Q_OS_WIN
    FillList(Numbered(QStringLiteral("COM")));
#else
    FillList(serialPorts_, false);
#endif
}

// The entry chosen says the link: USB1..USB6 or one of the serial ports.
bool TransferPortBox::ChosenIsUsb() const {
    const int position = list_->currentIndex();
    if (position < 0) return usbType_->isChecked();
    return list_->itemData(position, kUsbIndexRole).toInt() >= 0;
}

std::unique_ptr<Link> TransferPortBox::MakeLink() const {
    const int position = list_->currentIndex();
    if (position < 0) return nullptr;
    if (ChosenIsUsb()) {
        const int usbIndex = list_->itemData(position, kUsbIndexRole).toInt();
        return std::make_unique<Ch375Link>(chipFactory_ ? chipFactory_() : nullptr,
                                           static_cast<unsigned>(usbIndex));
    }
    return std::make_unique<SerialPortLink>(list_->itemData(position, kLocationRole).toString());
}

}  // namespace ohmlet
