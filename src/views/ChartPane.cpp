#include "views/ChartPane.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "data/Document.h"
#include "report/ChartDrawing.h"
#include "report/GbkCodec.h"
#include "views/ChartExport.h"
#include "views/ChartView.h"
#include "views/MapView.h"

namespace ohmlet {
namespace {

// The tab names are also the export's default file names: both in the window's language.
const char* const kTabNames[] = {
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "读数曲线"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "直方图"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "网格分布"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "构件总览"),
    QT_TRANSLATE_NOOP("ohmlet::ChartPane", "分布图"),
};

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
    const char* names[] = {"readingsChart", "histogramChart", "gridMap", "overviewChart"};
    surveyMap_ = new MapView(tabs_);
    surveyMap_->setObjectName(QStringLiteral("surveyMap"));
    for (int tab = ReadingsTab; tab <= SurveyMapTab; ++tab) {
        ChartView* page = views_[tab] =
            tab == SurveyMapTab ? surveyMap_->Chart() : new ChartView(tabs_);
        if (tab != SurveyMapTab) page->setObjectName(QString::fromLatin1(names[tab]));
        page->setWindowTitle(tr(kTabNames[tab]));
        // The same export from a right click on the chart.
        auto* exportAction = new QAction(tr("导出图表…"), page);
        connect(exportAction, &QAction::triggered, this, &ChartPane::OnExportChart);
        page->addAction(exportAction);
        page->setContextMenuPolicy(Qt::ActionsContextMenu);
        tabs_->addTab(tab == SurveyMapTab ? static_cast<QWidget*>(surveyMap_) : page,
                      tr(kTabNames[tab]));
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

ChartView* ChartPane::CurrentChart() const {
    const int tab = tabs_->currentIndex();
    return tab < ReadingsTab || tab > SurveyMapTab ? nullptr : views_[tab];
}

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
    const ChartStyle style = ScreenChartStyle(font());
    const QString valueTitle = tr("电阻率(kΩ·cm)");
    // Without a current component the charts say so in place of a title.
    const QString name = current ? ComponentTitle(*current) : QString();
    const QString noReadings = current ? tr("没有测点") : tr("没有当前构件");
    auto titled = [&](const QString& suffix) { return current ? name + suffix : QString(); };

    ChartTexts readings{titled(tr(" 读数曲线")), noReadings, tr("测点号"), valueTitle, tr("读数")};
    views_[ReadingsTab]->SetDrawing(
        std::make_unique<ReadingsDrawing>(current, table_, kMaxSeriesPoints, style, readings));
    ChartTexts histogram{titled(tr(" 直方图")), noReadings, valueTitle, tr("测点数"), QString()};
    views_[HistogramTab]->SetDrawing(
        std::make_unique<HistogramDrawing>(current, table_, style, histogram));
    ChartTexts map{titled(tr(" 网格分布")),
                   current ? tr("只有网格(W)构件有两块测点的分布图") : tr("没有当前构件"),
                   QString(), QString(), QString()};
    views_[MapTab]->SetDrawing(std::make_unique<GridMapDrawing>(
        current, table_, std::array<QString, 2>{tr("区块1"), tr("区块2")}, style, map));
    ChartTexts overview{tr("选中构件总览"), tr("没有选中的构件"), tr("构件编号"),
                        valueTitle + tr("，箱体为 p10–p90"), QString()};
    views_[OverviewTab]->SetDrawing(
        std::make_unique<OverviewDrawing>(doc_.Components(), table_, style, overview));
    surveyMap_->SetComponent(current, table_, style);
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
    ChartView* chart = CurrentChart();
    if (!chart) return;
    QString path;
    if (fileNamePrompt_) {
        path = fileNamePrompt_(SuggestedFileName());
    } else {
        const QString png = tr("PNG 图像 (*.png)");
        const QString pdf = tr("PDF 文档 (*.pdf)");
        QString filter = png;
        path = QFileDialog::getSaveFileName(this, tr("导出图表"), SuggestedFileName(),
                                            png + QStringLiteral(";;") + pdf, &filter);
        // A name typed without an ending takes the one of the type chosen.
        if (!path.isEmpty() && ChartFileFormatOf(path) == ChartFileFormat::Unknown)
            path += filter == pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    }
    if (path.isEmpty()) return;
    const ChartExportResult result = ExportChart(*chart, path);
    if (result.Ok()) return;
    if (errorSink_)
        errorSink_(QString::fromStdString(result.text));
    else
        QMessageBox::warning(this, tr("导出图表"), QString::fromStdString(result.text));
}

}  // namespace ohmlet
