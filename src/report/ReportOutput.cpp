#include "report/ReportOutput.h"

#include "data/SafeFile.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cstring>

#include "report/PdfTextMapping.h"
#include "report/ReportCanvas.h"
#include "report/ReportPainter.h"

namespace ohmlet {

namespace {

// The layout reaches 4500 dots (190.5 mm) across and 6700 dots (284 mm) down: small
// margins keep it on an A4 sheet and roughly centred.
const QMarginsF kPdfMarginsMm(6, 6, 6, 6);

}  // namespace

void RenderReport(ReportPainter& report, QPagedPaintDevice& device, int fromPage, int toPage) {
    fromPage = std::max(fromPage, 1);
    toPage = std::min(toPage, report.PageCount());
    QPainter painter(&device);
    if (!painter.isActive()) return;
    MapPainterToDots(painter, device);
    for (int page = fromPage; page <= toPage; ++page) {
        if (page > fromPage) device.newPage();
        report.DrawPage(painter, page);
    }
    painter.end();
}

QPageLayout ReportPageLayout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kPdfMarginsMm,
                       QPageLayout::Millimeter);
}

void FixReportPdfText(QByteArray& pdf) {
    FixRadicalNamesInPdf(pdf, RadicalEquivalents({ReportFont(ReportFace::Song, 12),
                                                  ReportFont(ReportFace::Hei, 12)}));
}

bool FixReportPdfFile(const QString& pdfPath) {
    QFile in(pdfPath);
    if (!in.open(QIODevice::ReadOnly)) return false;
    QByteArray pdf = in.readAll();
    in.close();
    const QByteArray before = pdf;
    FixReportPdfText(pdf);
    if (pdf == before) return true;
    return WriteFileSafely(QFile::encodeName(pdfPath).toStdString(), pdf.constData(),
                           static_cast<std::size_t>(pdf.size()))
        .Ok();
}

ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const QString& pdfPath, const QString& programFolder) {
    return ExportReportPdf(components, QFile::encodeName(pdfPath).toStdString(), programFolder);
}

ReportExportOutcome ExportReportPdf(const std::vector<Component>& components,
                                    const std::string& localPdfPath, const QString& programFolder) {
    ReportExportOutcome outcome;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        outcome.code = ReportExportCode::NoGuiApplication;
        outcome.text = "The report needs a running GUI application to lay out its text.";
        return outcome;
    }
    ReportPainter report(components, programFolder);
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(kReportDotsPerInch));
        writer.setPageLayout(ReportPageLayout());
        writer.setTitle(QStringLiteral("检测报告"));
        writer.setCreator(QStringLiteral("Ohmlet"));
        RenderReport(report, writer, 1, report.PageCount());
    }
    FixReportPdfText(pdf);
    const SafeWriteResult written =
        WriteFileSafely(localPdfPath, pdf.constData(), static_cast<std::size_t>(pdf.size()));
    if (!written.Ok()) {
        outcome.code = ReportExportCode::NotWritten;
        // In UTF-8, as the rest of the outcome's texts.
        outcome.text = QFile::decodeName(QByteArray::fromStdString(written.text)).toStdString();
        if (written.error) outcome.cause = std::strerror(written.error);
        return outcome;
    }
    outcome.pageCount = report.PageCount();
    outcome.warning = report.ClassTableWarning();
    return outcome;
}

}  // namespace ohmlet
