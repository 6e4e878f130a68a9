#include "report/ReportCanvas.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <cmath>

#include "report/GbkCodec.h"

namespace ohmlet {

namespace {

// 宋体 is a serif (Ming) face, 黑体 a sans (Gothic) one. The first installed family wins;
// the generic style hint covers machines without any of them.
QStringList FamiliesFor(ReportFace face) {
    if (face == ReportFace::Song)
        return {QStringLiteral("SimSun"),
                QStringLiteral("Noto Serif CJK SC"),
                QStringLiteral("Source Han Serif SC"),
                QStringLiteral("AR PL UMing CN"),
                QStringLiteral("Noto Sans CJK SC"),
                QStringLiteral("WenQuanYi Zen Hei")};
    return {QStringLiteral("SimHei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Source Han Sans SC"), QStringLiteral("WenQuanYi Zen Hei"),
            QStringLiteral("WenQuanYi Micro Hei")};
}

}  // namespace

QFont ReportFont(ReportFace face, double points) {
    QFont font;
    font.setFamilies(FamiliesFor(face));
    font.setStyleHint(face == ReportFace::Song ? QFont::Serif : QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferNoShaping);
    font.setPixelSize(static_cast<int>(std::lround(points * kReportDotsPerInch / 72.0)));
    return font;
}

void MapPainterToDots(QPainter& painter, const QPaintDevice& device) {
    painter.scale(device.logicalDpiX() / kReportDotsPerInch,
                  device.logicalDpiY() / kReportDotsPerInch);
}

namespace {

// A printer's text output puts the top of the character cell at y. The layout was made
// for 宋体/黑体, whose cells are one em high with the baseline at 0.859 em; the CJK fonts
// here have taller cells, so the baseline is placed as those faces would put it.
constexpr qreal kBaselineRatio = 0.859;

QPointF Baseline(const QPainter& painter, qreal x, qreal y) {
    return QPointF(x, y + kBaselineRatio * painter.font().pixelSize());
}

// One line: a line feed inside a paragraph shows as a blank, not a break.
QString OneLine(QString text) { return text.replace(QChar('\n'), QChar(' ')); }

// The layout counts every ASCII character, blanks included, as half an em and every other
// character as a whole one, as 宋体 and 黑体 draw them. Other faces draw blanks and Latin
// narrower or wider, so each run of text is put at the place those widths give.
int CellsOf(QChar c) { return c.unicode() < 0x80 ? 1 : c.isLowSurrogate() ? 0 : 2; }

int CellsOf(const QString& text) {
    int cells = 0;
    for (QChar c : text) cells += CellsOf(c);
    return cells;
}

// One run of same-width characters without blanks, starting at cell x and `cells` wide.
void DrawRun(QPainter& painter, qreal x, qreal y, const QString& run, qreal width) {
    const qreal natural = painter.fontMetrics().horizontalAdvance(run);
    if (natural <= width + 0.5 || natural <= 0) {
        painter.drawText(Baseline(painter, x, y), run);
        return;
    }
    // A face whose letters are wider than half an em is narrowed to its cells.
    painter.save();
    painter.translate(x, 0);
    painter.scale(width / natural, 1.0);
    painter.drawText(Baseline(painter, 0, y), run);
    painter.restore();
}

}  // namespace

int ReportTextCells(const QString& text) { return CellsOf(OneLine(text)); }

void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
    const QString line = OneLine(text);
    const qreal half = painter.font().pixelSize() / 2.0;
    qreal cellX = x;
    qsizetype i = 0;
    while (i < line.size()) {
        if (line[i] == QLatin1Char(' ')) {
            cellX += half;
            ++i;
            continue;
        }
        const bool narrow = CellsOf(line[i]) == 1;
        qsizetype j = i;
        int cells = 0;
        while (j < line.size() && line[j] != QLatin1Char(' ') &&
               (narrow ? CellsOf(line[j]) == 1 : CellsOf(line[j]) != 1))
            cells += CellsOf(line[j++]);
        DrawRun(painter, cellX, y, line.mid(i, j - i), cells * half);
        cellX += cells * half;
        i = j;
    }
}

void DrawTextNatural(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(Baseline(painter, x, y), OneLine(text));
}

void DrawTextFitted(QPainter& painter, int x, int y, int width, const QString& text) {
    const qreal natural = ReportTextCells(text) * painter.font().pixelSize() / 2.0;
    if (natural <= width || natural <= 0) {
        DrawTextAt(painter, x, y, text);
        return;
    }
    painter.save();
    painter.translate(x, 0);
    painter.scale(width / natural, 1.0);
    DrawTextAt(painter, 0, y, text);
    painter.restore();
}

void DrawGbkAt(QPainter& painter, int x, int y, const std::string& gbk) {
    DrawTextAt(painter, x, y, FromGbk(gbk));
}

void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2) {
    painter.drawLine(QPoint(x1, y1), QPoint(x2, y2));
}

void DrawFrame(QPainter& painter, int left, int top, int right, int bottom) {
    painter.drawRect(QRectF(left, top, right - left, bottom - top));
}

}  // namespace ohmlet
