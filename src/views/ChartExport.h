#pragma once
// Writes what a chart widget shows to a picture file: PNG at the widget's size, or SVG
// (vector shapes and text) of the same size. No dialog here; the pane asks for the name.
#include <QString>

class QWidget;

namespace ohmlet {

enum class ChartFileFormat { Png, Svg, Unknown };

// By the file's ending, ignoring case.
ChartFileFormat ChartFileFormatOf(const QString& path);

struct ChartExportResult {
    bool ok = false;
    QString error;  // one sentence naming the file, when not ok
};

// The widget is drawn as it is laid out now (a hidden one as it would be shown). The file
// is replaced only when the whole picture could be written.
ChartExportResult ExportChartImage(QWidget& chart, const QString& path);

}  // namespace ohmlet
