#pragma once
// The instrument's serial port: 2400 baud, 8 data bits, no parity, 1 stop bit.
#include <QSerialPort>
#include <QString>

#include "transfer/Transport.h"

namespace ohmlet {

class SerialTransport : public Transport {
public:
    explicit SerialTransport(QString portName);
    LinkResult Open() override;
    LinkResult Write(const unsigned char* data, std::size_t size) override;
    LinkResult ReadAvailable(ByteBuffer& out, std::size_t maxBytes) override;
    void Abort() override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }

private:
    LinkResult ErrorResult() const;

    QString portName_;
    QSerialPort port_;
};

}  // namespace ohmlet
