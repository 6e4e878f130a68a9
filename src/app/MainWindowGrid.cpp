// The frame's 测区网格 command: the dialog asks, the document applies the answer as one
// undoable step.
#include "app/MainWindow.h"
#include "dialogs/GridDialog.h"

namespace ohmlet {

void MainWindow::OnSurveyGrid() {
    GridDialog dialog(doc_, this);
    const int result = gridDialogHook_ ? gridDialogHook_(dialog) : dialog.exec();
    if (result != QDialog::Accepted) return;
    const GridChoice choice = dialog.Choice();
    if (choice.scope == GridScope::Ticked) {
        // Clearing leaves the conditions as they are: they still say how it was measured.
        doc_.SetExtrasOfTicked(choice.grid,
                               choice.grid ? std::optional(choice.conditions) : std::nullopt);
    } else if (const Component* current = doc_.CurrentComponent()) {
        ComponentExtras extras = current->extras;
        extras.grid = choice.grid;
        if (choice.grid) extras.conditions = choice.conditions;
        doc_.SetComponentExtras(doc_.CurrentIndex(), extras);
    }
    FollowDocument();
}

}  // namespace ohmlet
