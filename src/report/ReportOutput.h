#pragma once
// The report's pages for every output: printing and the preview (on the desktop, which
// paint them through RenderReport), the PDF export and ohmlet-cli export. All draw the same
// pages from the components alone: the components whose `selected` flag is set, their
// figures recomputed from their readings, never the document's stored totals.
#include <QString>
#include <string>
#include <vector>

#include "data/Component.h"
#include "data/Outcome.h"

class QPagedPaintDevice;
class QPageLayout;

namespace ohmlet {

class ReportPainter;

// The page every output lays the report on: A4 portrait with small margins.
QPageLayout ReportPageLayout();

enum class ReportExportCode {
    Written,
    NoGuiApplication,  // the text cannot be laid out without one
    NotWritten,        // the file could not be written; the text names it
};
struct ReportExportOutcome : Outcome<ReportExportCode> {
    int pageCount = 0;    // of the file written
    std::string warning;  // a problem that did not stop the export, one sentence
};

// Writes the report as a PDF (A4); an existing file is replaced only on success.
ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const QString& pdfPath, const QString& programFolder);
// The same for a file name given as the system's bytes, which need not be UTF-8.
ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const std::string& localPdfPath, const QString& programFolder);

// Draws pages from..to (1-based, inclusive) of the report onto a paged device.
void RenderReport(ReportPainter& painter, QPagedPaintDevice& device, int fromPage, int toPage);

// Names the report's glyphs by the characters drawn (月, not the radical ⽉) in a PDF the
// report was drawn into; false when the file cannot be rewritten.
void FixReportPdfText(QByteArray& pdf);
bool FixReportPdfFile(const QString& pdfPath);

}  // namespace ohmlet
