#pragma once
// "关于软件": the program's name and version and who makes it.
#include <QDialog>

namespace ohmlet {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace ohmlet
