#include "views/ComponentStatsBox.h"

#include <QGridLayout>
#include <QLabel>

#include "data/ReadingStats.h"
#include "report/ClassNames.h"

namespace ohmlet {
namespace {

struct ItemLayout {
    ComponentStatsBox::Item item;
    const char* label;  // UTF-8
    int row;
    int column;
};

constexpr ItemLayout kItems[] = {
    {ComponentStatsBox::kCount, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "有效读数"), 1, 0},
    {ComponentStatsBox::kMean, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "平均值"), 1, 1},
    {ComponentStatsBox::kMedian, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "中位数"), 2, 0},
    {ComponentStatsBox::kStddev, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "标准差"), 2, 1},
    {ComponentStatsBox::kCv, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "变异系数"), 3, 0},
    {ComponentStatsBox::kP10, "P10", 3, 1},
    {ComponentStatsBox::kP90, "P90", 4, 0},
    {ComponentStatsBox::kMin, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "最小值"), 4, 1},
    {ComponentStatsBox::kMax, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "最大值"), 5, 0},
    {ComponentStatsBox::kPassCount, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "合格点数"), 5,
     1},
    {ComponentStatsBox::kPassRate, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "合格率"), 6, 0},
    {ComponentStatsBox::kInvalidCount, QT_TRANSLATE_NOOP("ohmlet::ComponentStatsBox", "无效读数"),
     6, 1},
};

}  // namespace

ComponentStatsBox::ComponentStatsBox(QWidget* parent) : QGroupBox(tr("统计与腐蚀等级"), parent) {
    setObjectName(QStringLiteral("componentStats"));
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto makeValue = [this](Item item) {
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("stat%1").arg(static_cast<int>(item)));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        values_[item] = value;
        return value;
    };
    grid->addWidget(new QLabel(tr("等级分布"), this), 0, 0);
    grid->addWidget(makeValue(kShares), 0, 1, 1, 3);
    values_[kShares]->setWordWrap(true);
    for (const ItemLayout& i : kItems) {
        grid->addWidget(new QLabel(tr(i.label), this), i.row, i.column * 2);
        grid->addWidget(makeValue(i.item), i.row, i.column * 2 + 1);
    }
}

QString ComponentStatsBox::Text(Item item) const {
    return item >= 0 && item < kItemCount ? values_[item]->text() : QString();
}

void ComponentStatsBox::ShowComponent(const Component* component) {
    if (!component) {
        for (QLabel* value : values_) value->clear();
        return;
    }
    const ReadingStats s = ComputeStats(*component, table_);
    auto whole = [](const auto& v) { return v ? QString::number(*v) : QStringLiteral("-"); };
    values_[kShares]->setText(
        s.classCounts ? ClassSharesText(table_, *s.classCounts, ClassWording::kInterface)
                      : QStringLiteral("-"));
    values_[kCount]->setText(QString::number(s.count));
    values_[kMean]->setText(StatText(s.mean));
    values_[kMedian]->setText(StatText(s.median));
    values_[kStddev]->setText(StatText(s.stddev, 2));
    values_[kCv]->setText(s.cv ? PercentText(*s.cv) : QStringLiteral("-"));
    values_[kP10]->setText(StatText(s.p10));
    values_[kP90]->setText(StatText(s.p90));
    values_[kMin]->setText(whole(s.min));
    values_[kMax]->setText(whole(s.max));
    values_[kPassCount]->setText(whole(s.passCount));
    values_[kPassRate]->setText(PassRateText(s.passCount.value_or(0), s.count));
    values_[kInvalidCount]->setText(QString::number(s.invalidCount));
}

}  // namespace ohmlet
