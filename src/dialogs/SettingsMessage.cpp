#include "dialogs/SettingsMessage.h"

#include <QFile>
#include <QMessageBox>

namespace ohmlet {

void ShowSettingsOutcome(QWidget* parent, const QString& title, const SettingsOutcome& outcome) {
    if (outcome.Ok()) return;
    // The text names files as the system spells them.
    QMessageBox::warning(parent, title, QFile::decodeName(QByteArray::fromStdString(outcome.text)));
}

}  // namespace ohmlet
