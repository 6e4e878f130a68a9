#pragma once
// "数据传输": the user picks the folder and the port and starts the download; the
// dialog ends as finished once the reply is decoded and written. The caller then
// reads IsFinished() and TargetPath() and opens the file.
#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>

#include "data/Criterion.h"
#include "data/Document.h"
#include "dialogs/TransferPortBox.h"
#include "dialogs/TransferTargetBox.h"
#include "transfer/Ch375.h"
#include "transfer/TransferOutcome.h"

class QPushButton;

namespace ohmlet {

class TransferPrompter;
class TransferSession;
class TransferStatusBox;
struct StartOutcome;

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    TransferDialog(Document& doc, QWidget* parent = nullptr);
    ~TransferDialog() override;

    bool IsFinished() const { return finished_; }
    QString TargetPath() const { return target_->Path(); }

    // Tests answer the boxes; the prompter must outlive the dialog. Null: message boxes.
    void SetPrompter(TransferPrompter* prompter);
    // Where the USB link gets its chip (MakeCh375 unless set).
    void SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory);
    // The ports the COM type offers (COM1..COM6 on Windows, the system's serial
    // devices elsewhere); the command line and tests add a virtual instrument's port.
    void SetSerialPortNames(const QStringList& names);
    // The machine's serial ports; the port list offers them after USB1..USB6.
    void SetSerialPorts(const QList<SerialPortChoice>& ports);
    static QList<SerialPortChoice> SystemSerialPorts() {
        return TransferPortBox::SystemSerialPorts();
    }
    // Closes the open document when the target is its file; false when it stayed open.
    // Unset, a transfer into the open file is refused.
    void SetDocumentCloser(std::function<bool()> closer) { closer_ = std::move(closer); }
    // The time dated file names are made from; tests pin it.
    void SetClock(std::function<QDateTime()> clock) { target_->SetClock(std::move(clock)); }
    bool NamesByDate() const { return target_->NamesByDate(); }
    void SetNamesByDate(bool on) { target_->SetNamesByDate(on); }
    bool IsTransferRunning() const;
    // The criterion downloaded components without a pass band get.
    void SetFillCriterion(const Criterion& criterion) { fill_ = criterion; }

    // The target path the folder rule gives for a chosen folder.
    static QString TargetForFolder(const QString& folder) {
        return TransferTargetBox::TargetForFolder(folder);
    }
    static QString DefaultTargetPath() { return TransferTargetBox::DefaultTargetPath(); }
    // A name of its own for each download: DZL_20261209_1405.DZL, with the seconds and
    // then a counter added while a file of that name exists.
    static QString DatedTargetForFolder(const QString& folder, const QDateTime& now,
                                        const std::function<bool(const QString&)>& exists) {
        return TransferTargetBox::DatedTargetForFolder(folder, now, exists);
    }
    // Where the option is remembered between runs.
    static QString NameByDateKey() { return TransferTargetBox::NameByDateKey(); }

public slots:
    void reject() override;

private slots:
    void OnFolder();
    void OnStart();
    void OnEnded();

private:
    void BuildControls();
    // Whether the transfer may go on into the target file: asks to close the open
    // document when the target is its file.
    bool TargetIsFree();
    void SetRunning(bool running);
    void ShowStartFailure(const StartOutcome& started, bool usb);
    // Shows how the transfer ended; ends the dialog unless the user may retry.
    void Complete(const TransferOutcome& result);
    // A reply the decoder refused can be kept for a bug report: the failure's box
    // offers to save the bytes as they arrived.
    void ShowReplyFailure(const QString& caption, const TransferOutcome& result);
    void SaveReply(const ByteBuffer& reply);
    TransferPrompter& Prompter();

    Document& doc_;
    bool finished_ = false;
    bool ended_ = false;
    std::function<bool()> closer_;
    bool runningUsb_ = false;
    std::unique_ptr<TransferPrompter> ownPrompter_;
    TransferPrompter* prompter_ = nullptr;
    TransferSession* session_ = nullptr;
    Criterion fill_ = kBuiltInDownloadCriterion;

    TransferTargetBox* target_ = nullptr;
    TransferPortBox* ports_ = nullptr;
    TransferStatusBox* status_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace ohmlet
