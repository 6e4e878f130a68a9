#include "views/StatisticsSection.h"

#include <QVBoxLayout>

#include "views/ClassLegend.h"
#include "views/ComponentStatsBox.h"

namespace ohmlet {

StatisticsSection::StatisticsSection(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    statsBox_ = new ComponentStatsBox(this);
    legend_ = new ClassLegend(this);
    layout->addWidget(statsBox_, 0);
    layout->addWidget(legend_, 0);
}

void StatisticsSection::ShowComponent(const Component* component) {
    statsBox_->ShowComponent(component);
}

void StatisticsSection::SetClassTable(const ClassTable& table, const Component* current) {
    statsBox_->SetClassTable(table);
    legend_->SetClassTable(table);
    statsBox_->ShowComponent(current);
}

}  // namespace ohmlet
