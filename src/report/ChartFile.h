#pragma once
// Writes a chart drawing to a file: PNG of the given size, or a one-page PDF of the same
// size in vector shapes and text. The chart pane and ohmlet-cli both come here.
#include <QSize>
#include <QString>

#include "data/Outcome.h"

namespace ohmlet {

class ChartDrawing;

enum class ChartFileFormat { Png, Pdf, Unknown };

// By the file's ending, ignoring case.
ChartFileFormat ChartFileFormatOf(const QString& path);

enum class ChartExportCode { Ok, UnknownFormat, Empty, NotDrawn, CannotWrite };

// The text is one sentence naming the file; the cause the system's words, if any.
struct ChartExportResult : Outcome<ChartExportCode> {};

// The drawing is made at `size` with text measured at `dpi`. The file is replaced only
// when the whole picture could be written.
ChartExportResult WriteChartFile(const ChartDrawing* drawing, const QSize& size, int dpi,
                                 const QString& path);

}  // namespace ohmlet
