#pragma once
// Small operations on loaded pictures that the program and the generator share.
#include <QColor>
#include <QImage>
#include <QPoint>

namespace fm::media
{

// Fills the area of one colour that is 4-connected to start with fill, as the
// program does to the stars' background and the mole pictures' surround.
// A start outside the picture leaves it as it is (in RGB32).
QImage floodFill(QImage image, QPoint start, const QColor &fill);

} // namespace fm::media
