#pragma once
// "数据传输": the user picks the folder and the port and starts the download; the
// dialog ends as finished once the reply is decoded and written. The caller then
// reads IsFinished() and TargetPath() and opens the file.
#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "data/Document.h"
#include "transfer/Ch375.h"
#include "transfer/TransferOutcome.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace ohmlet {

class TransferPrompter;
class TransferSession;

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
    bool IsTransferRunning() const;

    // The target path the folder rule gives for a chosen folder.
    static QString TargetForFolder(const QString& folder);
    static QString DefaultTargetPath();

public slots:
    void reject() override;

private slots:
    void OnFolder();
    void OnStart();
    void OnUsbType();
    void OnComType();
    void OnEnded();
    void OnProgress(qulonglong received, qulonglong expected);

private:
    void BuildControls();
    void FillPortList(const QStringList& names);
    void SetRunning(bool running);
    // Shows how the transfer ended; ends the dialog unless the user may retry.
    void Complete(const TransferOutcome& result);
    TransferPrompter& Prompter();
    std::string TargetFileName() const;

    Document& doc_;
    QString targetPath_;
    bool finished_ = false;
    bool ended_ = false;
    QStringList serialPorts_;
    std::function<std::unique_ptr<Ch375>()> chipFactory_;
    std::unique_ptr<TransferPrompter> ownPrompter_;
    TransferPrompter* prompter_ = nullptr;
    TransferSession* session_ = nullptr;

    QLineEdit* targetEdit_ = nullptr;
    QPushButton* folderButton_ = nullptr;
    QComboBox* portList_ = nullptr;
    QComboBox* portTypeList_ = nullptr;
    QRadioButton* usbType_ = nullptr;
    QRadioButton* comType_ = nullptr;
    QLabel* portTypeCaption_ = nullptr;
    QLabel* statusText_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace ohmlet
