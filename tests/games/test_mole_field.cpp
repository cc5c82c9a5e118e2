// The drawn whack-a-mole field, pixel by pixel: holes, moles in each phase
// by the band rule, the hit picture and the cleared field.
#include "games/molefield.h"
#include "shell/look.h"
#include "support/fakes.h"
#include "support/testshell.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace fm;
using namespace fm::mole;

namespace
{

const QRgb Navy = colour::Navy.rgb();
const QRgb Aqua = colour::Aqua.rgb();
const QRgb White = colour::White.rgb();

// A 64 x 64 picture as the files hold it: a black surround touching (1, 1)
// around a round hole of `inside`, with a black dot in the middle that the
// surround does not touch.
QImage holeFile(const QColor &inside)
{
    QImage p(PictureSize, PictureSize, QImage::Format_RGB32);
    p.fill(Qt::black);
    QPainter painter(&p);
    painter.setPen(Qt::NoPen);
    painter.setBrush(inside);
    painter.drawEllipse(QRect(4, 10, 56, 50));
    painter.fillRect(QRect(30, 34, 3, 3), Qt::black);
    painter.setBrush(QColor(200, 160, 60));
    painter.drawRect(QRect(8, 40, 48, 4)); // a stripe inside: varied colours under the mole
    return p;
}

struct Field {
    Field(qreal ratio)
        : hole(preparePicture(holeFile(QColor(120, 70, 20)))), hit(preparePicture(holeFile(Qt::red))),
          field(
              hole, hit, [](int k) { return k == 7 ? QStringLiteral("木") : QStringLiteral("山"); }, 48,
              ratio)
    {
    }
    QImage hole, hit;
    MoleField field;
};

// What a design pixel (x, y) of a 72 x 64 cell shows by the rule: the hole
// stretched from 64 to 72 columns, and over its bottom rows the glyph's top rows.
QRgb expectedCellPixel(const QImage &hole, const QImage &glyph, int phase, int x, int y)
{
    const QRgb under = hole.pixel(x * PictureSize / CellWidth, y);
    const int bandTop = CellHeight - bandHeight(phase);
    if (phase == 0 || y < bandTop)
        return under;
    const QRgb g = glyph.pixel(x * PictureSize / CellWidth, y - bandTop);
    if (g == Aqua)
        return Aqua;
    if (g == White)
        return under | Navy;
    return Navy;
}

int countOf(const QImage &image, QRgb colour, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace

TEST(MoleField, PicturesLoseTheirSurroundOnly)
{
    test::app();
    const QImage p = preparePicture(holeFile(QColor(120, 70, 20)));
    EXPECT_EQ(p.pixel(0, 0), Navy);
    EXPECT_EQ(p.pixel(63, 63), Navy);
    EXPECT_EQ(p.pixel(31, 35), QColor(Qt::black).rgb()) << "black inside the hole is not the surround";
    EXPECT_EQ(p.pixel(32, 20), QColor(120, 70, 20).rgb());
    // A picture whose corner is not black is left as it is.
    QImage white(64, 64, QImage::Format_RGB32);
    white.fill(Qt::white);
    EXPECT_EQ(preparePicture(white).pixel(1, 1), White);
}

TEST(MoleField, EveryPhaseFollowsTheBandRule)
{
    test::app();
    Field f(1.0);
    test::ScriptedRandom random;
    MoleGame game(random);
    // Row 1: one mole in each phase 1..5; row 2: a second kanji in phase 3.
    for (int phase = 1; phase <= 5; ++phase)
        game.hole(phase, 1) = Hole{int16_t(phase), 3};
    game.hole(2, 2) = Hole{3, 7};
    f.field.draw(game);
    const QImage &pic = f.field.picture();
    ASSERT_EQ(pic.size(), QSize(FieldPictureSize, FieldPictureSize));

    const QImage &glyph3 = f.field.glyphPicture(3);
    const QImage &glyph7 = f.field.glyphPicture(7);
    ASSERT_EQ(glyph3.size(), QSize(64, 64));
    // Three colours only, so strokes and background are told apart exactly.
    for (const QImage *g : {&glyph3, &glyph7}) {
        const QRect all = g->rect();
        EXPECT_EQ(countOf(*g, Aqua, all) + countOf(*g, White, all) + countOf(*g, Navy, all), 64 * 64);
        EXPECT_GT(countOf(*g, Aqua, all), 150) << "a whole kanji in aqua";
        EXPECT_GT(countOf(*g, White, all), 64 * 40) << "on its white text background";
    }
    EXPECT_NE(glyph3, glyph7);

    for (int c = 1; c <= Holes; ++c)
        for (int r = 1; r <= Holes; ++r) {
            const Hole &h = game.hole(c, r);
            const QImage &glyph = h.HoleKanji == 7 ? glyph7 : glyph3;
            const QRect cell = cellRect(c, r);
            int wrong = 0;
            for (int y = 0; y < CellHeight; ++y)
                for (int x = 0; x < CellWidth; ++x)
                    wrong += pic.pixel(cell.left() + x, cell.top() + y) !=
                             expectedCellPixel(f.hole, glyph, h.Phase, x, y);
            EXPECT_EQ(wrong, 0) << "hole " << c << ", " << r << " phase " << h.Phase;
            if (h.Phase > 0) {
                // Some of the kanji shows in every phase, and nothing above its band.
                const QRect band(cell.left(), cell.bottom() + 1 - bandHeight(h.Phase), CellWidth,
                                 bandHeight(h.Phase));
                EXPECT_GT(countOf(pic, Aqua, band), 10) << c << ", " << r;
                EXPECT_EQ(countOf(pic, Aqua, cell), countOf(pic, Aqua, band));
            }
        }
    // The gaps between the rows stay navy.
    EXPECT_EQ(countOf(pic, Navy, QRect(0, 0, 368, 8)), 368 * 8);
    EXPECT_EQ(countOf(pic, Navy, QRect(8, 72, 360, 8)), 360 * 8);

    // The hit picture covers its cell until the next draw; the screen shows the top left 360 x 360.
    f.field.drawHit(3, 1);
    const QImage shown = f.field.shown();
    ASSERT_EQ(shown.size(), QSize(ShownSize, ShownSize));
    EXPECT_EQ(shown.pixel(cellRect(3, 1).center()), QColor(Qt::red).rgb());
    EXPECT_EQ(shown.pixel(cellRect(3, 1).left() + 36, cellRect(3, 1).top() + 36), f.hit.pixel(32, 36));
    f.field.draw(game);
    EXPECT_NE(f.field.picture().pixel(cellRect(3, 1).center()), QColor(Qt::red).rgb());

    // After a game: navy inside a black line.
    f.field.clear();
    const QImage cleared = f.field.shown();
    EXPECT_EQ(countOf(cleared, Navy, QRect(1, 1, 359, 359)), 359 * 359);
    EXPECT_EQ(countOf(cleared, QColor(Qt::black).rgb(), QRect(0, 0, 360, 1)), 360);
    EXPECT_EQ(countOf(cleared, QColor(Qt::black).rgb(), QRect(0, 0, 1, 360)), 360);
}

TEST(MoleField, DrawnSharpAtTheRatioOfAFullHdDisplay)
{
    test::app();
    const qreal ratio = 2.25; // 1920 x 1080 shows the 640 x 480 design 2.25 times as large
    Field f(ratio);
    test::ScriptedRandom random;
    MoleGame game(random);
    game.hole(1, 1) = Hole{1, 3};
    game.hole(5, 5) = Hole{3, 3};
    f.field.draw(game);
    EXPECT_EQ(f.field.picture().size(), QSize(1013, 1013));
    EXPECT_EQ(f.field.shown().size(), QSize(810, 810));
    EXPECT_EQ(f.field.shown().deviceIndependentSize(), QSizeF(360, 360));
    EXPECT_EQ(f.field.deviceCell(1, 1), QRect(18, 18, 162, 144));
    EXPECT_EQ(f.field.deviceBand(1, 1, 1), QRect(18, 115, 162, 47));
    EXPECT_EQ(f.field.deviceBand(5, 5, 3), f.field.deviceCell(5, 5));

    // The glyph is drawn at the display's resolution, not enlarged.
    const QImage &glyph = f.field.glyphPicture(3);
    ASSERT_EQ(glyph.size(), QSize(144, 144));
    EXPECT_EQ(countOf(glyph, Aqua, glyph.rect()) + countOf(glyph, White, glyph.rect()) +
                  countOf(glyph, Navy, glyph.rect()),
              144 * 144);
    const QImage &pic = f.field.picture();
    for (const auto &[c, r, phase] : {std::tuple{1, 1, 1}, std::tuple{5, 5, 3}}) {
        const QRect cell = f.field.deviceCell(c, r);
        const QRect band = f.field.deviceBand(c, r, phase);
        int wrong = 0, aqua = 0;
        for (int y = band.top(); y <= band.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QRgb under = f.hole.pixel((x - cell.left()) * 64 / cell.width(),
                                                (y - cell.top()) * 64 / cell.height());
                const QRgb g = glyph.pixel((x - cell.left()) * 144 / cell.width(), y - band.top());
                const QRgb want = g == Aqua ? Aqua : g == White ? (under | Navy) : Navy;
                wrong += pic.pixel(x, y) != want;
                aqua += want == Aqua;
            }
        EXPECT_EQ(wrong, 0) << c << ", " << r;
        EXPECT_GT(aqua, 50);
    }
}
