#include "views/ReportPrinting.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

#include "report/ReportOutput.h"
#include "report/ReportPainter.h"

namespace ohmlet {

void PrintReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                 const QString& programFolder) {
    ReportPainter report(components, programFolder);
    printer.setPageLayout(ReportPageLayout());
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(1, report.PageCount());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted) return;
    int from = 1, to = report.PageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = printer.toPage() > 0 ? printer.toPage() : to;
    }
    RenderReport(report, printer, from, to);
    // "Print to file" writes a PDF as the export does; its text must read back the same.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty())
        FixReportPdfFile(printer.outputFileName());
}

void PreviewReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                   const QString& programFolder) {
    ReportPainter report(components, programFolder);
    printer.setPageLayout(ReportPageLayout());
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QCoreApplication::translate("ohmlet::ReportPrinting", "打印预览"));
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview,
        [&report](QPrinter* target) { RenderReport(report, *target, 1, report.PageCount()); });
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    preview.resize(PreviewWindowSize(screen ? screen->availableGeometry().size() : QSize()));
    preview.exec();
}

QSize PreviewWindowSize(const QSize& available) {
    const QSize wanted(1000, 900);
    if (!available.isValid()) return wanted;
    // Leave room for the window's frame and title so its buttons stay on screen.
    const QSize room(available.width() * 9 / 10, available.height() * 9 / 10);
    return wanted.boundedTo(room);
}

}  // namespace ohmlet
