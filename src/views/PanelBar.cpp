#include "views/PanelBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "views/ControlPanel.h"

namespace ohmlet {

PanelBar::PanelBar(Document& doc, QWidget* parent) : QDockWidget(tr("工作区"), parent) {
    setObjectName(QStringLiteral("PanelBar"));
    setAllowedAreas(Qt::AllDockWidgetAreas);
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    setTitleBarWidget(MakeCaption());

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(5, 4, 5, 5);
    layout->setSpacing(0);
    panel_ = new ControlPanel(doc, body);
    layout->addWidget(panel_, 1);
    // The tab strip is kept for its place along the bottom; it carries no tab.
    tabStrip_ = new QTabBar(body);
    tabStrip_->setObjectName(QStringLiteral("tabStrip"));
    tabStrip_->setShape(QTabBar::RoundedSouth);
    tabStrip_->setVisible(false);
    layout->addWidget(tabStrip_);
    setWidget(body);
}

QWidget* PanelBar::MakeCaption() {
    auto* caption = new QWidget(this);
    caption->setObjectName(QStringLiteral("caption"));
    auto* row = new QHBoxLayout(caption);
    row->setContentsMargins(6, 3, 3, 3);
    row->setSpacing(2);
    auto* title = new QLabel(windowTitle(), caption);
    row->addWidget(title, 1);

    auto makeButton = [&](QStyle::StandardPixmap icon, const char* tip) {
        auto* button = new QToolButton(caption);
        button->setAutoRaise(true);
        button->setIcon(style()->standardIcon(icon, nullptr, this));
        button->setIconSize({13, 13});
        button->setFixedSize(19, 19);
        button->setToolTip(QString::fromLatin1(tip));
        row->addWidget(button);
        return button;
    };
    minimizeButton_ = makeButton(QStyle::SP_TitleBarNormalButton, "Minimize Docked Window");
    minimizeButton_->setObjectName(QStringLiteral("minimizeButton"));
    hideButton_ = makeButton(QStyle::SP_TitleBarCloseButton, "Hide Docked Window");
    hideButton_->setObjectName(QStringLiteral("hideButton"));
    // Closing here does not tell the frame: its own shown flag keeps its value.
    connect(hideButton_, &QToolButton::clicked, this, &QWidget::hide);
    connect(minimizeButton_, &QToolButton::clicked, this, [this] { setFloating(!isFloating()); });
    return caption;
}

}  // namespace ohmlet
