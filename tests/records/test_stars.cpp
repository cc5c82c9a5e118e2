#include "media/pictureops.h"
#include "records/stars.h"
#include "shell/look.h"
#include <QPainter>
#include <QRegion>
#include <gtest/gtest.h>

using namespace fm::records;
using fm::StudyKind;
using Cell = StarCell;

namespace
{

const Cell F{Cell::Filled};
const Cell E{Cell::Empty};
Cell P(int w)
{
    return Cell{Cell::Partial, w};
}

std::vector<Cell> cells(const StarRow &row)
{
    return std::vector<Cell>(row.begin() + 1, row.end());
}

std::vector<Cell> run(std::initializer_list<std::pair<Cell, int>> parts)
{
    std::vector<Cell> v;
    for (auto [c, n] : parts)
        v.insert(v.end(), n, c);
    return v;
}

} // namespace

TEST(Stars, PartialWidthGrowsWithEveryAnswerAndFillsTheCellAtForty)
{
    EXPECT_EQ(partialStarWidth(0), 0);
    EXPECT_EQ(partialStarWidth(1), 0); // 0.8
    EXPECT_EQ(partialStarWidth(2), 1); // 1.6
    EXPECT_EQ(partialStarWidth(20), 16);
    EXPECT_EQ(partialStarWidth(39), 31); // 31.2
    EXPECT_EQ(partialStarWidth(40), 32);
    EXPECT_EQ(partialStarWidth(75), 32);
    EXPECT_EQ(partialStarWidth(-3), 0);
    // A right answer never takes star away, and only the pass fills the cell.
    for (int n = 1; n <= 60; ++n) {
        EXPECT_GE(partialStarWidth(n), partialStarWidth(n - 1)) << n;
        EXPECT_LE(partialStarWidth(n), 32) << n;
        EXPECT_EQ(partialStarWidth(n) == 32, n >= 40) << n;
    }
}

TEST(Stars, TwelveCellsTileTheRowPictureInReadingOrder)
{
    const QRect picture(0, 0, 192, 64);
    QRegion covered;
    for (int j = 1; j <= 12; ++j) {
        const QRect c = starCellRect(j);
        EXPECT_EQ(c.size(), QSize(32, 32)) << j;
        EXPECT_TRUE(picture.contains(c)) << j;
        EXPECT_FALSE(covered.intersects(c)) << "cell " << j << " overlaps another";
        covered += c;
        if (j != 1 && j != 7) { // left to right within a row of six
            EXPECT_EQ(c.left(), starCellRect(j - 1).right() + 1) << j;
            EXPECT_EQ(c.top(), starCellRect(j - 1).top()) << j;
        }
    }
    EXPECT_EQ(covered, QRegion(picture)) << "no gap in the picture";
    EXPECT_LT(starCellRect(6).top(), starCellRect(7).top()) << "levels 7..12 are the second row";
    EXPECT_EQ(starCellRect(7).left(), 0);
}

TEST(Stars, StudyRowsFollowLevelKindAndCount)
{
    // Level 3 reading, 20 right answers: half of star 3 in the reading row.
    StudyStars s = studyStars(3, StudyKind::Reading, 20);
    EXPECT_EQ(cells(s.reading), run({{F, 2}, {P(16), 1}, {E, 9}}));
    EXPECT_EQ(cells(s.writing), run({{F, 2}, {E, 10}}));

    // Level 3 writing with nothing collected yet.
    s = studyStars(3, StudyKind::Writing, 0);
    EXPECT_EQ(cells(s.reading), run({{F, 3}, {E, 9}}));
    EXPECT_EQ(cells(s.writing), run({{F, 2}, {E, 10}}));

    // 40 or more: a whole star drawn as a partial one of full width.
    s = studyStars(12, StudyKind::Writing, 45);
    EXPECT_EQ(cells(s.reading), run({{F, 12}}));
    EXPECT_EQ(cells(s.writing), run({{F, 11}, {P(32), 1}}));

    // Every level passed.
    s = studyStars(13, StudyKind::Reading, 0);
    EXPECT_EQ(cells(s.reading), run({{F, 12}}));
    EXPECT_EQ(cells(s.writing), run({{F, 12}}));
}

TEST(Stars, GameRowsFillUpToTheGameLevel)
{
    EXPECT_EQ(cells(gameStars(0)), run({{E, 12}}));
    EXPECT_EQ(cells(gameStars(4)), run({{F, 4}, {E, 8}}));
    EXPECT_EQ(cells(gameStars(12)), run({{F, 12}}));
}

TEST(Stars, FloodFillStopsAtOtherColoursAndDiagonals)
{
    QImage img(5, 5, QImage::Format_RGB32);
    img.fill(Qt::white);
    // A closed ring of black around (2, 2), and a white pixel that only touches it diagonally.
    for (QPoint p : {QPoint(1, 1), QPoint(2, 1), QPoint(3, 1), QPoint(1, 2), QPoint(3, 2), QPoint(1, 3),
                     QPoint(2, 3), QPoint(3, 3)})
        img.setPixel(p, qRgb(0, 0, 0));
    const QImage out = fm::media::floodFill(img, QPoint(0, 0), fm::colour::Navy);
    EXPECT_EQ(out.pixel(0, 0), fm::colour::Navy.rgb());
    EXPECT_EQ(out.pixel(4, 4), fm::colour::Navy.rgb());
    EXPECT_EQ(out.pixel(2, 2), qRgb(255, 255, 255)); // enclosed
    EXPECT_EQ(out.pixel(1, 1), qRgb(0, 0, 0));
}

TEST(Stars, PicturesStandOnNavyAndScaleIntoTheirCells)
{
    // A green square for the filled star, a black frame with white inside for the empty one.
    QImage bmp(68, 34, QImage::Format_RGB32);
    bmp.fill(Qt::white);
    QPainter p(&bmp);
    p.fillRect(3, 3, 28, 28, QColor(0, 200, 0));
    p.fillRect(37, 3, 28, 28, Qt::black);
    p.fillRect(40, 6, 22, 22, Qt::white);
    p.end();

    const StarPictures pics = cutStarPictures(bmp);
    ASSERT_EQ(pics.filled.size(), QSize(34, 34));
    EXPECT_EQ(pics.filled.pixel(0, 0), fm::colour::Navy.rgb());
    EXPECT_EQ(pics.empty.pixel(33, 33), fm::colour::Navy.rgb());
    EXPECT_EQ(pics.empty.pixel(17, 17), qRgb(255, 255, 255)); // inside the outline stays white

    StarRow row = gameStars(1);
    row[2] = P(16);
    const QImage out = drawStarRow(row, pics);
    ASSERT_EQ(out.size(), QSize(192, 64));
    const QRgb green = qRgb(0, 200, 0), navy = fm::colour::Navy.rgb();
    EXPECT_EQ(out.pixel(16, 16), green); // filled
    EXPECT_EQ(out.pixel(0, 0), navy);
    EXPECT_EQ(out.pixel(32 + 15, 16), green); // partial: left 16 pixels kept
    EXPECT_EQ(out.pixel(32 + 16, 16), navy);  // ... the rest is navy
    EXPECT_EQ(out.pixel(32 + 28, 16), navy);
    EXPECT_EQ(out.pixel(64 + 16, 16), qRgb(255, 255, 255)); // empty
    EXPECT_EQ(out.pixel(64 + 4, 16), qRgb(0, 0, 0));

    // No picture file: the rows are plain navy rather than garbage.
    const QImage blank = drawStarRow(gameStars(12), cutStarPictures(QImage()));
    EXPECT_EQ(blank.pixel(16, 16), navy);
}
