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
#include "dialogs/TransferChoices.h"
#include "dialogs/TransferPortList.h"
#include "transfer/Ch375.h"
#include "transfer/Link.h"
#include "transfer/TransferOutcome.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace ohmlet {

class TransferPrompter;
class TransferSession;
class TransferStatusBox;

class TransferDialog : public QDialog {
    Q_OBJECT
public:
    TransferDialog(Document& doc, QWidget* parent = nullptr);
    ~TransferDialog() override;

    bool IsFinished() const { return finished_; }
    QString TargetPath() const { return targetPath_; }

    // Tests answer the boxes; the prompter must outlive the dialog. Null: message boxes.
    void SetPrompter(TransferPrompter* prompter);
    // Where the USB link gets its chip (MakeCh375 unless set).
    void SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory);
    // The ports the COM type offers (COM1..COM6 on Windows, the system's serial
    // devices elsewhere); the command line and tests add a virtual instrument's port.
    void SetSerialPortNames(const QStringList& names);
    // The machine's serial ports; the port list offers them after USB1..USB6.
    void SetSerialPorts(const QList<SerialPortChoice>& ports);
    // Closes the open document when the target is its file; false when it stayed open.
    // Unset, a transfer into the open file is refused.
    void SetDocumentCloser(std::function<bool()> closer) { closer_ = std::move(closer); }
    // The time dated file names are made from; tests pin it.
    void SetClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    bool NamesByDate() const;
    void SetNamesByDate(bool on);
    bool IsTransferRunning() const;
    // The criterion downloaded components without a pass band get.
    void SetFillCriterion(const Criterion& criterion) { fill_ = criterion; }

    // Where the option is remembered between runs.
    static QString NameByDateKey();

public slots:
    void reject() override;

private slots:
    void OnFolder();
    void OnStart();
    void TakeTypedTarget();
    void OnUsbType();
    void OnComType();
    void OnEnded();
    void OnProgress(qulonglong received, qulonglong expected);
    void OnCounted(qulonglong components, qulonglong componentsExpected, qulonglong readings);

private:
    std::unique_ptr<Link> MakeLink(const TransferPortList::Choice& port) const;
    bool ConfirmTarget();
    void ClearStatus();
    void BuildControls();
    QGridLayout* BuildChoices();
    void UpdateTarget();
    // Whether the transfer may go on into the target file: asks to close the open
    // document when the target is its file.
    bool TargetIsFree();
    void SetRunning(bool running);
    // Shows how the transfer ended; ends the dialog unless the user may retry.
    void Complete(const TransferOutcome& result);
    void ShowReplyFailure(const TransferOutcome& result);
    TransferPrompter& Prompter();
    std::string TargetFileName() const;

    Document& doc_;
    QString targetPath_;
    bool finished_ = false;
    bool ended_ = false;
    QString folder_;
    QList<SerialPortChoice> serialPorts_;
    std::function<bool()> closer_;
    std::function<QDateTime()> clock_;
    bool runningUsb_ = false;
    std::function<std::unique_ptr<Ch375>()> chipFactory_;
    std::unique_ptr<TransferPrompter> ownPrompter_;
    TransferPrompter* prompter_ = nullptr;
    TransferSession* session_ = nullptr;
    Criterion fill_ = BuiltInDownloadCriterion();

    QLineEdit* targetEdit_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    TransferPortList* portList_ = nullptr;
    QComboBox* portTypeList_ = nullptr;
    QRadioButton* usbType_ = nullptr;
    QRadioButton* comType_ = nullptr;
    QLabel* portTypeCaption_ = nullptr;
    TransferStatusBox* status_ = nullptr;
    QCheckBox* nameByDate_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace ohmlet
