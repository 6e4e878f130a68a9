#pragma once
// Writes the chart a view shows to a file: PNG at the view's size on screen, or a one-page
// PDF of the same size in vector shapes and text. No dialog here; the pane asks for the name.
#include <QString>

#include "data/Outcome.h"

namespace ohmlet {

class ChartView;

enum class ChartFileFormat { Png, Pdf, Unknown };

// By the file's ending, ignoring case.
ChartFileFormat ChartFileFormatOf(const QString& path);

enum class ChartExportCode { Ok, UnknownFormat, Empty, NotDrawn, CannotWrite };

// The text is one sentence naming the file; the cause the system's words, if any.
struct ChartExportResult : Outcome<ChartExportCode> {};

// The chart is drawn afresh at the view's size. The file is replaced only when the whole
// picture could be written.
ChartExportResult ExportChart(const ChartView& view, const QString& path);

}  // namespace ohmlet
