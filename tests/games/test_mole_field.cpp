// The drawn whack-a-mole field compared pixel by pixel with the band rule,
// at the layout's size and at the pixel ratio of a 1920 x 1080 display.
#include "games/molefield.h"
#include "shell/look.h"
#include "support/fakes.h"
#include "support/testshell.h"
#include <QPainter>
#include <gtest/gtest.h>

using namespace fm;
using namespace fm::mole;

TEST(MoleField, EveryPhaseFollowsTheBandRule)
{
    test::app();
    const QRgb navy = colour::Navy.rgb(), aqua = colour::Aqua.rgb(), white = colour::White.rgb();
    // A hole as the files hold it: a black surround touching (1, 1), and a
    // black dot inside that is not surround.
    QImage file(64, 64, QImage::Format_RGB32);
    file.fill(Qt::black);
    QPainter p(&file);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 20));
    p.drawEllipse(QRect(4, 10, 56, 50));
    p.fillRect(QRect(30, 34, 3, 3), Qt::black);
    p.end();
    const QImage hole = preparePicture(file);
    EXPECT_EQ(hole.pixel(63, 63), navy);
    EXPECT_EQ(hole.pixel(31, 35), QColor(Qt::black).rgb());
    QImage hit(64, 64, QImage::Format_RGB32);
    hit.fill(Qt::red);

    for (qreal ratio : {1.0, 2.25}) {
        SCOPED_TRACE(ratio);
        MoleField field(
            hole, hit, [](int k) { return k == 7 ? QStringLiteral("木") : QStringLiteral("山"); }, 48, ratio);
        test::ScriptedRandom random;
        MoleGame game(random);
        for (int phase = 1; phase <= 5; ++phase) // row 1: one mole in each phase
            game.hole(phase, 1) = Hole{int16_t(phase), 3};
        game.hole(2, 2) = Hole{3, 7};
        field.draw(game);
        const QImage &pic = field.picture();
        const int side = qRound(64 * ratio);
        ASSERT_EQ(pic.size(), QSize(qRound(450 * ratio), qRound(450 * ratio)));
        EXPECT_EQ(field.shown().deviceIndependentSize(), QSizeF(360, 360));
        EXPECT_EQ(field.deviceBand(1, 1, 1).height(), qRound(21 * ratio)) << "21 layout rows in phase 1";

        for (int c = 1; c <= 5; ++c)
            for (int r = 1; r <= 5; ++r) {
                const Hole &h = game.hole(c, r);
                // Drawn at the display's resolution in three colours, not enlarged.
                const QImage &glyph = field.glyphPicture(h.HoleKanji ? h.HoleKanji : 3);
                ASSERT_EQ(glyph.size(), QSize(side, side));
                const QRect cell = field.deviceCell(c, r);
                const QRect band = h.Phase ? field.deviceBand(c, r, h.Phase) : QRect();
                int wrong = 0, strokes = 0;
                for (int y = cell.top(); y <= cell.bottom(); ++y)
                    for (int x = cell.left(); x <= cell.right(); ++x) {
                        const QRgb under = hole.pixel((x - cell.left()) * 64 / cell.width(),
                                                      (y - cell.top()) * 64 / cell.height());
                        QRgb want = under;
                        if (band.contains(x, y)) {
                            const QRgb g =
                                glyph.pixel((x - cell.left()) * side / cell.width(), y - band.top());
                            ASSERT_TRUE(g == aqua || g == white || g == navy);
                            want = g == aqua ? aqua : g == white ? (under | navy) : navy;
                            strokes += g == aqua;
                        }
                        wrong += pic.pixel(x, y) != want;
                    }
                EXPECT_EQ(wrong, 0) << "hole " << c << ", " << r << " phase " << h.Phase;
                EXPECT_EQ(strokes > 10, h.Phase > 0) << "some of the kanji shows in every phase";
            }
        // The gap between rows 1 and 2 stays navy; a hit covers its cell; a cleared field is outlined.
        EXPECT_EQ(pic.pixel(field.deviceCell(3, 1).left() + 5, field.deviceCell(3, 1).bottom() + 2), navy);
        field.drawHit(3, 1);
        EXPECT_EQ(field.picture().pixel(field.deviceCell(3, 1).center()), QColor(Qt::red).rgb());
        field.clear();
        EXPECT_EQ(field.shown().pixel(0, 100), QColor(Qt::black).rgb());
        EXPECT_EQ(field.shown().pixel(100, 100), navy);
    }
}
