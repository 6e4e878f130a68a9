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

namespace {

StartOutcome Refused(StartCode code, std::string text, LinkStatus link, std::string cause) {
    StartOutcome refused;
    refused.code = code;
    refused.text = std::move(text);
    refused.link = link;
    refused.cause = std::move(cause);
    return refused;
}

}  // namespace

struct TransferSession::WorkerJob {
    std::shared_ptr<TransferRun> run;
    QPointer<TransferSession> self;
    unsigned number;
    ReplyLayout layout;
    int idleMs;
    // Shared, so the worker's set_value never touches a promise Start has dropped.
    std::shared_ptr<std::promise<LinkResult>> opening;
    Criterion fill;
    std::string targetPath;
};

void TransferSession::RunOnWorker(const WorkerJob& job) {
    LinkResult open = job.run->link->Open();
    const bool isOpen = open.Ok();
    job.opening->set_value(std::move(open));
    if (!isOpen) {
        job.run->link->Close();
        job.run->running = false;
        return;
    }
    const QPointer<TransferSession> self = job.self;
    const unsigned number = job.number;
    // Progress and the result go to the session's thread, and only while this run is its.
    auto post = [self, number](auto call) {
        QMetaObject::invokeMethod(
            self,
            [self, number, call = std::move(call)]() mutable {
                if (self && self->runNumber_ == number) call(*self);
            },
            Qt::QueuedConnection);
    };
    auto report = [&](std::size_t received, std::size_t expected) {
        post([received, expected](TransferSession& s) { emit s.progress(received, expected); });
    };
    auto counted = [&](const ReplyCounts& counts) {
        post([counts](TransferSession& s) {
            emit s.counted(counts.components, counts.componentsExpected, counts.readings);
        });
    };
    TransferOutcome result =
        RunTransfer(*job.run, job.layout, job.targetPath, job.idleMs, job.fill, report, counted);
    job.run->running = false;
    // A session already gone drops the call; the worker itself is joined by it. Deliver
    // also drops the end of a run a newer one replaced.
    QMetaObject::invokeMethod(
        self,
        [self, number, result = std::move(result)]() mutable {
            if (self) self->Deliver(number, std::move(result));
        },
        Qt::QueuedConnection);
}

StartOutcome TransferSession::AwaitOpen(std::future<LinkResult>& opened, const char* openText) {
    while (opened.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (worker_->isFinished()) {  // the thread never ran
            worker_.reset();
            return Refused(StartCode::ThreadFailed, transfer_texts::kUsbThreadFailed,
                           LinkStatus::Failed, "the worker thread could not be started");
        }
    }
    LinkResult open = opened.get();
    if (open.Ok()) return {};
    worker_->wait();
    worker_.reset();
    return Refused(StartCode::OpenFailed, open.text.empty() ? std::string(openText) : open.text,
                   open.code, DescribeLinkResult(open));
}

StartOutcome TransferSession::Start(std::unique_ptr<Link> link, ReplyLayout layout,
                                    std::string targetPath, int idleMs) {
    JoinFinishedWorker();
    if (worker_)
        return Refused(StartCode::Busy, {}, LinkStatus::InUse, "a transfer is still ending");
    const char* openText = layout == ReplyLayout::Serial ? transfer_texts::kCannotOpenSerial
                                                         : transfer_texts::kUsbOpenFailed;
    if (!link)
        return Refused(StartCode::OpenFailed, openText, LinkStatus::NoSuchDevice,
                       DescribeLinkResult(LinkFailure(LinkStatus::NoSuchDevice, "no port chosen")));

    auto run = std::make_shared<TransferRun>(std::move(link));
    WorkerJob job{run,          this,
                  ++runNumber_, layout,
                  idleMs,       std::make_shared<std::promise<LinkResult>>(),
                  fill_,        std::move(targetPath)};
    std::future<LinkResult> opened = job.opening->get_future();
    // The link is opened, used and closed on the worker: a serial port then lives on one
    // thread only. A QThread, because the port's notifiers want one.
    worker_.reset(QThread::create([job = std::move(job)] { RunOnWorker(job); }));
    worker_->start();
    StartOutcome started = AwaitOpen(opened, openText);
    if (started.code == StartCode::Started) run_ = run;
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
