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

// What the worker is given: the link's run and everything the download needs.
struct TransferJob {
    std::shared_ptr<TransferRun> run;
    unsigned number = 0;
    ReplyLayout layout = ReplyLayout::Serial;
    std::string targetPath;
    int idleMs = 0;
    Criterion fill;
    bool keepReply = false;
    Clock* clock = nullptr;
    // Shared, so the worker's set_value never touches a promise Start has dropped.
    std::shared_ptr<std::promise<LinkResult>> opening;
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

TransferOutcome RunTransfer(TransferRun& run, const TransferJob& job,
                            const DownloadProgress& bytesReport, const CountsReport& countsReport) {
    ByteBuffer reply;
    Clock& clock = *job.clock;
    auto lastCount = clock.Now() - kCountInterval;
    // The downloads call this on this thread between reads: the reply holds still.
    const DownloadProgress progress = [&](std::size_t received, std::size_t expected) {
        bytesReport(received, expected);
        const auto now = clock.Now();
        const bool whole = expected > 0 && received >= expected;
        if (!whole && now - lastCount < kCountInterval) return;
        lastCount = now;
        const ReplyCounts counts = CountReceived(job.layout, reply);
        if (counts.known) countsReport(counts);
    };
    DownloadOutcome download =
        job.layout == ReplyLayout::Serial
            ? RunSerialDownload(*run.link, reply, run.cancel, progress, job.idleMs, clock)
            : RunUsbDownload(*run.link, reply, run.cancel, progress);
    run.link->Close();
    // A reply that arrived whole is done with, whatever the decoder made of it.
    TransferOutcome result = download.Ok()
                                 ? DecodeAndWrite(job.layout, reply, job.targetPath, job.fill)
                                 : FromDownload(download);
    // A failed transfer keeps its bytes for a bug report; a written one only when asked.
    if (!result.Ok() || job.keepReply) result.received = std::move(reply);
    return result;
}

StartOutcome Refused(StartCode code, std::string text, std::string cause, LinkStatus link) {
    StartOutcome refused;
    refused.code = code;
    refused.text = std::move(text);
    refused.cause = std::move(cause);
    refused.link = link;
    return refused;
}

const char* OpenFailedText(ReplyLayout layout) {
    return layout == ReplyLayout::Serial ? transfer_texts::kCannotOpenSerial
                                         : transfer_texts::kUsbOpenFailed;
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
    JoinFinishedWorker();
    if (worker_)
        return Refused(StartCode::Busy, {}, "a transfer is still ending", LinkStatus::InUse);
    if (!link)
        return Refused(StartCode::OpenFailed, OpenFailedText(layout),
                       DescribeLinkResult(LinkFailure(LinkStatus::NoSuchDevice, "no port chosen")),
                       LinkStatus::NoSuchDevice);
    auto run = std::make_shared<TransferRun>(std::move(link));
    auto opening = std::make_shared<std::promise<LinkResult>>();
    std::future<LinkResult> opened = opening->get_future();
    TransferJob job{run,   ++runNumber_, layout, std::move(targetPath), idleMs,
                    fill_, keepReply_,   clock_, std::move(opening)};
    QPointer<TransferSession> self(this);
    // The link is opened, used and closed on the worker: a serial port then lives on one
    // thread only. A QThread, because the port's notifiers want one.
    worker_.reset(QThread::create([self, job = std::move(job)] { Work(self, job); }));
    worker_->start();
    StartOutcome started = AwaitOpen(opened, layout);
    if (started.Ok()) run_ = run;
    return started;
}

StartOutcome TransferSession::AwaitOpen(std::future<LinkResult>& opened, ReplyLayout layout) {
    while (opened.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        if (worker_->isFinished()) {  // the thread never ran
            worker_.reset();
            return Refused(StartCode::ThreadFailed, transfer_texts::kUsbThreadFailed,
                           "the worker thread could not be started", LinkStatus::Failed);
        }
    }
    LinkResult open = opened.get();
    if (open.Ok()) return {};
    worker_->wait();
    worker_.reset();
    return Refused(StartCode::OpenFailed,
                   open.text.empty() ? std::string(OpenFailedText(layout)) : open.text,
                   DescribeLinkResult(open), open.code);
}

// On the worker: opens the link, downloads, and hands the result back.
void TransferSession::Work(QPointer<TransferSession> self, const TransferJob& job) {
    TransferRun& run = *job.run;
    LinkResult open = run.link->Open();
    const bool isOpen = open.Ok();
    job.opening->set_value(std::move(open));
    if (!isOpen) {
        run.link->Close();
        run.running = false;
        return;
    }
    const unsigned number = job.number;
    auto report = [&](std::size_t received, std::size_t expected) {
        PostToSession(self, number, [received, expected](TransferSession& session) {
            emit session.progress(received, expected);
        });
    };
    auto counted = [&](const ReplyCounts& counts) {
        PostToSession(self, number, [counts](TransferSession& session) {
            emit session.counted(counts.components, counts.componentsExpected, counts.readings);
        });
    };
    TransferOutcome result = RunTransfer(run, job, report, counted);
    run.running = false;
    // A session already gone drops the call; the worker itself is joined by it.
    QMetaObject::invokeMethod(
        self,
        [self, number, result = std::move(result)]() mutable {
            if (self) self->Deliver(number, std::move(result));
        },
        Qt::QueuedConnection);
}

// Runs call on the session's thread, unless the session is gone or a newer run began.
void TransferSession::PostToSession(const QPointer<TransferSession>& self, unsigned number,
                                    std::function<void(TransferSession&)> call) {
    QMetaObject::invokeMethod(
        self,
        [self, number, call = std::move(call)] {
            if (self && self->runNumber_ == number) call(*self);
        },
        Qt::QueuedConnection);
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
