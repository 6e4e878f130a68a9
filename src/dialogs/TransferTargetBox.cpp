#include "dialogs/TransferTargetBox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include "transfer/TransferTexts.h"

namespace ohmlet {
namespace {

QString TargetName() {
    return QCoreApplication::translate("ohmlet::transfer_texts", transfer_texts::kTargetFileName);
}

// The frame's settings, where the recent files are kept too.
QSettings ProgramSettings() {
    return QSettings(QStringLiteral("Local AppWizard-Generated Applications"),
                     QStringLiteral("Ohmlet"));
}

}  // namespace

TransferTargetBox::TransferTargetBox(QObject* parent)
    : QObject(parent),
      path_(DefaultTargetPath()),
      clock_([] { return QDateTime::currentDateTime(); }) {
    folder_ = path_.left(path_.size() - TargetName().size());
    pathEdit_ = new QLineEdit(path_);
    pathEdit_->setObjectName(QStringLiteral("targetPath"));
    pathEdit_->setReadOnly(true);
    pathEdit_->setMinimumWidth(320);
    folderButton_ = new QPushButton(tr("存放目录"));
    folderButton_->setObjectName(QStringLiteral("folderButton"));
    nameByDate_ = new QCheckBox(tr("按日期和时间命名文件(&D)"));
    nameByDate_->setObjectName(QStringLiteral("nameByDate"));
    nameByDate_->setToolTip(tr("每次传输保存为新文件，例如 DZL_20261209_1405.DZL"));
    nameByDate_->setChecked(ProgramSettings().value(NameByDateKey(), false).toBool());
    connect(nameByDate_, &QCheckBox::toggled, this, [this](bool on) {
        ProgramSettings().setValue(NameByDateKey(), on);
        Refresh();
    });
    Refresh();
}

void TransferTargetBox::PlacePath(QGridLayout& grid, int row) {
    grid.addWidget(new QLabel(tr("文件存储路径")), row, 0);
    grid.addWidget(pathEdit_, row, 1);
    grid.addWidget(folderButton_, row, 2);
}

void TransferTargetBox::PlaceOption(QGridLayout& grid, int row) {
    grid.addWidget(nameByDate_, row, 1);
}

QString TransferTargetBox::NameByDateKey() { return QStringLiteral("Transfer/NameByDate"); }

bool TransferTargetBox::NamesByDate() const { return nameByDate_->isChecked(); }

void TransferTargetBox::SetNamesByDate(bool on) { nameByDate_->setChecked(on); }

void TransferTargetBox::SetFolder(const QString& folder) {
    folder_ = folder;
    Refresh();
}

void TransferTargetBox::SetEnabled(bool enabled) {
    folderButton_->setEnabled(enabled);
    nameByDate_->setEnabled(enabled);
}

std::string TransferTargetBox::FileName() const { return QFile::encodeName(path_).toStdString(); }

QString TransferTargetBox::DatedTargetForFolder(const QString& folder, const QDateTime& now,
                                                const std::function<bool(const QString&)>& exists) {
    const QString dir = TargetForFolder(folder).chopped(TargetName().size());
    const QString minute = QStringLiteral("DZL_") + now.toString(QStringLiteral("yyyyMMdd_HHmm"));
    QString path = dir + minute + QStringLiteral(".DZL");
    if (!exists(path)) return path;
    const QString second = minute + now.toString(QStringLiteral("ss"));
    path = dir + second + QStringLiteral(".DZL");
    for (int n = 2; exists(path); ++n) path = dir + second + QStringLiteral("_%1.DZL").arg(n);
    return path;
}

void TransferTargetBox::Refresh() {
    if (nameByDate_->isChecked())
        path_ = DatedTargetForFolder(folder_, clock_(),
                                     [](const QString& path) { return QFileInfo::exists(path); });
    else
        path_ = TargetForFolder(folder_);
    pathEdit_->setText(path_);
}

QString TransferTargetBox::DefaultTargetPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("C:\\DZLDat.DZL");
#else
    return QDir::toNativeSeparators(QDir::homePath() + QLatin1Char('/') + TargetName());
#endif
}

QString TransferTargetBox::TargetForFolder(const QString& folder) {
    QString name = TargetName();
    if (folder.isEmpty() || folder.endsWith(QDir::separator())) return folder + name;
    return folder + QDir::separator() + name;
}

}  // namespace ohmlet
