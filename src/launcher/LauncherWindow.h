#pragma once
// Kiosa's only window: a borderless picture with two program buttons and a close button.
#include <QDialog>
#include <QPixmap>

#include "launcher/LauncherLayout.h"
#include "launcher/ProgramStarter.h"

class QMenu;

namespace kiosa {

class LauncherWindow : public QDialog {
    Q_OBJECT
public:
    // `english`: the pictures with English words, for the English launcher.
    explicit LauncherWindow(ProgramStarter starter, QWidget* parent = nullptr,
                            bool english = false);

    BigButtonsLook ButtonsLook() const { return buttonsLook_; }
    bool CloseHovered() const { return closeHovered_; }

    // The menu a right click opens; it stands in for the system menu a borderless
    // window does not have. The caller owns it.
    QMenu* CreateContextMenu();

public slots:
    void ShowAbout();

protected:
    // The left button's picture names no program: its tooltip gives the product's name.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void ApplyHoverLook(HoverLook look);
    void StartAndClose(LaunchedProgram program);

    ProgramStarter starter_;
    QPixmap background_;
    QPixmap leftNormal_;
    QPixmap leftHover_;
    QPixmap rightNormal_;
    QPixmap rightHover_;
    QPixmap closeNormal_;
    QPixmap closeHover_;
    BigButtonsLook buttonsLook_ = BigButtonsLook::BothNormal;
    bool closeHovered_ = false;
};

}  // namespace kiosa
