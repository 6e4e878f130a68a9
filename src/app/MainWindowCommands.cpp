// The frame's document commands: open, save, new, components, undo, printing,
// the panel toggle, help and about.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QStringList>
#include <QUrl>
#include <new>

#include "app/AboutBox.h"
#include "app/AppStrings.h"
#include "app/CommandIds.h"
#include "app/DesktopOpener.h"
#include "app/MainWindow.h"
#include "views/DataView.h"
#include "views/PanelBar.h"

namespace ohmlet {
namespace {

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

struct SaveDialogFilter {
    const char* filter;
    const char* defaultSuffix;
};

// Save dialogs: the untitled save uses the document type's filter; the two
// component writers their own.
SaveDialogFilter SaveDialogOf(int command) {
    if (command == cmd::kFileSave)
        return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "电阻率数据文件(*.DZL)"), "DZL"};
    if (command == cmd::kExportPdf)
        return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "PDF 文件 (*.pdf)"), "pdf"};
    if (command == cmd::kExportWord)
        return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "Word 文档 (*.docx)"), "docx"};
    if (command == cmd::kExportExcel)
        return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "Excel 工作簿 (*.xlsx)"), "xlsx"};
    if (command == cmd::kExportCsv)
        return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "CSV 文件 (*.csv)"), "csv"};
    return {QT_TRANSLATE_NOOP("ohmlet::MainWindow", "电阻率测试仪数据文件(*.DZL)"), "DZL"};
}

}  // namespace

void MainWindow::ShowError(const QString& text) {
    if (errorSink_) {
        errorSink_(text);
        return;
    }
    QMessageBox::warning(this, AppName(), text);
}

void MainWindow::ShowNotice(const QString& text) {
    if (errorSink_) {
        errorSink_(text);
        return;
    }
    QMessageBox::information(this, AppName(), text);
}

QString MainWindow::AskFileName(int command, const QString& suggestion) {
    if (fileNamePrompt_) return fileNamePrompt_(command, suggestion);
    QFileDialog dialog(this);
    if (command == cmd::kFileOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilter(tr("原始数据文件 (*.DZL)"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }
    const SaveDialogFilter filter = SaveDialogOf(command);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(tr(filter.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(filter.defaultSuffix));
    if (!suggestion.isEmpty()) dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool MainWindow::SaveModified() {
    if (!doc_.IsModified()) return true;
    const QString text = tr("是否保存对 %1 的更改?").arg(DocumentTitle());
    QMessageBox::StandardButton answer;
    if (savePrompt_) {
        answer = savePrompt_(text);
    } else {
        answer = QMessageBox::question(this, AppName(), text,
                                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                       QMessageBox::Yes);
    }
    if (answer == QMessageBox::Yes) return DoSave();
    return answer == QMessageBox::No;
}

bool MainWindow::WriteDocumentTo(const QString& path) {
    const DzlWriteResult result = doc_.Save(LocalPath(path));
    if (!result.Ok()) {
        ShowError(tr("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.text)));
        return false;
    }
    recent_.Add(path);
    RebuildRecentMenu();
    FollowDocument();
    return true;
}

bool MainWindow::DoSave() {
    QString path = QFile::decodeName(QByteArray::fromStdString(doc_.DocumentPath()));
    if (path.isEmpty()) {
        path = AskFileName(cmd::kFileSave, DocumentTitle());
        if (path.isEmpty()) return false;
    }
    return WriteDocumentTo(path);
}

bool MainWindow::OpenDocumentFile(const QString& path) { return OpenLocalFile(LocalPath(path)); }

bool MainWindow::OpenLocalFile(const std::string& localPath) {
    if (!SaveModified()) return false;
    const QString path = QFile::decodeName(QByteArray::fromStdString(localPath));
    DzlReadResult result;
    try {
        result = doc_.Open(localPath);
    } catch (const std::bad_alloc&) {
        // The document is replaced only after the whole file was read: it is unchanged.
        ShowError(tr("无法打开文件 %1。\n内存不足。").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!result.Ok()) {
        ShowError(tr("无法打开文件 %1。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.text)));
        return false;
    }
    view_->OnInitialUpdate();
    recent_.Add(path);
    RebuildRecentMenu();
    FollowDocument();
    // The readings are open; what could not be used beyond them is only worth a warning.
    if (!result.warnings.empty()) {
        QStringList lines{
            tr("文件 %1 已打开，但其附加信息有问题：").arg(QDir::toNativeSeparators(path))};
        for (const std::string& w : result.warnings) lines << QString::fromStdString(w);
        ShowError(lines.join('\n'));
    }
    return true;
}

bool MainWindow::NewDocument() {
    if (!SaveModified()) return false;
    doc_.NewDocument();
    view_->OnInitialUpdate();
    FollowDocument();
    return true;
}

void MainWindow::OnFileNew() { NewDocument(); }

bool MainWindow::CloseDocument() { return NewDocument(); }

void MainWindow::OnFileClose() { CloseDocument(); }

void MainWindow::OnFileOpen() {
    const QString path = AskFileName(cmd::kFileOpen, QString());
    if (!path.isEmpty()) OpenDocumentFile(path);
}

void MainWindow::OnFileSave() { DoSave(); }

// Every component to another file; the document keeps its own path and title.
void MainWindow::OnSaveAllAs() {
    const QString path = AskFileName(cmd::kFileSaveAllAs, QString());
    if (path.isEmpty()) return;
    const DzlWriteResult result = doc_.WriteComponents(LocalPath(path), DzlSelection::All);
    if (!result.Ok())
        ShowError(tr("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.text)));
}

void MainWindow::OnSaveSelected() {
    const QString path = AskFileName(cmd::kSaveSelected, tr("电阻率测试仪数据文件.DZL"));
    if (path.isEmpty()) return;
    const DzlWriteResult result = doc_.WriteComponents(LocalPath(path), DzlSelection::SelectedOnly);
    if (!result.Ok())
        ShowError(tr("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.text)));
}

void MainWindow::OnInsertComponent() { doc_.InsertComponent(); }
void MainWindow::OnEditUndo() { doc_.Undo(); }
void MainWindow::OnEditRedo() { doc_.Redo(); }

// The flag only alternates: closing the bar with its own button does not clear it.
void MainWindow::OnViewControlPanel() {
    if (panelShown_) {
        panelBar_->hide();
        panelShown_ = false;
    } else {
        panelBar_->show();
        panelShown_ = true;
    }
}

void MainWindow::OnHelp() {
    const QString path = HelpFilePath(ProgramFolder(), CurrentLanguage());
    const QString failed =
        tr("无法打开帮助：没有可以显示它的程序，或找不到文件：\n") + QDir::toNativeSeparators(path);
    if (fileOpener_) {
        if (!fileOpener_(path)) ShowError(failed);
        return;
    }
    OpenWithDesktop(path, this, [this, failed] { ShowError(failed); });
}

void MainWindow::OnAppAbout() {
    AboutBox box(this);
    box.exec();
}

void MainWindow::OnFilePrint() { view_->OnFilePrint(ProgramFolder()); }

void MainWindow::OnFilePrintPreview() { view_->OnFilePrintPreview(ProgramFolder()); }

void MainWindow::OnPrintSetup() {
    QPageSetupDialog dialog(&view_->Printer(), this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (SaveModified())
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        activateWindow();
        OpenDocumentFile(url.toLocalFile());
        return;
    }
}

}  // namespace ohmlet
