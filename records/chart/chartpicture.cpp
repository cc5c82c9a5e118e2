#include "records/chart/chartpicture.h"
#include "data/datetime.h"
#include "data/state.h"
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace fm::chart
{

namespace
{

const QColor Navy{0, 0, 128};
const QColor Yellow{255, 255, 0};
const QColor White{255, 255, 255};
const QColor GridLine{64, 64, 176};
const QColor Axis{192, 192, 192};
const QColor ReadingColour{0, 255, 255};
const QColor WritingColour{255, 170, 60};
const QColor PassColour{255, 110, 110};
const QColor RiseColour{0, 255, 0};
const QColor CardColour{255, 255, 0};

// The chart's part of the picture.
constexpr QRectF ChartPart{0, 0, 410, 363};
constexpr QRectF Plot{34, 44, 366, 236};
constexpr double PlotPad = 6; // marks never sit on the axes
constexpr double MarkSize = 6;
// The weak kanji: four columns of five cards.
constexpr QRectF WeakPart{420, 0, 190, 363};
constexpr int WeakColumns = 4;
constexpr double CardWidth = 42;
constexpr double CardHeight = 40;
constexpr double CellHeight = 66;

QFont font(int pixels, bool bold = false)
{
    QFont f;
    // The program's faces; the IPA fonts are what they resolve to everywhere.
    f.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QColor seriesColour(StudyKind kind)
{
    return kind == StudyKind::Reading ? ReadingColour : WritingColour;
}

// Reading is a circle, writing a square; practice is hollow.
void drawMark(QPainter &p, QPointF at, StudyKind kind, StudyMode mode)
{
    const QRectF box(at.x() - MarkSize / 2, at.y() - MarkSize / 2, MarkSize, MarkSize);
    const QColor c = seriesColour(kind);
    p.setPen(QPen(c, 1.2));
    p.setBrush(mode == StudyMode::Challenge ? QBrush(c) : Qt::NoBrush);
    if (kind == StudyKind::Reading)
        p.drawEllipse(box);
    else
        p.drawRect(box);
}

void text(QPainter &p, const QRectF &box, int flags, const QString &s, const QFont &f, const QColor &c)
{
    p.setFont(f);
    p.setPen(c);
    p.drawText(box, flags, s);
}

double xOf(const ProgressChart &chart, double time)
{
    const double span = chart.last - chart.first;
    if (span <= 0)
        return Plot.center().x();
    return Plot.left() + PlotPad + (time - chart.first) / span * (Plot.width() - 2 * PlotPad);
}

double yOf(double right)
{
    return Plot.bottom() - PlotPad - right / QuestionsPerTest * (Plot.height() - 2 * PlotPad);
}

void drawAxes(QPainter &p, const ProgressChart &chart)
{
    const QFont small = font(10);
    for (int right : {0, 5, 10}) {
        const double y = yOf(right);
        p.setPen(QPen(GridLine, 1));
        p.drawLine(QPointF(Plot.left(), y), QPointF(Plot.right(), y));
        text(p, QRectF(0, y - 7, Plot.left() - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
             QString::number(right), small, Yellow);
    }
    p.setPen(QPen(Axis, 1));
    p.drawLine(Plot.bottomLeft(), Plot.bottomRight());
    p.drawLine(Plot.bottomLeft(), Plot.topLeft());

    // The pass mark, its number on the axis in the line's colour.
    const double pass = yOf(AppState::PassMark);
    p.setPen(QPen(PassColour, 1.5, Qt::DashLine));
    p.drawLine(QPointF(Plot.left(), pass), QPointF(Plot.right(), pass));
    text(p, QRectF(0, pass - 7, Plot.left() - 4, 14), Qt::AlignRight | Qt::AlignVCenter,
         QString::number(AppState::PassMark), font(10, true), PassColour);

    if (chart.tests.isEmpty())
        return;
    // Dates at both ends and, when there is room, two between.
    const QRectF band(Plot.left(), Plot.bottom() + 3, Plot.width(), 14);
    const double span = chart.last - chart.first;
    if (span <= 0) {
        text(p, band, Qt::AlignHCenter | Qt::AlignTop, shortDate(chart.first), small, Yellow);
        return;
    }
    const int labels = span >= 3 ? 4 : 2;
    for (int i = 0; i < labels; ++i) {
        const double t = chart.first + span * i / (labels - 1);
        const double x = xOf(chart, t);
        const int align = i == 0 ? Qt::AlignLeft : i == labels - 1 ? Qt::AlignRight : Qt::AlignHCenter;
        QRectF box(x - 60, band.top(), 120, band.height());
        if (i == 0)
            box.moveLeft(Plot.left());
        if (i == labels - 1)
            box.moveRight(Plot.right());
        text(p, box, align | Qt::AlignTop, shortDate(t), small, Yellow);
        p.setPen(QPen(Axis, 1));
        p.drawLine(QPointF(x, Plot.bottom()), QPointF(x, Plot.bottom() + 3));
    }
}

// A dashed line at every rise; above the plot, in two rows, a label for
// each rise or, where they crowd, one for a run of them.
void drawRises(QPainter &p, const ProgressChart &chart)
{
    const QFont f = font(10, true);
    QVector<double> xs;
    QVector<LevelKind> reached;
    for (const LevelRise &r : chart.rises) {
        if (!isDated(r.time))
            continue;
        const double x = xOf(chart, r.time);
        p.setPen(QPen(RiseColour, 1, Qt::DashLine));
        p.drawLine(QPointF(x, Plot.top() - 4), QPointF(x, Plot.bottom()));
        xs << x;
        reached << r.reached;
    }
    for (const RiseLabel &label : placeRiseLabels(xs, reached, QFontMetricsF(f), 0, ChartPart.right()))
        text(p, label.box.translated(0, Plot.top() - 30 + label.row * 13), Qt::AlignLeft | Qt::AlignVCenter,
             label.text, f, RiseColour);
}

void drawMarks(QPainter &p, const ProgressChart &chart, const ChartMarks &marks)
{
    // Practice under challenge, so the tests that count stay in front.
    for (const StudyMode mode : {StudyMode::Practice, StudyMode::Challenge})
        for (const ChartMark &mk : marks.marks)
            if (mk.mode == mode)
                drawMark(p, QPointF(xOf(chart, mk.time), yOf(mk.right)), mk.kind, mk.mode);
}

void drawLegend(QPainter &p, const ProgressChart &chart, const ChartMarks &marks)
{
    const QFont f = font(11);
    const double top = Plot.bottom() + 22;
    const double rowHeight = 14;
    const QString names[2][2] = {{QStringLiteral("よむ　チャレンジ"), QStringLiteral("よむ　れんしゅう")},
                                 {QStringLiteral("かく　チャレンジ"), QStringLiteral("かく　れんしゅう")}};
    for (const StudyKind kind : {StudyKind::Reading, StudyKind::Writing})
        for (const StudyMode mode : {StudyMode::Challenge, StudyMode::Practice}) {
            const int row = fileValue(kind) - 1, column = fileValue(mode) - 1;
            const double x = Plot.left() + column * 150;
            const double y = top + row * rowHeight;
            drawMark(p, QPointF(x + 4, y + rowHeight / 2), kind, mode);
            text(p, QRectF(x + 12, y, 136, rowHeight), Qt::AlignLeft | Qt::AlignVCenter, names[row][column],
                 f, White);
        }
    double y = top + 2 * rowHeight;
    p.setPen(QPen(PassColour, 1.5, Qt::DashLine));
    p.drawLine(QPointF(Plot.left(), y + rowHeight / 2), QPointF(Plot.left() + 10, y + rowHeight / 2));
    text(p, QRectF(Plot.left() + 12, y, 136, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("ごうかくの せん"), f, White);
    p.setPen(QPen(RiseColour, 1, Qt::DashLine));
    p.drawLine(QPointF(Plot.left() + 154, y + 1), QPointF(Plot.left() + 154, y + rowHeight - 1));
    text(p, QRectF(Plot.left() + 162, y, 210, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("レベルが あがった ところ"), f, White);
    QStringList notes;
    if (marks.bucketDays > 0)
        notes << bucketNote(marks.bucketDays);
    if (chart.undated > 0)
        notes << QStringLiteral("ひづけの ない テスト %1かいは のせていません").arg(chart.undated);
    if (!notes.isEmpty())
        text(p, QRectF(Plot.left(), y + rowHeight, ChartPart.right() - Plot.left(), rowHeight),
             Qt::AlignLeft | Qt::AlignVCenter, notes.join(QStringLiteral("　")), f, Yellow);
}

void drawChart(QPainter &p, const ProgressChart &chart)
{
    text(p, QRectF(0, 0, ChartPart.width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("テストの せいかいの かず（10もん ちゅう）"), font(13, true), Yellow);
    drawAxes(p, chart);
    const int places = int((Plot.width() - 2 * PlotPad) / MarkSize);
    const ChartMarks marks = chartMarks(chart, places);
    if (chart.tests.isEmpty()) {
        text(p, Plot, Qt::AlignCenter,
             chart.undated > 0 ? QStringLiteral("ひづけの ある テストが ありません")
                               : QStringLiteral("まだ テストが ありません"),
             font(16, true), White);
    } else {
        drawRises(p, chart);
        drawMarks(p, chart, marks);
    }
    drawLegend(p, chart, marks);
}

void drawWeak(QPainter &p, const ProgressChart &chart)
{
    const QRectF part = WeakPart;
    text(p, QRectF(part.left(), 0, part.width(), 16), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("にがてな かんじ"), font(13, true), Yellow);
    if (chart.weak.isEmpty()) {
        text(p, QRectF(part.left(), 30, part.width(), 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             chart.tests.isEmpty() ? QStringLiteral("まだ ありません")
                                   : QStringLiteral("まちがえた かんじは\nありません"),
             font(14), White);
        return;
    }
    const double cellWidth = part.width() / WeakColumns;
    const QFont glyphFont = font(32);
    const QFont small = font(10);
    for (int i = 0; i < chart.weak.size(); ++i) {
        const WeakKanji &w = chart.weak[i];
        const double x = part.left() + (i % WeakColumns) * cellWidth;
        const double y = 22 + (i / WeakColumns) * CellHeight;
        const QRectF card(x + (cellWidth - CardWidth) / 2, y, CardWidth, CardHeight);
        p.setPen(QPen(seriesColour(w.kind), 2));
        p.setBrush(CardColour);
        p.drawRect(card);
        const bool known = !w.glyph.isEmpty();
        text(p, card, Qt::AlignCenter, known ? w.glyph : QStringLiteral("#%1").arg(w.kanji),
             known ? glyphFont : font(12), Qt::black);
        text(p, QRectF(x, y + CardHeight + 1, cellWidth, 26), Qt::AlignHCenter | Qt::AlignTop, weakLabel(w),
             small, White);
    }
}

} // namespace

QSize pictureSize(bool withTitle)
{
    if (!withTitle)
        return PictureSize;
    return {PictureSize.width() + 2 * FileMargin, PictureSize.height() + TitleBand + FileMargin};
}

void drawProgressChart(QPainter &p, const ProgressChart &chart, const QString &title)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(pictureSize(!title.isEmpty()))), Navy);
    if (!title.isEmpty()) {
        text(p, QRectF(FileMargin, 0, PictureSize.width(), TitleBand - 4), Qt::AlignLeft | Qt::AlignVCenter,
             title, font(24, true), Yellow);
        p.translate(FileMargin, TitleBand);
    }
    drawChart(p, chart);
    drawWeak(p, chart);
    p.restore();
}

QImage renderProgressChart(const ProgressChart &chart, const QString &title, qreal scale)
{
    const QSize size = pictureSize(!title.isEmpty());
    QImage image(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)),
                 QImage::Format_RGB32);
    image.fill(Navy);
    QPainter p(&image);
    p.scale(scale, scale);
    drawProgressChart(p, chart, title);
    p.end();
    return image;
}

namespace
{
// "3よむ": the level and kind, the level's own word before it.
QString levelKind(const LevelKind &reached)
{
    if (reached.Level > LevelCount)
        return QStringLiteral("ぜんぶ");
    return QStringLiteral("%1%2")
        .arg(reached.Level)
        .arg(reached.Kind == StudyKind::Reading ? QStringLiteral("よむ") : QStringLiteral("かく"));
}
} // namespace

QString riseLabel(const LevelKind &reached)
{
    // "1かく" alone reads as one stroke (1画): the level says what it counts.
    if (reached.Level > LevelCount)
        return QStringLiteral("ぜんぶ");
    return QStringLiteral("レベル%1 %2")
        .arg(reached.Level)
        .arg(reached.Kind == StudyKind::Reading ? QStringLiteral("よむ") : QStringLiteral("かく"));
}

QString riseRangeLabel(const LevelKind &first, const LevelKind &last)
{
    if (first.Level > LevelCount)
        return riseLabel(first);
    return QStringLiteral("レベル%1〜%2").arg(levelKind(first), levelKind(last));
}

QVector<RiseLabel> placeRiseLabels(const QVector<double> &xs, const QVector<LevelKind> &reached,
                                   const QFontMetricsF &metrics, double left, double right)
{
    QVector<RiseLabel> labels;
    double rowEnd[2] = {-1e9, -1e9};
    const double gap = 3;
    const double height = 13;
    for (int i = 0; i < xs.size() && i < reached.size(); ++i) {
        const QString own = riseLabel(reached[i]);
        const double w = metrics.horizontalAdvance(own) + 1;
        const double at = std::clamp(xs[i] - w / 2, left, right - w);
        bool placed = false;
        for (int row = 0; row < 2 && !placed; ++row) {
            if (at < rowEnd[row] + gap)
                continue;
            labels.push_back({i, i, own, QRectF(at, 0, w, height), row});
            rowEnd[row] = at + w;
            placed = true;
        }
        if (placed)
            continue;
        if (labels.isEmpty()) {
            // Only a plot narrower than one label comes here.
            labels.push_back({i, i, own, QRectF(left, 0, w, height), 0});
            rowEnd[0] = left + w;
            continue;
        }
        // Too crowded: the label of the rise before names this one too.
        RiseLabel &run = labels.last();
        run.last = i;
        run.text = riseRangeLabel(reached[run.first], reached[i]);
        const double runWidth = metrics.horizontalAdvance(run.text) + 1;
        // It grows to the right; at the right edge it moves left as far as
        // the label before it in its row allows.
        double before = -1e9;
        for (int k = int(labels.size()) - 2; k >= 0; --k)
            if (labels[k].row == run.row) {
                before = labels[k].box.right() + gap;
                break;
            }
        const double runLeft = std::max(before, std::min(run.box.left(), right - runWidth));
        run.box = QRectF(runLeft, 0, runWidth, height);
        rowEnd[run.row] = run.box.right();
    }
    return labels;
}

QString weakLabel(const WeakKanji &w)
{
    // The share and what it is a share of: 0% of one question is not 0% of six.
    const int percent = w.asked > 0 ? w.right * 100 / w.asked : 0;
    return QStringLiteral("%1 %2%\n%3/%4もん")
        .arg(w.kind == StudyKind::Reading ? QStringLiteral("よむ") : QStringLiteral("かく"))
        .arg(percent)
        .arg(w.right)
        .arg(w.asked);
}

QString bucketNote(int bucketDays)
{
    return QStringLiteral("しるし 1つは %1にちの へいきん").arg(bucketDays);
}

} // namespace fm::chart
