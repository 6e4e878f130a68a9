#include "SerialTransport.h"

#include <algorithm>

namespace ohmlet {

SerialTransport::SerialTransport(QString portName) : portName_(std::move(portName)) {}

LinkResult SerialTransport::ErrorResult() const {
    LinkResult r;
    switch (port_.error()) {
        case QSerialPort::NoError:
            return r;
        case QSerialPort::DeviceNotFoundError:
            r.status = LinkStatus::NoSuchDevice;
            break;
        case QSerialPort::PermissionError:
            // Qt reports a port locked by another program as a permission error too.
            r.status = port_.errorString().contains(QStringLiteral("lock"), Qt::CaseInsensitive)
                           ? LinkStatus::InUse
                           : LinkStatus::PermissionDenied;
            break;
        case QSerialPort::TimeoutError:
            r.status = LinkStatus::TimedOut;
            break;
        default:
            r.status = LinkStatus::Failed;
            break;
    }
    r.detail = (portName_ + QStringLiteral(": ") + port_.errorString()).toStdString();
    return r;
}

LinkResult SerialTransport::Open() {
    if (portName_.isEmpty()) return {LinkStatus::NoSuchDevice, "no port chosen"};
    port_.setPortName(portName_);
    // The longest reply is 65,535 bytes: a device that floods the port fills this much
    // and no more, the rest waits in the driver.
    port_.setReadBufferSize(qint64{1} << 17);
    if (!port_.open(QIODevice::ReadWrite)) return ErrorResult();
    bool configured =
        port_.setBaudRate(QSerialPort::Baud2400) && port_.setDataBits(QSerialPort::Data8) &&
        port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
        port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        LinkResult r = ErrorResult();
        port_.close();
        if (r.ok()) r = {LinkStatus::Failed, "the port settings were refused"};
        return r;
    }
    // Whatever the driver still holds from before belongs to no reply of ours.
    port_.clear();
    return {};
}

LinkResult SerialTransport::Write(const unsigned char* data, std::size_t size) {
    if (!port_.isOpen()) return {LinkStatus::Failed, "the port is not open"};
    qint64 n = port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    if (n != static_cast<qint64>(size)) return ErrorResult();
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) return {LinkStatus::TimedOut, "writing the request"};
    }
    return {};
}

LinkResult SerialTransport::ReadAvailable(ByteBuffer& out, std::size_t maxBytes) {
    if (!port_.isOpen()) return {LinkStatus::Failed, "the port is not open"};
    // Lets the port pick up what the driver holds even when no event loop ran.
    port_.waitForReadyRead(0);
    qint64 want = std::min<qint64>(port_.bytesAvailable(), static_cast<qint64>(maxBytes));
    if (want <= 0) return {};
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(want));
    qint64 n = port_.read(reinterpret_cast<char*>(out.data() + at), want);
    out.resize(at + static_cast<std::size_t>(std::max<qint64>(n, 0)));
    if (n < 0) return ErrorResult();
    return {};
}

void SerialTransport::Abort() {
    if (port_.isOpen()) port_.clear();
}

void SerialTransport::Close() {
    if (port_.isOpen()) port_.close();
}

}  // namespace ohmlet
