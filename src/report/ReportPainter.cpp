#include "report/ReportPainter.h"

#include <QPainter>

#include "report/InterpretationSettings.h"
#include "report/MapPage.h"
#include "report/RawDataPage.h"
#include "report/ReportCanvas.h"
#include "report/ReportParametersFile.h"

namespace ohmlet {

ReportPainter::ReportPainter(const std::vector<Component>& components, const QString& programFolder)
    : components_(components),
      totals_(ComputeReportTotals(components)),
      today_(QDate::currentDate()),
      rows_(BuildReportRows(components)),
      parameters_(ReadReportParameters(programFolder, 1)) {
    // Without the file there is no header, footer or page number.
    if (!LoadPrintSettings(programFolder, settings_)) settings_ = PrintSettings();
    const ChosenClassTable chosen = LoadChosenClassTable(programFolder);
    classes_ = chosen.table;
    if (ReadClassSummaryChoice(programFolder)) summary_ = BuildClassSummary(components, classes_);
    if (ReadMapPagesChoice(programFolder)) mapped_ = MappedComponents(components);
    if (ReadReportChartPage(programFolder)) charted_ = ChartedComponents(components);
    // Only pages that show classes make the table's problem the report's.
    if (summary_ || !mapped_.empty() || !charted_.empty()) classTableWarning_ = chosen.Warning();
}

std::string ReportPainter::Parameter(const QString& key) const {
    auto it = parameters_.find(key);
    return it == parameters_.end() ? std::string() : it->second;
}

void ReportPainter::DrawPage(QPainter& painter, int page) {
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
            DrawBasisPage(painter, frame_, parameter, components_);
            break;
        default: {
            const int beforeMaps = RawPageCount() + SummaryPageCount();
            if (page > beforeMaps + MapPageCount())
                DrawChartPage(painter, frame_, components_, charted_, classes_,
                              page - beforeMaps - MapPageCount() - 1);
            else if (page > beforeMaps)
                DrawMapPage(painter, frame_,
                            components_[mapped_[static_cast<std::size_t>(page - beforeMaps - 1)]],
                            classes_);
            else if (page > RawPageCount())
                DrawClassSummaryPage(painter, frame_, *summary_, page - RawPageCount() - 1);
            else
                DrawRawDataPage(painter, frame_, components_, rows_, page);
            break;
        }
    }
    DrawDecorations(painter, page);
    painter.restore();
}

namespace {

// One line in a box, aligned across it, its character cell at the box's top.
void DrawBoxedLine(QPainter& painter, const QRect& box, Qt::Alignment alignment,
                   const QString& text) {
    const int width = ReportTextCells(text) * painter.font().pixelSize() / 2;
    int x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.right() + 1 - width;
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - width) / 2;
    DrawTextAt(painter, x, box.top(), text);
}

}  // namespace

void ReportPainter::DrawDecorations(QPainter& painter, int page) {
    const PrintSettings& s = settings_;
    const DecorationPlacement place = PlaceDecorations(s);
    const bool numberAtFoot = place.pageNumber.box.top() > kHeaderBox.bottom();
    if (s.printPageNumber) {
        painter.save();
        painter.setFont(
            ReportFont(ReportFace::Song, numberAtFoot ? place.bottomPoints : place.topPoints));
        DrawBoxedLine(painter, place.pageNumber.box, place.pageNumber.alignment,
                      PageNumberText(s, page, PageCount()));
        painter.restore();
    }
    if (s.printHeader) {
        painter.save();
        painter.setFont(ReportFont(ReportFace::Song, place.topPoints));
        DrawBoxedLine(painter, place.header, Qt::AlignHCenter, s.headerText);
        DrawLine(painter, 300, 530, 4400, 530);
        painter.restore();
    }
    if (s.printFooter) {
        painter.save();
        painter.setFont(ReportFont(ReportFace::Song, place.bottomPoints));
        DrawBoxedLine(painter, place.footer, Qt::AlignHCenter, s.footerText);
        painter.restore();
    }
}

}  // namespace ohmlet
