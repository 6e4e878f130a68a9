#include "report/MapDrawing.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "report/ChartParts.h"
#include "report/ClassColours.h"
#include "report/ReportCanvas.h"

namespace ohmlet {
namespace {

const QColor kInvalidFill(200, 200, 200);
const QColor kInvalidCross(90, 90, 90);
const QColor kHoleFill(245, 245, 245);
const QColor kGridLine(120, 120, 120);

QString Said(const char* chinese, ClassWording wording) {
    return wording == ClassWording::kInterface
               ? QCoreApplication::translate("ohmlet::MapDrawing", chinese)
               : QString::fromUtf8(chinese);
}

// Fine enough to look smooth, coarse enough that a PDF of a 100 × 100 grid stays small.
int SamplesPerCell(const SurveyGrid& grid) {
    return std::clamp(160 / std::max({grid.rows, grid.columns, 1}), 2, 8);
}

// The mark of a failing reading: a thick frame inside the cell and a corner flag.
void DrawFailingMark(QPainter& painter, const QRectF& box, double u) {
    const double w = std::min({2.0 * u, box.width() / 6, box.height() / 6});
    painter.setPen(QPen(Qt::black, w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(w / 2, w / 2, -w / 2, -w / 2));
    const double flag = std::min(box.width(), box.height()) / 3.5;
    const QPointF corner = box.topRight();
    const QPointF flagShape[] = {corner, corner - QPointF(flag, 0), corner + QPointF(0, flag)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(flagShape, 3);
}

void DrawInvalidMark(QPainter& painter, const QRectF& box, double u) {
    painter.fillRect(box, kInvalidFill);
    const QRectF in =
        box.adjusted(box.width() / 5, box.height() / 5, -box.width() / 5, -box.height() / 5);
    painter.setPen(QPen(kInvalidCross, 1.2 * u));
    painter.drawLine(in.topLeft(), in.bottomRight());
    painter.drawLine(in.topRight(), in.bottomLeft());
}

}  // namespace

QString ConditionsText(const SurveyConditions& c, ClassWording wording) {
    QStringList parts;
    if (c.probeSpacingMm)
        parts << Said(QT_TRANSLATE_NOOP("ohmlet::MapDrawing", "探头间距 %1 mm"), wording)
                     .arg(*c.probeSpacingMm, 0, 'g', 6);
    if (c.concreteTemperatureC)
        parts << Said(QT_TRANSLATE_NOOP("ohmlet::MapDrawing", "温度 %1 °C"), wording)
                     .arg(*c.concreteTemperatureC, 0, 'g', 6);
    if (!c.moistureState.empty())
        parts << Said(QT_TRANSLATE_NOOP("ohmlet::MapDrawing", "含水状态 %1"), wording)
                     .arg(QString::fromStdString(c.moistureState).simplified());
    if (!c.surfaceCondition.empty())
        parts << Said(QT_TRANSLATE_NOOP("ohmlet::MapDrawing", "表面 %1"), wording)
                     .arg(QString::fromStdString(c.surfaceCondition).simplified());
    return parts.join(QStringLiteral(" · "));
}

ChartStyle MapPictureStyle() {
    ChartStyle style;
    style.font = ReportFont(ReportFace::Song, 9);
    style.font.setPixelSize(12);
    style.titleFont = ReportFont(ReportFace::Song, 11);
    style.titleFont.setPixelSize(15);
    style.titleFont.setBold(true);
    style.unit = 1;
    return style;
}

MapTexts ReportMapTexts() {
    return {QString(),
            QStringLiteral("另有 %1 个读数超出网格，未画出"),
            QStringLiteral("列号"),
            QStringLiteral("行号"),
            QStringLiteral("不合格"),
            QStringLiteral("无效读数"),
            QStringLiteral("无读数")};
}

SurveyMapDrawing::SurveyMapDrawing(const Component* component, const ClassTable& table,
                                   MapKind kind, ChartStyle style, ChartTexts texts,
                                   MapTexts mapTexts, int32_t overflowLimit)
    : ChartDrawing(std::move(style), std::move(texts)),
      kind_(kind),
      mapTexts_(std::move(mapTexts)) {
    table_ = table;
    if (!component || !component->extras.grid) return;
    map_ = MakeMapData(*component, table, overflowLimit, SamplesPerCell(*component->extras.grid));
}

int SurveyMapDrawing::HeaderLines() const {
    return (mapTexts_.conditions.isEmpty() ? 0 : 1) + (map_ && !map_->unplaced.empty() ? 1 : 0);
}

QString SurveyMapDrawing::HeaderLine(int line) const {
    if (line == 0 && !mapTexts_.conditions.isEmpty()) return mapTexts_.conditions;
    return mapTexts_.unplaced.arg(map_->unplaced.size());
}

SurveyMapDrawing::Layout SurveyMapDrawing::LayOut(const QRectF& body) const {
    const QFontMetricsF fm(style_.font);
    const double u = style_.unit;
    const double line = fm.height();
    Layout l;
    const int header = HeaderLines();
    l.header = QRectF(body.left(), body.top(), body.width(), header * line);
    double top = body.top() + header * line + (header ? 6 * u : 0) + line / 2;
    double bottom = body.bottom();
    if (style_.legend) {
        const double h =
            LegendHeight(ClassLegend(table_, style_.wording), style_, body.width()) + 2 * u + line;
        l.legend = QRectF(body.left(), body.bottom() - h, body.width(), h);
        bottom -= h + 8 * u;
    }
    const QString xTitle = map_->inMm ? texts_.xTitle : mapTexts_.columnsTitle;
    const QString yTitle = map_->inMm ? texts_.yTitle : mapTexts_.rowsTitle;
    bottom -= line + 6 * u + (xTitle.isEmpty() ? 0 : line + 2 * u);
    double labels = 0;
    for (std::size_t r = 0; r < map_->ys.size(); ++r)
        labels =
            std::max(labels, fm.horizontalAdvance(map_->inMm ? QString::number(map_->ys[r], 'g', 6)
                                                             : QString::number(r + 1)));
    const double left = body.left() + labels + 10 * u + (yTitle.isEmpty() ? 0 : line + 4 * u);
    const double right = body.right() - 8 * u;
    // True to the spacings: a cell is as wide against its height as on the member.
    const double w = map_->grid.columns * map_->CellWidth();
    const double h = map_->grid.rows * map_->CellHeight();
    const double scale = std::max(0.0, std::min((right - left) / w, (bottom - top) / h));
    l.cellW = std::max(scale * map_->CellWidth(), 1e-6);
    l.cellH = std::max(scale * map_->CellHeight(), 1e-6);
    const double plotW = l.cellW * map_->grid.columns;
    l.plot = QRectF(left + std::max(0.0, (right - left - plotW) / 2), top, plotW,
                    l.cellH * map_->grid.rows);
    return l;
}

QRectF SurveyMapDrawing::CellRect(const QRectF& area, int row, int column) const {
    if (!map_ || row < 0 || column < 0 || row >= map_->grid.rows || column >= map_->grid.columns)
        return {};
    const Layout l = LayOut(Body(area));
    return QRectF(l.plot.left() + column * l.cellW, l.plot.top() + row * l.cellH, l.cellW, l.cellH);
}

ChartHit SurveyMapDrawing::HitAt(const QPointF& at, const QRectF& area) const {
    if (!map_) return {};
    const Layout l = LayOut(Body(area));
    if (!l.plot.contains(at)) return {};
    const int column =
        std::min(static_cast<int>((at.x() - l.plot.left()) / l.cellW), map_->grid.columns - 1);
    const int row =
        std::min(static_cast<int>((at.y() - l.plot.top()) / l.cellH), map_->grid.rows - 1);
    return {ChartHitKind::SurveyCell,
            static_cast<std::size_t>(row) * static_cast<std::size_t>(map_->grid.columns) +
                static_cast<std::size_t>(column),
            row};
}

void SurveyMapDrawing::DrawBody(QPainter& painter, const QRectF& body) const {
    const Layout l = LayOut(body);
    const QFontMetricsF fm(style_.font);
    painter.setFont(style_.font);
    painter.setPen(Qt::black);
    for (int i = 0; i < HeaderLines(); ++i) {
        const QRectF line(l.header.left(), l.header.top() + i * fm.height(), l.header.width(),
                          fm.height());
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                         fm.elidedText(HeaderLine(i), Qt::ElideRight, line.width()));
    }
    if (kind_ == MapKind::Cells)
        DrawCells(painter, l);
    else
        DrawField(painter, l);
    DrawAxes(painter, l);
    if (!style_.legend) return;
    const double classes =
        LegendHeight(ClassLegend(table_, style_.wording), style_, l.legend.width());
    DrawLegend(painter, ClassLegend(table_, style_.wording), style_,
               QRectF(l.legend.left(), l.legend.top(), l.legend.width(), classes));
    DrawMarksLegend(painter, QRectF(l.legend.left(), l.legend.top() + classes + 2 * style_.unit,
                                    l.legend.width(), fm.height()));
}

void SurveyMapDrawing::DrawCells(QPainter& painter, const Layout& l) const {
    const double u = style_.unit;
    const QFontMetricsF fm(style_.font);
    for (int r = 0; r < map_->grid.rows; ++r) {
        for (int c = 0; c < map_->grid.columns; ++c) {
            const MapCellData& cell = map_->Cell(r, c);
            const QRectF box(l.plot.left() + c * l.cellW, l.plot.top() + r * l.cellH, l.cellW,
                             l.cellH);
            if (cell.state == CellState::Invalid) {
                DrawInvalidMark(painter, box, u);
            } else if (cell.state != CellState::Empty) {
                painter.fillRect(box, ClassColour(cell.classIndex, table_.Size()));
                const QString value = QString::number(cell.value);
                if (fm.horizontalAdvance(value) + 4 * u <= box.width() &&
                    fm.height() <= box.height()) {
                    painter.setPen(Qt::black);
                    painter.drawText(box, Qt::AlignCenter, value);
                }
                if (cell.state == CellState::Failing) DrawFailingMark(painter, box, u);
            }
            painter.setPen(QPen(kGridLine, 0.6 * u));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(box);
        }
    }
}

void SurveyMapDrawing::DrawField(QPainter& painter, const Layout& l) const {
    const SampledField& f = map_->field;
    const double u = style_.unit;
    const double sx = l.cellW / map_->CellWidth(), sy = l.cellH / map_->CellHeight();
    auto px = [&](double x) { return l.plot.left() + (x + map_->CellWidth() / 2) * sx; };
    auto py = [&](double y) { return l.plot.top() + (y + map_->CellHeight() / 2) * sy; };
    // Runs of one class along each raster row: far fewer shapes in a PDF. Without
    // smoothing, so neighbouring rows meet without a seam.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int j = 0; j < f.height; ++j) {
        const double top = py(f.y0 + (j - 0.5) * f.dy), bottom = py(f.y0 + (j + 0.5) * f.dy);
        int start = 0;
        while (start < f.width) {
            const double v = f.At(start, j);
            const int cls = std::isnan(v) ? -1 : static_cast<int>(ClassOfValue(table_, v));
            int end = start + 1;
            for (; end < f.width; ++end) {
                const double w = f.At(end, j);
                if ((std::isnan(w) ? -1 : static_cast<int>(ClassOfValue(table_, w))) != cls) break;
            }
            const QRectF run(QPointF(px(f.x0 + (start - 0.5) * f.dx), top),
                             QPointF(px(f.x0 + (end - 0.5) * f.dx), bottom));
            painter.fillRect(run, cls < 0
                                      ? kHoleFill
                                      : ClassColour(static_cast<std::size_t>(cls), table_.Size()));
            start = end;
        }
    }
    painter.restore();
    painter.setPen(QPen(Qt::black, 1.4 * u, Qt::SolidLine, Qt::RoundCap));
    for (const ClassContour& contour : map_->contours)
        for (const ContourSegment& s : contour.segments)
            painter.drawLine(QPointF(px(s.x1), py(s.y1)), QPointF(px(s.x2), py(s.y2)));
    // Where the readings were taken, with the same marks as the cell map, smaller.
    const double mark = std::min({l.cellW, l.cellH, 14 * u}) * 0.6;
    for (int r = 0; r < map_->grid.rows; ++r) {
        for (int c = 0; c < map_->grid.columns; ++c) {
            const MapCellData& cell = map_->Cell(r, c);
            const QPointF at(px(map_->xs[c]), py(map_->ys[r]));
            const QRectF box(at.x() - mark / 2, at.y() - mark / 2, mark, mark);
            if (cell.state == CellState::Invalid) DrawInvalidMark(painter, box, u);
            if (cell.state == CellState::Failing) DrawFailingMark(painter, box, u * 0.6);
            if (cell.state == CellState::Valid) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(Qt::black);
                painter.drawEllipse(at, 1.5 * u, 1.5 * u);
            }
        }
    }
    painter.setPen(QPen(kGridLine, 0.8 * u));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(l.plot);
}

void SurveyMapDrawing::DrawAxes(QPainter& painter, const Layout& l) const {
    const QFontMetricsF fm(style_.font);
    const double u = style_.unit;
    auto label = [&](const std::vector<double>& at, std::size_t i) {
        return map_->inMm ? QString::number(at[i], 'g', 6) : QString::number(i + 1);
    };
    painter.setFont(style_.font);
    painter.setPen(QPen(Qt::black, 0.8 * u));
    double widest = 0;
    for (std::size_t c = 0; c < map_->xs.size(); ++c)
        widest = std::max(widest, fm.horizontalAdvance(label(map_->xs, c)));
    const int xStride = LabelStride(widest + 6 * u, l.cellW);
    for (std::size_t c = 0; c < map_->xs.size(); c += static_cast<std::size_t>(xStride)) {
        const double x = l.plot.left() + (static_cast<double>(c) + 0.5) * l.cellW;
        painter.drawLine(QPointF(x, l.plot.bottom()), QPointF(x, l.plot.bottom() + 3 * u));
        painter.drawText(QRectF(x - widest, l.plot.bottom() + 4 * u, 2 * widest, fm.height()),
                         Qt::AlignCenter, label(map_->xs, c));
    }
    const int yStride = LabelStride(fm.height() + 2 * u, l.cellH);
    for (std::size_t r = 0; r < map_->ys.size(); r += static_cast<std::size_t>(yStride)) {
        const double y = l.plot.top() + (static_cast<double>(r) + 0.5) * l.cellH;
        painter.drawLine(QPointF(l.plot.left() - 3 * u, y), QPointF(l.plot.left(), y));
        painter.drawText(
            QRectF(l.plot.left() - 6 * u - 200 * u, y - fm.height() / 2, 200 * u, fm.height()),
            Qt::AlignRight | Qt::AlignVCenter, label(map_->ys, r));
    }
    const QString xTitle = map_->inMm ? texts_.xTitle : mapTexts_.columnsTitle;
    const QString yTitle = map_->inMm ? texts_.yTitle : mapTexts_.rowsTitle;
    if (!xTitle.isEmpty())
        painter.drawText(QRectF(l.plot.left(), l.plot.bottom() + 6 * u + fm.height(),
                                l.plot.width(), fm.height()),
                         Qt::AlignCenter, xTitle);
    if (yTitle.isEmpty()) return;
    double labels = 0;
    for (std::size_t r = 0; r < map_->ys.size(); ++r)
        labels = std::max(labels, fm.horizontalAdvance(label(map_->ys, r)));
    painter.save();
    painter.translate(l.plot.left() - 10 * u - labels - 2 * u, l.plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-l.plot.height(), -fm.height(), 2 * l.plot.height(), fm.height()),
                     Qt::AlignCenter, yTitle);
    painter.restore();
}

void SurveyMapDrawing::DrawMarksLegend(QPainter& painter, const QRectF& where) const {
    const QFontMetricsF fm(style_.font);
    const double u = style_.unit;
    const double swatch = fm.ascent() * 0.9;
    double x = where.left();
    const double y = where.top() + (where.height() - swatch) / 2;
    const QString texts[] = {mapTexts_.failing, mapTexts_.invalid, mapTexts_.empty};
    for (int i = 0; i < 3; ++i) {
        const QRectF box(x, y, swatch, swatch);
        if (i == 0) {
            painter.fillRect(box, Qt::white);
            DrawFailingMark(painter, box, u * 0.7);
        } else if (i == 1) {
            DrawInvalidMark(painter, box, u * 0.7);
        }
        painter.setPen(QPen(kGridLine, 0.6 * u));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setPen(Qt::black);
        const double w = fm.horizontalAdvance(texts[i]) + 1;
        painter.drawText(QRectF(box.right() + 4 * u, where.top(), w, where.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, texts[i]);
        x = box.right() + 4 * u + w + 14 * u;
    }
}

}  // namespace ohmlet
