#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cstdio>

#include "FrameFixture.h"
#include "app/AboutBox.h"
#include "app/CommandIds.h"
#include "data/DzlFile.h"
#include "data/Version.h"
#include "views/ControlPanel.h"
#include "views/PanelBar.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->text() == title) return a->menu();
    return nullptr;
}

// "-" for a separator, otherwise the item's text and command.
QStringList Items(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (!a->isVisible()) continue;
        items << (a->isSeparator() ? QStringLiteral("-")
                                   : a->text() + QLatin1Char('=') + a->data().toString());
    }
    return items;
}

// How Items shows a command's entry.
QString Item(const char* text, int command) {
    return QString::fromUtf8(text) + QLatin1Char('=') + QString::number(command);
}

using MainFrameTest = FrameTest;

TEST_F(MainFrameTest, MenusCarryTheirItemsInOrderWithTheirCommands) {
    QMenuBar* bar = frame->menuBar();
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"文件(&F)", "编辑(&J)", "工具(&E)", "查看(&V)", "帮助(&H)"}));
    EXPECT_EQ(
        Items(MenuNamed(bar, "文件(&F)")),
        (QStringList{Item("打开(&O)...\tCtrl+O", cmd::kFileOpen), Item("关闭(&C)", cmd::kFileClose),
                     Item("保存(&S)\tCtrl+S", cmd::kFileSave),
                     Item("保存选择构件(&A)...", cmd::kSaveSelected),
                     Item("另存为(&L)...", cmd::kFileSaveAllAs), "-",
                     Item("打印(&P)...\tCtrl+P", cmd::kFilePrint),
                     Item("打印预览(&V)", cmd::kFilePrintPreview),
                     Item("打印设置(&R)...", cmd::kFilePrintSetup),
                     Item("打印格式设置(&G)...", cmd::kPrintSettings), "导出(&E)=", "-",
                     Item("最近文件", cmd::kFileMruFirst), "-", Item("退出(&X)", cmd::kAppExit)}));
    QMenu* file = MenuNamed(bar, "文件(&F)");
    EXPECT_EQ(Items(file->findChild<QMenu*>(QStringLiteral("exportMenu"))),
              (QStringList{Item("Word 文档(&W)...", cmd::kExportWord),
                           Item("Excel 工作簿(&E)...", cmd::kExportExcel),
                           Item("CSV 文件(&C)...", cmd::kExportCsv),
                           Item("导出PDF(&D)...", cmd::kExportPdf)}));
    EXPECT_EQ(Items(MenuNamed(bar, "编辑(&J)")),
              (QStringList{Item("撤消(&U)", cmd::kEditUndo), Item("重做(&R)", cmd::kEditRedo), "-",
                           Item("剪切(&T)", cmd::kEditCut), Item("复制(&C)", cmd::kEditCopy),
                           Item("粘贴(&P)", cmd::kEditPaste), "-",
                           Item("插入构件(&I)", cmd::kInsertComponent),
                           Item("删除构件(&D)...", cmd::kDeleteComponent), "-",
                           Item("上面插入数据(&A)", cmd::kInsertPointAbove),
                           Item("下面插入数据(&B)", cmd::kInsertPointBelow),
                           Item("删除数据(&L)", cmd::kDeletePoint)}));
    EXPECT_EQ(Items(MenuNamed(bar, "工具(&E)")),
              (QStringList{Item("数据传输(&T)", cmd::kDataTransfer),
                           Item("生成word报告(&W)", cmd::kWordReport),
                           Item("数据导入Excel(&E)", cmd::kExcelExport), "-",
                           Item("报告参数(&R)...", cmd::kReportParameters), "-",
                           Item("应用判定标准(&J)...", cmd::kApplyCriterion),
                           "腐蚀等级表(&C)=", "-", Item("测区网格(&G)...", cmd::kSurveyGrid)}));
    EXPECT_EQ(
        Items(MenuNamed(bar, "查看(&V)")),
        (QStringList{Item("工具栏(&T)", cmd::kViewToolbar), Item("状态栏(&S)", cmd::kViewStatusBar),
                     Item("控制面板(&W)", cmd::kViewControlPanel), "图表(&C)=", "-", "语言(&L)="}));
    EXPECT_EQ(
        Items(MenuNamed(bar, "帮助(&H)")),
        (QStringList{Item("帮助主题(&H)", cmd::kHelp), "-", Item("关于(&A)...", cmd::kAppAbout)}));
}

TEST_F(MainFrameTest, ToolbarHasSevenButtonsWithIconsAndTips) {
    QList<int> ids;
    for (QAction* a : frame->ToolBar()->actions()) {
        ids << a->data().toInt();
        EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
    }
    EXPECT_EQ(
        ids, (QList<int>{cmd::kFileOpen, cmd::kFileSave, cmd::kViewControlPanel, cmd::kDataTransfer,
                         cmd::kWordReport, cmd::kExcelExport, cmd::kAppAbout}));
}

struct TextCase {
    int command;
    const char* prompt;
    const char* tip;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.command; }
};

class CommandTextTest : public FrameTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(CommandTextTest, PromptAndToolTip) {
    QAction* a = frame->Action(GetParam().command);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->statusTip(), QString::fromUtf8(GetParam().prompt));
    EXPECT_EQ(a->toolTip(), QString::fromUtf8(GetParam().tip));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CommandTextTest,
    ::testing::Values(
        TextCase{cmd::kViewControlPanel, "显示/隐藏控制面板", "显示/隐藏控制面板"},
        TextCase{cmd::kDataTransfer, "将仪器中的数据传输到计算机中", "数据传输"},
        TextCase{cmd::kAppAbout, "显示程序信息，版本号和版权", "关于"},
        TextCase{cmd::kFileOpen, "打开一个现有文档", "打开"},
        TextCase{cmd::kFileSave, "保存活动文档", "保存"},
        TextCase{cmd::kFileSaveAllAs, "将活动文档以一个新文件名保存", "另存为"},
        TextCase{cmd::kSaveSelected, "保存当前文件中选择的构件", "保存选择的构件"},
        TextCase{cmd::kInsertComponent, "在构件列表区选中的构件前插入一个新构件", "插入构件"},
        TextCase{cmd::kDeleteComponent, "删除构件列表区选中的构件", "删除构件"},
        TextCase{cmd::kInsertPointAbove, "在选中一行的上面插入数据", "上面插入数据"},
        TextCase{cmd::kInsertPointBelow, "在选中一行的下面插入数据", "下面插入数据"},
        TextCase{cmd::kDeletePoint, "删除选中的数据", "删除单个数据"},
        TextCase{cmd::kFilePrint, "打印活动文档", "打印"},
        TextCase{cmd::kFilePrintPreview, "显示整页", "打印预览"},
        TextCase{cmd::kFileNew, "建立新文档", "新建"},
        TextCase{cmd::kPrintSettings, "打印格式设置", "打印设置"},
        TextCase{cmd::kReportParameters, "设置生成word报告的工程参数", "设置工程参数"}));

TEST_F(MainFrameTest, StatusBarIdlesWithReadyAndHasThreeIndicators) {
    auto* idle = frame->statusBar()->findChild<QLabel*>(QStringLiteral("idleMessage"));
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->text(), QStringLiteral("就绪"));
    for (const char* name : {"capsLock", "numLock", "scrollLock"})
        EXPECT_NE(frame->statusBar()->findChild<QLabel*>(QString::fromLatin1(name)), nullptr)
            << name;
    // A command's prompt, as hovering its menu item or button sends it from inside the
    // window, reaches the status bar.
    frame->Action(cmd::kFileOpen)->showStatusText(frame->centralWidget());
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("打开一个现有文档"));
    frame->Action(cmd::kEditCut)->showStatusText(frame->centralWidget());
    EXPECT_EQ(frame->statusBar()->currentMessage(), QStringLiteral("剪切选定的数据并放到剪贴板上"));
}

TEST_F(MainFrameTest, TitleIsTheDocumentThenTheWindowTitleWithTheUnsavedMark) {
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("无标题[*] - 混凝土电阻率测试仪数据分析软件"));
    Open({MakeComponent("0001", {1, 2})}, QStringLiteral("beam.DZL"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("beam.DZL[*] - 混凝土电阻率测试仪数据分析软件"));
    EXPECT_FALSE(frame->isWindowModified());
    Doc().SetCell(0, 1, 5);
    EXPECT_TRUE(frame->isWindowModified());
}

TEST_F(MainFrameTest, AltWTogglesThePanelTwice) {
    PanelBar* bar = frame->PanelDock();
    ASSERT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->windowTitle(), QStringLiteral("工作区"));
    EXPECT_EQ(frame->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_FALSE(bar->isVisible());
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(MainFrameTest, AfterTheBarsOwnHideButtonTheFirstAltWKeepsItHidden) {
    PanelBar* bar = frame->PanelDock();
    EXPECT_EQ(bar->HideButton()->toolTip(), QStringLiteral("Hide Docked Window"));
    EXPECT_EQ(bar->MinimizeButton()->toolTip(), QStringLiteral("Minimize Docked Window"));
    QTest::mouseClick(bar->HideButton(), Qt::LeftButton);
    EXPECT_FALSE(bar->isVisible());
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_FALSE(bar->isVisible());
    Key(Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(MainFrameTest, MinimizeButtonFloatsAndDocksTheBar) {
    PanelBar* bar = frame->PanelDock();
    QTest::mouseClick(bar->MinimizeButton(), Qt::LeftButton);
    EXPECT_TRUE(bar->isFloating());
    QTest::mouseClick(bar->MinimizeButton(), Qt::LeftButton);
    EXPECT_FALSE(bar->isFloating());
}

TEST_F(MainFrameTest, OpenedAndSavedFilesBecomeRecentFilesFourAtMost) {
    QStringList paths;
    for (int i = 0; i < 5; ++i)
        paths << Open({MakeComponent("0001", {i})}, QStringLiteral("f%1.DZL").arg(i));
    const QStringList& recent = frame->RecentFiles().Files();
    ASSERT_EQ(recent.size(), 4);
    EXPECT_EQ(QFileInfo(recent.first()).fileName(), QStringLiteral("f4.DZL"));
    EXPECT_EQ(QFileInfo(recent.last()).fileName(), QStringLiteral("f1.DZL"));
    QSettings settings(QStringLiteral("Local AppWizard-Generated Applications"),
                       QStringLiteral("Ohmlet"));
    EXPECT_EQ(
        QFileInfo(settings.value(QStringLiteral("Recent File List/File1")).toString()).fileName(),
        QStringLiteral("f4.DZL"));
}

TEST_F(MainFrameTest, ADroppedFileIsOpenedAfterTheQuestion) {
    Open({MakeComponent("0001", {1})});
    Doc().InsertComponent();
    const QString dropped = WriteFile(dir, QStringLiteral("drop.DZL"),
                                      {MakeComponent("0007", {1}), MakeComponent("0008", {2})});
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(dropped)});
    QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    answers = {QMessageBox::No};
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(prompts.size(), 1u);
    EXPECT_EQ(Doc().ComponentCount(), 2);
    EXPECT_EQ(Doc().ComponentAt(0)->Number(), "0007");
}

TEST_F(MainFrameTest, AFileThatCannotBeReadIsReportedAndTheDocumentStays) {
    // A folder and a FIFO once aborted the program and hung it.
    QDir(dir.path()).mkdir(QStringLiteral("folder.DZL"));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.DZL"))).constData(), 0600), 0);
    struct Case {
        const char* name;
        const char* cause;
    } cases[] = {
        {"missing.DZL", "No such file"},
        {"folder.DZL", "it is a folder"},
        {"pipe.DZL", "not a regular file"},
    };
    const QString opened = Open({MakeComponent("0001", {1})});
    for (const Case& k : cases) {
        errors.clear();
        EXPECT_FALSE(frame->OpenDocumentFile(dir.filePath(QString::fromUtf8(k.name))));
        ASSERT_EQ(errors.size(), 1u) << k.name;
        EXPECT_TRUE(errors[0].contains(QString::fromUtf8(k.name))) << errors[0].toStdString();
        EXPECT_TRUE(errors[0].contains(QString::fromUtf8(k.cause))) << errors[0].toStdString();
        EXPECT_EQ(Doc().ComponentCount(), 1);
        EXPECT_EQ(QFile::decodeName(QByteArray::fromStdString(Doc().DocumentPath())), opened);
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

// A file larger than the memory the program may use: a message, and the document stays.
TEST_F(MainFrameTest, OutOfMemoryOnOpenKeepsTheDocument) {
    if (kAddressSanitizer) GTEST_SKIP() << "a data-size limit cannot be combined with ASan";
    const QString opened = Open({MakeComponent("0001", {1})});
    Component big = MakeComponent("0002", {});
    big.ResizePoints(4000000);  // 48 MB of readings
    const QString path = dir.filePath(QStringLiteral("big.DZL"));
    ASSERT_TRUE(WriteDzlFile(QFile::encodeName(path).toStdString(), {big}).Ok());
    big.ResizePoints(0);

    // The heap may grow by 16 MB: the file's readings do not fit.
    long dataKb = -1;
    std::FILE* status = std::fopen("/proc/self/status", "r");
    ASSERT_NE(status, nullptr);
    char line[256];
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmData: %ld kB", &dataKb) == 1) break;
    std::fclose(status);
    ASSERT_GT(dataKb, 0);
    rlimit before{};
    ::getrlimit(RLIMIT_DATA, &before);
    rlimit tight{static_cast<rlim_t>(dataKb) * 1024 + (rlim_t{16} << 20), before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_DATA, &tight), 0);
    errors.clear();
    const bool ok = frame->OpenDocumentFile(path);
    ::setrlimit(RLIMIT_DATA, &before);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("内存不足"))) << errors[0].toStdString();
    EXPECT_EQ(Doc().ComponentCount(), 1);
    EXPECT_EQ(QFile::decodeName(QByteArray::fromStdString(Doc().DocumentPath())), opened);
}

// Opened by any spelling of its path, a file is one entry in the recent files.
TEST_F(MainFrameTest, RecentFilesNameEachFileOnce) {
    const QString path = Open({MakeComponent("0001", {1})}, QStringLiteral("once.DZL"));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    QFile::link(path, dir.filePath(QStringLiteral("link.DZL")));
    const QString spellings[] = {
        dir.path() + QStringLiteral("//once.DZL"), dir.path() + QStringLiteral("/sub/../once.DZL"),
        dir.path() + QStringLiteral("/./once.DZL"), dir.filePath(QStringLiteral("link.DZL"))};
    for (const QString& spelling : spellings) {
        ASSERT_TRUE(frame->OpenDocumentFile(spelling)) << spelling.toStdString();
        EXPECT_EQ(frame->RecentFiles().Files().count(QFileInfo(path).canonicalFilePath()), 1)
            << spelling.toStdString();
        EXPECT_EQ(frame->RecentFiles().Files().size(), 1) << spelling.toStdString();
    }
}

}  // namespace

namespace {

// Receives what the program asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

TEST_F(MainFrameTest, CtrlHOpensTheGuideBesideTheProgram) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "Open");
    Key(Qt::Key_H, Qt::ControlModifier);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toLocalFile(),
              QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Ohmlet.html")));
}

TEST(AboutBoxTest, ShowsTheTitleVersionAndOk) {
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("关于软件"));
    QStringList texts;
    for (QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
    const QString title = QStringLiteral("混凝土电阻率测试仪数据分析软件V ") +
                          QLatin1String(kVersion) + QStringLiteral("版");
    EXPECT_TRUE(texts.contains(title)) << texts.join(QLatin1Char('|')).toStdString();
    QList<QPushButton*> buttons = box.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), QStringLiteral("确定"));
}

}  // namespace

#include "MainFrameTest.moc"
