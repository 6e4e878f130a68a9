#include "launcher/LauncherWindow.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <utility>

#include "launcher/AboutKiosaDialog.h"

namespace kiosa {

namespace {

// The pictures with words in them come in both languages ("background-en.png").
QPixmap Picture(const char* name, bool english = false) {
    QString file = QStringLiteral(":/kiosa/") + QLatin1String(name);
    if (english) file.replace(QStringLiteral(".png"), QStringLiteral("-en.png"));
    return QPixmap(file);
}

}  // namespace

LauncherWindow::LauncherWindow(ProgramStarter starter, QWidget* parent, bool english)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog),
      starter_(std::move(starter)),
      background_(Picture("background.png", english)),
      leftNormal_(Picture("left-normal.png", english)),
      leftHover_(Picture("left-hover.png", english)),
      rightNormal_(Picture("right-normal.png", english)),
      rightHover_(Picture("right-hover.png", english)),
      closeNormal_(Picture("close-normal.png")),
      closeHover_(Picture("close-hover.png")) {
    setWindowTitle(tr("Velmar钢筋位置及锈蚀测定仪V1.10"));
    setWindowIcon(QIcon(QStringLiteral(":/kiosa/kiosa.png")));
    setFixedSize(kClientSize);
    setMouseTracking(true);
    // The pictures cover every pixel; nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QMenu* LauncherWindow::CreateContextMenu() {
    auto* menu = new QMenu(this);
    menu->addAction(tr("关于 Kiosa(&A)..."), this, &LauncherWindow::ShowAbout);
    return menu;
}

void LauncherWindow::ShowAbout() {
    AboutKiosaDialog about(this);
    about.exec();
}

bool LauncherWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (ClickTargetAt(help->pos()) == ClickTarget::LeftProgram)
            QToolTip::showText(help->globalPos(), tr("混凝土电阻率测试仪数据分析软件"), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QDialog::event(event);
}

void LauncherWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Every picture is stretched from its full size into its place.
    painter.drawPixmap(rect(), background_);
    painter.drawPixmap(kLeftButtonRect,
                       buttonsLook_ == BigButtonsLook::LeftHovered ? leftHover_ : leftNormal_);
    painter.drawPixmap(kRightButtonRect,
                       buttonsLook_ == BigButtonsLook::RightHovered ? rightHover_ : rightNormal_);
    painter.drawPixmap(kCloseButtonRect, closeHovered_ ? closeHover_ : closeNormal_);
}

void LauncherWindow::ApplyHoverLook(HoverLook look) {
    bool changed = look.buttons != buttonsLook_;
    buttonsLook_ = look.buttons;
    if (look.close != CloseLook::Unchanged) {
        const bool hovered = look.close == CloseLook::Hovered;
        changed = changed || hovered != closeHovered_;
        closeHovered_ = hovered;
    }
    if (changed) update();
}

void LauncherWindow::mouseMoveEvent(QMouseEvent* event) {
    ApplyHoverLook(HoverLookAt(event->position().toPoint()));
    QDialog::mouseMoveEvent(event);
}

void LauncherWindow::leaveEvent(QEvent* event) {
    // Without this a quick exit through a button would leave its hover picture behind.
    ApplyHoverLook({BigButtonsLook::BothNormal, CloseLook::Normal});
    QDialog::leaveEvent(event);
}

void LauncherWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        switch (ClickTargetAt(event->position().toPoint())) {
            case ClickTarget::LeftProgram:
                StartAndClose(LaunchedProgram::Ohmlet);
                return;
            case ClickTarget::RightProgram:
                StartAndClose(LaunchedProgram::Ferrolog);
                return;
            case ClickTarget::Close:
                close();
                return;
            case ClickTarget::None:
                break;
        }
    }
    QDialog::mouseReleaseEvent(event);
}

void LauncherWindow::StartAndClose(LaunchedProgram program) {
    if (starter_.Start(program)) {
        close();
        return;
    }
    // Stay open, so the user can pick the other program or read why.
    const QString path = QDir::toNativeSeparators(starter_.ProgramPath(program));
    const QString text = QFileInfo(path).isExecutable()
                             ? tr("无法启动程序 %1。").arg(path)
                             : tr("这个程序没有安装：找不到 %1。").arg(path);
    QMessageBox::warning(this, windowTitle(), text);
}

void LauncherWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

}  // namespace kiosa
