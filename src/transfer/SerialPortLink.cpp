#include "transfer/SerialPortLink.h"

#include <QDeadlineTimer>
#include <QSerialPort>
#include <algorithm>

namespace ohmlet {
namespace {

// How long a read waits at a time before it looks at the abort flag again.
constexpr int kAbortCheckMs = 50;

}  // namespace

SerialPortLink::SerialPortLink(QString portName) : portName_(std::move(portName)) {}

SerialPortLink::~SerialPortLink() { Close(); }

LinkResult SerialPortLink::ErrorResult() const {
    LinkResult r;
    switch (port_->error()) {
        case QSerialPort::NoError:
            return r;
        case QSerialPort::DeviceNotFoundError:
            r.code = LinkStatus::NoSuchDevice;
            break;
        case QSerialPort::PermissionError:
            // Qt reports a port locked by another program as a permission error too.
            r.code = port_->errorString().contains(QStringLiteral("lock"), Qt::CaseInsensitive)
                         ? LinkStatus::InUse
                         : LinkStatus::PermissionDenied;
            break;
        case QSerialPort::TimeoutError:
            r.code = LinkStatus::TimedOut;
            break;
        default:
            r.code = LinkStatus::Failed;
            break;
    }
    // The caller names the port; the cause is only what went wrong with it.
    r.cause = port_->errorString().toStdString();
    return r;
}

LinkResult SerialPortLink::Open() {
    Close();
    aborted_ = false;
    if (portName_.isEmpty()) return LinkFailure(LinkStatus::NoSuchDevice, "no port chosen");
    port_ = std::make_unique<QSerialPort>(portName_);
    // The longest reply is 65,535 bytes: a device that floods the port fills this much
    // and no more, the rest waits in the driver.
    port_->setReadBufferSize(qint64{1} << 17);
    if (!port_->open(QIODevice::ReadWrite)) {
        LinkResult r = ErrorResult();
        port_.reset();
        return r;
    }
    bool configured =
        port_->setBaudRate(QSerialPort::Baud2400) && port_->setDataBits(QSerialPort::Data8) &&
        port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        LinkResult r = ErrorResult();
        Close();
        if (r.Ok()) r = LinkFailure(LinkStatus::Failed, "the port settings were refused");
        return r;
    }
    // Whatever the driver still holds from before belongs to no reply of ours.
    port_->clear();
    return {};
}

LinkResult SerialPortLink::Write(const unsigned char* data, std::size_t size) {
    if (!port_) return LinkFailure(LinkStatus::Failed, "the port is not open");
    qint64 n = port_->write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    if (n != static_cast<qint64>(size)) return ErrorResult();
    while (port_->bytesToWrite() > 0) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, "writing the request");
        if (!port_->waitForBytesWritten(1000))
            return LinkFailure(LinkStatus::TimedOut, "writing the request");
    }
    return {};
}

LinkResult SerialPortLink::Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) {
    if (!port_) return LinkFailure(LinkStatus::Failed, "the port is not open");
    QDeadlineTimer deadline(std::max(timeoutMs, 0));
    // waitForReadyRead also picks up what the driver holds when no event loop runs.
    port_->waitForReadyRead(0);
    while (port_->bytesAvailable() == 0 && !deadline.hasExpired()) {
        if (aborted_) return LinkFailure(LinkStatus::Aborted, {});
        port_->waitForReadyRead(
            static_cast<int>(std::min<qint64>(deadline.remainingTime(), kAbortCheckMs)));
        // A port that went away (a USB adapter pulled out) fails here, not by silence.
        if (port_->error() == QSerialPort::ResourceError) return ErrorResult();
    }
    if (aborted_) return LinkFailure(LinkStatus::Aborted, {});
    qint64 want = std::min<qint64>(port_->bytesAvailable(), static_cast<qint64>(maxBytes));
    if (want <= 0) return {};
    std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(want));
    qint64 n = port_->read(reinterpret_cast<char*>(out.data() + at), want);
    out.resize(at + static_cast<std::size_t>(std::max<qint64>(n, 0)));
    if (n < 0) return ErrorResult();
    return {};
}

void SerialPortLink::Close() {
    if (!port_) return;
    if (port_->isOpen()) port_->close();
    port_.reset();
}

}  // namespace ohmlet
