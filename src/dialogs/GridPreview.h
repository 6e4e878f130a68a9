#pragma once
// The small picture in the grid dialog: the grid's cells with the number of the reading
// each one takes (1, 2, 3… in the order walked), so a wrong corner or order shows at once.
#include <QWidget>

#include "data/SurveyGrid.h"

namespace ohmlet {

class GridPreview : public QWidget {
    Q_OBJECT
public:
    explicit GridPreview(QWidget* parent = nullptr);

    void SetGrid(const SurveyGrid& grid, int readings);
    // The 1-based reading number drawn in a cell; 0 for an empty cell.
    int NumberAt(int row, int column) const;
    QSize sizeHint() const override { return {320, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SurveyGrid grid_;
    std::vector<int> numbers_;  // rows × columns, row after row
};

}  // namespace ohmlet
