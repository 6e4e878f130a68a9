#include "views/ChartPane.h"

#include <QAction>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "data/ChartData.h"
#include "data/Document.h"
#include "report/GbkCodec.h"
#include "views/ChartExport.h"
#include "views/ChartFactory.h"
#include "views/GridMapWidget.h"

namespace ohmlet {
namespace {

// The tab names are also the export's default file names: both in the window's language.
const char* const kTabNames[] = {
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "读数曲线"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "直方图"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "网格分布"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "构件总览"),
};

QChartView* NewChartView(QWidget* parent, const char* name) {
    auto* view = new QChartView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

// The view takes the new chart and the old one goes.
void ReplaceChart(QChartView* view, QChart* chart) {
    QChart* old = view->chart();
    view->setChart(chart);
    delete old;
}

}  // namespace

ChartPane::ChartPane(Document& doc, QWidget* parent) : QDockWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("chartPane"));
    setWindowTitle(tr("图表"));

    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    bar->addStretch(1);
    exportButton_ = new QPushButton(tr("导出图表…"), body);
    exportButton_->setObjectName(QStringLiteral("exportChart"));
    bar->addWidget(exportButton_);
    layout->addLayout(bar);

    tabs_ = new QTabWidget(body);
    tabs_->setObjectName(QStringLiteral("chartTabs"));
    const char* names[] = {"readingsChart", "histogramChart", nullptr, "overviewChart"};
    for (int tab = ReadingsTab; tab <= OverviewTab; ++tab) {
        QWidget* page = nullptr;
        if (tab == MapTab) {
            map_ = new GridMapWidget(tabs_);
            page = map_;
        } else {
            views_[tab] = NewChartView(tabs_, names[tab]);
            page = views_[tab];
        }
        page->setWindowTitle(tr(kTabNames[tab]));
        // The same export from a right click on the chart.
        auto* exportAction = new QAction(tr("导出图表…"), page);
        connect(exportAction, &QAction::triggered, this, &ChartPane::OnExportChart);
        page->addAction(exportAction);
        page->setContextMenuPolicy(Qt::ActionsContextMenu);
        tabs_->addTab(page, tr(kTabNames[tab]));
    }
    layout->addWidget(tabs_, 1);
    setWidget(body);

    connect(exportButton_, &QPushButton::clicked, this, &ChartPane::OnExportChart);
    // A hidden pane only notes that it is behind; it catches up when shown.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && stale_) Refresh();
    });
    doc_.AddObserver(this);
}

ChartPane::~ChartPane() { doc_.RemoveObserver(this); }

void ChartPane::SetClassTable(const ClassTable& table) {
    table_ = table;
    Refresh();
}

QChartView* ChartPane::ChartView(Tab tab) const { return tab == MapTab ? nullptr : views_[tab]; }

QWidget* ChartPane::CurrentChart() const { return tabs_->currentWidget(); }

void ChartPane::ScheduleRefresh() {
    stale_ = true;
    if (refreshPending_) return;
    refreshPending_ = true;
    // An edit tells the observers several things in a row; the charts follow once.
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        if (stale_ && isVisible()) Refresh();
    });
}

void ChartPane::Refresh() {
    stale_ = false;
    const Component* current = doc_.CurrentComponent();
    ReplaceChart(views_[ReadingsTab], MakeReadingsChart(current, table_));
    ReplaceChart(views_[HistogramTab], MakeHistogramChart(current, table_));
    ReplaceChart(views_[OverviewTab], MakeOverviewChart(doc_.Components(), table_));
    std::optional<GridMap> map;
    QString note = tr("没有当前构件");
    QString title;
    if (current) {
        title = ComponentTitle(*current) + tr(" 网格分布");
        map = MakeGridMap(*current, table_);
        note = tr("只有网格(W)构件有两块测点的分布图");
    }
    map_->SetMap(std::move(map), table_, title, note);
}

QString ChartPane::SuggestedFileName() const {
    QString name = tr(kTabNames[tabs_->currentIndex()]);
    if (tabs_->currentIndex() != OverviewTab)
        if (const Component* c = doc_.CurrentComponent())
            name = FromGbk(c->Number()) + QLatin1Char('_') + name;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    return QDir::home().filePath(name + QStringLiteral(".png"));
}

void ChartPane::OnExportChart() {
    QWidget* chart = CurrentChart();
    if (!chart) return;
    QString path;
    if (fileNamePrompt_) {
        path = fileNamePrompt_(SuggestedFileName());
    } else {
        const QString png = tr("PNG 图像 (*.png)");
        const QString svg = tr("SVG 图像 (*.svg)");
        QString filter = png;
        path = QFileDialog::getSaveFileName(this, tr("导出图表"), SuggestedFileName(),
                                            png + QStringLiteral(";;") + svg, &filter);
        // A name typed without an ending takes the one of the type chosen.
        if (!path.isEmpty() && ChartFileFormatOf(path) == ChartFileFormat::Unknown)
            path += filter == svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    }
    if (path.isEmpty()) return;
    const ChartExportResult result = ExportChartImage(*chart, path);
    if (result.Ok()) return;
    if (errorSink_)
        errorSink_(QString::fromStdString(result.text));
    else
        QMessageBox::warning(this, tr("导出图表"), QString::fromStdString(result.text));
}

}  // namespace ohmlet
