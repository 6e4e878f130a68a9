#pragma once
// What the program and ohmlet-cli call to print, preview or export the report.
// The report takes the components whose `selected` flag is set (the list's ticks).
#include <QString>
#include <string>
#include <vector>

#include "Component.h"

class QWidget;
class QPagedPaintDevice;
class QPrinter;

namespace ohmlet {

class COhmletDoc;
class CReportPainter;

// Print through the system print dialog (page range limited to the report's pages) on
// printer, which keeps what the user chose in the printer set-up.
void PrintReport(const COhmletDoc& document, QPrinter& printer, QWidget* parent,
                 const QString& programFolder);
// Preview in a print preview window.
void PreviewReport(const COhmletDoc& document, QPrinter& printer, QWidget* parent,
                   const QString& programFolder);

struct ReportExportOutcome {
    bool ok = false;
    int pageCount = 0;
    std::string message;  // one sentence when not ok
};

// Writes the report as a PDF (A4); an existing file is replaced only on success.
ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const QString& pdfPath, const QString& programFolder);

// Draws pages from..to (1-based, inclusive) of the report onto a paged device.
void RenderReport(CReportPainter& painter, QPagedPaintDevice& device, int fromPage, int toPage);

}  // namespace ohmlet
