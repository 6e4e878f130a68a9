#include "CReportPainter.h"

#include <QPainter>

#include "RawDataPage.h"
#include "ReportCanvas.h"
#include "ReportParameters.h"

namespace ohmlet {

CReportPainter::CReportPainter(const std::vector<Component>& components, const ReportTotals& totals,
                               const QString& programFolder)
    : components_(components),
      totals_(totals),
      programFolder_(programFolder),
      today_(QDate::currentDate()),
      rows_(BuildReportRows(components)) {}

std::string CReportPainter::Parameter(const QString& key) {
    auto it = parameters_.find(key);
    if (it == parameters_.end())
        it = parameters_.emplace(key, GetReportParameter(programFolder_, 1, key)).first;
    return it->second;
}

void CReportPainter::DrawPage(QPainter& painter, int page) {
    painter.save();
    painter.setBackgroundMode(Qt::TransparentMode);
    QPen pen(Qt::black);
    pen.setWidth(3);  // a hairline at 600 dpi would all but vanish
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    auto parameter = [this](const QString& key) { return Parameter(key); };
    switch (page) {
        case 1:
            DrawCoverPage(painter, parameter, today_);
            break;
        case 2:
            DrawProjectPage(painter, frame_, parameter, totals_);
            break;
        case 3:
            DrawBasisPage(painter, frame_);
            break;
        default:
            DrawRawDataPage(painter, frame_, components_, rows_, page);
            break;
    }
    DrawDecorations(painter, page);
    painter.restore();
}

void CReportPainter::DrawDecorations(QPainter& painter, int page) {
    // Read for every page, so a change saved meanwhile applies to the next page.
    PrintSettings settings;
    if (!LoadPrintSettings(programFolder_, settings)) return;
    const QFont font = ReportFont(ReportFace::Song, 12);
    const int flags = Qt::TextSingleLine | Qt::TextDontClip;
    if (settings.printPageNumber) {
        painter.save();
        painter.setFont(font);
        PageNumberPlacement place = PlacePageNumber(settings.pageNumberPosition);
        painter.drawText(place.box, static_cast<int>(place.alignment) | flags,
                         PageNumberText(settings, page, PageCount()));
        painter.restore();
    }
    if (settings.printHeader) {
        painter.save();
        painter.setFont(font);
        painter.drawText(kHeaderBox, Qt::AlignHCenter | Qt::AlignVCenter | flags,
                         settings.headerText);
        DrawLine(painter, 300, 530, 4400, 530);
        painter.restore();
    }
    if (settings.printFooter) {
        painter.save();
        painter.setFont(font);
        painter.drawText(kFooterBox, Qt::AlignHCenter | Qt::AlignVCenter | flags,
                         settings.footerText);
        painter.restore();
    }
}

}  // namespace ohmlet
