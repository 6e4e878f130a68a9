#pragma once
// What the program and ohmlet-cli call to print, preview or export the report. All four
// draw the same pages from the components alone: the components whose `selected` flag is
// set, their figures recomputed from their readings, never the document's stored totals.
#include <QString>
#include <string>
#include <vector>

#include "Component.h"

class QWidget;
class QPagedPaintDevice;
class QPrinter;
class QPageLayout;

namespace ohmlet {

class CReportPainter;

// The page every output lays the report on: A4 portrait with small margins.
QPageLayout ReportPageLayout();

// Print through the system print dialog (page range limited to the report's pages) on
// printer, which keeps the printer the user chose in the printer set-up; the page is the
// report's own, as in the PDF. A PDF printed to a file gets the same readable text as the
// exported one.
void PrintReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                 const QString& programFolder);
// Preview in a print preview window.
void PreviewReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                   const QString& programFolder);

struct ReportExportOutcome {
    bool ok = false;
    int pageCount = 0;
    std::string message;  // one sentence when not ok
};

// Writes the report as a PDF (A4); an existing file is replaced only on success.
ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const QString& pdfPath, const QString& programFolder);
// The same for a file name given as the system's bytes, which need not be UTF-8.
ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const std::string& localPdfPath, const QString& programFolder);

// Draws pages from..to (1-based, inclusive) of the report onto a paged device.
void RenderReport(CReportPainter& painter, QPagedPaintDevice& device, int fromPage, int toPage);

// Names the report's glyphs by the characters drawn (月, not the radical ⽉) in a PDF the
// report was drawn into; false when the file cannot be rewritten.
void FixReportPdfText(QByteArray& pdf);
bool FixReportPdfFile(const QString& pdfPath);

}  // namespace ohmlet
