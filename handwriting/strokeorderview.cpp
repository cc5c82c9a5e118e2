#include "handwriting/strokeorderview.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "handwriting/handwriting.h"
#include "shell/kit.h"
#include "shell/look.h"
#include "shell/services.h"
#include "shell/writing.h"
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>

namespace fm
{

namespace
{

QPointF onSquare(const QRectF &square, const QPointF &inkPoint)
{
    return {square.left() + inkPoint.x() * square.width() / InkSide,
            square.top() + inkPoint.y() * square.height() / InkSide};
}

// The file read once per program directory (and again when it changes).
// A missing or damaged file throws its FileError, every time it is asked
// for: drawing the strokes without it would teach bent strokes straight.
const CentreLines &shippedCentreLines(const QString &dir)
{
    struct Cached {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        std::unique_ptr<CentreLines> lines;
        std::optional<FileError> error;
    };
    static Cached cache;
    const QFileInfo info(dir + CentreLinesFile);
    if (!info.exists())
        throw FileError::notFound(CentreLinesFile);
    if (cache.path != info.filePath() || cache.modified != info.lastModified() || cache.size != info.size()) {
        cache = {info.filePath(), info.lastModified(), info.size(), nullptr, std::nullopt};
        try {
            cache.lines = std::make_unique<CentreLines>(CentreLines::load(dir));
        } catch (const FileError &e) {
            cache.error = e;
        }
    }
    if (cache.error)
        throw *cache.error;
    return *cache.lines;
}

// Where the numbers of these strokes stand: worked out once for a kanji and
// size, not on every frame of the animation (both pictures of the window
// ask for the same).
const QVector<QRectF> &numberBoxes(const StrokePaths &paths, QSizeF box, double halfWidth)
{
    struct Cached {
        StrokePaths paths;
        QSizeF box;
        double halfWidth = -1;
        QVector<QRectF> boxes;
    };
    static Cached cache;
    if (cache.paths != paths || cache.box != box || cache.halfWidth != halfWidth)
        cache = {paths, box, halfWidth, strokeNumberBoxes(paths, box, halfWidth)};
    return cache.boxes;
}

} // namespace

StrokePaths strokePathsOf(Services &services, int kanjiNumber)
{
    const ReferenceStrokeList reference = services.handwriting.reference(kanjiNumber);
    if (reference.isEmpty() && !QFileInfo::exists(services.state.ProgramDir + CentreLinesFile))
        return {}; // no stroke files at all: nothing to show, and nothing to say
    const StrokePaths &paths = shippedCentreLines(services.state.ProgramDir).of(kanjiNumber);
    if (!paths.isEmpty() && (reference.isEmpty() || paths.size() == reference.size()))
        return paths;
    StrokePaths straight;
    for (const ReferenceStroke &s : reference)
        straight.append({s.from, s.to});
    return straight;
}

void paintStrokes(QPainter &p, const QRectF &square, const StrokePaths &paths, int done, double progress)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double width = penWidth(square);
    const int numberPx = std::max(10, int(square.width() / 15));
    const double unit = square.width() / InkSide;
    const QSizeF box(numberPx * 1.25 / unit, numberPx * 1.05 / unit);
    const QVector<QRectF> &boxes = numberBoxes(paths, box, width / 2 / unit);
    int shown = 0; // the strokes begun, each with its number
    for (int i = 0; i < int(paths.size()) && i <= done; ++i) {
        const StrokePath &s = paths[i];
        const bool current = i == done;
        if (s.size() < 2 || (current && progress <= 0))
            break;
        // The whole stroke, or the part of its length drawn so far.
        double left = current ? std::min(1.0, progress) * pathLength(s) : std::numeric_limits<double>::max();
        QPainterPath line(onSquare(square, s.first()));
        for (qsizetype k = 1; k < s.size() && left > 0; ++k) {
            const QPointF d = s[k] - s[k - 1];
            const double len = std::hypot(d.x(), d.y());
            line.lineTo(onSquare(square, len > left ? s[k - 1] + d * (left / len) : s[k]));
            left -= len;
        }
        p.setPen(
            QPen(current ? colour::Red : colour::Black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
        ++shown;
    }
    // The numbers over every stroke, each ringed with paper: one that has no
    // room but on a line still reads.
    for (int i = 0; i < shown; ++i) {
        // A crowded number is drawn smaller, as its box is.
        const QRectF r(onSquare(square, boxes[i].topLeft()), boxes[i].size() * unit);
        p.setFont(pixelFont(int(std::lround(numberPx * boxes[i].height() / box.height())), true, Gothic));
        const QString number = QString::number(i + 1);
        p.setPen(Qt::white);
        for (const QPointF &d : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)})
            p.drawText(r.translated(d), Qt::AlignCenter, number);
        p.setPen(i == done ? colour::Red : colour::Blue);
        p.drawText(r, Qt::AlignCenter, number);
    }
    p.restore();
}

// ---- the stroke-order view ----

StrokeOrderView::StrokeOrderView(QWidget *parent, StrokePaths paths)
    : QWidget(parent), Tim_Draw(new QTimer(this)), paths_(std::move(paths))
{
    Tim_Draw->setObjectName(QStringLiteral("Tim_Draw"));
    Tim_Draw->setInterval(TickMs);
    connect(Tim_Draw, &QTimer::timeout, this, &StrokeOrderView::Tim_DrawTimer);
    restart();
}

void StrokeOrderView::restart()
{
    done_ = 0;
    tick_ = 0;
    update();
    if (!paths_.isEmpty())
        Tim_Draw->start();
}

void StrokeOrderView::stop()
{
    Tim_Draw->stop();
}

void StrokeOrderView::Tim_DrawTimer()
{
    if (finished()) {
        Tim_Draw->stop();
        return;
    }
    if (++tick_ >= TicksPerStroke) {
        tick_ = 0;
        ++done_;
        if (finished())
            Tim_Draw->stop();
    }
    update();
}

void StrokeOrderView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const double side = std::min(width(), height());
    const QRectF sq((width() - side) / 2, (height() - side) / 2, side, side);
    paintPracticePaper(p, sq);
    paintStrokes(p, sq, paths_, done_, double(tick_) / TicksPerStroke);
}

namespace
{

// The kanji still, every stroke drawn and numbered.
class StillStrokes : public QWidget
{
  public:
    StillStrokes(QWidget *parent, StrokePaths paths) : QWidget(parent), paths_(std::move(paths)) {}

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const double side = std::min(width(), height());
        const QRectF sq((width() - side) / 2, (height() - side) / 2, side, side);
        paintPracticePaper(p, sq);
        paintStrokes(p, sq, paths_, int(paths_.size()), 1.0);
    }

  private:
    StrokePaths paths_;
};

} // namespace

// ---- the window ----

TF_Kakijun::TF_Kakijun(Services &services, int kanjiNumber, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("かきじゅん"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFixedSize(560, 360);
    fillBackground(this, colour::Navy);

    const auto &table = services.state.Cat.KanjiTable;
    const QString glyph = kanjiNumber >= 1 && kanjiNumber < int(table.size())
                              ? cp932::toUnicode(table[size_t(kanjiNumber)].Glyph)
                              : QString();
    Lbl_Title = makeLabel(this, QStringLiteral("「%1」の かきじゅん").arg(glyph), 16, 8, pixelFont(22, true),
                          colour::Yellow, 528, 30);
    Lbl_Title->setObjectName(QStringLiteral("Lbl_Title"));
    StrokePaths paths;
    try {
        paths = strokePathsOf(services, kanjiNumber);
    } catch (const FileError &) {
        // showStrokeOrder has said so; nothing is drawn rather than a guess.
    }
    Lbl_Kanji = new StillStrokes(this, paths);
    Lbl_Kanji->setObjectName(QStringLiteral("Lbl_Kanji"));
    Lbl_Kanji->setGeometry(16, 48, 256, 256);
    Img_Kakijun = new StrokeOrderView(this, paths);
    Img_Kakijun->setObjectName(QStringLiteral("Img_Kakijun"));
    Img_Kakijun->setGeometry(288, 48, 256, 256);

    const QCursor hand = services.shell.HandPointer;
    Btn_Again = makePushButton(this, QStringLiteral("もういちど"), QRect(288, 314, 124, 36), hand,
                               QStringLiteral("かきじゅんを もういちど みる"));
    Btn_Again->setObjectName(QStringLiteral("Btn_Again"));
    Btn_Close = makePushButton(this, QStringLiteral("もどる"), QRect(420, 314, 124, 36), hand);
    Btn_Close->setObjectName(QStringLiteral("Btn_Close"));
    connect(Btn_Again, &QPushButton::clicked, Img_Kakijun, &StrokeOrderView::restart);
    connect(Btn_Close, &QPushButton::clicked, this, &QDialog::accept);
}

bool strokeOrderAvailable(Services &services, int kanjiNumber)
{
    return !services.handwriting.reference(kanjiNumber).isEmpty();
}

void showStrokeOrder(Services &services, int kanjiNumber, QWidget *parent)
{
    if (!strokeOrderAvailable(services, kanjiNumber))
        return;
    if (!services.guardNonFatal(parent, [&] { strokePathsOf(services, kanjiNumber); }))
        return;
    TF_Kakijun window(services, kanjiNumber, parent);
    window.exec();
    // The press that closed it must not land on the screen beneath.
    dropFollowingPresses(parent ? static_cast<QObject *>(parent) : &window, services.clock);
}

} // namespace fm
