// The frame's commands whose dialogs and writers live in the transfer and report
// layers: data transfer, report parameters, print settings, PDF, Word and Excel.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "app/AppStrings.h"
#include "app/CommandIds.h"
#include "app/DesktopOpener.h"
#include "app/MainWindow.h"
#include "dialogs/PrintSettingsDialog.h"
#include "dialogs/ReportParameterDialog.h"
#include "dialogs/SettingsMessage.h"
#include "dialogs/TransferDialog.h"
#include "report/InterpretationSettings.h"
#include "report/ReportOutput.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet {

// Settings files and the Word template live beside the program.
QString MainWindow::ProgramFolder() const {
    return (programFolder_.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder_) +
           QLatin1Char('/');
}

void MainWindow::OnDataTransfer() {
    TransferDialog dialog(doc_, this);
    // A download into the open file may close it first, as long as nothing is lost.
    dialog.SetDocumentCloser([this] { return CloseDocument(); });
    dialog.SetFillCriterion(LoadInterpretationSettings(ProgramFolder()).DownloadCriterion());
    dialog.exec();
    if (dialog.IsFinished()) OpenDocumentFile(dialog.TargetPath());
}

// The dialogs show and return values; the settings files are read and written here.
void MainWindow::OnReportParameters() {
    ReportParameterDialog dialog(LoadReportParameters(ProgramFolder()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    ShowSettingsOutcome(this, dialog.windowTitle(),
                        SaveReportParameters(ProgramFolder(), dialog.Values()));
}

void MainWindow::OnPrintSettings() {
    PrintSettingsDialog dialog(PrintSettingsToEdit(ProgramFolder()), this);
    if (dialog.exec() != QDialog::Accepted) return;
    ShowSettingsOutcome(this, dialog.windowTitle(),
                        SavePrintSettings(ProgramFolder(), dialog.Values()));
}

// The Word table takes the ticks the list shows: the document's `selected` flags.
void MainWindow::OnWordReport() {
    ShowOfficeOutcome(WriteWordTable(doc_, ProgramFolder(), DefaultWordOutputPath()),
                      tr("创建Word2000服务失败!"));
}

void MainWindow::OnExcelExport() {
    ShowOfficeOutcome(WriteExcelWorkbook(doc_, DefaultExcelOutputPath(), classTable_),
                      tr("创建Excel服务失败!"));
}

QString CannotWriteText(const QString& path, const QString& reason) {
    return QCoreApplication::translate("ohmlet::MainWindow", "无法写入文件 %1：%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

void MainWindow::ShowOfficeOutcome(const OfficeOutcome& outcome, const QString& failureText) {
    const QString where = QDir::toNativeSeparators(outcome.path);
    switch (outcome.code) {
        case OfficeCode::NothingToWrite:
            return;
        case OfficeCode::Failed:
            // The writers are ours: only a missing viewer is the external program's fault.
            ShowError(CannotWriteText(outcome.path, QString::fromStdString(outcome.text)));
            return;
        case OfficeCode::Written:
            break;
    }
    const QString failed = failureText + tr("\n没有可以打开该文件的程序，文件已保存在：\n") + where;
    if (fileOpener_) {
        if (!fileOpener_(outcome.path)) ShowError(failed);
        return;
    }
    OpenWithDesktop(outcome.path, this, [this, failed] { ShowError(failed); });
}

}  // namespace ohmlet
