// The frame's document commands: open, save, new, components, undo, printing,
// the panel toggle, help and about.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QUrl>
#include <new>

#include "AboutBox.h"
#include "AppStrings.h"
#include "CDataView.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "PanelBar.h"

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
    if (command == cmd::kFileSave) return {"电阻率数据文件(*.DZL)", "DZL"};
    if (command == cmd::kExportPdf) return {"PDF 文件 (*.pdf)", "pdf"};
    return {"电阻率测试仪数据文件(*.DZL)", "DZL"};
}

}  // namespace

void CMainFrame::ShowError(const QString& text) {
    if (errorSink_) {
        errorSink_(text);
        return;
    }
    QMessageBox::warning(this, AppName(), text);
}

QString CMainFrame::AskFileName(int command, const QString& suggestion) {
    if (fileNamePrompt_) return fileNamePrompt_(command, suggestion);
    QFileDialog dialog(this);
    if (command == cmd::kFileOpen) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.setNameFilter(QStringLiteral("原始数据文件 (*.DZL)"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    }
    const SaveDialogFilter filter = SaveDialogOf(command);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8(filter.filter));
    dialog.setDefaultSuffix(QString::fromUtf8(filter.defaultSuffix));
    if (!suggestion.isEmpty()) dialog.selectFile(suggestion);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

bool CMainFrame::SaveModified() {
    if (!doc_.IsModified()) return true;
    const QString text = QStringLiteral("是否保存对 %1 的更改?").arg(DocumentTitle());
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

bool CMainFrame::WriteDocumentTo(const QString& path) {
    const DzlWriteResult result = doc_.Save(LocalPath(path));
    if (!result.ok) {
        ShowError(QStringLiteral("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.message)));
        return false;
    }
    recent_.Add(path);
    RebuildRecentMenu();
    UpdateTitle();
    return true;
}

bool CMainFrame::DoSave() {
    QString path = QFile::decodeName(QByteArray::fromStdString(doc_.documentPath()));
    if (path.isEmpty()) {
        path = AskFileName(cmd::kFileSave, DocumentTitle());
        if (path.isEmpty()) return false;
    }
    return WriteDocumentTo(path);
}

bool CMainFrame::OpenDocumentFile(const QString& path) { return OpenLocalFile(LocalPath(path)); }

bool CMainFrame::OpenLocalFile(const std::string& localPath) {
    if (!SaveModified()) return false;
    const QString path = QFile::decodeName(QByteArray::fromStdString(localPath));
    DzlReadResult result;
    try {
        result = doc_.Open(localPath);
    } catch (const std::bad_alloc&) {
        // The document is replaced only after the whole file was read: it is unchanged.
        ShowError(
            QStringLiteral("无法打开文件 %1。\n内存不足。").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    if (!result.ok()) {
        ShowError(QStringLiteral("无法打开文件 %1。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.message)));
        return false;
    }
    view_->OnInitialUpdate();
    recent_.Add(path);
    RebuildRecentMenu();
    UpdateTitle();
    return true;
}

bool CMainFrame::NewDocument() {
    if (!SaveModified()) return false;
    doc_.NewDocument();
    view_->OnInitialUpdate();
    UpdateTitle();
    return true;
}

void CMainFrame::OnFileNew() { NewDocument(); }

void CMainFrame::OnFileOpen() {
    const QString path = AskFileName(cmd::kFileOpen, QString());
    if (!path.isEmpty()) OpenDocumentFile(path);
}

void CMainFrame::OnFileSave() { DoSave(); }

// Every component to another file; the document keeps its own path and title.
void CMainFrame::OnSaveAllAs() {
    const QString path = AskFileName(cmd::kFileSaveAllAs, QString());
    if (path.isEmpty()) return;
    const DzlWriteResult result = doc_.WriteComponents(LocalPath(path), DzlSelection::All);
    if (!result.ok)
        ShowError(QStringLiteral("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.message)));
}

void CMainFrame::OnSaveSelected() {
    const QString path =
        AskFileName(cmd::kSaveSelected, QStringLiteral("电阻率测试仪数据文件.DZL"));
    if (path.isEmpty()) return;
    const DzlWriteResult result = doc_.WriteComponents(LocalPath(path), DzlSelection::SelectedOnly);
    if (!result.ok)
        ShowError(QStringLiteral("无法保存文件 %1，原有文件没有改动。\n%2")
                      .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(result.message)));
}

void CMainFrame::OnInsertComponent() { doc_.InsertComponent(); }
void CMainFrame::OnDeleteComponent() { doc_.DeleteComponent(); }
void CMainFrame::OnEditUndo() { doc_.Undo(); }
void CMainFrame::OnEditRedo() { doc_.Redo(); }

// The flag only alternates: closing the bar with its own button does not clear it.
void CMainFrame::OnViewControlPanel() {
    if (panelShown_) {
        panelBar_->hide();
        panelShown_ = false;
    } else {
        panelBar_->show();
        panelShown_ = true;
    }
}

void CMainFrame::OnHelp() {
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(HelpFileName());
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void CMainFrame::OnAppAbout() {
    AboutBox box(this);
    box.exec();
}

void CMainFrame::OnFilePrint() { view_->OnFilePrint(ProgramFolder()); }

void CMainFrame::OnFilePrintPreview() { view_->OnFilePrintPreview(ProgramFolder()); }

void CMainFrame::OnPrintSetup() {
    QPageSetupDialog dialog(&view_->Printer(), this);
    dialog.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (SaveModified())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    for (const QUrl& url : event->mimeData()->urls()) {
        if (!url.isLocalFile()) continue;
        event->acceptProposedAction();
        activateWindow();
        OpenDocumentFile(url.toLocalFile());
        return;
    }
}

}  // namespace ohmlet
