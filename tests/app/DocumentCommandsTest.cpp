#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QLineEdit>
#include <QTableView>
#include <functional>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

using DocumentCommandsTest = FrameTest;

std::vector<std::string> Numbers(const std::vector<Component>& components) {
    std::vector<std::string> n;
    for (const Component& c : components) n.push_back(c.Number());
    return n;
}

TEST_F(DocumentCommandsTest, NewAsksThenGivesAnEmptyDocument) {
    Open({MakeComponent("0001", {1}), MakeComponent("0002", {2})});
    Doc().SetCell(0, 1, 9);
    answers = {QMessageBox::Cancel};
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Doc().ComponentCount(), 2) << "cancel keeps everything";
    answers = {QMessageBox::No};
    Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts.back(), QStringLiteral("是否保存对 t.DZL 的更改?"));
    EXPECT_EQ(Doc().ComponentCount(), 0);
    EXPECT_TRUE(Doc().DocumentPath().empty());
    EXPECT_EQ(frame->Panel()->List()->model()->rowCount(), 0);
    EXPECT_EQ(frame->MainView()->Grid()->GridModel()->GridRowCount(), 51);
    EXPECT_FALSE(frame->isWindowModified());
}

TEST_F(DocumentCommandsTest, AnsweringYesSavesFirstAndAnUntitledDocumentAsksForAName) {
    Key(Qt::Key_I, Qt::ControlModifier);  // a component in the untitled document
    ASSERT_EQ(Doc().ComponentCount(), 1);
    nextFileName = dir.filePath(QStringLiteral("kept.DZL"));
    answers = {QMessageBox::Yes};
    const QString other = WriteFile(dir, QStringLiteral("other.DZL"), {MakeComponent("0009", {1})});
    EXPECT_TRUE(frame->OpenDocumentFile(other));
    ASSERT_EQ(askedCommands, (std::vector<int>{cmd::kFileSave}));
    EXPECT_EQ(suggestions[0], QStringLiteral("无标题"));
    DzlReadResult kept = ReadDzlFile(Local(nextFileName));
    ASSERT_TRUE(kept.Ok());
    EXPECT_EQ(Numbers(kept.components), (std::vector<std::string>{"0001"}));
    EXPECT_EQ(Doc().ComponentAt(0)->Number(), "0009");
}

TEST_F(DocumentCommandsTest, CancelledNameOrFailedSaveKeepsTheEditsAndTheDocument) {
    Key(Qt::Key_I, Qt::ControlModifier);
    nextFileName.clear();  // the name dialog is cancelled
    answers = {QMessageBox::Yes};
    EXPECT_FALSE(frame->NewDocument());
    EXPECT_EQ(Doc().ComponentCount(), 1);

    nextFileName = dir.filePath(QStringLiteral("no/such/folder/x.DZL"));
    answers = {QMessageBox::Yes};
    EXPECT_FALSE(frame->NewDocument());
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("无法保存文件")));
    EXPECT_EQ(Doc().ComponentCount(), 1);
    EXPECT_TRUE(Doc().IsModified());
}

TEST_F(DocumentCommandsTest, ClosingAsksAndCancelKeepsTheWindow) {
    Open({MakeComponent("0001", {1})});
    Doc().SetCell(0, 1, 9);
    answers = {QMessageBox::Cancel};
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    answers = {QMessageBox::No};
    EXPECT_TRUE(frame->close());
}

TEST_F(DocumentCommandsTest, SaveWritesTheWholeModelToTheDocumentsFile) {
    const QString path = Open({MakeComponent("0001", {1, 2}), MakeComponent("0002", {3})});
    Doc().SetCell(1, 1, 42);
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(askedCommands.empty());
    EXPECT_FALSE(frame->isWindowModified());
    DzlReadResult back = ReadDzlFile(Local(path));
    ASSERT_TRUE(back.Ok());
    ASSERT_EQ(back.components.size(), 2u);
    EXPECT_EQ(back.components[0].points[1].value, 42);
}

TEST_F(DocumentCommandsTest, SaveSelectedItemWritesOnlyCheckedComponents) {
    const QString path = Open({MakeComponent("0001", {1}, 1), MakeComponent("0002", {2}, 1),
                               MakeComponent("0003", {3}, 0)});
    QAbstractItemModel* list = frame->Panel()->List()->model();
    list->setData(list->index(0, 0), Qt::Unchecked, Qt::CheckStateRole);
    nextFileName = dir.filePath(QStringLiteral("picked.DZL"));
    QAction* item = frame->Action(cmd::kSaveSelected);
    EXPECT_EQ(item->text(), QStringLiteral("保存选择构件(&A)..."));
    item->trigger();
    EXPECT_EQ(suggestions.back(), QStringLiteral("电阻率测试仪数据文件.DZL"));
    DzlReadResult picked = ReadDzlFile(Local(nextFileName));
    ASSERT_TRUE(picked.Ok());
    EXPECT_EQ(Numbers(picked.components), (std::vector<std::string>{"0002"}));
    EXPECT_EQ(Doc().DocumentPath(), Local(path));
}

TEST_F(DocumentCommandsTest, SaveAllAsWritesEveryComponentAndKeepsTheDocumentsPath) {
    const QString path = Open({MakeComponent("0001", {1}, 0), MakeComponent("0002", {2}, 1)});
    nextFileName = dir.filePath(QStringLiteral("all.DZL"));
    frame->Action(cmd::kFileSaveAllAs)->trigger();
    DzlReadResult all = ReadDzlFile(Local(nextFileName));
    ASSERT_TRUE(all.Ok());
    EXPECT_EQ(Numbers(all.components), (std::vector<std::string>{"0001", "0002"}));
    EXPECT_EQ(Doc().DocumentPath(), Local(path));

    nextFileName = dir.filePath(QStringLiteral("missing/all.DZL"));
    frame->Action(cmd::kFileSaveAllAs)->trigger();
    EXPECT_EQ(errors.size(), 1u) << "a failed write is reported";
}

TEST_F(DocumentCommandsTest, AcceleratorsReachThePointAndComponentCommands) {
    Open({MakeComponent("0001", {10, 11, 12}), MakeComponent("0002", {5})});
    GridControl* grid = frame->MainView()->Grid();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(2, 1).center());
    Key(Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(Doc().CurrentComponent()->pointCount, 4);
    EXPECT_EQ(Doc().CurrentComponent()->points[1].value, 0);
    Key(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(Doc().CurrentComponent()->points[2].value, 0);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Doc().CurrentComponent()->pointCount, 4);
    Key(Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(Doc().ComponentCount(), 3);
    EXPECT_EQ(Doc().CurrentIndex(), 2);
    frame->Panel()->List()->setFocus();
    answers = {QMessageBox::Yes};
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Doc().ComponentCount(), 2);
    EXPECT_TRUE(answers.empty()) << "the delete was not asked about";
}

// Ctrl+X and Shift+Del cut a reading: its text goes to the clipboard and the value to 0.
TEST_F(DocumentCommandsTest, CutKeysEmptyTheSelectedReading) {
    Open({MakeComponent("0001", {10, 11, 12})});
    GridControl* grid = frame->MainView()->Grid();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        int row;
    } cases[] = {{Qt::Key_X, Qt::ControlModifier, 2}, {Qt::Key_Delete, Qt::ShiftModifier, 3}};
    for (const auto& c : cases) {
        const int value = Doc().CurrentComponent()->points[c.row - 1].value;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(c.row, 1).center());
        Key(c.key, c.modifier);
        EXPECT_EQ(Doc().CurrentComponent()->points[c.row - 1].value, 0) << c.row;
        EXPECT_TRUE(QApplication::clipboard()->text().contains(QString::number(value))) << c.row;
    }
    EXPECT_EQ(Doc().CurrentComponent()->points[0].value, 10);
    EXPECT_TRUE(Doc().IsModified());
}

// Each kind of edit, made through the GUI, and how to see that it happened.
struct UndoCase {
    const char* name;
    std::function<void(FrameTest&, MainWindow&)> edit;
    friend void PrintTo(const UndoCase& c, std::ostream* os) { *os << c.name; }
};

// What the user edits: texts, marks and readings. Statistics are left out, as
// showing a component recomputes them.
std::vector<std::string> Content(const Document& doc) {
    std::vector<std::string> lines;
    for (const Component& c : doc.Components()) {
        std::string line = c.Number() + "|" + c.Name() + "|" + c.TestDate() + "|" +
                           std::to_string(c.selected) + "|";
        for (const MeasuringPoint& p : c.points) line += std::to_string(p.value) + ",";
        lines.push_back(line);
    }
    return lines;
}

class UndoTest : public FrameTest, public ::testing::WithParamInterface<UndoCase> {};

TEST_P(UndoTest, CtrlZRestoresTheFileAndCtrlYDoesItAgain) {
    const QString path = Open({MakeComponent("0001", {10, 11, 12}, 1, Gbk("梁")),
                               MakeComponent("0002", {20, 21}, 1, Gbk("板"))});
    const auto original = Content(Doc());
    GetParam().edit(*this, *frame);
    const auto edited = Content(Doc());
    ASSERT_NE(edited, original) << "the edit changed nothing";
    frame->MainView()->Grid()->setFocus();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Content(Doc()), original);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Content(Doc()), edited);
    answers = {QMessageBox::No};
}

INSTANTIATE_TEST_SUITE_P(
    Edits, UndoTest,
    ::testing::Values(
        UndoCase{"CellEdit",
                 [](FrameTest&, MainWindow& f) {
                     ASSERT_TRUE(TypeIntoCell(*f.MainView()->Grid(), 1, 1, QStringLiteral("77")));
                 }},
        UndoCase{"PointInsert",
                 [](FrameTest&, MainWindow& f) { f.MainView()->OnInsertPointAbove(); }},
        UndoCase{"PointDelete", [](FrameTest&, MainWindow& f) { f.MainView()->OnDeletePoint(); }},
        UndoCase{"ComponentInsert",
                 [](FrameTest&, MainWindow& f) { f.Action(cmd::kInsertComponent)->trigger(); }},
        UndoCase{"ComponentDeleteByCtrlC",
                 [](FrameTest& t, MainWindow& f) {
                     f.Panel()->List()->setFocus();
                     t.Answer({QMessageBox::Yes});
                     QTest::keyClick(&f, Qt::Key_C, Qt::ControlModifier);
                 }},
        UndoCase{"UntickAll",
                 [](FrameTest&, MainWindow& f) { f.Panel()->TickNoneAction()->trigger(); }},
        UndoCase{"Name",
                 [](FrameTest&, MainWindow& f) {
                     QTest::keyClicks(f.Panel()->Edit(ControlPanel::kName), QStringLiteral("KL1"));
                 }},
        UndoCase{"Date",
                 [](FrameTest&, MainWindow& f) {
                     f.Panel()->DatePicker()->setDate(QDate(2015, 3, 7));
                 }}),
    [](const ::testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

// The readings open; the extras that could not be used are named in one warning.
TEST_F(DocumentCommandsTest, OpeningAFileWithADamagedTrailerWarnsAfterwards) {
    Component gridded = MakeComponent("0002", {5, 6});
    gridded.extras.grid = SurveyGrid{2, 1};
    const QString path =
        WriteFile(dir, QStringLiteral("x.DZL"), {MakeComponent("0001", {1}), gridded});
    std::vector<unsigned char> bytes = ReadAll(Local(path));
    bytes.back() ^= 1;
    WriteAll(Local(path), bytes);
    EXPECT_TRUE(frame->OpenDocumentFile(path));
    EXPECT_EQ(Doc().ComponentCount(), 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("checksum mismatch"))) << errors[0].toStdString();
    EXPECT_FALSE(Doc().ComponentAt(1)->extras.grid);
}

}  // namespace
