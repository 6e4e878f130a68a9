// 文件 › 导出: the Word table, the Excel workbook, the readings as CSV and the PDF
// report, each written where the user says with the writers `ohmlet-cli export` uses.
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "app/CommandIds.h"
#include "app/MainWindow.h"
#include "report/ReportOutput.h"
#include "report/office/CsvWriter.h"
#include "report/office/ExcelWorkbookWriter.h"
#include "report/office/WordTableWriter.h"

namespace ohmlet {
namespace {

const char* SuffixOf(int command) {
    switch (command) {
        case cmd::kExportWord:
            return "docx";
        case cmd::kExportExcel:
            return "xlsx";
        case cmd::kExportCsv:
            return "csv";
        default:
            return "pdf";
    }
}

}  // namespace

void MainWindow::CreateExportMenu(QMenu* parent) {
    QMenu* menu = parent->addMenu(tr("导出(&E)"));
    menu->setObjectName(QStringLiteral("exportMenu"));
    for (int id : {cmd::kExportWord, cmd::kExportExcel, cmd::kExportCsv, cmd::kExportPdf})
        menu->addAction(Action(id));
}

void MainWindow::OnExportWord() { ExportWithDialog(cmd::kExportWord); }
void MainWindow::OnExportExcel() { ExportWithDialog(cmd::kExportExcel); }
void MainWindow::OnExportCsv() { ExportWithDialog(cmd::kExportCsv); }
void MainWindow::OnExportPdf() { ExportWithDialog(cmd::kExportPdf); }

void MainWindow::ExportWithDialog(int command) {
    // The document's own name with the format's suffix: t.DZL gives t.docx.
    const QString base = QFileInfo(DocumentTitle()).completeBaseName();
    const QString suggestion = (base.isEmpty() ? DocumentTitle() : base) + QLatin1Char('.') +
                               QLatin1String(SuffixOf(command));
    const QString path = AskFileName(command, suggestion);
    if (path.isEmpty()) return;
    if (command == cmd::kExportPdf) {
        const ReportExportOutcome outcome =
            ExportReportPdf(doc_.Components(), path, ProgramFolder());
        if (!outcome.Ok())
            ShowError(
                tr("无法导出PDF文件 %1。\n%2")
                    .arg(QDir::toNativeSeparators(path), QString::fromStdString(outcome.text)));
        return;
    }
    OfficeOutcome outcome;
    if (command == cmd::kExportWord)
        outcome = WriteWordTable(doc_.Components(), ProgramFolder(), path);
    else if (command == cmd::kExportExcel)
        outcome = WriteExcelWorkbook(doc_.Components(), path, classTable_);
    else
        outcome = WriteReadingsCsv(doc_.Components(), path);
    if (outcome.code == OfficeCode::Failed)
        ShowError(CannotWriteText(path, QString::fromStdString(outcome.text)));
    else if (outcome.code == OfficeCode::Written)
        ShowStatusMessage(tr("已导出到 %1").arg(QDir::toNativeSeparators(path)));
}

}  // namespace ohmlet
