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
#include "dialogs/TransferPrompter.h"
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

QStringList Numbered(const QString& prefix) {
    QStringList names;
    for (int i = 1; i <= 6; ++i) names << prefix + QString::number(i);
    return names;
}

constexpr int kLocationRole = Qt::UserRole;
constexpr int kUsbIndexRole = Qt::UserRole + 1;

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
      targetPath_(DefaultTargetPath()),
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
    FillPortList(serialPorts_, true);
    nameByDate_->setChecked(ProgramSettings().value(NameByDateKey(), false).toBool());
    UpdateTarget();
}

QList<SerialPortChoice> TransferDialog::SystemSerialPorts() {
    QList<SerialPortChoice> ports;
    for (const SerialPortName& port : ListSerialPorts())
        ports.append({QString::fromStdString(port.name), QString::fromStdString(port.location)});
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortChoice& a, const SerialPortChoice& b) { return a.name < b.name; });
    return ports;
}

QString TransferDialog::NameByDateKey() { return QStringLiteral("Transfer/NameByDate"); }

bool TransferDialog::NamesByDate() const { return nameByDate_->isChecked(); }

void TransferDialog::SetNamesByDate(bool on) { nameByDate_->setChecked(on); }

QString TransferDialog::DatedTargetForFolder(const QString& folder, const QDateTime& now,
                                             const std::function<bool(const QString&)>& exists) {
    const QString dir =
        TargetForFolder(folder).chopped(Text(transfer_texts::kTargetFileName).size());
    const QString minute = QStringLiteral("DZL_") + now.toString(QStringLiteral("yyyyMMdd_HHmm"));
    QString path = dir + minute + QStringLiteral(".DZL");
    if (!exists(path)) return path;
    const QString second = minute + now.toString(QStringLiteral("ss"));
    path = dir + second + QStringLiteral(".DZL");
    for (int n = 2; exists(path); ++n) path = dir + second + QStringLiteral("_%1.DZL").arg(n);
    return path;
}

void TransferDialog::UpdateTarget() {
    if (nameByDate_->isChecked())
        targetPath_ = DatedTargetForFolder(
            folder_, clock_(), [](const QString& path) { return QFileInfo::exists(path); });
    else
        targetPath_ = TargetForFolder(folder_);
    targetEdit_->setText(targetPath_);
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
    nameByDate_ = new QCheckBox(tr("按日期和时间命名文件(&D)"));
    nameByDate_->setObjectName(QStringLiteral("nameByDate"));
    nameByDate_->setToolTip(tr("每次传输保存为新文件，例如 DZL_20261209_1405.DZL"));
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
    grid->addWidget(nameByDate_, 3, 1);
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
    FillPortList(serialPorts_, !comType_->isChecked());
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
    QList<SerialPortChoice> ports;
    for (const QString& name : names) ports.append({name, name});
    FillPortList(ports, false);
}

// Each entry knows its link: a USB device index, or the serial port's location.
void TransferDialog::FillPortList(const QList<SerialPortChoice>& serial, bool withUsb) {
    portList_->clear();
    if (withUsb) {
        const QStringList usb = Numbered(QStringLiteral("USB"));
        for (int i = 0; i < usb.size(); ++i) {
            portList_->addItem(usb[i]);
            portList_->setItemData(i, i, kUsbIndexRole);
        }
    }
    for (const SerialPortChoice& port : serial) {
        portList_->addItem(port.name, port.location);
        portList_->setItemData(portList_->count() - 1, -1, kUsbIndexRole);
    }
    portList_->setCurrentIndex(portList_->count() == 0 ? -1 : 0);
}

void TransferDialog::OnUsbType() { FillPortList(serialPorts_, true); }

void TransferDialog::OnComType() {
#ifdef Q_OS_WIN
    FillPortList(Numbered(QStringLiteral("COM")));
#else
    FillPortList(serialPorts_, false);
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

void TransferDialog::OnStart() {
    const int position = portList_->currentIndex();
    // A dated name is made afresh: the time has moved on since the dialog opened.
    if (nameByDate_->isChecked() && !session_->IsRunning()) UpdateTarget();
    if (!TargetIsFree()) return;
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
    countsKnown_ = false;

    // The entry chosen says the link: USB1..USB6 or one of the serial ports.
    const int usbIndex = position >= 0 ? portList_->itemData(position, kUsbIndexRole).toInt() : -1;
    const bool usb = position < 0 ? usbType_->isChecked() : usbIndex >= 0;
    if (session_->IsRunning()) {
        if (runningUsb_) return;    // the running transfer must end first
        session_->CancelAndWait();  // a serial start begins again
    }
    std::unique_ptr<Link> link;
    if (usb) {
        if (position >= 0)
            link = std::make_unique<Ch375Link>(chipFactory_ ? chipFactory_() : nullptr,
                                               static_cast<unsigned>(usbIndex));
    } else if (position >= 0) {
        link = std::make_unique<SerialLink>(
            portList_->itemData(position, kLocationRole).toString().toStdString());
    }
    runningUsb_ = usb;
    doc_.TransferBuffer().clear();
    session_->SetFillCriterion(fill_);
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

// Bytes are shown only until the reply's header says what is coming.
void TransferDialog::OnProgress(qulonglong received, qulonglong expected) {
    if (countsKnown_) return;
    progress_->setFormat(tr("%v / %m 字节"));
    int maximum = static_cast<int>(std::min<qulonglong>(std::max(expected, received), INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setTextVisible(maximum > 0);
    progress_->setValue(static_cast<int>(std::min<qulonglong>(received, INT_MAX)));
}

void TransferDialog::OnCounted(qulonglong components, qulonglong componentsExpected,
                               qulonglong readings) {
    countsKnown_ = true;
    const int maximum = static_cast<int>(std::min<qulonglong>(componentsExpected, INT_MAX));
    progress_->setRange(0, std::max(maximum, 1));
    progress_->setValue(static_cast<int>(std::min<qulonglong>(components, INT_MAX)));
    progress_->setFormat(tr("已接收 %1 / %2 个构件，%3 个数据")
                             .arg(components)
                             .arg(componentsExpected)
                             .arg(readings));
    progress_->setTextVisible(true);
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
