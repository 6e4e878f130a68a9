#pragma once
// The main window: menu, toolbar, accelerators, status bar, the docked control panel
// and the data view around the application's document, and the commands that act on them.
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <optional>

#include "app/RecentFileList.h"
#include "app/UiLanguage.h"
#include "data/CorrosionClasses.h"
#include "data/Criterion.h"
#include "data/Document.h"
#include "data/DocumentObserver.h"
#include "report/office/OfficeOutcome.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace ohmlet {

class DataView;
class ControlPanel;
class PanelBar;
class ChartPane;
class GridDialog;

// "无法写入文件 <path>：<reason>", for files our own writers could not write.
QString CannotWriteText(const QString& path, const QString& reason);

class MainWindow : public QMainWindow, public DocumentObserver {
    Q_OBJECT
public:
    // The document is the application's and outlives the window.
    explicit MainWindow(Document& doc, QWidget* parent = nullptr);
    ~MainWindow() override;

    Document& CurrentDocument() { return doc_; }
    DataView* MainView() const { return view_; }
    ControlPanel* Panel() const;
    PanelBar* PanelDock() const { return panelBar_; }
    ChartPane* Charts() const { return chartPane_; }
    QToolBar* ToolBar() const { return toolBar_; }
    QAction* Action(int command) const { return actions_.value(command); }
    bool IsPanelShown() const { return panelShown_; }
    QString DocumentTitle() const;
    const RecentFileList& RecentFiles() const { return recent_; }

    // Opens path as the document after asking about unsaved edits; false when the
    // user cancelled or the file could not be read (the user has been told).
    bool OpenDocumentFile(const QString& path);
    // The same for a file name given as the system's bytes, which need not be UTF-8.
    bool OpenLocalFile(const std::string& localPath);
    // An empty, untitled document after asking about unsaved edits.
    bool NewDocument();
    // Closes the document (asking about unsaved edits); an untitled empty one follows.
    bool CloseDocument();
    // Asks whether to save unsaved edits: true when it is fine to drop the document.
    bool SaveModified();
    bool DoSave();

    // --- what tests answer instead of a person ------------------------------------
    using SavePrompt = std::function<QMessageBox::StandardButton(const QString& text)>;
    using FileNamePrompt = std::function<QString(int command, const QString& suggestion)>;
    using ErrorSink = std::function<void(const QString& text)>;
    // Opens written files (Word, Excel) with the desktop; tests record instead.
    using FileOpener = std::function<bool(const QString& path)>;
    void SetFileOpener(FileOpener opener) { fileOpener_ = std::move(opener); }
    // Where settings files and the Word template are looked for (the program's folder).
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString ProgramFolder() const;
    void SetSavePrompt(SavePrompt prompt) { savePrompt_ = std::move(prompt); }
    void SetFileNamePrompt(FileNamePrompt prompt) { fileNamePrompt_ = std::move(prompt); }
    void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }
    // Yes/No questions other than the save question go to the save prompt when set.
    QMessageBox::StandardButton Ask(const QString& text);
    // The criterion to apply to the ticked components, or nothing when cancelled.
    using CriterionPrompt =
        std::function<std::optional<Criterion>(const Criterion& initial, int tickedCount)>;
    void SetCriterionPrompt(CriterionPrompt prompt) { criterionPrompt_ = std::move(prompt); }
    // The user's class table as edited, or nothing when cancelled; the dialog when unset.
    using ClassTablePrompt = std::function<std::optional<ClassTable>(const ClassTable& initial)>;
    void SetClassTablePrompt(ClassTablePrompt prompt) { classTablePrompt_ = std::move(prompt); }
    // Answers the grid dialog instead of a person: fills it and returns its result.
    using GridDialogHook = std::function<int(GridDialog& dialog)>;
    void SetGridDialogHook(GridDialogHook hook) { gridDialogHook_ = std::move(hook); }
    // The class table in use (settings "interpretini"); the grid, panel and legend show it.
    const ClassTable& CurrentClassTable() const { return classTable_; }
    // Reads the chosen table from the settings again and shows it everywhere; with
    // `tell`, says why a chosen user table was not taken.
    void ReloadClassTable(bool tell = false);

    // DocumentObserver: the frame follows every change for its title and its undo
    // and redo items.
    void ShowComponent(const Component*) override { FollowDocument(); }
    void RefreshComponentList() override { FollowDocument(); }
    void RefreshPointCount() override { FollowDocument(); }
    void RebuildGrid() override { FollowDocument(); }
    void RefreshComponentRow(int) override { FollowDocument(); }

public slots:
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnSaveAllAs();
    void OnSaveSelected();
    void OnInsertComponent();
    // Asks first, naming the component: one key must not silently destroy data.
    void OnDeleteComponent();
    // Ctrl+C: copies the selected readings while the grid has the focus, otherwise
    // deletes the current component.
    void OnCopyOrDeleteKey();
    void OnFileClose();
    void OnExportWord();
    void OnExportExcel();
    void OnExportCsv();
    void OnEditUndo();
    void OnEditRedo();
    void OnViewControlPanel();
    void OnHelp();
    void OnAppAbout();
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnPrintSetup();
    // Commands whose dialogs and writers live in other layers.
    void OnDataTransfer();
    void OnReportParameters();
    void OnWordReport();
    void OnExcelExport();
    void OnPrintSettings();
    void OnExportPdf();
    void OnApplyCriterion();
    void OnEditClassTable();
    void OnSurveyGrid();
    void FollowDocument();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QAction* MakeAction(int command, void (MainWindow::*slot)());
    void CreateActions();
    void CreateMenus();
    void CreateLanguageMenu(QMenu* parent);
    // Saves the choice for the next start and says so.
    void OnLanguageChosen(UiLanguage language);
    void CreateToolBar();
    void CreateStatusBar();
    void CreateAccelerators();
    void CreateEditMenu();
    void CreateExportMenu(QMenu* parent);
    void ShowShortcutsInMenus();
    void ShowStatusMessage(const QString& text);
    // Writes an Office or CSV file where the user says; reports what went wrong.
    void ExportWithDialog(int command);
    void RebuildRecentMenu();
    // The criterion command and the class-table choice in the tools menu.
    void CreateInterpretationMenu(QMenu* tools);
    void ChooseClassTable(int command);
    void UpdateLockIndicators();
    QString AskFileName(int command, const QString& suggestion);
    void ShowError(const QString& text);
    // Information that needs no answer; tests collect it with the errors.
    void ShowNotice(const QString& text);
    bool WriteDocumentTo(const QString& path);
    // Opens a written Office file with the desktop's application, or says why not.
    void ShowOfficeOutcome(const OfficeOutcome& outcome, const QString& failureText);

    Document& doc_;
    DataView* view_ = nullptr;
    PanelBar* panelBar_ = nullptr;
    ChartPane* chartPane_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentPlaceholder_ = nullptr;
    QList<QAction*> recentActions_;
    QHash<int, QAction*> actions_;
    QLabel* capsIndicator_ = nullptr;
    QLabel* numIndicator_ = nullptr;
    QLabel* scrollIndicator_ = nullptr;
    bool panelShown_ = true;
    RecentFileList recent_;
    SavePrompt savePrompt_;
    FileNamePrompt fileNamePrompt_;
    ErrorSink errorSink_;
    FileOpener fileOpener_;
    QString programFolder_;
    CriterionPrompt criterionPrompt_;
    ClassTablePrompt classTablePrompt_;
    GridDialogHook gridDialogHook_;
    ClassTable classTable_ = ClassTable::Rilem();
};

}  // namespace ohmlet
