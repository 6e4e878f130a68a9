#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "launcher/LauncherWindow.h"

using namespace kiosa;

namespace {

const QString kLauncherFolder = QStringLiteral("/opt/velmar");

// A shown launcher whose program starts are only recorded.
struct LauncherFixture {
    QStringList started;
    bool startSucceeds = true;
    std::unique_ptr<LauncherWindow> window;

    LauncherFixture() {
        window = std::make_unique<LauncherWindow>(
            ProgramStarter(kLauncherFolder, [this](const QString& program, const QStringList&) {
                started << program;
                return startSucceeds;
            }));
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void MoveTo(QPoint p) {
        QMouseEvent move(QEvent::MouseMove, QPointF(p), window->mapToGlobal(QPointF(p)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &move);
    }

    void ReleaseAt(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(p), window->mapToGlobal(QPointF(p)),
                            button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &release);
    }

    QImage Region(const QRect& r) { return window->grab(r).toImage(); }
};

const QPoint kOverLeft(100, 100);
const QPoint kLeftHoverOnly(50, 100);
const QPoint kOverRight(300, 100);
const QPoint kRightHoverOnly(370, 100);
const QPoint kOverClose(385, 20);
const QPoint kDeadZone(345, 20);
const QPoint kEmpty(200, 200);

}  // namespace

TEST(LauncherWindowTest, IsABorderlessFixedWindowWithTitleAndIcon) {
    LauncherFixture f;
    EXPECT_EQ(f.window->windowTitle(), QStringLiteral("Velmar钢筋位置及锈蚀测定仪V1.10"));
    EXPECT_TRUE(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(f.window->size(), kClientSize);
    EXPECT_FALSE(f.window->windowIcon().isNull());
}

TEST(LauncherWindowTest, PicturesHaveTheirDocumentedSizes) {
    struct Case {
        const char* path;
        QSize size;
    };
    const Case cases[] = {
        {":/kiosa/background.png", {390, 225}},  {":/kiosa/left-normal.png", {106, 120}},
        {":/kiosa/left-hover.png", {107, 120}},  {":/kiosa/right-normal.png", {107, 120}},
        {":/kiosa/right-hover.png", {104, 119}}, {":/kiosa/close-normal.png", {31, 17}},
        {":/kiosa/close-hover.png", {31, 17}},
    };
    for (const Case& c : cases) {
        const QImage image(QString::fromLatin1(c.path));
        EXPECT_EQ(image.size(), c.size) << c.path;
        // Pictures with words have an English twin of the same size and other pixels.
        QString twin = QString::fromLatin1(c.path);
        twin.replace(QStringLiteral(".png"), QStringLiteral("-en.png"));
        if (!twin.contains(QStringLiteral("close"))) {
            const QImage english(twin);
            EXPECT_EQ(english.size(), c.size) << twin.toStdString();
            EXPECT_NE(english, image) << twin.toStdString();
        }
    }
}

TEST(LauncherWindowTest, PointerMovesSetTheHoverPictures) {
    struct Case {
        const char* name;
        std::vector<QPoint> moves;
        BigButtonsLook buttons;
        bool closeHovered;
    };
    const Case cases[] = {
        {"left", {kOverLeft}, BigButtonsLook::LeftHovered, false},
        {"left hover edge", {kLeftHoverOnly}, BigButtonsLook::LeftHovered, false},
        {"right", {kOverRight}, BigButtonsLook::RightHovered, false},
        {"right hover edge", {kRightHoverOnly}, BigButtonsLook::RightHovered, false},
        {"neither", {kEmpty}, BigButtonsLook::BothNormal, false},
        {"left then empty", {kOverLeft, kEmpty}, BigButtonsLook::BothNormal, false},
        {"left then right", {kOverLeft, kOverRight}, BigButtonsLook::RightHovered, false},
        {"close", {kOverClose}, BigButtonsLook::BothNormal, true},
        {"close then gap", {kOverClose, QPoint(365, 20)}, BigButtonsLook::BothNormal, false},
        {"close then dead zone", {kOverClose, kDeadZone}, BigButtonsLook::BothNormal, true},
        {"empty then dead zone", {kEmpty, kDeadZone}, BigButtonsLook::BothNormal, false},
        {"left then dead zone", {kOverLeft, kDeadZone}, BigButtonsLook::BothNormal, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherFixture f;
        for (QPoint p : c.moves) f.MoveTo(p);
        EXPECT_EQ(f.window->ButtonsLook(), c.buttons);
        EXPECT_EQ(f.window->CloseHovered(), c.closeHovered);
    }
}

TEST(LauncherWindowTest, HoverPicturesReachTheScreenAndGoAway) {
    LauncherFixture f;
    const QImage leftAtRest = f.Region(kLeftButtonRect);
    const QImage rightAtRest = f.Region(kRightButtonRect);
    const QImage closeAtRest = f.Region(kCloseButtonRect);

    f.MoveTo(kLeftHoverOnly);
    EXPECT_NE(f.Region(kLeftButtonRect), leftAtRest);
    EXPECT_EQ(f.Region(kRightButtonRect), rightAtRest);

    f.MoveTo(kOverRight);
    EXPECT_EQ(f.Region(kLeftButtonRect), leftAtRest);
    EXPECT_NE(f.Region(kRightButtonRect), rightAtRest);

    f.MoveTo(kOverClose);
    EXPECT_EQ(f.Region(kRightButtonRect), rightAtRest);
    const QImage closeHovered = f.Region(kCloseButtonRect);
    EXPECT_NE(closeHovered, closeAtRest);

    f.MoveTo(kDeadZone);
    EXPECT_EQ(f.Region(kCloseButtonRect), closeHovered);

    f.MoveTo(kEmpty);
    EXPECT_EQ(f.Region(kCloseButtonRect), closeAtRest);
}

TEST(LauncherWindowTest, LeavingTheWindowRestoresTheNormalPictures) {
    LauncherFixture f;
    f.MoveTo(kOverLeft);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.window.get(), &leave);
    EXPECT_EQ(f.window->ButtonsLook(), BigButtonsLook::BothNormal);
}

TEST(LauncherWindowTest, ReleaseStartsTheProgramUnderItAndCloses) {
    struct Case {
        const char* name;
        QPoint point;
        Qt::MouseButton button;
        bool startSucceeds;
        QStringList started;
        bool staysOpen;
        const char* message = "";  // what a failed start says, the window staying open
    };
    const QString ohmlet =
        kLauncherFolder + QLatin1Char('/') + RelativeProgramPath(LaunchedProgram::Ohmlet);
    const QString ferrolog =
        kLauncherFolder + QLatin1Char('/') + RelativeProgramPath(LaunchedProgram::Ferrolog);
    const Case cases[] = {
        {"left", kOverLeft, Qt::LeftButton, true, {ohmlet}, false},
        {"left, start fails", kOverLeft, Qt::LeftButton, false, {ohmlet}, true, "没有安装"},
        {"right", kOverRight, Qt::LeftButton, true, {ferrolog}, false},
        {"right, start fails", kOverRight, Qt::LeftButton, false, {ferrolog}, true, "没有安装"},
        {"x = 50 lights left but starts nothing", kLeftHoverOnly, Qt::LeftButton, true, {}, true},
        {"right hover edge starts nothing", kRightHoverOnly, Qt::LeftButton, true, {}, true},
        {"close", kOverClose, Qt::LeftButton, true, {}, false},
        {"dead zone", kDeadZone, Qt::LeftButton, true, {}, true},
        {"empty", kEmpty, Qt::LeftButton, true, {}, true},
        {"right button on left", kOverLeft, Qt::RightButton, true, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LauncherFixture f;
        f.startSucceeds = c.startSucceeds;
        QString shown;
        QTimer answer;  // goes with this case, so it never fires into the next one
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        answer.start(0);
        f.ReleaseAt(c.point, c.button);
        EXPECT_EQ(f.started, c.started);
        EXPECT_EQ(f.window->isVisible(), c.staysOpen);
        EXPECT_TRUE(*c.message ? shown.contains(QString::fromUtf8(c.message)) &&
                                     shown.contains(c.started.value(0))
                               : shown.isEmpty())
            << shown.toStdString();
    }
}

TEST(LauncherWindowTest, EscapeClosesWithoutStartingAnything) {
    LauncherFixture f;
    QTest::keyClick(f.window.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.window->isVisible());
    EXPECT_TRUE(f.started.isEmpty());
}

TEST(LauncherWindowTest, ContextMenuOpensTheAboutBox) {
    LauncherFixture f;
    std::unique_ptr<QMenu> menu(f.window->CreateContextMenu());
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 1);
    EXPECT_EQ(actions.first()->text(), QStringLiteral("关于 Kiosa(&A)..."));

    QString title;
    QStringList labels;
    QString buttonText;
    bool sawDialog = false;
    QTimer::singleShot(0, [&] {
        QWidget* about = QApplication::activeModalWidget();
        if (!about) return;
        sawDialog = true;
        title = about->windowTitle();
        for (QLabel* label : about->findChildren<QLabel*>())
            if (!label->text().isEmpty()) labels << label->text();
        const QList<QPushButton*> buttons = about->findChildren<QPushButton*>();
        if (buttons.size() == 1) {
            buttonText = buttons.first()->text();
            buttons.first()->click();
        } else {
            about->close();
        }
    });
    actions.first()->trigger();
    ASSERT_TRUE(sawDialog);
    EXPECT_EQ(title, QStringLiteral("关于 Kiosa"));
    EXPECT_EQ(labels, QStringList{QStringLiteral("Kiosa 1.0 版")});
    EXPECT_EQ(buttonText, QStringLiteral("确定"));
    EXPECT_TRUE(f.window->isVisible());
}
