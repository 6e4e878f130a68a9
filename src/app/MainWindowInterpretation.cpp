// The frame's commands for judging readings: one criterion for every ticked component,
// and the corrosion class table the grid, the panel and the outputs use.
#include <QActionGroup>
#include <QMenu>
#include <QStringList>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "dialogs/ClassTableDialog.h"
#include "dialogs/CriterionDialog.h"
#include "dialogs/SettingsMessage.h"
#include "report/ClassNames.h"
#include "report/ClassTableFile.h"
#include "report/InterpretationSettings.h"
#include "views/ChartPane.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"

namespace ohmlet {
namespace {

struct TableCommand {
    int command;
    ClassTableChoice choice;
};
constexpr TableCommand kTableCommands[] = {
    {cmd::kClassTableRilem, ClassTableChoice::Rilem},
    {cmd::kClassTableLangford, ClassTableChoice::Langford},
    {cmd::kClassTableUser, ClassTableChoice::User},
};

}  // namespace

void MainWindow::CreateInterpretationMenu(QMenu* tools) {
    tools->addSeparator();
    MakeAction(cmd::kApplyCriterion, &MainWindow::OnApplyCriterion);
    tools->addAction(Action(cmd::kApplyCriterion));
    QMenu* tables = tools->addMenu(tr("腐蚀等级表(&C)"));
    tables->setObjectName(QStringLiteral("classTableMenu"));
    auto* group = new QActionGroup(this);
    for (const TableCommand& t : kTableCommands) {
        QAction* action = MakeAction(t.command, nullptr);
        action->setCheckable(true);
        group->addAction(action);
        tables->addAction(action);
        const int command = t.command;
        connect(action, &QAction::triggered, this, [this, command] { ChooseClassTable(command); });
    }
    tables->addSeparator();
    tables->addAction(MakeAction(cmd::kEditClassTable, &MainWindow::OnEditClassTable));
}

// Starts from the user's table when it can be read, else from the table in use; a
// confirmed table is saved and taken into use.
void MainWindow::OnEditClassTable() {
    const ClassTableFileResult read = ReadClassTableFile(UserClassTablePath(ProgramFolder()));
    ClassTable initial = read.table ? *read.table : classTable_;
    if (!read.table) {
        // A copy of the table in use to start from, its classes named as the window shows.
        std::vector<CorrosionClass> classes = classTable_.Classes();
        for (CorrosionClass& c : classes)
            c.name = ClassDisplayName(c, ClassWording::kInterface).toStdString();
        std::string unused;
        if (auto copy = ClassTable::Make(tr("我的等级表").toStdString(), classes, unused))
            initial = *copy;
    }
    std::optional<ClassTable> edited;
    if (classTablePrompt_) {
        edited = classTablePrompt_(initial);
    } else {
        ClassTableDialog dialog(initial, this);
        if (dialog.exec() == QDialog::Accepted) edited = dialog.Table();
    }
    if (!edited) return;
    const SettingsOutcome saved = SaveUserClassTable(ProgramFolder(), *edited);
    if (!saved.Ok()) {
        ShowSettingsOutcome(this, tr("编辑用户等级表"), saved);
        return;
    }
    ChooseClassTable(cmd::kClassTableUser);
}

// The dialog only returns the criterion; the document applies it as one undoable step.
void MainWindow::OnApplyCriterion() {
    int ticked = 0;
    for (const Component& c : doc_.Components()) ticked += c.selected != 0 ? 1 : 0;
    const Component* current = doc_.CurrentComponent();
    const Criterion initial = current
                                  ? CriterionOf(*current)
                                  : LoadInterpretationSettings(ProgramFolder()).DownloadCriterion();
    std::optional<Criterion> chosen;
    if (criterionPrompt_) {
        chosen = criterionPrompt_(initial, ticked);
    } else {
        CriterionDialog dialog(initial, ticked, this);
        if (dialog.exec() == QDialog::Accepted) chosen = dialog.Value();
    }
    if (!chosen || ticked == 0) return;
    doc_.ApplyCriterionToTicked(*chosen);
    FollowDocument();
}

void MainWindow::ChooseClassTable(int command) {
    InterpretationSettings settings = LoadInterpretationSettings(ProgramFolder());
    for (const TableCommand& t : kTableCommands)
        if (t.command == command) settings.classTable = t.choice;
    const SettingsOutcome saved = SaveInterpretationSettings(ProgramFolder(), settings);
    if (!saved.Ok()) ShowSettingsOutcome(this, tr("腐蚀等级表"), saved);
    ReloadClassTable(true);
}

void MainWindow::ReloadClassTable(bool tell) {
    const ChosenClassTable chosen = LoadChosenClassTable(ProgramFolder());
    const InterpretationSettings settings = ApplyInterpretationSettings(ProgramFolder());
    const ClassTableChoice choice = settings.classTable;
    doc_.SetNewComponentCriterion(settings.DownloadCriterion());
    classTable_ = chosen.table;
    view_->SetClassTable(classTable_);
    Panel()->SetClassTable(classTable_);
    if (chartPane_) chartPane_->SetClassTable(classTable_);
    // A user table that cannot be used leaves the default ticked, and says why.
    const bool fellBack = !chosen.problem.empty();
    for (const TableCommand& t : kTableCommands) {
        if (QAction* action = Action(t.command))
            action->setChecked(fellBack ? t.choice == ClassTableChoice::Rilem : t.choice == choice);
    }
    if (tell && fellBack && choice == ClassTableChoice::User)
        ShowError(tr("用户等级表不能使用，仍按 RILEM 等级表划分：\n") +
                  QString::fromStdString(chosen.problem));
    // Values the settings file holds that cannot be used are said, not silently replaced.
    if (tell && !settings.problems.empty()) {
        QStringList problems;
        for (const std::string& p : settings.problems) problems << QString::fromStdString(p);
        ShowError(tr("interpretini.ini 中有不能使用的设置，已改用默认值：\n") +
                  problems.join(QLatin1Char('\n')));
    }
}

}  // namespace ohmlet
