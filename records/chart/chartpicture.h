#pragma once
// The one drawing of a child's progress chart: the history screen paints it
// on a widget and fudemaru-data into a PNG or SVG file, with this code.
#include "records/chart/progresschart.h"
#include <QImage>
#include <QRectF>
#include <QSize>

class QFontMetricsF;
class QPainter;

namespace fm::chart
{

// The picture in design pixels: the right-answers chart on the left, the
// weak kanji on the right. A file's picture carries the title on a band of
// its own above (on screen the title label says it) and a margin around.
constexpr QSize PictureSize{612, 363};
constexpr int TitleBand = 40;
constexpr int FileMargin = 12;
QSize pictureSize(bool withTitle);

// Draws on navy into the painter's coordinates, (0, 0) to pictureSize().
void drawProgressChart(QPainter &p, const ProgressChart &chart, const QString &title = {});

// The picture with its title as an image `scale` times the design size.
QImage renderProgressChart(const ProgressChart &chart, const QString &title, qreal scale);

// Texts of the chart, for the reader of a picture and for tests.
QString riseLabel(const LevelKind &reached);
// One label for the rises first..last (indices into the rises placed) when
// they stand too close for a label each.
QString riseRangeLabel(const LevelKind &first, const LevelKind &last);

// A rise label above the plot: the rises it names, its text and its box.
struct RiseLabel {
    int first = 0;
    int last = 0;
    QString text;
    QRectF box;
    int row = 0; // 0 or 1
};
// Labels for rises at these x positions (in time order) between left and
// right, in two rows: a label that would cover an earlier one joins the
// rise before it into a range, so every rise is named and none is dropped.
QVector<RiseLabel> placeRiseLabels(const QVector<double> &xs, const QVector<LevelKind> &reached,
                                   const QFontMetricsF &metrics, double left, double right);
QString bucketNote(int bucketDays);
// Under a weak kanji's card: its kind and its share of right answers.
QString weakLabel(const WeakKanji &weak);

} // namespace fm::chart
