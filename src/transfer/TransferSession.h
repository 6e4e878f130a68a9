#pragma once
// One download from start to file: opens a link, runs the serial or USB protocol over
// it on one worker thread, decodes the reply and writes the DZL file, then closes the
// link. Progress and the one result come back to the thread that owns the session
// through queued calls. The dialog and `ohmlet-cli fetch` both drive this.
#include <QObject>
#include <QPointer>
#include <functional>
#include <future>
#include <memory>
#include <string>

class QThread;

#include "data/Criterion.h"
#include "data/Outcome.h"
#include "transfer/Clock.h"
#include "transfer/Link.h"
#include "transfer/TransferOutcome.h"

namespace ohmlet {

struct TransferRun;
struct TransferJob;

enum class StartCode {
    Started,
    Busy,          // a worker is still running
    OpenFailed,    // text: "不能打开串口!" or the "DEBUG372" box text
    ThreadFailed,  // "端点2线程启动失败"
};

struct StartOutcome : Outcome<StartCode> {
    LinkStatus link = LinkStatus::Ok;
};

class TransferSession : public QObject {
    Q_OBJECT
public:
    explicit TransferSession(QObject* parent = nullptr);
    // Cancels a running worker and waits for it: nothing outlives the session unjoined.
    ~TransferSession() override;

    // Opens link (on the worker, which waits for nothing else) and, once it is open,
    // downloads into targetPath. Returns when the link is open or has failed to open;
    // only a started transfer ends with ended(). idleMs > 0: a serial transfer gives
    // up after that long without a byte.
    StartOutcome Start(std::unique_ptr<Link> link, ReplyLayout layout, std::string targetPath,
                       int idleMs = 0);
    // The criterion downloaded components without a pass band get (settings, or the
    // built-in one); taken by the next Start.
    void SetFillCriterion(const Criterion& criterion) { fill_ = criterion; }
    // A written transfer keeps its reply in Result().received too (a failed one always
    // does), so it can be saved; taken by the next Start.
    void SetKeepReply(bool keep) { keepReply_ = keep; }
    // The clock a serial transfer's idle time and the counting pace run on; it must
    // outlive the transfer. Taken by the next Start.
    void SetClock(Clock& clock) { clock_ = &clock; }
    // The transfer ends at its next step; the link's pending call is aborted.
    void Cancel();
    // Cancels and waits until the worker has closed the link.
    void CancelAndWait();
    bool IsRunning() const;
    // How the last started transfer ended, valid after ended(); received holds the raw
    // reply when the transfer failed or SetKeepReply asked for it.
    const TransferOutcome& Result() const { return result_; }

signals:
    void progress(qulonglong received, qulonglong expected);
    // What the bytes so far hold, once the reply's header has arrived: components
    // complete of those announced, and readings.
    void counted(qulonglong components, qulonglong componentsExpected, qulonglong readings);
    void ended();

private:
    // Waits until the worker has opened the link or failed to.
    StartOutcome AwaitOpen(std::future<LinkResult>& opened, ReplyLayout layout);
    static void Work(QPointer<TransferSession> self, const TransferJob& job);
    static void PostToSession(const QPointer<TransferSession>& self, unsigned number,
                              std::function<void(TransferSession&)> call);
    void Deliver(unsigned run, TransferOutcome result);
    void JoinFinishedWorker();

    std::shared_ptr<TransferRun> run_;
    unsigned runNumber_ = 0;
    std::unique_ptr<QThread> worker_;
    TransferOutcome result_;
    Criterion fill_ = BuiltInDownloadCriterion();
    bool keepReply_ = false;
    Clock* clock_ = &SystemClock::Instance();
};

}  // namespace ohmlet
