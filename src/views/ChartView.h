#pragma once
// A chart on screen: paints one chart drawing at the widget's size and names, in a
// tooltip, the reading, bin, component or cell under the mouse.
#include <QWidget>
#include <memory>

#include "report/ChartDrawing.h"

namespace ohmlet {

// The pane's look: the widget's font, a slightly larger bold title, pixel sizes.
ChartStyle ScreenChartStyle(const QFont& font);

class ChartView : public QWidget {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);
    ~ChartView() override;

    void SetDrawing(std::unique_ptr<ChartDrawing> drawing);
    const ChartDrawing* Drawing() const { return drawing_.get(); }

    // What the tooltip says at a point of the widget; empty where nothing is drawn.
    QString ToolTipAt(const QPoint& at) const;

    QSize sizeHint() const override { return {520, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    std::unique_ptr<ChartDrawing> drawing_;
};

}  // namespace ohmlet
