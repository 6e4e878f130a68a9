#pragma once
// 测区网格: where on the member the readings were taken (rows, columns, spacings, the order
// walked and the first corner) and the conditions of the measurement, for the current
// component or every ticked one. The dialog only returns the choice; the caller applies it.
#include <QDialog>
#include <optional>

#include "data/Document.h"
#include "data/SurveyGrid.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace ohmlet {

class GridPreview;

enum class GridScope { Current, Ticked };

struct GridChoice {
    GridScope scope = GridScope::Current;
    std::optional<SurveyGrid> grid;  // none: the grid is cleared, the conditions stay
    SurveyConditions conditions;
};

class GridDialog : public QDialog {
    Q_OBJECT
public:
    // Starts from the current component's grid, else the one suggested for its kind.
    explicit GridDialog(const Document& document, QWidget* parent = nullptr);

    // What OK or 清除网格 confirmed.
    GridChoice Choice() const;
    // Why OK is off; empty when the values are fine.
    QString Problem() const;

    QSpinBox* RowsBox() const { return rows_; }
    QSpinBox* ColumnsBox() const { return columns_; }
    QLineEdit* SpacingXEdit() const { return spacingX_; }
    QLineEdit* SpacingYEdit() const { return spacingY_; }
    QComboBox* OrderBox() const { return order_; }
    QComboBox* CornerBox() const { return corner_; }
    QLineEdit* ProbeSpacingEdit() const { return probe_; }
    QLineEdit* TemperatureEdit() const { return temperature_; }
    QLineEdit* MoistureEdit() const { return moisture_; }
    QLineEdit* SurfaceEdit() const { return surface_; }
    QLineEdit* NoteEdit() const { return note_; }
    QRadioButton* CurrentChoice() const { return current_; }
    QRadioButton* TickedChoice() const { return ticked_; }
    QPushButton* ClearButton() const { return clear_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    GridPreview* Preview() const { return preview_; }
    QLabel* PlacementLabel() const { return placement_; }

private:
    void ShowStartValues(const Component* current);
    QWidget* MakeGridBox();
    QWidget* MakeConditionsBox();
    QWidget* MakeScopeBox(const Document& document);
    void Fill(const SurveyGrid& grid, const SurveyConditions& conditions);
    SurveyGrid Grid() const;
    void Update();

    QSpinBox* rows_;
    QSpinBox* columns_;
    QLineEdit* spacingX_;
    QLineEdit* spacingY_;
    QComboBox* order_;
    QComboBox* corner_;
    QLineEdit* probe_;
    QLineEdit* temperature_;
    QLineEdit* moisture_;
    QLineEdit* surface_;
    QLineEdit* note_;
    QRadioButton* current_ = nullptr;
    QRadioButton* ticked_ = nullptr;
    GridPreview* preview_;
    QLabel* placement_;
    QLabel* problem_;
    QPushButton* clear_ = nullptr;
    QDialogButtonBox* buttons_;
    int readings_ = 0;  // of the current component, for the preview
    int tickedCount_ = 0;
    bool hasCurrent_ = false;
    bool clearing_ = false;
};

}  // namespace ohmlet
