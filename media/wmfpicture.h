#pragma once
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

// A Windows metafile (placeable or plain) parsed with libuemf and drawn with
// QPainter. Parsing checks every record against the file's length, so a
// damaged or truncated file fails in load() and never while drawing.
//
//   fm::media::WmfError err;
//   QImage card = fm::media::renderWmf(dir + "/Pop3.wmf", {48, 48}, &err);
//   if (card.isNull()) showError(err.fileName);   // "Pop3.wmf"
//
// Drawn records: window origin and extent (also offset/scale), pens, brushes
// (solid, hollow, hatched), select and delete object, save/restore DC, poly
// fill mode, polygon, polyline, poly-polygon, rectangle, round rectangle,
// ellipse, arc, pie, chord, move-to and line-to. Fonts, palettes, regions and
// pattern brushes take their place in the object table but draw nothing; every
// other record is skipped.
namespace fm::media
{

struct WmfError {
    QString fileName; // the bare file name, e.g. "Pop3.wmf"
    QString reason;   // what was wrong, for logs and tests
};

class WmfPicture
{
  public:
    // Reads and checks the file; on failure returns nothing and fills *error.
    static std::optional<WmfPicture> load(const QString &path, WmfError *error = nullptr);
    // The same for bytes already in memory; name is used in the error.
    static std::optional<WmfPicture> fromData(const QByteArray &data, const QString &name,
                                              WmfError *error = nullptr);

    // The metafile's window in logical units: the area that is stretched over
    // the target when drawing.
    QRectF frame() const { return frame_; }

    // Draws the picture stretched over target (device coordinates of p).
    void render(QPainter &p, const QRectF &target) const;

    // A size.width() x size.height() image filled with background and the
    // picture drawn stretched over it, antialiased.
    QImage toImage(QSize size, QColor background = Qt::white) const;

    struct Op; // one drawing record, parsed

    WmfPicture(const WmfPicture &) = default;
    WmfPicture(WmfPicture &&) noexcept = default;
    WmfPicture &operator=(const WmfPicture &) = default;
    WmfPicture &operator=(WmfPicture &&) noexcept = default;
    ~WmfPicture();

  private:
    WmfPicture() = default;
    QRectF frame_;
    std::shared_ptr<const std::vector<Op>> ops_;
};

// Loads path and renders it into an image of the given size on white; a null
// image and *error on failure.
QImage renderWmf(const QString &path, QSize size, WmfError *error = nullptr);

} // namespace fm::media
