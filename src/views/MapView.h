#pragma once
// 分布图: the current component's readings on its survey grid, as cells or as a smooth
// field, with a tooltip naming the reading under the mouse.
#include <QWidget>
#include <optional>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "report/MapDrawing.h"

class QComboBox;

namespace ohmlet {

class ChartView;

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    // Draws `component` (a copy is kept, so switching the kind needs no document).
    void SetComponent(const Component* component, const ClassTable& table, const ChartStyle& style);
    void SetKind(MapKind kind);
    MapKind Kind() const;

    ChartView* Chart() const { return chart_; }
    QComboBox* KindBox() const { return kind_; }

private:
    void Rebuild();

    QComboBox* kind_ = nullptr;
    ChartView* chart_ = nullptr;
    std::optional<Component> component_;
    ClassTable table_ = ClassTable::Rilem();
    ChartStyle style_;
};

// What the tooltip says about a cell of the map.
QString SurveyCellTip(const SurveyMapDrawing& drawing, std::size_t cell);

}  // namespace ohmlet
