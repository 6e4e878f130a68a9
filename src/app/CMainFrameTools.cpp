// The frame's commands whose dialogs and writers live in the transfer and report
// layers: data transfer, report parameters, print settings, PDF, Word and Excel.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "AppStrings.h"
#include "CMainFrame.h"
#include "CPrintSettingsDlg.h"
#include "CReportParamDlg.h"
#include "CTransferDlg.h"
#include "CommandIds.h"
#include "ExcelWorkbookWriter.h"
#include "ReportOutput.h"
#include "WordTableWriter.h"

namespace ohmlet {

// Settings files and the Word template live beside the program.
QString CMainFrame::ProgramFolder() const {
    return (programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_) +
           QLatin1Char('/');
}

void CMainFrame::OnDataTransfer() {
    CTransferDlg dialog(doc_, this);
    dialog.exec();
    if (dialog.IsFinished()) OpenDocumentFile(dialog.GetTargetPath());
}

void CMainFrame::OnReportParameters() { EditReportParameters(this, ProgramFolder()); }

void CMainFrame::OnPrintSettings() { EditPrintSettings(this, ProgramFolder()); }

void CMainFrame::OnExportPdf() {
    const QString path = AskFileName(cmd::kExportPdf, DocumentTitle() + QStringLiteral(".pdf"));
    if (path.isEmpty()) return;
    const ReportExportOutcome outcome = ExportReportPdf(doc_.components(), path, ProgramFolder());
    if (!outcome.ok)
        ShowError(
            QStringLiteral("无法导出PDF文件 %1。\n%2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(outcome.message)));
}

// The Word table takes the ticks the list shows: the document's `selected` flags.
void CMainFrame::OnWordReport() {
    ShowOfficeOutcome(WriteWordTable(doc_, ProgramFolder(), DefaultWordOutputPath()),
                      QStringLiteral("创建Word2000服务失败!"));
}

void CMainFrame::OnExcelExport() {
    ShowOfficeOutcome(WriteExcelWorkbook(doc_, DefaultExcelOutputPath()),
                      QStringLiteral("创建Excel服务失败!"));
}

void CMainFrame::ShowOfficeOutcome(const OfficeOutcome& outcome, const QString& failureText) {
    const QString where = QDir::toNativeSeparators(outcome.path);
    switch (outcome.status) {
        case OfficeOutcome::Status::NothingToWrite:
            return;
        case OfficeOutcome::Status::Failed:
            ShowError(failureText + QLatin1Char('\n') + outcome.cause + QLatin1Char('\n') + where);
            return;
        case OfficeOutcome::Status::Written:
            break;
    }
    const bool opened = fileOpener_ ? fileOpener_(outcome.path)
                                    : QDesktopServices::openUrl(QUrl::fromLocalFile(outcome.path));
    if (!opened)
        ShowError(failureText + QStringLiteral("\n没有可以打开该文件的程序，文件已保存在：\n") +
                  where);
}

}  // namespace ohmlet
