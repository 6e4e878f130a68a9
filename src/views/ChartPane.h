#pragma once
// 图表: a docked pane of charts that follows the document — the current component's
// readings over their class bands, its histogram, the map of a grid (W) component, and a
// box overview of the ticked components, the map of a surveyed grid — and exports the chart shown
// as PNG or PDF.
#include <QDockWidget>
#include <functional>

#include "data/CorrosionClasses.h"
#include "data/DocumentObserver.h"

class QPushButton;
class QTabWidget;

namespace ohmlet {

class ChartView;
class Document;
class MapView;

class ChartPane : public QDockWidget, public DocumentObserver {
    Q_OBJECT
public:
    enum Tab { ReadingsTab, HistogramTab, MapTab, OverviewTab, SurveyMapTab };

    explicit ChartPane(Document& doc, QWidget* parent = nullptr);
    ~ChartPane() override;

    void SetClassTable(const ClassTable& table);
    const ClassTable& Classes() const { return table_; }

    // Rebuilds every chart from the document now (changes otherwise arrive batched).
    void Refresh();

    QTabWidget* Tabs() const { return tabs_; }
    ChartView* View(Tab tab) const { return views_[tab]; }
    MapView* SurveyMap() const { return surveyMap_; }
    // The chart of the tab shown, as it is exported.
    ChartView* CurrentChart() const;
    QPushButton* ExportButton() const { return exportButton_; }

    // Asks for the file to export to; tests answer instead of a person.
    using FileNamePrompt = std::function<QString(const QString& suggestion)>;
    void SetFileNamePrompt(FileNamePrompt prompt) { fileNamePrompt_ = std::move(prompt); }
    using ErrorSink = std::function<void(const QString& text)>;
    void SetErrorSink(ErrorSink sink) { errorSink_ = std::move(sink); }

    // DocumentObserver
    void ShowComponent(const Component*) override { ScheduleRefresh(); }
    void RefreshComponentList() override { ScheduleRefresh(); }
    void RefreshPointCount() override { ScheduleRefresh(); }
    void RebuildGrid() override { ScheduleRefresh(); }
    void RefreshComponentRow(int) override { ScheduleRefresh(); }

public slots:
    // 导出图表…: the chart shown to a PNG or PDF file.
    void OnExportChart();

private:
    void ScheduleRefresh();
    QString SuggestedFileName() const;

    Document& doc_;
    ClassTable table_ = ClassTable::Rilem();
    QTabWidget* tabs_ = nullptr;
    ChartView* views_[5] = {};
    MapView* surveyMap_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    bool refreshPending_ = false;
    bool stale_ = true;
    FileNamePrompt fileNamePrompt_;
    ErrorSink errorSink_;
};

}  // namespace ohmlet
