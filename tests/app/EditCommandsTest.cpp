// The 编辑 menu, the shortcuts the menus show, Ctrl+C, the context menus, 文件 › 关闭,
// 文件 › 导出 and the tools and help items, driven through the real frame.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "dialogs/ReportParameterDialog.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class EditCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        frame->SetProgramFolder(QStringLiteral(OHMLET_PROGRAM_DIR));
        frame->SetFileOpener([this](const QString& path) {
            opened.push_back(path);
            return true;
        });
    }
    GridControl* Grid() { return frame->MainView()->Grid(); }
    void ClickCell(int row) {
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                          Grid()->CellRect(row, 1).center());
    }
    std::vector<QString> opened;
};

// Items whose text carries no key show the accelerator's key.
TEST_F(EditCommandsTest, MenuItemsShowTheirAccelerators) {
    const struct {
        int command;
        const char* keys;
    } cases[] = {{cmd::kDataTransfer, "Ctrl+T"},
                 {cmd::kWordReport, "Ctrl+W"},
                 {cmd::kExcelExport, "Ctrl+E"},
                 {cmd::kReportParameters, "Ctrl+R"},
                 {cmd::kHelp, "Ctrl+H"},
                 {cmd::kInsertComponent, "Ctrl+I"},
                 {cmd::kDeleteComponent, "Ctrl+C"},
                 {cmd::kInsertPointAbove, "Alt+A"},
                 {cmd::kInsertPointBelow, "Alt+B"},
                 {cmd::kDeletePoint, "Ctrl+D"},
                 {cmd::kEditCut, "Ctrl+X"},
                 {cmd::kEditCopy, "Ctrl+Ins"},
                 {cmd::kEditPaste, "Ctrl+V"},
                 {cmd::kEditUndo, "Ctrl+Z"},
                 {cmd::kEditRedo, "Ctrl+Y"},
                 {cmd::kViewControlPanel, "Alt+W"},
                 {cmd::kFileOpen, ""}};  // its text shows the key already
    for (const auto& c : cases)
        EXPECT_EQ(frame->Action(c.command)->shortcut().toString(), QString::fromLatin1(c.keys))
            << c.command;
}

// A shortcut shown in a menu must not take the key from the accelerator: each key
// still does its command once.
TEST_F(EditCommandsTest, ShownShortcutsLeaveTheAcceleratorsWorking) {
    Open({MakeComponent("0001", {10, 11, 12})});
    ClickCell(1);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(Doc().CurrentComponent()->pointCount, 4);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Doc().CurrentComponent()->pointCount, 3);
    Key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Doc().ComponentCount(), 2);
}

// Ctrl+C copies readings in the grid and deletes a component elsewhere, after asking.
TEST_F(EditCommandsTest, CtrlCCopiesInTheGridAndAsksBeforeDeletingElsewhere) {
    const struct {
        const char* name;
        bool gridFocus;
        std::vector<QMessageBox::StandardButton> answers;
        int componentsAfter;
    } cases[] = {
        {"grid copies", true, {}, 2},
        {"list, No", false, {QMessageBox::No}, 2},
        {"list, Yes", false, {QMessageBox::Yes}, 1},
    };
    for (const auto& c : cases) {
        Open({MakeComponent("0001", {10, 11, 12}, 1, Gbk("梁")),
              MakeComponent("0002", {20, 21}, 1)});
        QApplication::clipboard()->clear();
        prompts.clear();
        ClickCell(2);
        if (!c.gridFocus) frame->Panel()->List()->setFocus();
        answers.assign(c.answers.begin(), c.answers.end());
        Key(Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(Doc().ComponentCount(), c.componentsAfter) << c.name;
        EXPECT_EQ(prompts.size(), c.answers.size()) << c.name;
        if (c.gridFocus) {
            EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2\t11.0\n")) << c.name;
        } else {
            ASSERT_FALSE(prompts.empty()) << c.name;
            EXPECT_EQ(prompts.back(), QStringLiteral("确实要删除构件 0001（梁） 吗？")) << c.name;
        }
        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

TEST_F(EditCommandsTest, TheMenuItemDeletesTheCurrentComponentAfterAsking) {
    Open({MakeComponent("0001", {1}), MakeComponent("0002", {2}, 1, Gbk("板"))});
    Doc().SelectComponent(1);
    answers = {QMessageBox::Yes};
    frame->Action(cmd::kDeleteComponent)->trigger();
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0], QStringLiteral("确实要删除构件 0002（板） 吗？"));
    ASSERT_EQ(Doc().ComponentCount(), 1);
    EXPECT_EQ(Doc().Components()[0].Number(), "0001");
    answers = {QMessageBox::No};
}

// Undo and redo are offered only when there is something to take back or redo.
TEST_F(EditCommandsTest, UndoAndRedoAreGreyedWithNothingToTakeBack) {
    Open({MakeComponent("0001", {1}), MakeComponent("0002", {2})});
    struct Step {
        const char* what;
        int command;  // 0: the file as opened
        int components;
        bool undo, redo;
    } steps[] = {
        {"opened", 0, 2, false, false},
        {"deleted", cmd::kDeleteComponent, 1, true, false},
        {"undone", cmd::kEditUndo, 2, false, true},
        {"redone", cmd::kEditRedo, 1, true, false},
        {"undone again", cmd::kEditUndo, 2, false, true},
        {"inserted", cmd::kInsertComponent, 3, true, false},
    };
    for (const Step& step : steps) {
        if (step.command == cmd::kDeleteComponent) answers = {QMessageBox::Yes};
        if (step.command != 0) frame->Action(step.command)->trigger();
        EXPECT_EQ(Doc().ComponentCount(), step.components) << step.what;
        EXPECT_EQ(frame->Action(cmd::kEditUndo)->isEnabled(), step.undo) << step.what;
        EXPECT_EQ(frame->Action(cmd::kEditRedo)->isEnabled(), step.redo) << step.what;
    }
}

TEST_F(EditCommandsTest, WithNothingToDeleteNothingIsAsked) {
    frame->Action(cmd::kDeleteComponent)->trigger();
    EXPECT_TRUE(prompts.empty());
}

TEST_F(EditCommandsTest, TheGridContextMenuActsOnTheRowUnderTheMouse) {
    Open({MakeComponent("0001", {10, 11, 12, 13})});
    ClickCell(1);
    std::unique_ptr<QMenu> menu(
        frame->MainView()->MakeContextMenu(Grid()->CellRect(3, 1).center(), nullptr));
    EXPECT_EQ(frame->MainView()->SelectedIndex(), 2);
    QList<int> commands;
    for (QAction* a : menu->actions()) commands << (a->isSeparator() ? 0 : a->data().toInt());
    EXPECT_EQ(commands,
              (QList<int>{cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste, 0, cmd::kInsertPointAbove,
                          cmd::kInsertPointBelow, cmd::kDeletePoint}));
    for (QAction* a : menu->actions())
        if (a->data().toInt() == cmd::kDeletePoint) a->trigger();
    std::vector<int> values;
    for (const MeasuringPoint& p : Doc().CurrentComponent()->points) values.push_back(p.value);
    EXPECT_EQ(values, (std::vector<int>{10, 11, 13}));
}

TEST_F(EditCommandsTest, TheListContextMenuOffersTheComponentCommands) {
    Open({MakeComponent("0001", {1}), MakeComponent("0002", {2})});
    QTableView* list = frame->Panel()->List();
    const QRect row1 = list->visualRect(list->model()->index(1, 1));
    std::unique_ptr<QMenu> menu(frame->Panel()->MakeContextMenu(row1.center(), nullptr));
    EXPECT_EQ(Doc().CurrentIndex(), 1);
    QList<int> commands;
    for (QAction* a : menu->actions()) commands << a->data().toInt();
    EXPECT_TRUE(commands.contains(cmd::kInsertComponent));
    EXPECT_TRUE(commands.contains(cmd::kDeleteComponent));
}

TEST_F(EditCommandsTest, TextThatIsNoNumberIsNotedInTheStatusBar) {
    Open({MakeComponent("0001", {10, 11})});
    ASSERT_TRUE(TypeIntoCell(*Grid(), 1, 1, QStringLiteral("abc")));
    EXPECT_EQ(Doc().CurrentComponent()->points[0].value, 10);
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains(QStringLiteral("abc")))
        << frame->statusBar()->currentMessage().toStdString();
    EXPECT_FALSE(Doc().IsModified());
}

// 文件 › 关闭 asks about unsaved edits as every other way of dropping the document does.
TEST_F(EditCommandsTest, CloseAsksAboutUnsavedEditsOnly) {
    const struct {
        const char* name;
        bool edit;
        std::vector<QMessageBox::StandardButton> answers;
        bool closed;
    } cases[] = {{"unedited", false, {}, true},
                 {"edited, No", true, {QMessageBox::No}, true},
                 {"edited, Cancel", true, {QMessageBox::Cancel}, false}};
    for (const auto& c : cases) {
        Open({MakeComponent("0001", {10, 11})});
        if (c.edit) frame->Action(cmd::kInsertComponent)->trigger();
        prompts.clear();
        answers.assign(c.answers.begin(), c.answers.end());
        frame->Action(cmd::kFileClose)->trigger();
        EXPECT_EQ(prompts.size(), c.answers.size()) << c.name;
        EXPECT_EQ(Doc().DocumentPath().empty(), c.closed) << c.name;
        EXPECT_EQ(Doc().ComponentCount() == 0, c.closed) << c.name;
        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

// Each format is written where the user says, named after the document by default.
TEST_F(EditCommandsTest, ExportWritesEachFormatWhereTheUserSays) {
    const struct {
        int command;
        const char* suggestion;
        QByteArray head;
    } cases[] = {{cmd::kExportWord, "t.docx", "PK"},
                 {cmd::kExportExcel, "t.xlsx", "PK"},
                 {cmd::kExportCsv, "t.csv", "\xEF\xBB\xBFnumber,name"},
                 {cmd::kExportPdf, "t.pdf", "%PDF"}};
    Open({MakeComponent("0001", {45, 46}, 1, Gbk("梁1"))});
    for (const auto& c : cases) {
        suggestions.clear();
        errors.clear();
        nextFileName = dir.filePath(QStringLiteral("out_") + QString::fromLatin1(c.suggestion));
        frame->Action(c.command)->trigger();
        ASSERT_EQ(suggestions.size(), 1u) << c.command;
        EXPECT_EQ(suggestions[0], QString::fromLatin1(c.suggestion));
        EXPECT_TRUE(errors.empty()) << c.command << (errors.empty() ? "" : errors[0].toStdString());
        QFile file(nextFileName);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.command;
        EXPECT_TRUE(file.read(c.head.size()) == c.head) << c.command;
        EXPECT_TRUE(opened.empty()) << "an export is not opened";
    }
}

TEST_F(EditCommandsTest, AnExportThatCannotBeWrittenSaysWhyAndWhere) {
    Open({MakeComponent("0001", {45, 46})});
    for (int command : {cmd::kExportWord, cmd::kExportExcel, cmd::kExportCsv}) {
        errors.clear();
        nextFileName = dir.filePath(QStringLiteral("missing/out.x"));
        frame->Action(command)->trigger();
        ASSERT_EQ(errors.size(), 1u) << command;
        EXPECT_TRUE(errors[0].startsWith(QStringLiteral("无法写入文件 "))) << command;
        EXPECT_TRUE(errors[0].contains(QStringLiteral("out.x"))) << command;
        EXPECT_FALSE(errors[0].contains(QStringLiteral("服务失败"))) << command;
    }
    // Cancelled: nothing is written and nothing reported.
    errors.clear();
    nextFileName.clear();
    frame->Action(cmd::kExportCsv)->trigger();
    EXPECT_TRUE(errors.empty());
}

TEST_F(EditCommandsTest, CtrlROpensTheReportParametersAndCtrlHTheGuide) {
    bool seen = false;
    QTimer::singleShot(0, frame.get(), [&] {
        if (auto* dialog =
                qobject_cast<ReportParameterDialog*>(QApplication::activeModalWidget())) {
            seen = true;
            dialog->reject();
        }
    });
    QTimer::singleShot(5000, frame.get(), [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    Key(Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(seen);
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    Key(Qt::Key_H, Qt::ControlModifier);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(QFileInfo(opened[0]).fileName(), QStringLiteral("Ohmlet.html"));
    EXPECT_TRUE(QFileInfo::exists(opened[0])) << opened[0].toStdString();
}

}  // namespace
