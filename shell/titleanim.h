#pragma once
// The menu's title animation: coloured kanji drifting across a navy field.
// TitleMotion holds the rules (no widgets); TitleAnimation draws a frame.
#include "data/catalogue.h"
#include <QColor>
#include <QImage>
#include <QSize>
#include <QWidget>
#include <array>
#include <cstdint>
#include <vector>

namespace fm
{

class Random;

constexpr int SpriteSlotCount = 24;
constexpr int TitleWidth = 600;
constexpr int TitleHeight = 360;

struct SpriteSlot {
    int16_t State = 0; // 0 idle, 1 moving
    int16_t X = 0;
    int16_t Y = 0;
    int16_t Dir = 1;    // 1 up, 2 up-right, ... 8 up-left (clockwise)
    int16_t Speed = 2;  // 2..10, even
    int16_t Colour = 0; // 0..7, see spriteColour()
    int16_t Kanji = 0;  // number in the catalogue
};

// 0 yellow, 1 green, 2 red, 3 silver, 4 lime, 5 aqua, 6 purple, 7 blue.
QColor spriteColour(int index);
// 24 x 30 scaled by the font scale and rounded.
QSize spriteSize(double fontScale);

class TitleMotion
{
  public:
    explicit TitleMotion(int width = TitleWidth, int height = TitleHeight) : W(width), H(height) {}

    struct Tick {
        std::vector<int> started; // slots that started this tick
        std::vector<int> drawn;   // slots to draw, in drawing order
    };
    // One tick over slots 1 .. 2 x levelCount (at most 24).
    Tick tick(Random &random, int levelCount);

    // Starting an idle slot: direction, start position, kanji, colour, speed.
    void start(SpriteSlot &slot, Random &random, int levelCount) const;
    // A moving slot: a random turn or speed-up, then one step.
    static void turnAndMove(SpriteSlot &slot, Random &random);
    bool inside(const SpriteSlot &slot) const { return slot.Y > 0 && slot.Y < H && slot.X > 0 && slot.X < W; }
    static int activeSlots(int levelCount);

    std::array<SpriteSlot, SpriteSlotCount + 1> Slots{}; // [1..24]
    const int W;
    const int H;
};

// TitleCanvas and the sprites' pictures. Frames are composed off screen at the
// display's pixel ratio (crisp when the program is scaled up) and shown by
// the view in one copy.
class TitleAnimation
{
  public:
    TitleAnimation(const Catalogue &catalogue, double fontScale, qreal pixelRatio = 1.0);

    // Moves the sprites and composes the next frame into canvas().
    void tick(Random &random, int levelCount);
    const QImage &canvas() const { return TitleCanvas; }
    void setPixelRatio(qreal ratio);

    TitleMotion motion;

  private:
    void buildPicture(int slot);

    const Catalogue &catalogue_;
    QSize spriteSize_;
    qreal ratio_;
    QImage TitleCanvas;
    std::array<QImage, SpriteSlotCount + 1> pictures_; // glyph in colour on a see-through ground
};

// Img_Kanji: shows the latest frame.
class TitleView : public QWidget
{
    Q_OBJECT
  public:
    explicit TitleView(QWidget *parent = nullptr);
    void showFrame(const QImage *frame);

  protected:
    void paintEvent(QPaintEvent *event) override;

  private:
    const QImage *frame_ = nullptr;
};

} // namespace fm
