#include "views/GridMapWidget.h"

#include <QPainter>
#include <algorithm>

#include "report/ClassColours.h"
#include "report/ClassNames.h"

namespace ohmlet {
namespace {

constexpr int kMargin = 12;
constexpr int kLabelWidth = 56;
constexpr int kTitleHeight = 28;
constexpr int kMaxCell = 44;
constexpr int kLegendHeight = 24;

}  // namespace

GridMapWidget::GridMapWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gridMap"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void GridMapWidget::SetMap(std::optional<GridMap> map, const ClassTable& table,
                           const QString& title, const QString& note) {
    map_ = std::move(map);
    table_ = table;
    title_ = title;
    note_ = note;
    update();
}

// Cells are square while they fit, and shrink with the width for long blocks.
GridMapWidget::Layout GridMapWidget::ComputeLayout() const {
    const int columns = map_ ? static_cast<int>(std::max<std::size_t>(map_->Columns(), 1)) : 1;
    const int room = std::max(1, width() - 2 * kMargin - kLabelWidth);
    const int cell = std::clamp(room / columns, 1, kMaxCell);
    const int height =
        std::clamp((this->height() - kTitleHeight - kLegendHeight - 3 * kMargin) / 2, 8, kMaxCell);
    return {kMargin + kLabelWidth, kMargin + kTitleHeight, cell, height};
}

QRect GridMapWidget::CellRect(int row, std::size_t column) const {
    if (!map_ || row < 0 || row > 1 || column >= map_->rows[row].size()) return {};
    const Layout l = ComputeLayout();
    return QRect(l.left + static_cast<int>(column) * l.cell, l.top + row * (l.height + 4), l.cell,
                 l.height);
}

void GridMapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::black);
    QFont titleFont = font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, kTitleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title_);
    painter.setFont(font());
    if (!map_) {
        painter.drawText(rect(), Qt::AlignCenter, note_);
        return;
    }
    const Layout l = ComputeLayout();
    const QString labels[2] = {tr("区块1"), tr("区块2")};
    for (int row = 0; row < 2; ++row) {
        const int y = l.top + row * (l.height + 4);
        painter.setPen(Qt::black);
        painter.drawText(QRect(kMargin, y, kLabelWidth - 4, l.height),
                         Qt::AlignLeft | Qt::AlignVCenter, labels[row]);
        const std::vector<MapCell>& cells = map_->rows[row];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const QRect box = CellRect(row, i);
            painter.fillRect(box, ClassColour(cells[i].classIndex, table_.Size()));
            painter.setPen(QColor(120, 120, 120));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            const QString value = QString::number(cells[i].value);
            if (painter.fontMetrics().horizontalAdvance(value) + 2 <= box.width()) {
                painter.setPen(Qt::black);
                painter.drawText(box, Qt::AlignCenter, value);
            }
        }
    }
    // The legend under the rows, one swatch per class.
    int x = kMargin;
    const int y = l.top + 2 * (l.height + 4) + kMargin / 2;
    for (std::size_t i = 0; i < table_.Size(); ++i) {
        const QString text = ClassLegendText(table_, i, ClassWording::kInterface);
        painter.fillRect(QRect(x, y + 4, 14, 14), ClassColour(i, table_.Size()));
        painter.setPen(Qt::black);
        painter.drawRect(QRect(x, y + 4, 13, 13));
        x += 18;
        painter.drawText(QRect(x, y, 400, kLegendHeight - 2), Qt::AlignLeft | Qt::AlignVCenter,
                         text);
        x += painter.fontMetrics().horizontalAdvance(text) + 16;
    }
}

}  // namespace ohmlet
