#include "report/MapPage.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "report/MapDrawing.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

constexpr int kHeadingHeight = 200;
constexpr int kNoteHeight = 130;
constexpr int kGap = 150;
// Cells shrunk below this share of their whole-page size are too small for two maps.
constexpr double kSmallestShare = 0.6;

ChartStyle PrintedStyle() {
    ChartStyle style;
    style.font = ReportFont(ReportFace::Song, 7.5);
    style.titleFont = ReportFont(ReportFace::Song, 9);
    style.unit = kReportDotsPerInch / 96.0;
    return style;
}

SurveyMapDrawing MakeDrawing(const Component& c, const ClassTable& table, MapKind kind,
                             ChartStyle style) {
    MapTexts mapTexts = ReportMapTexts();
    mapTexts.conditions = ConditionsText(c.extras.conditions);
    ChartTexts texts;
    texts.title =
        ComponentTitle(c) + (kind == MapKind::Smooth ? QStringLiteral(" 电阻率分布图（插值）")
                                                     : QStringLiteral(" 电阻率分布图"));
    texts.xTitle = QStringLiteral("x (mm)");
    texts.yTitle = QStringLiteral("y (mm)");
    return SurveyMapDrawing(&c, table, kind, std::move(style), texts, mapTexts);
}

double CellWidthIn(const SurveyMapDrawing& d, const QRect& area) {
    return d.CellRect(area, 0, 0).width();
}

// The least height of `area` at which the cells are as wide as with its whole height:
// below it the map would leave an empty band between the cells and the legend.
int TightHeight(const SurveyMapDrawing& d, const QRect& area) {
    const double full = CellWidthIn(d, area);
    int low = 1, high = area.height();
    while (low < high) {
        const int mid = (low + high) / 2;
        if (CellWidthIn(d, QRect(area.left(), area.top(), area.width(), mid)) >= full * 0.999)
            high = mid;
        else
            low = mid + 1;
    }
    return high;
}

// Where the cell map goes and, when it keeps most of its size in half the room, the
// smooth map under it.
struct MapPlan {
    QRect cells;
    QRect smooth;  // empty: no smooth map on the page
};

MapPlan PlanMaps(const SurveyMapDrawing& cells, const ReportPageFrame& f, const Component& c) {
    const int top =
        f.topMargin + kHeadingHeight + (c.extras.conditions.note.empty() ? 0 : kNoteHeight);
    const QRect room(f.leftMargin, top, f.frameWidth, f.topMargin + f.frameHeight - top);
    const int tight = TightHeight(cells, room);
    const int half = std::min(tight, (room.height() - kGap) / 2);
    const QRect upper(room.left(), top, room.width(), half);
    if (CellWidthIn(cells, upper) >= kSmallestShare * CellWidthIn(cells, room))
        return {upper, QRect(room.left(), top + half + kGap, room.width(), half)};
    return {QRect(room.left(), top, room.width(), tight), QRect()};
}

}  // namespace

std::vector<std::size_t> MappedComponents(const std::vector<Component>& components) {
    std::vector<std::size_t> mapped;
    for (std::size_t i = 0; i < components.size(); ++i) {
        const Component& c = components[i];
        if (c.selected && c.extras.grid && HasUsableSides(*c.extras.grid)) mapped.push_back(i);
    }
    return mapped;
}

void DrawMapPage(QPainter& painter, const ReportPageFrame& f, const Component& component,
                 const ClassTable& table) {
    painter.save();
    painter.setFont(ReportFont(ReportFace::Song, 12));
    DrawTextAt(painter, f.leftMargin, f.topMargin, QStringLiteral("电阻率分布图:"));
    if (!component.extras.conditions.note.empty()) {
        painter.setFont(ReportFont(ReportFace::Song, 9));
        DrawTextNatural(painter, f.leftMargin, f.topMargin + kHeadingHeight,
                        QStringLiteral("备注：") +
                            QString::fromStdString(component.extras.conditions.note).simplified());
    }
    const SurveyMapDrawing cells = MakeDrawing(component, table, MapKind::Cells, PrintedStyle());
    if (cells.Map()) {
        const MapPlan plan = PlanMaps(cells, f, component);
        cells.Draw(painter, plan.cells);
        if (!plan.smooth.isEmpty())
            MakeDrawing(component, table, MapKind::Smooth, PrintedStyle())
                .Draw(painter, plan.smooth);
    }
    painter.restore();
}

QImage MapPicture(const Component& component, const ClassTable& table, int width) {
    // Text cannot be laid out without a GUI application (ohmlet-cli starts one to draw).
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || width <= 0) return {};
    const SurveyMapDrawing drawing =
        MakeDrawing(component, table, MapKind::Cells, MapPictureStyle());
    if (!drawing.Map()) return {};
    // As tall as the grid needs at this width, up to one and a half widths.
    const int height = TightHeight(drawing, QRect(0, 0, width, width * 3 / 2));
    QImage image(width, height, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(96 / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawing.Draw(painter, QRectF(0, 0, width, height));
    return image;
}

}  // namespace ohmlet
