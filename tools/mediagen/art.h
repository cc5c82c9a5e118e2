#pragma once
#include <QColor>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

class QPainter;

// A picture written as a short list of drawing commands (content/art/*.art),
// the same set of shapes a Windows metafile has, so one source gives both a
// WMF file and a QPainter drawing. The format, one command a line:
//
//   size W H                    the drawing's coordinate space (first line)
//   pen COLOUR WIDTH | pen none  outline for the shapes that follow
//   brush COLOUR | brush none    fill for the shapes that follow
//   rect X1 Y1 X2 Y2             roundrect X1 Y1 X2 Y2 RX RY
//   ellipse X1 Y1 X2 Y2          circle CX CY R
//   polygon X,Y X,Y ...          polyline X,Y X,Y ...
//   line X,Y X,Y ...             (a move-to and line-tos)
//   pie | chord | arc X1 Y1 X2 Y2 FROM TO   (degrees, counter-clockwise from 3 o'clock)
//   shape M X,Y L X,Y Q X,Y X,Y C X,Y X,Y X,Y ... Z   (curves are flattened to a polygon)
//   rings CX CY R1 R2 [N]        a ring (poly-polygon with a hole), N-gon approximation
//   text X Y SIZE "string"       bitmaps only: bold text centred on X, baseline at Y
//
// COLOUR is #rrggbb. '#' after a blank starts a comment.
namespace fm::mediagen
{

struct ArtError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ArtCommand {
    enum Kind { Pen, Brush, Rect, RoundRect, Ellipse, Polygon, Polyline, Line, Pie, Chord, Arc, Rings, Text };
    Kind kind;
    QColor color;        // pen and brush; invalid means none
    double width = 0;    // pen width
    QRectF rect;         // box of rect, round rectangle, ellipse, arc family
    double a = 0, b = 0; // round rectangle radii, arc angles
    std::vector<QPolygonF> polys;
    QString text;
    int line = 0;
};

struct Art {
    QString name;
    QSizeF size;
    std::vector<ArtCommand> commands;
};

// Parses the text of an .art file; name is used in error messages.
Art parseArt(const QString &text, const QString &name);
Art loadArt(const QString &path);

// Draws the picture stretched over target, antialiased.
void paintArt(QPainter &p, const Art &art, const QRectF &target);

// Writes the picture as a placeable WMF through libuemf. Text is refused.
void writeWmf(const Art &art, const QString &path);

} // namespace fm::mediagen
