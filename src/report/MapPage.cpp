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
constexpr double kSmallestShare = 0.7;

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

// Where the maps go on the page: the whole frame under the heading, and its two halves.
struct MapPlaces {
    QRect whole, upper, lower;
};

MapPlaces PlaceMaps(const ReportPageFrame& f, const Component& c) {
    const int top =
        f.topMargin + kHeadingHeight + (c.extras.conditions.note.empty() ? 0 : kNoteHeight);
    const int height = f.topMargin + f.frameHeight - top;
    const int half = (height - kGap) / 2;
    return {QRect(f.leftMargin, top, f.frameWidth, height),
            QRect(f.leftMargin, top, f.frameWidth, half),
            QRect(f.leftMargin, top + half + kGap, f.frameWidth, half)};
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

bool SmoothMapFits(const Component& component, const ClassTable& table) {
    const SurveyMapDrawing cells = MakeDrawing(component, table, MapKind::Cells, PrintedStyle());
    if (!cells.Map()) return false;
    const MapPlaces places = PlaceMaps(ReportPageFrame(), component);
    const double whole = cells.CellRect(places.whole, 0, 0).width();
    const double half = cells.CellRect(places.upper, 0, 0).width();
    return whole > 0 && half >= kSmallestShare * whole;
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
    const MapPlaces places = PlaceMaps(f, component);
    const bool both = SmoothMapFits(component, table);
    MakeDrawing(component, table, MapKind::Cells, PrintedStyle())
        .Draw(painter, both ? places.upper : places.whole);
    if (both)
        MakeDrawing(component, table, MapKind::Smooth, PrintedStyle()).Draw(painter, places.lower);
    painter.restore();
}

QImage MapPicture(const Component& component, const ClassTable& table, int width) {
    // Text cannot be laid out without a GUI application (ohmlet-cli starts one to draw).
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || width <= 0) return {};
    ChartStyle style;
    style.font = ReportFont(ReportFace::Song, 9);
    style.font.setPixelSize(12);
    style.titleFont = ReportFont(ReportFace::Song, 11);
    style.titleFont.setPixelSize(15);
    style.titleFont.setBold(true);
    const SurveyMapDrawing drawing = MakeDrawing(component, table, MapKind::Cells, style);
    if (!drawing.Map()) return {};
    // As tall as the grid needs at this width, within half to one and a half widths.
    const MapData& map = *drawing.Map();
    const double aspect = map.grid.rows * map.CellHeight() / (map.grid.columns * map.CellWidth());
    const int height =
        static_cast<int>(std::clamp(width * aspect + 260.0, width * 0.4, width * 1.5));
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
