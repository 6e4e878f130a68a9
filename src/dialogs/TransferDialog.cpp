#include "dialogs/TransferDialog.h"

#include <QApplication>
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
#include <QSerialPortInfo>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "data/FileIdentity.h"
#include "dialogs/TransferPrompter.h"
#include "transfer/Ch375Link.h"
#include "transfer/SerialPortLink.h"
#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"
#include "widgets/ProductName.h"

namespace ohmlet {
namespace {

// The transfer's fixed texts in the window's language.
QString Text(const char* utf8) {
    return QCoreApplication::translate("ohmlet::transfer_texts", utf8);
}

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
      targetPath_(DefaultTargetPath()),
      serialPorts_(SystemSerialPorts()),
      chipFactory_(&MakeCh375) {
    setWindowTitle(Text(transfer_texts::kDialogTitle));
    BuildControls();
    session_ = new TransferSession(this);
    connect(session_, &TransferSession::progress, this, &TransferDialog::OnProgress);
    connect(session_, &TransferSession::ended, this, &TransferDialog::OnEnded);
    usbType_->setChecked(true);
    FillPortList(Numbered(QStringLiteral("USB")));
}

TransferDialog::~TransferDialog() {
    // The worker stops here, before anything it reports to could go.
    delete session_;
}

void TransferDialog::BuildControls() {
    targetEdit_ = Named(new QLineEdit(targetPath_), "targetPath");
    targetEdit_->setReadOnly(true);
    targetEdit_->setMinimumWidth(320);
    folderButton_ = Named(new QPushButton(tr("存放目录")), "folderButton");
    portList_ = Named(new QComboBox, "portList");
    usbType_ = Named(new QRadioButton(QStringLiteral("USB")), "typeUsb");
    comType_ = Named(new QRadioButton(QStringLiteral("COM")), "typeCom");
    portTypeCaption_ = new QLabel(tr("端口类型"));
    portTypeList_ = Named(new QComboBox, "portTypeList");
    portTypeList_->addItems({QStringLiteral("USB"), QStringLiteral("COM")});
    // The port type stays USB for the user; the COM path is reached by the program.
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{usbType_, comType_, portTypeCaption_, portTypeList_})
        hidden->setVisible(false);

    auto* status = Named(new QGroupBox(tr("传输状态")), "status");
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

    startButton_ = Named(new QPushButton(tr("开始传输")), "startButton");
    startButton_->setDefault(true);
    cancelButton_ = Named(new QPushButton(tr("取消")), "cancelButton");

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
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(startButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(status);
    layout->addLayout(buttons);

    connect(folderButton_, &QPushButton::clicked, this, &TransferDialog::OnFolder);
    connect(startButton_, &QPushButton::clicked, this, &TransferDialog::OnStart);
    connect(cancelButton_, &QPushButton::clicked, this, &TransferDialog::reject);
    connect(usbType_, &QRadioButton::clicked, this, &TransferDialog::OnUsbType);
    connect(comType_, &QRadioButton::clicked, this, &TransferDialog::OnComType);
}

void TransferDialog::SetPrompter(TransferPrompter* prompter) { prompter_ = prompter; }

void TransferDialog::SetCh375Factory(std::function<std::unique_ptr<Ch375>()> factory) {
    chipFactory_ = std::move(factory);
}

void TransferDialog::SetSerialPortNames(const QStringList& names) {
    serialPorts_ = names;
    if (comType_->isChecked()) FillPortList(serialPorts_);
}

bool TransferDialog::IsTransferRunning() const { return session_->IsRunning(); }

TransferPrompter& TransferDialog::Prompter() {
    if (prompter_) return *prompter_;
    if (!ownPrompter_) ownPrompter_ = std::make_unique<MessageBoxPrompter>();
    return *ownPrompter_;
}

QString TransferDialog::DefaultTargetPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\DZLDat.DZL");
#else
    return QDir::toNativeSeparators(QDir::homePath() + QLatin1Char('/') +
                                    Text(transfer_texts::kTargetFileName));
#endif
}

QString TransferDialog::TargetForFolder(const QString& folder) {
    QString name = Text(transfer_texts::kTargetFileName);
    if (folder.isEmpty() || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

std::string TransferDialog::TargetFileName() const {
    return QFile::encodeName(targetPath_).toStdString();
}

void TransferDialog::FillPortList(const QStringList& names) {
    portList_->clear();
    portList_->addItems(names);
    portList_->setCurrentIndex(names.isEmpty() ? -1 : 0);
}

void TransferDialog::OnUsbType() { FillPortList(Numbered(QStringLiteral("USB"))); }
void TransferDialog::OnComType() { FillPortList(serialPorts_); }

void TransferDialog::OnFolder() {
    std::optional<QString> folder = Prompter().ChooseFolder(this, QStringLiteral("Select folder"));
    if (!folder) return;
    targetPath_ = TargetForFolder(*folder);
    targetEdit_->setText(targetPath_);
}

void TransferDialog::SetRunning(bool running) {
    startButton_->setEnabled(!running || !usbType_->isChecked());
    folderButton_->setEnabled(!running);
    portList_->setEnabled(!running);
}

void TransferDialog::OnStart() {
    const int position = portList_->currentIndex();
    if (SameFile(TargetFileName(), doc_.DocumentPath())) {
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

    const bool usb = usbType_->isChecked();
    if (session_->IsRunning()) {
        if (usb) return;            // the running transfer must end first
        session_->CancelAndWait();  // a serial start begins again
    }
    std::unique_ptr<Link> link;
    if (usb) {
        if (position >= 0)
            link = std::make_unique<Ch375Link>(chipFactory_ ? chipFactory_() : nullptr,
                                               static_cast<unsigned>(position));
    } else if (position >= 0 && position < serialPorts_.size()) {
        link = std::make_unique<SerialPortLink>(serialPorts_[position]);
    }
    doc_.TransferBuffer().clear();
    StartOutcome started = session_->Start(
        std::move(link), usb ? ReplyLayout::Usb : ReplyLayout::Serial, TargetFileName());
    switch (started.code) {
        case StartCode::Started:
            SetRunning(true);
            return;
        case StartCode::Busy:
            return;
        case StartCode::OpenFailed:
        case StartCode::ThreadFailed:
            if (usb) {
                Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                                     WithCause(started.text, started.cause));
            } else {
                Prompter().Inform(this, WithCause(started.text, started.cause));
            }
            return;
    }
}

void TransferDialog::OnProgress(qulonglong received, qulonglong expected) {
    int maximum = static_cast<int>(std::min<qulonglong>(std::max(expected, received), INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setTextVisible(maximum > 0);
    progress_->setValue(static_cast<int>(std::min<qulonglong>(received, INT_MAX)));
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
        case TransferCode::WriteFailed:
            Prompter().ShowError(this, ProductName(), WithCause(result.text, result.cause));
            return;  // the dialog stays open for another try
        case TransferCode::RequestFailed:
        case TransferCode::BadBlocks:
            Prompter().ShowError(nullptr, Text(transfer_texts::kUsbCaption),
                                 WithCause(result.text, result.cause));
            return;
        case TransferCode::ReadFailed:
        case TransferCode::Stalled:
            statusText_->setText(QString::fromStdString(result.cause));
            return;
        case TransferCode::Cancelled:
            return;
    }
}

void TransferDialog::reject() {
    session_->Cancel();  // the worker aborts, ends the instrument's transfer and closes the link
    SetRunning(false);
    ended_ = true;
    QDialog::reject();
}

}  // namespace ohmlet
