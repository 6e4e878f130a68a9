#include "dialogs/TransferDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "data/FileIdentity.h"
#include "data/SafeFile.h"
#include "dialogs/TransferChoices.h"
#include "dialogs/TransferPortList.h"
#include "dialogs/TransferPrompter.h"
#include "dialogs/TransferStatusBox.h"
#include "transfer/Ch375Link.h"
#include "transfer/SerialLink.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"
#include "widgets/ProductName.h"

namespace ohmlet {
namespace {

// The transfer's fixed texts in the window's language.
QString Text(const char* utf8) {
    return QCoreApplication::translate("ohmlet::transfer_texts", utf8);
}

// The frame's settings, where the recent files are kept too.
QSettings ProgramSettings() {
    return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("Ohmlet"));
}

template <typename W>
W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString WithCause(const std::string& text, const std::string& cause) {
    QString shown = Text(text.c_str());
    if (!cause.empty()) shown += QLatin1Char('\n') + QString::fromStdString(cause);
    return shown;
}

}  // namespace

TransferDialog::TransferDialog(Document& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      targetPath_(DefaultTransferTarget()),
      serialPorts_(SystemSerialPorts()),
      clock_([] { return QDateTime::currentDateTime(); }),
      chipFactory_(&MakeCh375) {
    setWindowTitle(Text(transfer_texts::kDialogTitle));
    folder_ = targetPath_.left(targetPath_.size() - Text(transfer_texts::kTargetFileName).size());
    BuildControls();
    session_ = new TransferSession(this);
    connect(session_, &TransferSession::progress, this, &TransferDialog::OnProgress);
    connect(session_, &TransferSession::counted, this, &TransferDialog::OnCounted);
    connect(session_, &TransferSession::ended, this, &TransferDialog::OnEnded);
    usbType_->setChecked(true);
    portList_->Fill(serialPorts_, true);
    nameByDate_->setChecked(ProgramSettings().value(NameByDateKey(), false).toBool());
    UpdateTarget();
}

QString TransferDialog::NameByDateKey() { return QStringLiteral("Transfer/NameByDate"); }

bool TransferDialog::NamesByDate() const { return nameByDate_->isChecked(); }

void TransferDialog::SetNamesByDate(bool on) { nameByDate_->setChecked(on); }

void TransferDialog::UpdateTarget() {
    if (nameByDate_->isChecked())
        targetPath_ = DatedTransferTarget(
            folder_, clock_(), [](const QString& path) { return QFileInfo::exists(path); });
    else
        targetPath_ = TransferTargetForFolder(folder_);
    targetEdit_->setText(targetPath_);
}

TransferDialog::~TransferDialog() {
    // The worker stops here, before anything it reports to could go.
    delete session_;
}

// The file, the port, and the option to name each download by its time.
QGridLayout* TransferDialog::BuildChoices() {
    targetEdit_ = Named(new QLineEdit(targetPath_), "targetPath");
    targetEdit_->setMinimumWidth(320);
    folderButton_ = Named(new QPushButton(tr("存放目录")), "folderButton");
    portList_ = new TransferPortList;
    usbType_ = Named(new QRadioButton(QStringLiteral("USB")), "typeUsb");
    comType_ = Named(new QRadioButton(QStringLiteral("COM")), "typeCom");
    portTypeCaption_ = new QLabel(tr("端口类型"));
    portTypeList_ = Named(new QComboBox, "portTypeList");
    portTypeList_->addItems({QStringLiteral("USB"), QStringLiteral("COM")});
    // The port type stays USB for the user; the COM path is reached by the program.
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{usbType_, comType_, portTypeCaption_, portTypeList_})
        hidden->setVisible(false);
    nameByDate_ = new QCheckBox(tr("按日期和时间命名文件(&D)"));
    nameByDate_->setObjectName(QStringLiteral("nameByDate"));
    nameByDate_->setToolTip(tr("每次传输保存为新文件，例如 DZL_20261209_1405.DZL"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("文件存储路径")), 0, 0);
    grid->addWidget(targetEdit_, 0, 1);
    grid->addWidget(folderButton_, 0, 2);
    grid->addWidget(new QLabel(tr("端口号")), 1, 0);
    grid->addWidget(portList_, 1, 1);
    auto* types = new QHBoxLayout;
    types->addWidget(portTypeCaption_);
    types->addWidget(usbType_);
    types->addWidget(comType_);
    types->addWidget(portTypeList_);
    grid->addLayout(types, 2, 1);
    grid->addWidget(nameByDate_, 3, 1);
    return grid;
}

void TransferDialog::BuildControls() {
    QGridLayout* choices = BuildChoices();
    status_ = new TransferStatusBox;
    startButton_ = Named(new QPushButton(tr("开始传输")), "startButton");
    startButton_->setDefault(true);
    cancelButton_ = Named(new QPushButton(tr("取消")), "cancelButton");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    connect(targetEdit_, &QLineEdit::editingFinished, this, &TransferDialog::TakeTypedTarget);
    connect(folderButton_, &QPushButton::clicked, this, &TransferDialog::OnFolder);
    connect(startButton_, &QPushButton::clicked, this, &TransferDialog::OnStart);
    connect(cancelButton_, &QPushButton::clicked, this, &TransferDialog::reject);
    connect(usbType_, &QRadioButton::clicked, this, &TransferDialog::OnUsbType);
    connect(comType_, &QRadioButton::clicked, this, &TransferDialog::OnComType);
    connect(nameByDate_, &QCheckBox::toggled, this, [this](bool on) {
        ProgramSettings().setValue(NameByDateKey(), on);
        UpdateTarget();
    });
}

void TransferDialog::SetPrompter(TransferPrompter* prompter) { prompter_ = prompter; }

void TransferDialog::SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory) {
    chipFactory_ = std::move(factory);
}

void TransferDialog::SetSerialPortNames(const QStringList& names) {
    QList<SerialPortChoice> ports;
    for (const QString& name : names) ports.append({name, name});
    SetSerialPorts(ports);
}

void TransferDialog::SetSerialPorts(const QList<SerialPortChoice>& ports) {
    serialPorts_ = ports;
    portList_->Fill(serialPorts_, !comType_->isChecked());
}

bool TransferDialog::IsTransferRunning() const { return session_->IsRunning(); }

TransferPrompter& TransferDialog::Prompter() {
    if (prompter_) return *prompter_;
    if (!ownPrompter_) ownPrompter_ = std::make_unique<MessageBoxPrompter>();
    return *ownPrompter_;
}

std::string TransferDialog::TargetFileName() const {
    return QFile::encodeName(targetPath_).toStdString();
}

void TransferDialog::OnUsbType() { portList_->Fill(serialPorts_, true); }

void TransferDialog::OnComType() {
#ifdef Q_OS_WIN
    portList_->FillNames(NumberedPorts(QStringLiteral("COM")));
#else
    portList_->Fill(serialPorts_, false);
#endif
}

void TransferDialog::OnFolder() {
    std::optional<QString> folder = Prompter().ChooseFolder(this, QStringLiteral("Select folder"));
    if (!folder) return;
    folder_ = *folder;
    UpdateTarget();
}

void TransferDialog::SetRunning(bool running) {
    startButton_->setEnabled(!running || !runningUsb_);
    folderButton_->setEnabled(!running);
    portList_->setEnabled(!running);
    nameByDate_->setEnabled(!running);
}

bool TransferDialog::TargetIsFree() {
    if (!SameFile(TargetFileName(), doc_.DocumentPath())) return true;
    // Unsaved edits would be lost with the file: then the document must be closed first.
    if (!closer_ || doc_.IsModified()) {
        Prompter().Inform(this, Text(transfer_texts::kFileIsOpen));
        return false;
    }
    if (!Prompter().AskYesNo(this, Text(transfer_texts::kOverwriteCaption),
                             Text(transfer_texts::kCloseAndContinue)))
        return false;
    return closer_() && !SameFile(TargetFileName(), doc_.DocumentPath());
}

// A typed path names the file itself: its folder becomes the folder, and a name by date
// would overrule what was typed.
void TransferDialog::TakeTypedTarget() {
    const QString typed = QDir::toNativeSeparators(targetEdit_->text().trimmed());
    if (typed.isEmpty() || typed == targetPath_) {
        targetEdit_->setText(targetPath_);
        return;
    }
    nameByDate_->setChecked(false);
    targetPath_ = typed;
    folder_ = QDir::toNativeSeparators(QFileInfo(typed).absolutePath());
    targetEdit_->setText(targetPath_);
}

std::unique_ptr<Link> TransferDialog::MakeLink(const TransferPortList::Choice& port) const {
    if (port.usbIndex >= 0)
        return std::make_unique<Ch375Link>(chipFactory_ ? chipFactory_() : nullptr,
                                           static_cast<unsigned>(port.usbIndex));
    if (!port.location.isEmpty()) return std::make_unique<SerialLink>(port.location.toStdString());
    return nullptr;
}

// Whether the download may go to the target file. Replacing the file is asked first, so
// that No leaves the open document open too. The old file is not deleted here: the new one
// replaces it only once written, so a failed transfer leaves it as it was.
bool TransferDialog::ConfirmTarget() {
    TakeTypedTarget();
    // A dated name is made afresh: the time has moved on since the dialog opened.
    if (nameByDate_->isChecked() && !session_->IsRunning()) UpdateTarget();
    if (QFileInfo::exists(targetPath_) &&
        !Prompter().AskYesNo(this, Text(transfer_texts::kOverwriteCaption),
                             Text(transfer_texts::kOverwriteQuestion)))
        return false;
    return TargetIsFree();
}

void TransferDialog::ClearStatus() {
    finished_ = false;
    ended_ = false;
    status_->Clear();
}

void TransferDialog::OnStart() {
    const TransferPortList::Choice port = portList_->Chosen();
    // Nothing chosen or typed: the port type says which link is missing.
    const bool usb = port.usbIndex >= 0 || (port.location.isEmpty() && usbType_->isChecked());
    if (!ConfirmTarget()) return;
    ClearStatus();
    if (session_->IsRunning()) {
        if (runningUsb_) return;    // the running transfer must end first
        session_->CancelAndWait();  // a serial start begins again
    }
    runningUsb_ = usb;
    doc_.TransferBuffer().clear();
    session_->SetFillCriterion(fill_);
    StartOutcome started = session_->Start(
        MakeLink(port), usb ? ReplyLayout::Usb : ReplyLayout::Serial, TargetFileName());
    switch (started.code) {
        case StartCode::Started:
            SetRunning(true);
            return;
        case StartCode::Busy:
            return;
        case StartCode::OpenFailed:
        case StartCode::ThreadFailed:
            if (usb) {
                Prompter().ShowError(nullptr, ProductName(),
                                     WithCause(started.text, started.cause));
            } else {
                // The cause names no port: say which one would not open.
                Prompter().Inform(
                    this, WithCause(started.text, port.name.toStdString() + ": " + started.cause));
            }
            return;
    }
}

void TransferDialog::OnProgress(qulonglong received, qulonglong expected) {
    status_->ShowBytes(received, expected);
}

void TransferDialog::OnCounted(qulonglong components, qulonglong componentsExpected,
                               qulonglong readings) {
    status_->ShowCounts(components, componentsExpected, readings);
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
        case TransferCode::BadBlocks:
            ShowReplyFailure(result);
            return;  // the dialog stays open for another try
        case TransferCode::WriteFailed:
            Prompter().ShowError(this, ProductName(), WithCause(result.text, result.cause));
            return;
        case TransferCode::RequestFailed:
            Prompter().ShowError(nullptr, ProductName(), WithCause(result.text, result.cause));
            return;
        case TransferCode::ReadFailed:
        case TransferCode::Stalled:
            status_->ShowCause(QString::fromStdString(result.cause));
            return;
        case TransferCode::Cancelled:
            return;
    }
}

// A reply the decoder refused can be kept for a bug report, and decoded again later.
void TransferDialog::ShowReplyFailure(const TransferOutcome& result) {
    // The USB boxes have always come without an owner window; the decoder's with one.
    QWidget* owner = result.code == TransferCode::BadBlocks ? nullptr : this;
    const QString text = WithCause(result.text, result.cause);
    if (result.received.empty()) {
        Prompter().ShowError(owner, ProductName(), text);
        return;
    }
    if (Prompter().ShowErrorWithOffer(owner, ProductName(), text, tr("保存原始数据(&S)...")))
        Prompter().SaveReply(this, QFileInfo(targetPath_).absolutePath(), runningUsb_,
                             result.received);
}

void TransferDialog::reject() {
    session_->Cancel();  // the worker aborts, ends the instrument's transfer and closes the link
    SetRunning(false);
    ended_ = true;
    QDialog::reject();
}

}  // namespace ohmlet
