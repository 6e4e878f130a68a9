#pragma once
// The current component's figures beyond the panel's fields, read-only: its class
// shares and its full statistics, by the class table in use.
#include <QGroupBox>

#include "data/Component.h"
#include "data/CorrosionClasses.h"

class QLabel;

namespace ohmlet {

class ComponentStatsBox : public QGroupBox {
    Q_OBJECT
public:
    enum Item {
        kShares,
        kCount,
        kMean,
        kMedian,
        kStddev,
        kCv,
        kP10,
        kP90,
        kMin,
        kMax,
        kPassCount,
        kPassRate,
        kInvalidCount,
        kItemCount
    };

    explicit ComponentStatsBox(QWidget* parent = nullptr);

    // Takes effect at the next ShowComponent.
    void SetClassTable(const ClassTable& table) { table_ = table; }
    // Null empties every figure.
    void ShowComponent(const Component* component);
    QString Text(Item item) const;

private:
    ClassTable table_ = ClassTable::Rilem();
    QLabel* values_[kItemCount] = {};
};

}  // namespace ohmlet
