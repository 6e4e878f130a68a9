#include "ReportCanvas.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <QPainter>
#include <QStringList>
#include <cmath>

#include "GbkCodec.h"

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

void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
    // Single line: a line feed inside a paragraph is shown as a blank, not a break.
    painter.drawText(QRectF(x, y, 100000, 1000),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
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
