#pragma once
// The instrument's serial port: 2400 baud, 8 data bits, no parity, 1 stop bit.
// The port object is made by Open and dropped by Close, so it lives on the thread
// that uses it and needs no event loop there.
#include <QString>
#include <atomic>
#include <memory>

#include "transfer/Link.h"

class QSerialPort;

namespace ohmlet {

class SerialPortLink : public Link {
public:
    explicit SerialPortLink(QString portName);
    ~SerialPortLink() override;
    LinkResult Open() override;
    LinkResult Write(const unsigned char* data, std::size_t size) override;
    LinkResult Read(ByteBuffer& out, std::size_t maxBytes, int timeoutMs) override;
    void Abort() override { aborted_ = true; }
    void Close() override;

private:
    LinkResult ErrorResult() const;

    QString portName_;
    std::unique_ptr<QSerialPort> port_;
    std::atomic<bool> aborted_{false};
};

}  // namespace ohmlet
