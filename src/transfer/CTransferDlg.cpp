#include "CTransferDlg.h"

#include <QApplication>
#include <QComboBox>
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
#include <QSerialPortInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "FileIdentity.h"
#include "SerialLink.h"
#include "SerialTransport.h"
#include "TransferPrompter.h"
#include "TransferTexts.h"
#include "UsbLink.h"

namespace ohmlet {
namespace {

QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

QStringList Numbered(const QString& prefix) {
    QStringList names;
    for (int i = 1; i <= 6; ++i) names << prefix + QString::number(i);
    return names;
}

QStringList SystemSerialPorts() {
#ifdef Q_OS_WIN
    return Numbered(QStringLiteral("COM"));
#else
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.systemLocation();
    names.sort();
    return names;
#endif
}

template <typename W>
W* Tagged(W* widget, int id, const char* name) {
    widget->setProperty("controlId", id);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QString WithCause(const std::string& message, const LinkResult& cause) {
    QString text = QString::fromStdString(message);
    if (!cause.ok()) text += QLatin1Char('\n') + QString::fromStdString(DescribeLinkResult(cause));
    return text;
}

}  // namespace

CTransferDlg::CTransferDlg(COhmletDoc& doc, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      targetPath_(DefaultTargetPath()),
      serialPorts_(SystemSerialPorts()),
      chipFactory_(&MakeCh375) {
    setWindowTitle(Text(transfer_texts::kDialogTitle));
    BuildControls();
    serialLink_ = new SerialLink(doc_.transferBuffer(), this);
    usbLink_ = new UsbLink(this);
    connect(serialLink_, &SerialLink::replyComplete, this, &CTransferDlg::OnSerialComplete);
    connect(serialLink_, &SerialLink::readFailed, this, &CTransferDlg::OnSerialReadFailed);
    connect(serialLink_, &SerialLink::progress, this, &CTransferDlg::OnProgress);
    connect(usbLink_, &UsbLink::progress, this, &CTransferDlg::OnProgress);
    connect(usbLink_, &UsbLink::ended, this, &CTransferDlg::OnUsbEnded);
    usbType_->setChecked(true);
    FillPortList(Numbered(QStringLiteral("USB")));
}

CTransferDlg::~CTransferDlg() {
    // The links stop here, before the document's buffer they fill could go.
    delete serialLink_;
    delete usbLink_;
}

void CTransferDlg::BuildControls() {
    targetEdit_ = Tagged(new QLineEdit(targetPath_), IDC_TARGET_PATH, "targetPath");
    targetEdit_->setReadOnly(true);
    targetEdit_->setMinimumWidth(320);
    folderButton_ = Tagged(new QPushButton(QStringLiteral("存放目录")), IDC_FOLDER, "folderButton");
    portList_ = Tagged(new QComboBox, IDC_PORT_LIST, "portList");
    usbType_ = Tagged(new QRadioButton(QStringLiteral("USB")), IDC_TYPE_USB, "typeUsb");
    comType_ = Tagged(new QRadioButton(QStringLiteral("COM")), IDC_TYPE_COM, "typeCom");
    portTypeCaption_ = new QLabel(QStringLiteral("端口类型"));
    portTypeList_ = Tagged(new QComboBox, IDC_PORT_TYPE_LIST, "portTypeList");
    portTypeList_->addItems({QStringLiteral("USB"), QStringLiteral("COM")});
    // The port type stays USB for the user; the COM path is reached by the program.
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{usbType_, comType_, portTypeCaption_, portTypeList_})
        hidden->setVisible(false);

    auto* status = Tagged(new QGroupBox(QStringLiteral("传输状态")), IDC_STATUS, "status");
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setFormat(QStringLiteral("%v / %m"));
    progress_->setTextVisible(false);  // bytes received of expected, once bytes arrive
    statusText_ = new QLabel;
    statusText_->setObjectName(QStringLiteral("statusText"));
    statusText_->setWordWrap(true);
    auto* statusLayout = new QVBoxLayout(status);
    statusLayout->addWidget(progress_);
    statusLayout->addWidget(statusText_);

    startButton_ = Tagged(new QPushButton(QStringLiteral("开始传输")), IDOK_START, "startButton");
    startButton_->setDefault(true);
    cancelButton_ =
        Tagged(new QPushButton(QStringLiteral("取消")), IDCANCEL_CANCEL, "cancelButton");

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("文件存储路径")), 0, 0);
    grid->addWidget(targetEdit_, 0, 1);
    grid->addWidget(folderButton_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("端口号")), 1, 0);
    grid->addWidget(portList_, 1, 1);
    auto* types = new QHBoxLayout;
    types->addWidget(portTypeCaption_);
    types->addWidget(usbType_);
    types->addWidget(comType_);
    types->addWidget(portTypeList_);
    grid->addLayout(types, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(status);
    layout->addLayout(buttons);

    connect(folderButton_, &QPushButton::clicked, this, &CTransferDlg::OnFolder);
    connect(startButton_, &QPushButton::clicked, this, &CTransferDlg::OnStart);
    connect(cancelButton_, &QPushButton::clicked, this, &CTransferDlg::reject);
    connect(usbType_, &QRadioButton::clicked, this, &CTransferDlg::OnUsbType);
    connect(comType_, &QRadioButton::clicked, this, &CTransferDlg::OnComType);
}

void CTransferDlg::SetPrompter(TransferPrompter* prompter) { prompter_ = prompter; }

void CTransferDlg::SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory) {
    chipFactory_ = std::move(factory);
}

void CTransferDlg::SetSerialPortNames(const QStringList& names) {
    serialPorts_ = names;
    if (comType_->isChecked()) FillPortList(serialPorts_);
}

bool CTransferDlg::IsTransferRunning() const {
    return serialLink_->IsRunning() || usbLink_->IsRunning();
}

TransferPrompter& CTransferDlg::Prompter() {
    if (prompter_) return *prompter_;
    if (!ownPrompter_) ownPrompter_ = std::make_unique<MessageBoxPrompter>();
    return *ownPrompter_;
}

QString CTransferDlg::DefaultTargetPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\DZLDat.DZL");
#else
    return QDir::toNativeSeparators(QDir::homePath() + QLatin1Char('/') +
                                    Text(transfer_texts::kTargetFileName));
#endif
}

QString CTransferDlg::TargetForFolder(const QString& folder) {
    QString name = Text(transfer_texts::kTargetFileName);
    if (folder.isEmpty() || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

std::string CTransferDlg::TargetFileName() const {
    return QFile::encodeName(targetPath_).toStdString();
}

void CTransferDlg::FillPortList(const QStringList& names) {
    portList_->clear();
    portList_->addItems(names);
    portList_->setCurrentIndex(names.isEmpty() ? -1 : 0);
}

void CTransferDlg::OnUsbType() { FillPortList(Numbered(QStringLiteral("USB"))); }
void CTransferDlg::OnComType() { FillPortList(serialPorts_); }

void CTransferDlg::OnFolder() {
    std::optional<QString> folder = Prompter().ChooseFolder(this, QStringLiteral("Select folder"));
    if (!folder) return;
    targetPath_ = TargetForFolder(*folder);
    targetEdit_->setText(targetPath_);
}

void CTransferDlg::SetRunning(bool running) {
    startButton_->setEnabled(!running || !usbType_->isChecked());
    folderButton_->setEnabled(!running);
    portList_->setEnabled(!running);
}

void CTransferDlg::OnStart() {
    const int position = portList_->currentIndex();
    if (SameFile(TargetFileName(), doc_.documentPath())) {
        Prompter().Inform(this, Text(transfer_texts::kFileIsOpen));
        return;
    }
    // The old file is not deleted here: the new one replaces it only once written,
    // so a failed transfer leaves it as it was.
    if (QFileInfo::exists(targetPath_) &&
        !Prompter().AskYesNo(this, Text(transfer_texts::kOverwriteCaption),
                             Text(transfer_texts::kOverwriteQuestion))) {
        return;
    }
    finished_ = false;
    ended_ = false;
    statusText_->clear();
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setTextVisible(false);

    if (usbType_->isChecked()) {
        if (usbLink_->IsRunning()) return;  // the running transfer must end first
        doc_.transferBuffer().clear();
        UsbLink::StartOutcome started{UsbLink::StartStatus::Failed,
                                      transfer_texts::kUsbOpenFailed,
                                      {LinkStatus::NoSuchDevice, "no port chosen"}};
        if (position >= 0) {
            started = usbLink_->Start(chipFactory_ ? chipFactory_() : nullptr,
                                      static_cast<unsigned>(position), TargetFileName());
        }
        if (started.status == UsbLink::StartStatus::Failed) {
            Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                                 WithCause(started.message, started.cause));
            return;
        }
        if (started.status == UsbLink::StartStatus::Busy) return;
        SetRunning(true);
        return;
    }

    QString port =
        position >= 0 && position < serialPorts_.size() ? serialPorts_[position] : QString();
    LinkResult opened = serialLink_->Start(std::make_unique<SerialTransport>(port));
    if (!opened.ok()) {
        Prompter().Inform(this, WithCause(transfer_texts::kCannotOpenSerial, opened));
        return;
    }
    SetRunning(true);
}

void CTransferDlg::OnProgress(qulonglong received, qulonglong expected) {
    int maximum = static_cast<int>(std::min<qulonglong>(std::max(expected, received), INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setTextVisible(maximum > 0);
    progress_->setValue(static_cast<int>(std::min<qulonglong>(received, INT_MAX)));
}

void CTransferDlg::OnSerialComplete() {
    SetRunning(false);
    Complete(CompleteTransfer(ReplyLayout::Serial, doc_.transferBuffer(), TargetFileName()));
}

void CTransferDlg::OnSerialReadFailed(const QString& cause) {
    SetRunning(false);
    statusText_->setText(cause);
}

void CTransferDlg::OnUsbEnded() {
    SetRunning(false);
    if (ended_) return;  // cancelled: the dialog has ended already
    const UsbLinkEnd& end = usbLink_->LastEnd();
    if (end.decoded) {
        doc_.transferBuffer().clear();
        Complete(end.result);
        return;
    }
    // What arrived stays in the buffer, as a record of the failed transfer.
    doc_.transferBuffer() = end.transfer.reply;
    using Status = UsbTransferOutcome::Status;
    switch (end.transfer.status) {
        case Status::RequestFailed:
        case Status::BadReply:
            Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                                 WithCause(end.transfer.message, end.transfer.cause));
            break;
        case Status::ReadFailed:
            statusText_->setText(QString::fromStdString(DescribeLinkResult(end.transfer.cause)));
            break;
        case Status::Cancelled:
        case Status::Complete:
            break;
    }
}

void CTransferDlg::Complete(const TransferResult& result) {
    using Status = TransferResult::Status;
    switch (result.status) {
        case Status::Written:
            finished_ = true;
            Prompter().Inform(this, QString::fromStdString(result.message));
            reject();  // the close request takes the cancel path, finished set
            return;
        case Status::NoData:
            // Nothing was written, so there is nothing for the frame to open.
            Prompter().Inform(this, QString::fromStdString(result.message));
            reject();
            return;
        case Status::Inconsistent:
        case Status::WriteFailed:
            Prompter().ShowError(this, QApplication::applicationName(),
                                 QString::fromStdString(result.message + "\n" + result.detail));
            return;  // the dialog stays open for another try
    }
}

void CTransferDlg::reject() {
    serialLink_->Stop();
    usbLink_->Cancel();  // the worker aborts, sends the end request and closes the device
    SetRunning(false);
    ended_ = true;
    QDialog::reject();
}

}  // namespace ohmlet
