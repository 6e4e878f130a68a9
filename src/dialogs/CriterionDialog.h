#pragma once
// 应用判定标准: the pass criterion to give every ticked component, a minimum or a band.
// The dialog shows the criterion it is given and returns what the user confirmed; the
// caller applies it.
#include <QDialog>

#include "data/Criterion.h"

class QDialogButtonBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace ohmlet {

class CriterionDialog : public QDialog {
    Q_OBJECT
public:
    CriterionDialog(const Criterion& initial, int tickedCount, QWidget* parent = nullptr);

    Criterion Value() const;
    QRadioButton* MinimumChoice() const { return minimum_; }
    QRadioButton* BandChoice() const { return band_; }
    QSpinBox* DesignBox() const { return design_; }
    QSpinBox* LowerBox() const { return lower_; }
    QSpinBox* UpperBox() const { return upper_; }
    QDialogButtonBox* Buttons() const { return buttons_; }
    // "合格范围：25 ~ 75 kΩ·cm", or why OK is off.
    QString BandText() const;

private:
    void Update();

    QRadioButton* minimum_;
    QRadioButton* band_;
    QSpinBox* design_;
    QSpinBox* lower_;
    QSpinBox* upper_;
    QLabel* designLabel_;
    QLabel* result_;
    QDialogButtonBox* buttons_;
    int tickedCount_;
};

}  // namespace ohmlet
