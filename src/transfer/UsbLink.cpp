#include "transfer/UsbLink.h"

#include <QMetaObject>
#include <QPointer>
#include <system_error>

#include "transfer/TransferTexts.h"

namespace ohmlet {

UsbLink::UsbLink(QObject* parent) : QObject(parent) {}

UsbLink::~UsbLink() { CancelAndWait(); }

bool UsbLink::IsRunning() const { return connection_ && connection_->workerRunning; }

void UsbLink::JoinFinishedWorker() {
    if (worker_.joinable() && !IsRunning()) worker_.join();
}

UsbLink::StartOutcome UsbLink::Start(std::unique_ptr<Ch375> chip, unsigned index,
                                     std::string targetPath) {
    JoinFinishedWorker();
    if (worker_.joinable())
        return {StartStatus::Busy, {}, {LinkStatus::InUse, "a transfer is still ending"}};
    if (!chip)
        return {
            StartStatus::Failed, transfer_texts::kUsbOpenFailed, {LinkStatus::NoSuchDevice, {}}};

    auto connection = std::make_shared<UsbConnection>(std::move(chip), index);
    UsbOpenOutcome opened = OpenUsbConnection(*connection);
    if (!opened.ok) return {StartStatus::Failed, opened.message, opened.cause};
    connection_ = connection;
    connection->workerRunning = true;

    QPointer<UsbLink> self(this);
    try {
        worker_ = std::thread([connection, self, targetPath = std::move(targetPath)] {
            auto report = [&] {
                QMetaObject::invokeMethod(
                    self,
                    [self, received = connection->received.load(),
                     expected = connection->expected.load()] {
                        if (self) emit self->progress(received, expected);
                    },
                    Qt::QueuedConnection);
            };
            UsbLinkEnd end;
            end.transfer = RunUsbTransfer(*connection, report);
            if (end.transfer.status == UsbTransferOutcome::Status::Complete) {
                end.decoded = true;
                end.result = DecodeAndWrite(ReplyLayout::Usb, end.transfer.reply, targetPath);
                end.transfer.reply.clear();  // decoded: the transfer buffer ends empty
            }
            connection->workerRunning = false;
            // A link already gone drops the call; the worker itself is joined by it.
            QMetaObject::invokeMethod(
                self,
                [self, end = std::move(end)]() mutable {
                    if (self) self->Deliver(std::move(end));
                },
                Qt::QueuedConnection);
        });
    } catch (const std::system_error& error) {
        connection->workerRunning = false;
        CloseUsbConnection(*connection);
        return {StartStatus::Failed,
                transfer_texts::kUsbThreadFailed,
                {LinkStatus::Failed, error.what()}};
    }
    return {};
}

void UsbLink::Deliver(UsbLinkEnd end) {
    JoinFinishedWorker();
    lastEnd_ = std::move(end);
    emit ended();
}

void UsbLink::Cancel() {
    if (connection_) RequestUsbCancel(*connection_);
}

void UsbLink::CancelAndWait() {
    Cancel();
    if (worker_.joinable()) worker_.join();
}

}  // namespace ohmlet
