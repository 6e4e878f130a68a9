#include "dialogs/TransferPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "widgets/ProductName.h"

namespace ohmlet {

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

}  // namespace ohmlet
