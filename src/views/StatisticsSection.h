#pragma once
// The panel's statistics: the current component's figures and the legend of the
// classes they use, both by one class table.
#include <QWidget>

namespace ohmlet {

class ClassLegend;
class ClassTable;
class Component;
class ComponentStatsBox;

class StatisticsSection : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsSection(QWidget* parent = nullptr);

    // Null empties every figure.
    void ShowComponent(const Component* component);
    // The figures of `current` are shown again by the new classes.
    void SetClassTable(const ClassTable& table, const Component* current);

    ComponentStatsBox* StatsBox() const { return statsBox_; }
    ClassLegend* Legend() const { return legend_; }

private:
    ComponentStatsBox* statsBox_ = nullptr;
    ClassLegend* legend_ = nullptr;
};

}  // namespace ohmlet
