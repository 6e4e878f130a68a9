#include "views/ClassLegend.h"

#include <QGridLayout>
#include <QLabel>

#include "report/ClassColours.h"
#include "report/ClassNames.h"

namespace ohmlet {

ClassLegend::ClassLegend(QWidget* parent)
    : QGroupBox(tr("腐蚀等级图例"), parent), grid_(new QGridLayout(this)) {
    setObjectName(QStringLiteral("classLegend"));
    grid_->setHorizontalSpacing(6);
    grid_->setVerticalSpacing(2);
    grid_->setColumnStretch(2, 1);
    SetClassTable(ClassTable::Rilem());
}

void ClassLegend::SetClassTable(const ClassTable& table) {
    while (QLayoutItem* item = grid_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    lines_.clear();
    setTitle(tr("%1图例（%2）")
                 .arg(ClassMeasureName(table, ClassWording::kInterface),
                      QString::fromStdString(table.Name())));
    setToolTip(ClassTableScope(table, ClassWording::kInterface));
    for (std::size_t i = 0; i < table.Size(); ++i) {
        auto* swatch = new QLabel(this);
        swatch->setFixedSize(28, 14);
        swatch->setAutoFillBackground(true);
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, ClassColour(i, table.Size()));
        swatch->setPalette(palette);
        swatch->setFrameShape(QFrame::Box);
        const QString name = ClassDisplayName(table.Classes()[i], ClassWording::kInterface);
        const QString range =
            ClassRangeText(table, i, ClassWording::kInterface) + QStringLiteral(" kΩ·cm");
        const int row = static_cast<int>(i);
        grid_->addWidget(swatch, row, 0);
        grid_->addWidget(new QLabel(name, this), row, 1);
        grid_->addWidget(new QLabel(range, this), row, 2);
        lines_ << name + QStringLiteral("  ") + range;
    }
}

QStringList ClassLegend::Lines() const { return lines_; }

}  // namespace ohmlet
