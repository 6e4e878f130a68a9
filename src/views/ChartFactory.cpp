#include "views/ChartFactory.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSet>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QCoreApplication>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "data/ChartData.h"
#include "report/ClassColours.h"
#include "report/ClassNames.h"
#include "report/GbkCodec.h"

namespace ohmlet {
namespace {

const QString& ValueAxisTitle() {
    static const QString title =
        QCoreApplication::translate("ohmlet::ChartFactory", "电阻率(kΩ·cm)");
    return title;
}

QChart* NewChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setBackgroundBrush(Qt::white);
    return chart;
}

QChart* EmptyChart(const QString& title, const QString& note) {
    QChart* chart = NewChart(title.isEmpty() ? note : title + QStringLiteral(" — ") + note);
    chart->legend()->hide();
    return chart;
}

QValueAxis* ValueAxis(const QString& title, double low, double high) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(low, high);
    return axis;
}

// Ticks on the whole steps of the range, as the printed charts have them.
QValueAxis* ValueAxis(const QString& title, const AxisRange& range) {
    QValueAxis* axis = ValueAxis(title, range.low, range.high);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(range.low);
    axis->setTickInterval(range.step);
    axis->setLabelFormat(QStringLiteral("%g"));
    return axis;
}

}  // namespace

QString ComponentTitle(const Component& component) {
    const QString number = FromGbk(component.Number());
    const QString name = FromGbk(component.Name());
    return name.isEmpty() ? number : number + QLatin1Char(' ') + name;
}

QChart* MakeReadingsChart(const Component* component, const ClassTable& table) {
    if (!component)
        return EmptyChart(QString(),
                          QCoreApplication::translate("ohmlet::ChartFactory", "没有当前构件"));
    const QString title = ComponentTitle(*component) +
                          QCoreApplication::translate("ohmlet::ChartFactory", " 读数曲线");
    const std::optional<ValueRange> range = ReadingRange(*component);
    if (!range)
        return EmptyChart(title, QCoreApplication::translate("ohmlet::ChartFactory", "没有测点"));

    const std::vector<SeriesPoint> points = ReadingSeries(*component, kMaxSeriesPoints);
    const double last = static_cast<double>(std::max<int64_t>(points.back().number, 2));
    const AxisRange axis = NiceAxis(range->min, range->max, 6);
    const double low = axis.low;
    const double high = axis.high;

    QChart* chart = NewChart(title);
    QValueAxis* x =
        ValueAxis(QCoreApplication::translate("ohmlet::ChartFactory", "测点号"), 1, last);
    x->setLabelFormat(QStringLiteral("%d"));
    QValueAxis* y = ValueAxis(ValueAxisTitle(), axis);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);

    for (const ClassBand& band : ClassBands(table, low, high)) {
        auto* upper = new QLineSeries;
        auto* lower = new QLineSeries;
        upper->append(1, band.high);
        upper->append(last, band.high);
        lower->append(1, band.low);
        lower->append(last, band.low);
        auto* area = new QAreaSeries(upper, lower);
        // The area draws between the two lines but does not own them.
        upper->setParent(area);
        lower->setParent(area);
        area->setName(ClassLegendText(table, band.classIndex, ClassWording::kInterface));
        area->setBrush(ClassColour(band.classIndex, table.Size()));
        area->setPen(Qt::NoPen);
        chart->addSeries(area);
        area->attachAxis(x);
        area->attachAxis(y);
    }

    auto* line = new QLineSeries;
    line->setName(QCoreApplication::translate("ohmlet::ChartFactory", "读数"));
    QPen pen(QColor(20, 60, 160));
    pen.setWidthF(1.6);
    line->setPen(pen);
    QList<QPointF> xy;
    xy.reserve(static_cast<qsizetype>(points.size()));
    for (const SeriesPoint& p : points) xy.append(QPointF(p.number, p.value));
    line->replace(xy);
    chart->addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
    // Markers only while they can be told apart.
    if (points.size() <= 120) {
        auto* dots = new QScatterSeries;
        dots->setMarkerSize(6);
        dots->setColor(pen.color());
        dots->setBorderColor(pen.color());
        dots->replace(xy);
        chart->addSeries(dots);
        dots->attachAxis(x);
        dots->attachAxis(y);
        for (QLegendMarker* marker : chart->legend()->markers(dots)) marker->setVisible(false);
    }
    return chart;
}

QChart* MakeHistogramChart(const Component* component, const ClassTable& table) {
    if (!component)
        return EmptyChart(QString(),
                          QCoreApplication::translate("ohmlet::ChartFactory", "没有当前构件"));
    const QString title =
        ComponentTitle(*component) + QCoreApplication::translate("ohmlet::ChartFactory", " 直方图");
    const Histogram h = MakeHistogram(*component, table);
    if (h.bins.empty())
        return EmptyChart(title, QCoreApplication::translate("ohmlet::ChartFactory", "没有测点"));

    QChart* chart = NewChart(title);
    auto* series = new QStackedBarSeries;
    series->setBarWidth(0.95);
    QStringList categories;
    int64_t tallest = 0;
    for (const HistogramBin& bin : h.bins) {
        // Bins hold whole numbers low..high-1.
        categories << (h.width == 1 ? QString::number(bin.low)
                                    : QStringLiteral("%1–%2").arg(bin.low).arg(bin.high - 1));
        tallest = std::max(tallest, bin.count);
    }
    for (std::size_t c = 0; c < table.Size(); ++c) {
        bool any = false;
        for (const HistogramBin& bin : h.bins) any = any || bin.classCounts[c] > 0;
        if (!any) continue;
        auto* set = new QBarSet(ClassLegendText(table, c, ClassWording::kInterface));
        const QColor colour = ClassColour(c, table.Size());
        set->setColor(colour);
        set->setBorderColor(colour.darker(140));
        for (const HistogramBin& bin : h.bins) set->append(static_cast<qreal>(bin.classCounts[c]));
        series->append(set);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->setTitleText(ValueAxisTitle());
    x->append(categories);
    QValueAxis* y = ValueAxis(QCoreApplication::translate("ohmlet::ChartFactory", "测点数"), 0,
                              static_cast<double>(tallest));
    y->setLabelFormat(QStringLiteral("%d"));
    y->setTickType(QValueAxis::TicksDynamic);
    y->setTickAnchor(0);
    y->setTickInterval(std::max(1.0, std::ceil(static_cast<double>(tallest) / 8.0)));
    y->setMax(static_cast<double>(tallest) + std::max(1.0, std::ceil(tallest * 0.05)));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    return chart;
}

QChart* MakeOverviewChart(const std::vector<Component>& components, const ClassTable& table) {
    const QString title = QCoreApplication::translate("ohmlet::ChartFactory", "选中构件总览");
    const std::vector<BoxEntry> boxes = BoxOverview(components);
    if (boxes.empty())
        return EmptyChart(title,
                          QCoreApplication::translate("ohmlet::ChartFactory", "没有选中的构件"));

    QChart* chart = NewChart(title);
    auto* series = new QBoxPlotSeries;
    series->setName(QCoreApplication::translate("ohmlet::ChartFactory",
                                                "箱体: p10–p90，中线: 中位数，须: 最小/最大值"));
    QStringList categories;
    double low = boxes.front().min;
    double high = boxes.front().max;
    for (const BoxEntry& b : boxes) {
        const QString label = FromGbk(components[b.component].Number());
        auto* set = new QBoxSet(label);
        set->setValue(QBoxSet::LowerExtreme, b.min);
        set->setValue(QBoxSet::LowerQuartile, b.p10);
        set->setValue(QBoxSet::Median, b.median);
        set->setValue(QBoxSet::UpperQuartile, b.p90);
        set->setValue(QBoxSet::UpperExtreme, b.max);
        // The box takes the colour of the class its median falls in.
        const auto cls = table.Classify(static_cast<int32_t>(std::floor(b.median)));
        set->setBrush(ClassColour(cls, table.Size()));
        series->append(set);
        categories << label;
        low = std::min(low, b.min);
        high = std::max(high, b.max);
    }
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->setTitleText(QCoreApplication::translate("ohmlet::ChartFactory", "构件编号"));
    x->append(categories);
    QValueAxis* y = ValueAxis(
        ValueAxisTitle() + QCoreApplication::translate("ohmlet::ChartFactory", "，箱体为 p10–p90"),
        NiceAxis(low, high, 8));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    return chart;
}

}  // namespace ohmlet
