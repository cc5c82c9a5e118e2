#include "shell/titleanim.h"
#include "data/cp932.h"
#include "data/levels.h"
#include "shell/look.h"
#include "shell/random.h"
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace fm
{

QColor spriteColour(int index)
{
    static const QColor colours[] = {colour::Yellow, colour::Green, colour::Red,    colour::Silver,
                                     colour::Lime,   colour::Aqua,  colour::Purple, colour::Blue};
    return colours[std::clamp(index, 0, 7)];
}

QSize spriteSize(double fontScale)
{
    return QSize(int(std::lround(24 * fontScale)), int(std::lround(30 * fontScale)));
}

int TitleMotion::activeSlots(int levelCount)
{
    // The slots are fixed; more levels than twelve cannot have more sprites.
    return std::clamp(2 * levelCount, 0, SpriteSlotCount);
}

void TitleMotion::start(SpriteSlot &s, Random &r, int levelCount) const
{
    s.State = 1;
    s.Dir = int16_t(r.random(8) + 1);
    auto pos = [&s](int x, int y) {
        s.X = int16_t(x);
        s.Y = int16_t(y);
    };
    switch (s.Dir) {
    case 1:
        pos(10 + r.random(W - 20), H);
        break;
    case 2:
        if (r.random(2) == 0)
            pos(0, H / 2 + r.random(H / 2));
        else
            pos(20 + r.random(W / 2), H);
        break;
    case 3:
        pos(0, 20 + r.random(H - 20));
        break;
    case 4:
        if (r.random(2) == 0)
            pos(0, 20 + r.random(H / 2));
        else
            pos(20 + r.random(W / 2), 0);
        break;
    case 5:
        pos(20 + r.random(W / 2), 0);
        break;
    case 6:
        if (r.random(2) == 0) {
            pos(W, 20 + r.random(H / 2));
        } else {
            const int x = W / 2 + r.random(W / 2);
            pos(x, 10 + r.random(H / 2));
        }
        break;
    case 7:
        pos(W, 20 + r.random(H / 2));
        break;
    default:
        if (r.random(2) == 0)
            pos(W, H / 2 + r.random(H / 2));
        else
            pos(W + r.random(W / 2), H);
        break;
    }
    s.Kanji = int16_t(r.random(KanjiPerLevel * levelCount) + 1);
    s.Colour = int16_t(r.random(8));
    s.Speed = int16_t(2 * r.random(5) + 2);
}

void TitleMotion::turnAndMove(SpriteSlot &s, Random &r)
{
    if (r.random(5) == 0) {
        s.Dir = int16_t(s.Dir == 8 ? 1 : s.Dir + 1);
    } else if (r.random(5) == 0) {
        s.Dir = int16_t(s.Dir == 1 ? 8 : s.Dir - 1);
    } else if (r.random(3) == 0) {
        s.Speed = int16_t(s.Speed + 2);
        if (s.Speed > 10)
            s.Speed = 2;
    }
    static const int dx[] = {0, 0, 1, 1, 1, 0, -1, -1, -1};
    static const int dy[] = {0, -1, -1, 0, 1, 1, 1, 0, -1};
    s.X = int16_t(s.X + dx[s.Dir] * s.Speed);
    s.Y = int16_t(s.Y + dy[s.Dir] * s.Speed);
}

TitleMotion::Tick TitleMotion::tick(Random &r, int levelCount)
{
    Tick out;
    const int n = activeSlots(levelCount);
    for (int i = 1; i <= n; ++i) {
        SpriteSlot &s = Slots[size_t(i)];
        if (s.State == 0) {
            if (r.random(10) != 0)
                continue;
            start(s, r, levelCount);
            out.started.push_back(i);
            out.drawn.push_back(i); // seen at once, at its start position
        } else {
            turnAndMove(s, r);
            if (inside(s))
                out.drawn.push_back(i);
            else
                s.State = 0;
        }
    }
    return out;
}

TitleAnimation::TitleAnimation(const Catalogue &catalogue, double fontScale, qreal pixelRatio)
    : catalogue_(catalogue), spriteSize_(spriteSize(fontScale)), ratio_(0)
{
    setPixelRatio(pixelRatio);
}

void TitleAnimation::setPixelRatio(qreal ratio)
{
    if (ratio == ratio_)
        return;
    ratio_ = ratio;
    TitleCanvas = QImage(QSize(int(std::ceil(TitleWidth * ratio)), int(std::ceil(TitleHeight * ratio))),
                         QImage::Format_ARGB32_Premultiplied);
    TitleCanvas.setDevicePixelRatio(ratio);
    TitleCanvas.fill(colour::Navy);
    for (int i = 1; i <= SpriteSlotCount; ++i)
        if (motion.Slots[size_t(i)].State != 0)
            buildPicture(i);
}

void TitleAnimation::buildPicture(int slot)
{
    const SpriteSlot &s = motion.Slots[size_t(slot)];
    QImage &pic = pictures_[size_t(slot)];
    const QSize px(int(std::ceil(spriteSize_.width() * ratio_)),
                   int(std::ceil(spriteSize_.height() * ratio_)));
    if (pic.size() != px)
        pic = QImage(px, QImage::Format_ARGB32_Premultiplied);
    pic.setDevicePixelRatio(ratio_);
    // The glyph in its colour on a see-through ground: later sprites cover
    // earlier ones only where they have ink.
    pic.fill(Qt::transparent);
    QString glyph;
    if (s.Kanji >= 1 && s.Kanji <= MaxKanjiNumber)
        glyph = cp932::toUnicode(catalogue_.KanjiTable[size_t(s.Kanji)].Glyph);
    if (glyph.isEmpty())
        return;
    QPainter p(&pic);
    p.setRenderHint(QPainter::TextAntialiasing);
    // As large as the sprite's width allows, so no stroke is cut off.
    p.setFont(pixelFont(spriteSize_.width()));
    p.setPen(spriteColour(s.Colour));
    p.drawText(QRect(QPoint(0, 0), spriteSize_), Qt::AlignLeft | Qt::AlignTop, glyph);
}

void TitleAnimation::tick(Random &random, int levelCount)
{
    const TitleMotion::Tick t = motion.tick(random, levelCount);
    for (int i : t.started)
        buildPicture(i);
    TitleCanvas.fill(colour::Navy);
    QPainter p(&TitleCanvas);
    for (int i : t.drawn) {
        const SpriteSlot &s = motion.Slots[size_t(i)];
        p.drawImage(QPoint(s.X, s.Y), pictures_[size_t(i)]);
    }
}

TitleView::TitleView(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(TitleWidth, TitleHeight);
}

void TitleView::showFrame(const QImage *frame)
{
    frame_ = frame;
    update();
}

void TitleView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (frame_)
        p.drawImage(QPoint(0, 0), *frame_);
    else
        p.fillRect(rect(), colour::Navy);
}

} // namespace fm
