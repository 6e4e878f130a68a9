#pragma once
// The serial download: send "BHV20!" once, then every 200 ms append what arrived to
// the transfer buffer until it holds a complete reply. Runs on the thread that owns
// it (the UI thread in the program); no reply time-out, the user cancels.
#include <QObject>
#include <QTimer>
#include <memory>

#include "transfer/LinkStatus.h"
#include "transfer/ReplyDecoder.h"
#include "transfer/Transport.h"

namespace ohmlet {

inline constexpr char kDownloadRequest[] = "BHV20!";
inline constexpr int kSerialPollMs = 200;
inline constexpr std::size_t kSerialReceiveArea = 1024;

class SerialLink : public QObject {
    Q_OBJECT
public:
    // The link fills buffer (the document's transfer buffer), which must outlive it.
    SerialLink(ByteBuffer& buffer, QObject* parent = nullptr);
    ~SerialLink() override;

    // Stops a running transfer, empties the buffer, opens the transport and sends
    // the request. On failure nothing runs and the cause is returned.
    LinkResult Start(std::unique_ptr<Transport> transport);
    void Stop();
    bool IsRunning() const { return timer_.isActive(); }
    // One poll, as the timer runs it; public so a driver without a timer can poll.
    void Poll();

signals:
    void progress(qulonglong received, qulonglong expected);
    // The buffer holds a complete reply; polling has stopped, the port is closed.
    void replyComplete();
    void readFailed(QString cause);

private:
    ByteBuffer& buffer_;
    std::unique_ptr<Transport> transport_;
    QTimer timer_;
};

}  // namespace ohmlet
