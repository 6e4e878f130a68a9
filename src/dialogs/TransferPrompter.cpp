#include "dialogs/TransferPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

}  // namespace ohmlet
