#include "views/ChartView.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include "report/ClassNames.h"
#include "views/MapView.h"

namespace ohmlet {

ChartStyle ScreenChartStyle(const QFont& font) {
    ChartStyle style;
    style.font = font;
    style.titleFont = font;
    style.titleFont.setBold(true);
    if (font.pointSizeF() > 0) style.titleFont.setPointSizeF(font.pointSizeF() + 1);
    style.unit = 1;
    style.legend = true;
    style.wording = ClassWording::kInterface;
    return style;
}

namespace {

QString Number(double value) { return QString::number(value, 'f', 1); }

QString ReadingTip(const ReadingsDrawing& d, std::size_t index) {
    const SeriesPoint& p = d.Points()[index];
    return ChartView::tr("测点 %1：%2 kΩ·cm").arg(p.number).arg(p.value);
}

QString BinTip(const HistogramDrawing& d, std::size_t index) {
    const Histogram& h = d.Bins();
    const HistogramBin& bin = h.bins[index];
    const QString range = h.width == 1 ? QString::number(bin.low)
                                       : QStringLiteral("%1–%2").arg(bin.low).arg(bin.high - 1);
    QString tip = ChartView::tr("%1 kΩ·cm：%2 个测点").arg(range).arg(bin.count);
    const ClassTable& table = d.Classes();
    for (std::size_t c = 0; c < bin.classCounts.size() && c < table.Size(); ++c)
        if (bin.classCounts[c] > 0)
            tip += QStringLiteral("\n%1：%2")
                       .arg(ClassDisplayName(table.Classes()[c], ClassWording::kInterface))
                       .arg(bin.classCounts[c]);
    return tip;
}

QString BoxTip(const OverviewDrawing& d, std::size_t index) {
    const BoxEntry& b = d.Boxes()[index];
    return ChartView::tr("%1\n%2 个测点\n最小 %3，最大 %4\np10 %5，中位数 %6，p90 %7")
        .arg(d.Names()[index])
        .arg(b.count)
        .arg(Number(b.min), Number(b.max), Number(b.p10), Number(b.median), Number(b.p90));
}

QString CellTip(const GridMapDrawing& d, int row, std::size_t index) {
    const MapCell& cell = d.Map()->rows[row][index];
    const ClassTable& table = d.Classes();
    if (!cell.valid)
        return ChartView::tr("测点 %1：%2 kΩ·cm（无效读数）").arg(cell.number).arg(cell.value);
    return ChartView::tr("测点 %1：%2 kΩ·cm（%3）")
        .arg(cell.number)
        .arg(cell.value)
        .arg(ClassDisplayName(table.Classes()[cell.classIndex], ClassWording::kInterface));
}

}  // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

ChartView::~ChartView() = default;

void ChartView::SetDrawing(std::unique_ptr<ChartDrawing> drawing) {
    drawing_ = std::move(drawing);
    update();
}

QString ChartView::ToolTipAt(const QPoint& at) const {
    if (!drawing_) return {};
    const ChartHit hit = drawing_->HitAt(at, rect());
    // The kind of hit says which drawing answered.
    switch (hit.kind) {
        case ChartHitKind::Reading:
            return ReadingTip(static_cast<const ReadingsDrawing&>(*drawing_), hit.index);
        case ChartHitKind::Bin:
            return BinTip(static_cast<const HistogramDrawing&>(*drawing_), hit.index);
        case ChartHitKind::Box:
            return BoxTip(static_cast<const OverviewDrawing&>(*drawing_), hit.index);
        case ChartHitKind::Cell:
            return CellTip(static_cast<const GridMapDrawing&>(*drawing_), hit.row, hit.index);
        case ChartHitKind::SurveyCell:
            return SurveyCellTip(static_cast<const SurveyMapDrawing&>(*drawing_), hit.index);
        case ChartHitKind::None:
            break;
    }
    return {};
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (drawing_)
        drawing_->Draw(painter, rect());
    else
        painter.fillRect(rect(), Qt::white);
}

bool ChartView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipAt(help->pos());
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}

}  // namespace ohmlet
