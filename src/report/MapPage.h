#pragma once
// The map pages of the printed report: one page per ticked component with a survey grid,
// its readings on the grid cell by cell and, when the grid leaves room, the smooth field
// below. Drawn by the same map drawing as the chart pane, so print and screen agree.
#include <QImage>
#include <cstddef>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "report/ReportTextPages.h"

class QPainter;

namespace ohmlet {

// The ticked components whose grid can be drawn, in list order.
std::vector<std::size_t> MappedComponents(const std::vector<Component>& components);

void DrawMapPage(QPainter& painter, const ReportPageFrame& frame, const Component& component,
                 const ClassTable& table);

// The cell map as a picture for the Word file, `width` pixels wide at 96 dpi; a null
// image without a grid or without a GUI application to lay out its text.
QImage MapPicture(const Component& component, const ClassTable& table, int width);

}  // namespace ohmlet
