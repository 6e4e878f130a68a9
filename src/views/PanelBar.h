#pragma once
// The docking bar "Workspace" that hosts the control panel, with its own caption:
// the title and two buttons, hide and dock/float.
#include <QDockWidget>

class QTabBar;
class QToolButton;

namespace ohmlet {

class Document;
class ControlPanel;

class PanelBar : public QDockWidget {
    Q_OBJECT
public:
    explicit PanelBar(Document& doc, QWidget* parent = nullptr);

    ControlPanel* Panel() const { return panel_; }
    QToolButton* HideButton() const { return hideButton_; }
    QToolButton* MinimizeButton() const { return minimizeButton_; }
    QTabBar* TabStrip() const { return tabStrip_; }

    QSize sizeHint() const override { return {400, 620}; }

private:
    QWidget* MakeCaption();

    ControlPanel* panel_ = nullptr;
    QTabBar* tabStrip_ = nullptr;
    QToolButton* hideButton_ = nullptr;
    QToolButton* minimizeButton_ = nullptr;
};

}  // namespace ohmlet
