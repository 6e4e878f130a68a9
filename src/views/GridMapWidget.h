#pragma once
// The map of a grid (W) component's zone: its two blocks of readings as two rows of
// cells, each cell in the colour of its reading's class, with a legend of the classes.
// Qt Charts has no heat map, so this one is painted by hand.
#include <QWidget>
#include <optional>

#include "data/ChartData.h"
#include "data/CorrosionClasses.h"

namespace ohmlet {

class GridMapWidget : public QWidget {
    Q_OBJECT
public:
    explicit GridMapWidget(QWidget* parent = nullptr);

    // Nothing shows the note instead (no component, or not a grid component).
    void SetMap(std::optional<GridMap> map, const ClassTable& table, const QString& title,
                const QString& note);
    const std::optional<GridMap>& Map() const { return map_; }
    QString Note() const { return note_; }

    // The cell rectangle of point (row 0 or 1, column) in the current size; empty when
    // the cell does not exist.
    QRect CellRect(int row, std::size_t column) const;

    QSize sizeHint() const override { return {520, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        int left, top, cell, height;
    };
    Layout ComputeLayout() const;

    std::optional<GridMap> map_;
    ClassTable table_ = ClassTable::Rilem();
    QString title_;
    QString note_;
};

}  // namespace ohmlet
