#include "transfer/TransferSession.h"

#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>

#include "transfer/Download.h"
#include "transfer/ReplyProgress.h"
#include "transfer/TransferTexts.h"

namespace ohmlet {

// Shared by the session and its worker, so a session that goes first leaves nothing
// dangling.
struct TransferRun {
    explicit TransferRun(std::unique_ptr<Link> l) : link(std::move(l)) {}
    const std::unique_ptr<Link> link;
    std::atomic<bool> cancel{false};
    std::atomic<bool> running{true};
};

namespace {

TransferOutcome FromDownload(const DownloadOutcome& download) {
    TransferOutcome result;
    switch (download.code) {
        case DownloadCode::Complete:
            break;
        case DownloadCode::Cancelled:
            result.code = TransferCode::Cancelled;
            break;
        case DownloadCode::RequestFailed:
            result.code = TransferCode::RequestFailed;
            break;
        case DownloadCode::ReadFailed:
            result.code = TransferCode::ReadFailed;
            break;
        case DownloadCode::BadReply:
            result.code = TransferCode::BadBlocks;
            break;
        case DownloadCode::Stalled:
            result.code = TransferCode::Stalled;
            break;
    }
    result.text = download.text;
    result.cause = download.cause;
    result.link = download.link;
    return result;
}

using CountsReport = std::function<void(const ReplyCounts&)>;

// Counting walks the reply from its start, so it runs a few times a second at most,
// and once more when the bytes are all there.
constexpr auto kCountInterval = std::chrono::milliseconds(150);

TransferOutcome RunTransfer(TransferRun& run, ReplyLayout layout, const std::string& targetPath,
                            int idleMs, const Criterion& fill, const DownloadProgress& bytesReport,
                            const CountsReport& countsReport) {
    ByteBuffer reply;
    auto lastCount = std::chrono::steady_clock::now() - kCountInterval;
    // The downloads call this on this thread between reads: the reply holds still.
    const DownloadProgress progress = [&](std::size_t received, std::size_t expected) {
        bytesReport(received, expected);
        const auto now = std::chrono::steady_clock::now();
        const bool whole = expected > 0 && received >= expected;
        if (!whole && now - lastCount < kCountInterval) return;
        lastCount = now;
        const ReplyCounts counts = CountReceived(layout, reply);
        if (counts.known) countsReport(counts);
    };
    DownloadOutcome download =
        layout == ReplyLayout::Serial
            ? RunSerialDownload(*run.link, reply, run.cancel, progress, idleMs)
            : RunUsbDownload(*run.link, reply, run.cancel, progress);
    run.link->Close();
    if (!download.Ok()) {
        TransferOutcome result = FromDownload(download);
        result.received = std::move(reply);
        return result;
    }
    // A reply that arrived whole is done with, whatever the decoder made of it.
    return DecodeAndWrite(layout, reply, targetPath, fill);
}

}  // namespace

TransferSession::TransferSession(QObject* parent) : QObject(parent) {}

TransferSession::~TransferSession() { CancelAndWait(); }

bool TransferSession::IsRunning() const { return run_ && run_->running; }

void TransferSession::JoinFinishedWorker() {
    if (worker_ && !IsRunning()) {
        worker_->wait();
        worker_.reset();
    }
}

StartOutcome TransferSession::Start(std::unique_ptr<Link> link, ReplyLayout layout,
                                    std::string targetPath, int idleMs) {
    StartOutcome started;
    JoinFinishedWorker();
    if (worker_) {
        started.code = StartCode::Busy;
        started.cause = "a transfer is still ending";
        started.link = LinkStatus::InUse;
        return started;
    }
    const char* openText = layout == ReplyLayout::Serial ? transfer_texts::kCannotOpenSerial
                                                         : transfer_texts::kUsbOpenFailed;
    if (!link) {
        started.code = StartCode::OpenFailed;
        started.text = openText;
        started.link = LinkStatus::NoSuchDevice;
        started.cause = DescribeLinkResult(LinkFailure(LinkStatus::NoSuchDevice, "no port chosen"));
        return started;
    }

    auto run = std::make_shared<TransferRun>(std::move(link));
    const unsigned number = ++runNumber_;
    // Shared, so the worker's set_value never touches a promise Start has dropped.
    auto opening = std::make_shared<std::promise<LinkResult>>();
    std::future<LinkResult> opened = opening->get_future();
    QPointer<TransferSession> self(this);
    // The link is opened, used and closed on the worker: a serial port then lives on one
    // thread only. A QThread, because the port's notifiers want one.
    worker_.reset(QThread::create([run, self, number, layout, idleMs, opening, fill = fill_,
                                   targetPath = std::move(targetPath)] {
        LinkResult open = run->link->Open();
        const bool isOpen = open.Ok();
        opening->set_value(std::move(open));
        if (!isOpen) {
            run->link->Close();
            run->running = false;
            return;
        }
        auto report = [&](std::size_t received, std::size_t expected) {
            QMetaObject::invokeMethod(
                self,
                [self, number, received, expected] {
                    if (self && self->runNumber_ == number) emit self->progress(received, expected);
                },
                Qt::QueuedConnection);
        };
        auto counted = [&](const ReplyCounts& counts) {
            QMetaObject::invokeMethod(
                self,
                [self, number, counts] {
                    if (self && self->runNumber_ == number)
                        emit self->counted(counts.components, counts.componentsExpected,
                                           counts.readings);
                },
                Qt::QueuedConnection);
        };
        TransferOutcome result =
            RunTransfer(*run, layout, targetPath, idleMs, fill, report, counted);
        run->running = false;
        // A session already gone drops the call; the worker itself is joined by it.
        QMetaObject::invokeMethod(
            self,
            [self, number, result = std::move(result)]() mutable {
                if (self) self->Deliver(number, std::move(result));
            },
            Qt::QueuedConnection);
    }));
    worker_->start();
    while (opened.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (worker_->isFinished()) {  // the thread never ran
            worker_.reset();
            started.code = StartCode::ThreadFailed;
            started.text = transfer_texts::kUsbThreadFailed;
            started.cause = "the worker thread could not be started";
            started.link = LinkStatus::Failed;
            return started;
        }
    }
    LinkResult open = opened.get();
    if (!open.Ok()) {
        worker_->wait();
        worker_.reset();
        started.code = StartCode::OpenFailed;
        started.text = open.text.empty() ? std::string(openText) : open.text;
        started.cause = DescribeLinkResult(open);
        started.link = open.code;
        return started;
    }
    run_ = run;
    return started;
}

void TransferSession::Deliver(unsigned run, TransferOutcome result) {
    JoinFinishedWorker();
    if (run != runNumber_) return;  // a cancelled run that a newer one replaced
    result_ = std::move(result);
    emit ended();
}

void TransferSession::Cancel() {
    if (!run_) return;
    run_->cancel = true;
    if (run_->running) run_->link->Abort();
}

void TransferSession::CancelAndWait() {
    Cancel();
    if (worker_) {
        worker_->wait();
        worker_.reset();
    }
}

}  // namespace ohmlet
