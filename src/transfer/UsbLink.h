#pragma once
// Runs a USB transfer on its own thread and hands progress and the end back to the
// thread that owns this object through queued calls.
#include <QObject>
#include <memory>
#include <string>
#include <thread>

#include "transfer/TransferResult.h"
#include "transfer/UsbSession.h"

namespace ohmlet {

struct UsbLinkEnd {
    UsbTransferOutcome transfer;  // how the block loop ended (reply moved out when decoded)
    bool decoded = false;         // a complete reply was decoded and the file handled
    TransferResult result;        // valid when decoded
};

class UsbLink : public QObject {
    Q_OBJECT
public:
    enum class StartStatus { Started, Busy, Failed };
    struct StartOutcome {
        StartStatus status = StartStatus::Started;
        std::string message;  // the "DEBUG372" text when Failed
        LinkResult cause;
    };

    explicit UsbLink(QObject* parent = nullptr);
    // Stops a running worker and waits for it: nothing outlives the link unjoined.
    ~UsbLink() override;

    // Opens device index of chip and starts the worker, which writes the decoded reply
    // to targetPath. A worker still running refuses the start (Busy).
    StartOutcome Start(std::unique_ptr<Ch375> chip, unsigned index, std::string targetPath);
    void Cancel();
    // Cancels and waits until the worker has closed the device.
    void CancelAndWait();
    bool IsRunning() const;
    const UsbLinkEnd& LastEnd() const { return lastEnd_; }

signals:
    void progress(qulonglong received, qulonglong expected);
    void ended();

private:
    void Deliver(UsbLinkEnd end);
    void JoinFinishedWorker();

    std::shared_ptr<UsbConnection> connection_;
    std::thread worker_;
    UsbLinkEnd lastEnd_;
};

}  // namespace ohmlet
