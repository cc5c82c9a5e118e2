#pragma once
// One child's progress as a picture for the parent, opened from the history:
// right answers per test over time with the level rises, and the kanji still
// weak. Only reads, like the history.
#include "records/chart/progresschart.h"
#include "shell/screen.h"

namespace fm
{

namespace records
{
// Paints the chart in design coordinates; the display's scale keeps it crisp.
class ChartView : public QWidget
{
    Q_OBJECT
  public:
    explicit ChartView(QWidget *parent);
    void setChart(chart::ProgressChart chart);
    const chart::ProgressChart &chart() const { return chart_; }

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    chart::ProgressChart chart_;
};
} // namespace records

class TF_SeisekiGraph : public ScreenFrame
{
    Q_OBJECT
  public:
    // The current player's chart; a log that cannot be read gives its
    // message and ends the program, as the history does.
    explicit TF_SeisekiGraph(Services &services);

  private:
    // Controls; tests and the help find the named ones by their object names.
    records::ChartView *Img_Chart;
};

} // namespace fm
