#include "dialogs/GridPreview.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "data/MapData.h"

namespace ohmlet {
namespace {

// Numbers smaller than this would only be a grey smear.
constexpr double kSmallestNumberCell = 14;

}  // namespace

GridPreview::GridPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gridPreview"));
    setMinimumSize(200, 150);
}

void GridPreview::SetGrid(const SurveyGrid& grid, int readings) {
    grid_ = grid;
    numbers_.assign(HasUsableSides(grid) ? static_cast<std::size_t>(grid.rows) * grid.columns : 0,
                    0);
    const auto places = PlaceReadings(grid, readings);
    for (std::size_t k = 0; k < places.size(); ++k)
        if (places[k])
            numbers_[static_cast<std::size_t>(places[k]->row) * grid.columns + places[k]->column] =
                static_cast<int>(k) + 1;
    update();
}

int GridPreview::NumberAt(int row, int column) const {
    if (numbers_.empty() || row < 0 || row >= grid_.rows || column < 0 || column >= grid_.columns)
        return 0;
    return numbers_[static_cast<std::size_t>(row) * grid_.columns + column];
}

void GridPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (numbers_.empty()) return;
    // Cells keep the spacings' proportion when both are set, else they are square.
    const bool spaced = grid_.spacingXmm > 0 && grid_.spacingYmm > 0;
    const double aspect = spaced ? grid_.spacingYmm / grid_.spacingXmm : 1.0;
    const QRectF room = QRectF(rect()).adjusted(4, 4, -4, -4);
    double cellW = room.width() / grid_.columns;
    double cellH = cellW * aspect;
    if (cellH * grid_.rows > room.height()) {
        cellH = room.height() / grid_.rows;
        cellW = cellH / aspect;
    }
    const QPointF origin(room.left() + (room.width() - cellW * grid_.columns) / 2,
                         room.top() + (room.height() - cellH * grid_.rows) / 2);
    QFont font = painter.font();
    font.setPixelSize(std::max(6, static_cast<int>(std::min(cellW / 2.8, cellH / 1.8))));
    painter.setFont(font);
    const bool numbered = std::min(cellW, cellH) >= kSmallestNumberCell;
    painter.setPen(palette().color(QPalette::Mid));
    for (int r = 0; r < grid_.rows; ++r) {
        for (int c = 0; c < grid_.columns; ++c) {
            const QRectF cell(origin.x() + c * cellW, origin.y() + r * cellH, cellW, cellH);
            const int number = NumberAt(r, c);
            painter.fillRect(cell, number == 0 ? palette().window() : palette().base());
            painter.drawRect(cell);
            // The first reading is marked even when the cells are too small for numbers.
            if (number == 1) painter.fillRect(cell.adjusted(1, 1, -1, -1), QColor(255, 214, 120));
            if (numbered && number > 0) {
                painter.setPen(palette().color(QPalette::Text));
                painter.drawText(cell, Qt::AlignCenter, QString::number(number));
                painter.setPen(palette().color(QPalette::Mid));
            }
        }
    }
}

}  // namespace ohmlet
