#include "records/seisekigraph.h"
#include "data/cp932.h"
#include "data/roster.h"
#include "data/state.h"
#include "data/studylog.h"
#include "records/chart/chartpicture.h"
#include "shell/services.h"
#include <QPainter>

namespace fm
{

namespace records
{

ChartView::ChartView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartView::setChart(chart::ProgressChart chart)
{
    chart_ = std::move(chart);
    update();
}

void ChartView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // The whole widget, also the last row of pixels a fractional scale leaves.
    p.fillRect(rect(), QColor(0, 0, 128));
    chart::drawProgressChart(p, chart_);
}

} // namespace records

// Part of the history: its screen number, help page and hint.
TF_SeisekiGraph::TF_SeisekiGraph(Services &sv) : ScreenFrame(sv, ScreenId::Seiseki2)
{
    Lbl_Title->setText(chart::chartTitle(state.currentEntry().Name));
    Lbl_Title->adjustSize();
    Lbl_Title->resize(Lbl_Title->width(), 27);

    Img_Chart = new records::ChartView(this);
    Img_Chart->setObjectName(QStringLiteral("Img_Chart"));
    Img_Chart->setGeometry(QRect(QPoint(10, 80), chart::PictureSize));
    // Read in the constructor: a damaged log stops the opening with its message.
    chart::ProgressChart c = chart::buildProgressChart(readLog(state.DataDir, state.CurrentPlayer).records);
    chart::nameGlyphs(c, state.Cat);
    Img_Chart->setChart(std::move(c));
}

} // namespace fm
