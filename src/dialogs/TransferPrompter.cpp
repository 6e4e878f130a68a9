#include "dialogs/TransferPrompter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "data/SafeFile.h"
#include "widgets/ProductName.h"

namespace ohmlet {

bool TransferPrompter::ShowErrorWithOffer(QWidget* parent, const QString& caption,
                                          const QString& text, const QString&) {
    ShowError(parent, caption, text);
    return false;
}

std::optional<QString> TransferPrompter::ChooseSaveFile(QWidget*, const QString&, const QString&,
                                                        const QString&) {
    return std::nullopt;
}

void MessageBoxPrompter::Inform(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, ProductName(), text);
}

bool MessageBoxPrompter::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    // No is the default: Enter must never replace a file or close a document by itself.
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxPrompter::ShowError(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::critical(parent, caption, text);
}

std::optional<QString> MessageBoxPrompter::ChooseFolder(QWidget* parent, const QString& title) {
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen.first());
}

bool MessageBoxPrompter::ShowErrorWithOffer(QWidget* parent, const QString& caption,
                                            const QString& text, const QString& offerText) {
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    QPushButton* offer = box.addButton(offerText, QMessageBox::ActionRole);
    offer->setObjectName(QStringLiteral("offerButton"));
    box.setDefaultButton(QMessageBox::Ok);  // Enter only closes the box
    box.exec();
    return box.clickedButton() == offer;
}

std::optional<QString> MessageBoxPrompter::ChooseSaveFile(QWidget* parent, const QString& title,
                                                          const QString& suggested,
                                                          const QString& filter) {
    const QString path = QFileDialog::getSaveFileName(parent, title, suggested, filter);
    if (path.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(path);
}

void TransferPrompter::SaveReply(QWidget* parent, const QString& folder, bool usb,
                                 const std::vector<unsigned char>& reply) {
    const auto text = [](const char* chinese) {
        return QCoreApplication::translate("ohmlet::TransferDialog", chinese);
    };
    const QString suggested =
        folder + QLatin1Char('/') +
        (usb ? QStringLiteral("reply_usb.bin") : QStringLiteral("reply_serial.bin"));
    std::optional<QString> path = ChooseSaveFile(
        parent, text(QT_TRANSLATE_NOOP("ohmlet::TransferDialog", "保存原始数据")), suggested,
        text(QT_TRANSLATE_NOOP("ohmlet::TransferDialog", "仪器原始数据 (*.bin);;所有文件 (*)")));
    if (!path) return;
    SafeWriteResult saved = WriteFileSafely(QFile::encodeName(*path).toStdString(), reply);
    if (!saved.Ok())
        ShowError(parent, ProductName(),
                  text(QT_TRANSLATE_NOOP("ohmlet::TransferDialog", "不能保存原始数据!")) +
                      QLatin1Char('\n') + QString::fromStdString(saved.text));
}

}  // namespace ohmlet
