#pragma once
// Drawing helpers for the printed report. Everything is placed in printer dots of a
// 600 dpi page, origin at the top left of the printable area, as the layout was made for.
#include <QFont>
#include <QString>
#include <string>

class QPainter;
class QPaintDevice;

namespace ohmlet {

inline constexpr double kReportDotsPerInch = 600.0;

enum class ReportFace { Song, Hei };  // 宋体, 黑体

// The face at a true point size, measured in dots (a 12 pt font is 100 dots high).
QFont ReportFont(ReportFace face, double points);

// Makes one painter unit one dot of a 600 dpi page on `device`.
void MapPainterToDots(QPainter& painter, const QPaintDevice& device);

// Text whose cell's top left corner is at (x, y), as a printer's text output places it.
// ASCII characters (blanks too) take half an em, all others a whole em, whatever the face.
void DrawTextAt(QPainter& painter, int x, int y, const QString& text);
void DrawGbkAt(QPainter& painter, int x, int y, const std::string& gbk);
// The same in the face's own widths, for symbols the face draws narrower than an em.
void DrawTextNatural(QPainter& painter, int x, int y, const QString& text);
// The same, narrowed when wider than `width`, so that a long text does not run into the
// next column (the layout's columns were made for half-width digits and letters).
void DrawTextFitted(QPainter& painter, int x, int y, int width, const QString& text);
// The width of a text in half-em cells (its GBK byte count).
int ReportTextCells(const QString& text);
void DrawLine(QPainter& painter, int x1, int y1, int x2, int y2);
void DrawFrame(QPainter& painter, int left, int top, int right, int bottom);

}  // namespace ohmlet
