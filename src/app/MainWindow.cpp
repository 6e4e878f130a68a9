#include "app/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/AppStrings.h"
#include "app/CommandIds.h"
#include "app/CommandTable.h"
#include "app/LockKeyState.h"
#include "app/UiLanguage.h"
#include "views/ChartPane.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "views/PanelBar.h"
#include "widgets/GridControl.h"

// The icons are compiled into this static library; a library must register them itself.
static void InitIconResources() { Q_INIT_RESOURCE(icons); }

namespace ohmlet {

MainWindow::MainWindow(Document& doc, QWidget* parent) : QMainWindow(parent), doc_(doc) {
    InitIconResources();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/ohmlet.png")));
    doc_.SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());

    view_ = new DataView(doc_, this);
    setCentralWidget(view_);
    panelBar_ = new PanelBar(doc_, this);
    addDockWidget(Qt::LeftDockWidgetArea, panelBar_);
    resizeDocks({panelBar_}, {400}, Qt::Horizontal);
    // Charts stay out of the way until asked for from 查看.
    chartPane_ = new ChartPane(doc_, this);
    addDockWidget(Qt::RightDockWidgetArea, chartPane_);
    chartPane_->hide();
    // Registered after the panel and the view, so the title follows what they show.
    doc_.AddObserver(this);
    connect(Panel(), &ControlPanel::DocumentEdited, this, &MainWindow::FollowDocument);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateAccelerators();
    ShowShortcutsInMenus();
    setAcceptDrops(true);

    view_->OnInitialUpdate();
    ReloadClassTable();
    FollowDocument();
}

// The panel and the view watch the document, which is a member and so goes before
// the base class deletes the child widgets: they must go first.
MainWindow::~MainWindow() {
    doc_.RemoveObserver(this);
    delete panelBar_;
    panelBar_ = nullptr;
    delete chartPane_;
    chartPane_ = nullptr;
    delete view_;
    view_ = nullptr;
}

ControlPanel* MainWindow::Panel() const { return panelBar_->Panel(); }

QAction* MainWindow::MakeAction(int command, void (MainWindow::*slot)()) {
    auto* action = new QAction(MenuText(command), this);
    action->setData(command);
    action->setObjectName(QStringLiteral("command%1").arg(command));
    action->setStatusTip(StatusPrompt(command));
    action->setToolTip(ToolTipText(command));
    if (slot) connect(action, &QAction::triggered, this, slot);
    actions_.insert(command, action);
    return action;
}

void MainWindow::CreateActions() {
    using namespace cmd;
    MakeAction(kFileNew, &MainWindow::OnFileNew);
    MakeAction(kFileOpen, &MainWindow::OnFileOpen)
        ->setIcon(QIcon(QStringLiteral(":/icons/open.png")));
    MakeAction(kFileSave, &MainWindow::OnFileSave)
        ->setIcon(QIcon(QStringLiteral(":/icons/save.png")));
    MakeAction(kSaveSelected, &MainWindow::OnSaveSelected);
    MakeAction(kFileSaveAllAs, &MainWindow::OnSaveAllAs);
    MakeAction(kFilePrint, &MainWindow::OnFilePrint);
    MakeAction(kPrintAlt, &MainWindow::OnFilePrint);
    MakeAction(kFilePrintPreview, &MainWindow::OnFilePrintPreview);
    MakeAction(kPreviewAlt, &MainWindow::OnFilePrintPreview);
    MakeAction(kFilePrintSetup, &MainWindow::OnPrintSetup);
    MakeAction(kPrintSettings, &MainWindow::OnPrintSettings);
    MakeAction(kExportPdf, &MainWindow::OnExportPdf);
    MakeAction(kAppExit, nullptr);
    connect(Action(kAppExit), &QAction::triggered, this, &QWidget::close);
    MakeAction(kDataTransfer, &MainWindow::OnDataTransfer)
        ->setIcon(QIcon(QStringLiteral(":/icons/transfer.png")));
    MakeAction(kReportParameters, &MainWindow::OnReportParameters);
    MakeAction(kWordReport, &MainWindow::OnWordReport)
        ->setIcon(QIcon(QStringLiteral(":/icons/word.png")));
    MakeAction(kExcelExport, &MainWindow::OnExcelExport)
        ->setIcon(QIcon(QStringLiteral(":/icons/excel.png")));
    MakeAction(kViewControlPanel, &MainWindow::OnViewControlPanel)
        ->setIcon(QIcon(QStringLiteral(":/icons/panel.png")));
    MakeAction(kAppAbout, &MainWindow::OnAppAbout)
        ->setIcon(QIcon(QStringLiteral(":/icons/about.png")));
    MakeAction(kHelp, &MainWindow::OnHelp);
    MakeAction(kInsertComponent, &MainWindow::OnInsertComponent);
    MakeAction(kDeleteComponent, &MainWindow::OnDeleteComponent);
    MakeAction(kInsertPointAbove, nullptr);
    MakeAction(kInsertPointBelow, nullptr);
    MakeAction(kDeletePoint, nullptr);
    connect(Action(kInsertPointAbove), &QAction::triggered, view_, &DataView::OnInsertPointAbove);
    connect(Action(kInsertPointBelow), &QAction::triggered, view_, &DataView::OnInsertPointBelow);
    connect(Action(kDeletePoint), &QAction::triggered, view_, &DataView::OnDeletePoint);
    MakeAction(kEditCopy, nullptr);
    connect(Action(kEditCopy), &QAction::triggered, this, [this] {
        if (GridControl* grid = view_->Grid()) grid->CopySelection();
    });
    MakeAction(kEditCut, nullptr);
    connect(Action(kEditCut), &QAction::triggered, this, [this] {
        if (GridControl* grid = view_->Grid()) grid->CutSelection();
    });
    MakeAction(kEditPaste, nullptr);
    connect(Action(kEditPaste), &QAction::triggered, this, [this] {
        if (GridControl* grid = view_->Grid()) grid->PasteClipboard();
    });
    MakeAction(kEditUndo, &MainWindow::OnEditUndo);
    MakeAction(kEditRedo, &MainWindow::OnEditRedo);
    MakeAction(kFileClose, &MainWindow::OnFileClose);
    MakeAction(kExportWord, &MainWindow::OnExportWord);
    MakeAction(kExportExcel, &MainWindow::OnExportExcel);
    MakeAction(kExportCsv, &MainWindow::OnExportCsv);
}

void MainWindow::CreateMenus() {
    using namespace cmd;
    fileMenu_ = menuBar()->addMenu(tr("文件(&F)"));
    fileMenu_->addAction(Action(kFileOpen));
    fileMenu_->addAction(Action(kFileClose));
    fileMenu_->addAction(Action(kFileSave));
    fileMenu_->addAction(Action(kSaveSelected));
    fileMenu_->addAction(Action(kFileSaveAllAs));
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(kFilePrint));
    fileMenu_->addAction(Action(kFilePrintPreview));
    fileMenu_->addAction(Action(kFilePrintSetup));
    fileMenu_->addAction(Action(kPrintSettings));
    CreateExportMenu(fileMenu_);
    fileMenu_->addSeparator();
    recentPlaceholder_ = MakeAction(kFileMruFirst, nullptr);
    recentPlaceholder_->setEnabled(false);
    fileMenu_->addAction(recentPlaceholder_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(Action(kAppExit));
    RebuildRecentMenu();

    CreateEditMenu();

    QMenu* tools = menuBar()->addMenu(tr("工具(&E)"));
    tools->addAction(Action(kDataTransfer));
    tools->addAction(Action(kWordReport));
    tools->addAction(Action(kExcelExport));
    tools->addSeparator();
    tools->addAction(Action(kReportParameters));
    CreateInterpretationMenu(tools);
    tools->addSeparator();
    tools->addAction(MakeAction(kSurveyGrid, &MainWindow::OnSurveyGrid));

    QMenu* view = menuBar()->addMenu(tr("查看(&V)"));
    QAction* toolbarToggle = MakeAction(kViewToolbar, nullptr);
    QAction* statusToggle = MakeAction(kViewStatusBar, nullptr);
    toolbarToggle->setCheckable(true);
    statusToggle->setCheckable(true);
    view->addAction(toolbarToggle);
    view->addAction(statusToggle);
    view->addAction(Action(kViewControlPanel));
    QAction* charts = chartPane_->toggleViewAction();
    charts->setText(tr("图表(&C)"));
    charts->setObjectName(QStringLiteral("viewCharts"));
    charts->setStatusTip(tr("显示/隐藏图表"));
    view->addAction(charts);

    view->addSeparator();
    CreateLanguageMenu(view);

    QMenu* help = menuBar()->addMenu(tr("帮助(&H)"));
    help->addAction(Action(kHelp));
    help->addSeparator();
    help->addAction(Action(kAppAbout));
}

// Each language by its own name, so a reader of neither finds the way back.
void MainWindow::CreateLanguageMenu(QMenu* parent) {
    QMenu* menu = parent->addMenu(tr("语言(&L)"));
    menu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(menu);
    const QString saved = SavedLanguage();
    const UiLanguage checked = ParseLanguage(saved).value_or(CurrentLanguage());
    for (UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        QAction* action = menu->addAction(
            language == UiLanguage::English ? QStringLiteral("English") : QStringLiteral("中文"));
        action->setObjectName(QStringLiteral("language_") + LanguageCode(language));
        action->setCheckable(true);
        action->setChecked(language == checked);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, language] { OnLanguageChosen(language); });
    }
}

void MainWindow::OnLanguageChosen(UiLanguage language) {
    const bool changes = ParseLanguage(SavedLanguage()).value_or(CurrentLanguage()) != language;
    SaveLanguage(language);
    if (!changes) return;
    ShowNotice(language == CurrentLanguage()
                   ? tr("下次启动时仍使用当前的界面语言。")
                   : tr("界面语言将在下次启动程序时更换。报告、Word和Excel文件仍为中文。"));
}

void MainWindow::CreateToolBar() {
    using namespace cmd;
    toolBar_ = addToolBar(tr("工具栏"));
    toolBar_->setObjectName(QStringLiteral("toolBar"));
    toolBar_->setMovable(true);
    toolBar_->setIconSize({24, 24});
    for (int id : {kFileOpen, kFileSave, kViewControlPanel, kDataTransfer, kWordReport,
                   kExcelExport, kAppAbout})
        toolBar_->addAction(Action(id));
    QAction* toggle = Action(kViewToolbar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, toolBar_, &QWidget::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void MainWindow::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    auto* idle = new QLabel(tr("就绪"), bar);
    idle->setObjectName(QStringLiteral("idleMessage"));
    bar->addWidget(idle, 1);
    auto makeIndicator = [bar](const QString& text, const char* name) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
        label->setProperty("indicatorText", text);
        bar->addPermanentWidget(label);
        return label;
    };
    capsIndicator_ = makeIndicator(tr("大写"), "capsLock");
    numIndicator_ = makeIndicator(MakerName(), "numLock");
    scrollIndicator_ = makeIndicator(tr("滚动"), "scrollLock");

    QAction* toggle = Action(cmd::kViewStatusBar);
    toggle->setChecked(true);
    connect(toggle, &QAction::toggled, bar, &QWidget::setVisible);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &MainWindow::UpdateLockIndicators);
    timer->start(300);
    UpdateLockIndicators();
}

void MainWindow::UpdateLockIndicators() {
    const LockKeys keys = ReadLockKeys();
    auto show = [](QLabel* label, bool on) {
        label->setText(on ? label->property("indicatorText").toString() : QString());
    };
    show(capsIndicator_, keys.caps);
    show(numIndicator_, keys.num);
    show(scrollIndicator_, keys.scroll);
}

// The accelerator table works whatever has the focus in the frame, as the
// commands' own keys; menu items only show them.
void MainWindow::CreateAccelerators() {
    for (const Accelerator& a : Accelerators()) {
        QAction* action = Action(a.command);
        if (!action) continue;
        auto* shortcut = new QShortcut(a.keys, this);
        shortcut->setObjectName(QStringLiteral("accel%1").arg(a.command));
        if (a.command == cmd::kDeleteComponent && a.keys == QKeySequence(Qt::CTRL | Qt::Key_C))
            connect(shortcut, &QShortcut::activated, this, &MainWindow::OnCopyOrDeleteKey);
        else
            connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    }
}

QString MainWindow::DocumentTitle() const {
    const std::string& path = doc_.DocumentPath();
    if (path.empty()) return UntitledName();
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

void MainWindow::FollowDocument() {
    setWindowTitle(DocumentTitle() + QStringLiteral("[*] - ") + ProductName());
    setWindowModified(doc_.IsModified());
    // Greyed when there is nothing to take back, as everywhere else on the desktop; a
    // disabled action also leaves Ctrl+Z to a text field being edited.
    if (QAction* undo = Action(cmd::kEditUndo)) undo->setEnabled(doc_.CanUndo());
    if (QAction* redo = Action(cmd::kEditRedo)) redo->setEnabled(doc_.CanRedo());
}

void MainWindow::RebuildRecentMenu() {
    for (QAction* a : recentActions_) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = recent_.Files();
    recentPlaceholder_->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        QString shown = QDir::toNativeSeparators(files[i]);
        if (shown.size() > 60) shown = QStringLiteral("…") + shown.right(58);
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        action->setStatusTip(StatusPrompt(cmd::kFileMruFirst));
        const QString path = files[i];
        connect(action, &QAction::triggered, this, [this, path] {
            if (!OpenDocumentFile(path) && !QFileInfo::exists(path)) {
                recent_.Remove(path);
                RebuildRecentMenu();
            }
        });
        fileMenu_->insertAction(recentPlaceholder_, action);
        recentActions_.append(action);
    }
}

}  // namespace ohmlet
