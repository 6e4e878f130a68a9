#include "dialogs/TransferDialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/FileIdentity.h"
#include "data/SafeFile.h"
#include "dialogs/TransferPrompter.h"
#include "dialogs/TransferStatusBox.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"
#include "widgets/ProductName.h"

namespace ohmlet {
namespace {

// The transfer's fixed texts in the window's language.
QString Text(const char* utf8) {
    return QCoreApplication::translate("ohmlet::transfer_texts", utf8);
}

QString WithCause(const std::string& text, const std::string& cause) {
    QString shown = Text(text.c_str());
    if (!cause.empty()) shown += QLatin1Char('\n') + QString::fromStdString(cause);
    return shown;
}

}  // namespace

TransferDialog::TransferDialog(Document& doc, QWidget* parent) : QDialog(parent), doc_(doc) {
    setWindowTitle(Text(transfer_texts::kDialogTitle));
    BuildControls();
    session_ = new TransferSession(this);
    connect(session_, &TransferSession::progress, status_, &TransferStatusBox::ShowBytes);
    connect(session_, &TransferSession::counted, status_, &TransferStatusBox::ShowCounts);
    connect(session_, &TransferSession::ended, this, &TransferDialog::OnEnded);
}

TransferDialog::~TransferDialog() {
    // The worker stops here, before anything it reports to could go.
    delete session_;
}

void TransferDialog::BuildControls() {
    target_ = new TransferTargetBox(this);
    ports_ = new TransferPortBox(this);
    status_ = new TransferStatusBox;
    startButton_ = new QPushButton(tr("开始传输"));
    startButton_->setObjectName(QStringLiteral("startButton"));
    startButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("取消"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));

    auto* grid = new QGridLayout;
    target_->PlacePath(*grid, 0);
    ports_->Place(*grid, 1, 2);
    target_->PlaceOption(*grid, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    connect(target_->FolderButton(), &QPushButton::clicked, this, &TransferDialog::OnFolder);
    connect(startButton_, &QPushButton::clicked, this, &TransferDialog::OnStart);
    connect(cancelButton_, &QPushButton::clicked, this, &TransferDialog::reject);
}

void TransferDialog::SetPrompter(TransferPrompter* prompter) { prompter_ = prompter; }

void TransferDialog::SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory) {
    ports_->SetCh375Factory(std::move(factory));
}

void TransferDialog::SetSerialPortNames(const QStringList& names) {
    QList<SerialPortChoice> ports;
    for (const QString& name : names) ports.append({name, name});
    SetSerialPorts(ports);
}

void TransferDialog::SetSerialPorts(const QList<SerialPortChoice>& ports) {
    ports_->SetSerialPorts(ports);
}

bool TransferDialog::IsTransferRunning() const { return session_->IsRunning(); }

TransferPrompter& TransferDialog::Prompter() {
    if (prompter_) return *prompter_;
    if (!ownPrompter_) ownPrompter_ = std::make_unique<MessageBoxPrompter>();
    return *ownPrompter_;
}

void TransferDialog::OnFolder() {
    std::optional<QString> folder = Prompter().ChooseFolder(this, QStringLiteral("Select folder"));
    if (folder) target_->SetFolder(*folder);
}

void TransferDialog::SetRunning(bool running) {
    startButton_->setEnabled(!running || !runningUsb_);
    target_->SetEnabled(!running);
    ports_->SetEnabled(!running);
}

bool TransferDialog::TargetIsFree() {
    if (!SameFile(target_->FileName(), doc_.DocumentPath())) return true;
    // Unsaved edits would be lost with the file: then the document must be closed first.
    if (!closer_ || doc_.IsModified()) {
        Prompter().Inform(this, Text(transfer_texts::kFileIsOpen));
        return false;
    }
    if (!Prompter().AskYesNo(this, Text(transfer_texts::kOverwriteCaption),
                             Text(transfer_texts::kCloseAndContinue)))
        return false;
    return closer_() && !SameFile(target_->FileName(), doc_.DocumentPath());
}

void TransferDialog::OnStart() {
    // A dated name is made afresh: the time has moved on since the dialog opened.
    if (target_->NamesByDate() && !session_->IsRunning()) target_->Refresh();
    if (!TargetIsFree()) return;
    // The old file is not deleted here: the new one replaces it only once written,
    // so a failed transfer leaves it as it was.
    if (QFileInfo::exists(target_->Path()) &&
        !Prompter().AskYesNo(this, Text(transfer_texts::kOverwriteCaption),
                             Text(transfer_texts::kOverwriteQuestion))) {
        return;
    }
    finished_ = false;
    ended_ = false;
    status_->Reset();

    const bool usb = ports_->ChosenIsUsb();
    if (session_->IsRunning()) {
        if (runningUsb_) return;    // the running transfer must end first
        session_->CancelAndWait();  // a serial start begins again
    }
    std::unique_ptr<Link> link = ports_->MakeLink();
    runningUsb_ = usb;
    doc_.TransferBuffer().clear();
    session_->SetFillCriterion(fill_);
    StartOutcome started = session_->Start(
        std::move(link), usb ? ReplyLayout::Usb : ReplyLayout::Serial, target_->FileName());
    if (started.code == StartCode::Started) SetRunning(true);
    if (started.code == StartCode::OpenFailed || started.code == StartCode::ThreadFailed)
        ShowStartFailure(started, usb);
}

void TransferDialog::ShowStartFailure(const StartOutcome& started, bool usb) {
    if (usb) {
        Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                             WithCause(started.text, started.cause));
    } else {
        Prompter().Inform(this, WithCause(started.text, started.cause));
    }
}

void TransferDialog::OnEnded() {
    SetRunning(false);
    if (ended_) return;  // cancelled: the dialog has ended already
    const TransferOutcome& result = session_->Result();
    // What arrived stays in the buffer, as a record of the failed transfer.
    doc_.TransferBuffer() = result.received;
    Complete(result);
}

void TransferDialog::Complete(const TransferOutcome& result) {
    switch (result.code) {
        case TransferCode::Written:
            finished_ = true;
            Prompter().Inform(this, Text(result.text.c_str()));
            reject();  // the close request takes the cancel path, finished set
            return;
        case TransferCode::NoData:
            // Nothing was written, so there is nothing for the frame to open.
            Prompter().Inform(this, Text(result.text.c_str()));
            reject();
            return;
        case TransferCode::Inconsistent:
            ShowReplyFailure(ProductName(), result);
            return;  // the dialog stays open for another try
        case TransferCode::WriteFailed:
            Prompter().ShowError(this, ProductName(), WithCause(result.text, result.cause));
            return;
        case TransferCode::RequestFailed:
            Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                                 WithCause(result.text, result.cause));
            return;
        case TransferCode::BadBlocks:
            ShowReplyFailure(Text(transfer_texts::kUsbCaption), result);
            return;
        case TransferCode::ReadFailed:
        case TransferCode::Stalled:
            status_->ShowCause(QString::fromStdString(result.cause));
            return;
        case TransferCode::Cancelled:
            return;
    }
}

void TransferDialog::ShowReplyFailure(const QString& caption, const TransferOutcome& result) {
    // The USB boxes have always come without an owner window; the decoder's with one.
    QWidget* owner = result.code == TransferCode::BadBlocks ? nullptr : this;
    const QString text = WithCause(result.text, result.cause);
    if (result.received.empty()) {
        Prompter().ShowError(owner, caption, text);
        return;
    }
    if (Prompter().ShowErrorWithOffer(owner, caption, text, tr("保存原始数据(&S)...")))
        SaveReply(result.received);
}

void TransferDialog::SaveReply(const ByteBuffer& reply) {
    const QString suggested =
        QFileInfo(target_->Path()).absolutePath() + QLatin1Char('/') +
        (runningUsb_ ? QStringLiteral("reply_usb.bin") : QStringLiteral("reply_serial.bin"));
    std::optional<QString> path = Prompter().ChooseSaveFile(
        this, tr("保存原始数据"), suggested, tr("仪器原始数据 (*.bin);;所有文件 (*)"));
    if (!path) return;
    SafeWriteResult saved = WriteFileSafely(QFile::encodeName(*path).toStdString(), reply);
    if (!saved.Ok())
        Prompter().ShowError(
            this, ProductName(),
            tr("不能保存原始数据!") + QLatin1Char('\n') + QString::fromStdString(saved.text));
}

void TransferDialog::reject() {
    session_->Cancel();  // the worker aborts, ends the instrument's transfer and closes the link
    SetRunning(false);
    ended_ = true;
    QDialog::reject();
}

}  // namespace ohmlet
