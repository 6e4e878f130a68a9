#pragma once
// The about box: icon, name and version, one button.
#include <QDialog>

namespace kiosa {

class AboutKiosaDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutKiosaDialog(QWidget* parent = nullptr);
};

}  // namespace kiosa
