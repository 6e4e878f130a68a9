#pragma once
// The printed report on the desktop: the system print dialog and the preview window. The
// pages themselves come from the report layer, as for the PDF export.
#include <QSize>
#include <QString>
#include <vector>

#include "data/Component.h"

class QWidget;
class QPrinter;

namespace ohmlet {

// Print through the system print dialog (page range limited to the report's pages) on
// printer, which keeps the printer the user chose in the printer set-up; the page is the
// report's own, as in the PDF. A PDF printed to a file gets the same readable text as the
// exported one.
void PrintReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                 const QString& programFolder);
// Preview in a print preview window.
void PreviewReport(const std::vector<Component>& components, QPrinter& printer, QWidget* parent,
                   const QString& programFolder);
// The preview's size on a screen with `available` room: large, but never past the screen.
QSize PreviewWindowSize(const QSize& available);

}  // namespace ohmlet
