#pragma once
// Writes what a chart widget shows to a picture file: PNG at the widget's size, or SVG
// (vector shapes and text) of the same size. No dialog here; the pane asks for the name.
#include <QString>

#include "data/Outcome.h"

class QWidget;

namespace ohmlet {

enum class ChartFileFormat { Png, Svg, Unknown };

// By the file's ending, ignoring case.
ChartFileFormat ChartFileFormatOf(const QString& path);

enum class ChartExportCode { Ok, UnknownFormat, Empty, NotDrawn, CannotWrite };

// The text is one sentence naming the file; the cause the system's words, if any.
struct ChartExportResult : Outcome<ChartExportCode> {};

// The widget is drawn as it is laid out now (a hidden one as it would be shown). The file
// is replaced only when the whole picture could be written.
ChartExportResult ExportChartImage(QWidget& chart, const QString& path);

}  // namespace ohmlet
