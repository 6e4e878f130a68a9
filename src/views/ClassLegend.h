#pragma once
// The legend of the grid's colours: one swatch per class with its name and range.
#include <QGroupBox>

#include "data/CorrosionClasses.h"

class QGridLayout;

namespace ohmlet {

class ClassLegend : public QGroupBox {
    Q_OBJECT
public:
    explicit ClassLegend(QWidget* parent = nullptr);
    void SetClassTable(const ClassTable& table);
    // "低  50 ~ 100 kΩ·cm", one line per class from the highest readings down.
    QStringList Lines() const;

private:
    QGridLayout* grid_;
    QStringList lines_;
};

}  // namespace ohmlet
