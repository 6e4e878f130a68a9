#include "views/MapView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "report/ClassNames.h"
#include "views/ChartView.h"

namespace ohmlet {

MapView::MapView(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(tr("显示："), this));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("mapKind"));
    kind_->addItem(tr("测点单元格"));
    kind_->addItem(tr("插值分布与等级边界"));
    bar->addWidget(kind_);
    bar->addStretch(1);
    layout->addLayout(bar);
    chart_ = new ChartView(this);
    chart_->setObjectName(QStringLiteral("surveyMapChart"));
    layout->addWidget(chart_, 1);
    connect(kind_, &QComboBox::currentIndexChanged, this, [this] { Rebuild(); });
}

void MapView::SetComponent(const Component* component, const ClassTable& table,
                           const ChartStyle& style) {
    component_.reset();
    if (component) component_.emplace(*component);
    table_ = table;
    style_ = style;
    Rebuild();
}

void MapView::SetKind(MapKind kind) { kind_->setCurrentIndex(kind == MapKind::Smooth ? 1 : 0); }

MapKind MapView::Kind() const {
    return kind_->currentIndex() == 1 ? MapKind::Smooth : MapKind::Cells;
}

void MapView::Rebuild() {
    const Component* c = component_ ? &*component_ : nullptr;
    ChartTexts texts;
    if (c) texts.title = ComponentTitle(*c) + tr(" 分布图");
    texts.note = !c ? tr("没有当前构件")
                    : tr("此构件没有测区网格：设置网格的行数、列数和测点顺序后即显示分布图。");
    texts.xTitle = tr("x (mm)");
    texts.yTitle = tr("y (mm)");
    MapTexts words;
    if (c) words.conditions = ConditionsText(c->extras.conditions, ClassWording::kInterface);
    words.unplaced = tr("另有 %1 个读数超出网格，未画出");
    words.columnsTitle = tr("列号");
    words.rowsTitle = tr("行号");
    words.failing = tr("不合格");
    words.invalid = tr("无效读数");
    words.empty = tr("无读数");
    chart_->SetDrawing(std::make_unique<SurveyMapDrawing>(c, table_, Kind(), style_, texts, words));
}

QString SurveyCellTip(const SurveyMapDrawing& drawing, std::size_t index) {
    const MapData& map = *drawing.Map();
    if (index >= map.cells.size()) return {};
    const MapCellData& cell = map.cells[index];
    const int row = static_cast<int>(index) / map.grid.columns;
    const int column = static_cast<int>(index) % map.grid.columns;
    if (cell.state == CellState::Empty)
        return MapView::tr("第 %1 行第 %2 列：没有读数").arg(row + 1).arg(column + 1);
    QString state = MapView::tr("无效读数");
    if (cell.state != CellState::Invalid) {
        const CorrosionClass& cls = drawing.Classes().Classes()[cell.classIndex];
        state = ClassDisplayName(cls, ClassWording::kInterface) + MapView::tr("，") +
                (cell.state == CellState::Failing ? MapView::tr("不合格") : MapView::tr("合格"));
    }
    return MapView::tr("测点 %1：%2 kΩ·cm（%3）\n第 %4 行第 %5 列")
        .arg(cell.reading + 1)
        .arg(cell.value)
        .arg(state)
        .arg(row + 1)
        .arg(column + 1);
}

}  // namespace ohmlet
