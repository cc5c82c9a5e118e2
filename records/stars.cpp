#include "records/stars.h"
#include "data/roster.h"
#include "media/pictureops.h"
#include "shell/look.h"
#include <QPainter>
#include <algorithm>
#include <vector>

namespace fm::records
{

int partialStarWidth(int levelCorrectCount)
{
    // count / 40 * 32, truncated; whole numbers keep it exact.
    const int v = std::max(0, levelCorrectCount) * StarCellSize / PassCount;
    return std::min(v, StarCellSize);
}

QRect starCellRect(int j)
{
    const int row = j <= 6 ? 1 : 2;
    const int column = j <= 6 ? j : j - 6;
    return QRect(StarCellSize * (column - 1), StarCellSize * (row - 1), StarCellSize, StarCellSize);
}

StudyStars studyStars(int level, StudyKind kind, int levelCorrectCount)
{
    const int v = partialStarWidth(levelCorrectCount);
    const StarCell filled{StarCell::Filled};
    const StarCell empty{StarCell::Empty};
    const StarCell current = v > 0 ? StarCell{StarCell::Partial, v} : empty;
    StudyStars s;
    for (int j = 1; j <= StarCells; ++j) {
        if (j < level) {
            s.reading[j] = s.writing[j] = filled;
        } else if (j > level) {
            s.reading[j] = s.writing[j] = empty;
        } else if (kind == StudyKind::Reading) {
            s.reading[j] = current;
            s.writing[j] = empty;
        } else {
            s.reading[j] = filled;
            s.writing[j] = current;
        }
    }
    return s;
}

StarRow gameStars(int gameLevel)
{
    StarRow row;
    for (int j = 1; j <= StarCells; ++j)
        row[j] = StarCell{j <= gameLevel ? StarCell::Filled : StarCell::Empty};
    return row;
}

StarPictures cutStarPictures(const QImage &stars)
{
    StarPictures p;
    p.navy = QImage(StarPictureSize, StarPictureSize, QImage::Format_RGB32);
    p.navy.fill(colour::Navy);
    if (stars.width() < 2 * StarPictureSize || stars.height() < StarPictureSize)
        return p;
    const QImage onNavy = media::floodFill(stars, QPoint(1, 1), colour::Navy);
    p.filled = onNavy.copy(0, 0, StarPictureSize, StarPictureSize);
    p.empty = onNavy.copy(StarPictureSize, 0, StarPictureSize, StarPictureSize);
    return p;
}

QImage drawStarRow(const StarRow &row, const StarPictures &pictures)
{
    QImage image(6 * StarCellSize, 2 * StarCellSize, QImage::Format_RGB32);
    image.fill(colour::Navy);
    QPainter painter(&image);
    // Plain pixel scaling, as the pictures are small and have hard edges.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int j = 1; j <= StarCells; ++j) {
        const QRect cell = starCellRect(j);
        const StarCell &c = row[j];
        const QImage &star = c.kind == StarCell::Empty ? pictures.empty : pictures.filled;
        if (!star.isNull())
            painter.drawImage(cell, star);
        if (c.kind == StarCell::Partial && c.width < StarCellSize)
            painter.drawImage(QRect(cell.left() + c.width, cell.top(), StarCellSize - c.width, StarCellSize),
                              pictures.navy);
    }
    return image;
}

} // namespace fm::records
