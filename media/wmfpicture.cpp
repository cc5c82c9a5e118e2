#include "media/wmfpicture.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstring>

extern "C" {
#include <uwmf.h>
}

namespace fm::media
{

// One parsed record. Only the fields the record needs are filled.
struct WmfPicture::Op {
    enum Kind {
        WindowOrg,
        WindowExt,
        OffsetWindowOrg,
        ScaleWindowExt,
        CreatePen,
        CreateBrush,
        CreateOther,
        Select,
        Delete,
        SaveDc,
        RestoreDc,
        FillMode,
        Polygon,
        Polyline,
        PolyPolygon,
        Rectangle,
        RoundRect,
        Ellipse,
        Arc,
        Pie,
        Chord,
        MoveTo,
        LineTo
    };
    Kind kind;
    int a = 0, b = 0, c = 0, d = 0; // small integers: handle, mode, style, width, scale factors
    QColor color;
    QRectF rect;
    QPointF p1, p2;
    std::vector<QPolygonF> polys;
};

WmfPicture::~WmfPicture() = default;

namespace
{

using Op = WmfPicture::Op;

struct Failure {
    QString reason;
};

[[noreturn]] void fail(const QString &reason)
{
    throw Failure{reason};
}

QColor toQColor(const U_COLORREF &c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

QPointF toPoint(const U_POINT16 &p)
{
    return QPointF(p.x, p.y);
}

QRectF toRect(const U_RECT16 &r)
{
    return QRectF(QPointF(r.left, r.top), QPointF(r.right, r.bottom)).normalized();
}

// Reads n packed U_POINT16 values at data, after checking they lie inside the record.
QPolygonF readPoints(const char *data, int n, const char *rec, const char *recEnd)
{
    if (n < 0 || data < rec || data + 4 * static_cast<size_t>(n) > recEnd)
        fail(QStringLiteral("point list runs past its record"));
    QPolygonF poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i) {
        U_POINT16 p;
        std::memcpy(&p, data + 4 * i, sizeof p);
        poly << toPoint(p);
    }
    return poly;
}

void check(int ok, const char *what)
{
    if (!ok)
        fail(QStringLiteral("damaged %1 record").arg(QLatin1String(what)));
}

// One record's bytes, and what to call it when it is damaged.
struct Record {
    const char *begin;
    const char *end;
    const char *what;
};

template <int (*Get)(const char *, U_POINT16 *)> void readPoint(const Record &r, Op &op)
{
    U_POINT16 pt;
    check(Get(r.begin, &pt), r.what);
    op.p1 = toPoint(pt);
}

void readScale(const Record &r, Op &op)
{
    U_POINT16 denom, num;
    check(U_WMRSCALEWINDOWEXT_get(r.begin, &denom, &num), r.what);
    if (denom.x == 0 || denom.y == 0)
        fail(QStringLiteral("window scale divides by zero"));
    op.a = num.x, op.b = denom.x, op.c = num.y, op.d = denom.y;
}

void readPen(const Record &r, Op &op)
{
    U_PEN pen;
    check(U_WMRCREATEPENINDIRECT_get(r.begin, &pen), r.what);
    op.a = pen.Style;
    op.b = pen.Widthw[0];
    op.color = toQColor(pen.Color);
}

void readBrush(const Record &r, Op &op)
{
    const char *brush = nullptr;
    check(U_WMRCREATEBRUSHINDIRECT_get(r.begin, &brush), r.what);
    if (!brush || brush < r.begin || brush + sizeof(U_WLOGBRUSH) > r.end)
        fail(QStringLiteral("brush runs past its record"));
    U_WLOGBRUSH lb;
    std::memcpy(&lb, brush, sizeof lb);
    op.a = lb.Style;
    op.b = lb.Hatch;
    op.color = toQColor(lb.Color);
}

// A record with nothing the drawing needs: its kind is all.
void readNothing(const Record &, Op &) {}

// One 16-bit field into op.a: an object handle, a fill mode, a saved level.
template <typename Word, int (*Get)(const char *, Word *)> void readWord(const Record &r, Op &op)
{
    Word word;
    check(Get(r.begin, &word), r.what);
    op.a = word;
}

template <int (*Get)(const char *, uint16_t *, const char **)> void readPoly(const Record &r, Op &op)
{
    uint16_t n;
    const char *data = nullptr;
    check(Get(r.begin, &n, &data), r.what);
    op.polys.push_back(readPoints(data, n, r.begin, r.end));
}

void readPolyPolygon(const Record &r, Op &op)
{
    uint16_t nPolys;
    const uint16_t *counts = nullptr;
    const char *points = nullptr;
    check(U_WMRPOLYPOLYGON_get(r.begin, &nPolys, &counts, &points), r.what);
    const char *countBytes = reinterpret_cast<const char *>(counts);
    if (countBytes < r.begin || countBytes + 2 * static_cast<size_t>(nPolys) > r.end)
        fail(QStringLiteral("poly-polygon counts run past their record"));
    for (int i = 0; i < nPolys; ++i) {
        uint16_t n;
        std::memcpy(&n, countBytes + 2 * i, sizeof n);
        op.polys.push_back(readPoints(points, n, r.begin, r.end));
        points += 4 * static_cast<size_t>(n);
    }
}

template <int (*Get)(const char *, U_RECT16 *)> void readRect(const Record &r, Op &op)
{
    U_RECT16 rect;
    check(Get(r.begin, &rect), r.what);
    op.rect = toRect(rect);
}

void readRoundRect(const Record &r, Op &op)
{
    U_RECT16 rect;
    int16_t w, h;
    check(U_WMRROUNDRECT_get(r.begin, &w, &h, &rect), r.what);
    op.rect = toRect(rect);
    op.a = w, op.b = h;
}

template <int (*Get)(const char *, U_POINT16 *, U_POINT16 *, U_RECT16 *)>
void readArc(const Record &r, Op &op)
{
    U_POINT16 s, e;
    U_RECT16 rect;
    check(Get(r.begin, &s, &e, &rect), r.what);
    op.rect = toRect(rect);
    op.p1 = toPoint(s);
    op.p2 = toPoint(e);
}

// The records we draw from: each type's op and the reader of its fields.
struct RecordReader {
    uint8_t type;
    Op::Kind kind;
    const char *what;
    void (*read)(const Record &, Op &);
};

const RecordReader Readers[] = {
    {U_WMR_SETWINDOWORG, Op::WindowOrg, "point", readPoint<U_WMRSETWINDOWORG_get>},
    {U_WMR_SETWINDOWEXT, Op::WindowExt, "point", readPoint<U_WMRSETWINDOWEXT_get>},
    {U_WMR_OFFSETWINDOWORG, Op::OffsetWindowOrg, "point", readPoint<U_WMROFFSETWINDOWORG_get>},
    {U_WMR_MOVETO, Op::MoveTo, "point", readPoint<U_WMRMOVETO_get>},
    {U_WMR_LINETO, Op::LineTo, "point", readPoint<U_WMRLINETO_get>},
    {U_WMR_SCALEWINDOWEXT, Op::ScaleWindowExt, "scale window", readScale},
    {U_WMR_CREATEPENINDIRECT, Op::CreatePen, "pen", readPen},
    {U_WMR_CREATEBRUSHINDIRECT, Op::CreateBrush, "brush", readBrush},
    // These still take a slot in the object table, or later handles would be off by one.
    {U_WMR_CREATEFONTINDIRECT, Op::CreateOther, "", readNothing},
    {U_WMR_CREATEPALETTE, Op::CreateOther, "", readNothing},
    {U_WMR_CREATEPATTERNBRUSH, Op::CreateOther, "", readNothing},
    {U_WMR_DIBCREATEPATTERNBRUSH, Op::CreateOther, "", readNothing},
    {U_WMR_CREATEREGION, Op::CreateOther, "", readNothing},
    {U_WMR_SELECTOBJECT, Op::Select, "select object", readWord<uint16_t, U_WMRSELECTOBJECT_get>},
    {U_WMR_DELETEOBJECT, Op::Delete, "delete object", readWord<uint16_t, U_WMRDELETEOBJECT_get>},
    {U_WMR_SAVEDC, Op::SaveDc, "", readNothing},
    {U_WMR_RESTOREDC, Op::RestoreDc, "restore", readWord<int16_t, U_WMRRESTOREDC_get>},
    {U_WMR_SETPOLYFILLMODE, Op::FillMode, "fill mode", readWord<uint16_t, U_WMRSETPOLYFILLMODE_get>},
    {U_WMR_POLYGON, Op::Polygon, "polygon", readPoly<U_WMRPOLYGON_get>},
    {U_WMR_POLYLINE, Op::Polyline, "polyline", readPoly<U_WMRPOLYLINE_get>},
    {U_WMR_POLYPOLYGON, Op::PolyPolygon, "poly-polygon", readPolyPolygon},
    {U_WMR_RECTANGLE, Op::Rectangle, "rectangle", readRect<U_WMRRECTANGLE_get>},
    {U_WMR_ELLIPSE, Op::Ellipse, "ellipse", readRect<U_WMRELLIPSE_get>},
    {U_WMR_ROUNDRECT, Op::RoundRect, "round rectangle", readRoundRect},
    {U_WMR_ARC, Op::Arc, "arc", readArc<U_WMRARC_get>},
    {U_WMR_PIE, Op::Pie, "arc", readArc<U_WMRPIE_get>},
    {U_WMR_CHORD, Op::Chord, "arc", readArc<U_WMRCHORD_get>},
};

// Turns one record into an op; returns false for records we skip.
bool parseRecord(const char *rec, const char *recEnd, Op &op)
{
    const auto type = static_cast<uint8_t>(rec[4]);
    for (const RecordReader &reader : Readers)
        if (reader.type == type) {
            op.kind = reader.kind;
            reader.read(Record{rec, recEnd, reader.what}, op);
            return true;
        }
    return false;
}

// Parses the whole file; throws Failure. Sets frame from the window records,
// else from the placeable header's box.
std::vector<Op> parse(const QByteArray &bytes, QRectF &frame)
{
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    if (bytes.size() < static_cast<qsizetype>(sizeof(U_WMRHEADER) - 2))
        fail(QStringLiteral("too short for a metafile header"));

    U_WMRPLACEABLE placeable{};
    U_WMRHEADER header{};
    const int headerSize = wmfheader_get(begin, end, &placeable, &header);
    if (headerSize <= 0 || headerSize > bytes.size())
        fail(QStringLiteral("not a metafile (bad header)"));
    if (header.iType != 1 && header.iType != 2)
        fail(QStringLiteral("not a metafile (bad header type)"));

    QRectF placeableBox;
    if (placeable.Key == 0x9AC6CDD7)
        placeableBox = toRect(placeable.Dst);

    std::vector<Op> ops;
    QPointF windowOrg;
    QSizeF windowExt;
    bool haveExt = false;
    bool sawEof = false;
    for (const char *rec = begin + headerSize; rec < end;) {
        const size_t size = U_WMRRECSAFE_get(rec, end);
        if (size == 0)
            fail(QStringLiteral("damaged or truncated record at byte %1").arg(rec - begin));
        const char *recEnd = rec + size;
        if (static_cast<uint8_t>(rec[4]) == U_WMR_EOF) {
            sawEof = true;
            break;
        }
        Op op;
        if (parseRecord(rec, recEnd, op)) {
            // The first window set-up decides the frame we stretch to the target.
            if (op.kind == Op::WindowOrg && !haveExt)
                windowOrg = op.p1;
            if (op.kind == Op::WindowExt && !haveExt) {
                windowExt = QSizeF(op.p1.x(), op.p1.y());
                haveExt = windowExt.width() != 0 && windowExt.height() != 0;
            }
            ops.push_back(std::move(op));
        }
        rec = recEnd;
    }
    if (!sawEof)
        fail(QStringLiteral("truncated: no end-of-file record"));

    if (haveExt)
        frame = QRectF(windowOrg, windowExt);
    else if (placeableBox.isValid())
        frame = placeableBox;
    else
        fail(QStringLiteral("no window extent and no placeable box"));
    return ops;
}

struct GdiObject {
    enum Type { Empty, Pen, Brush, Other } type = Empty;
    QPen pen;
    QBrush brush;
};

Qt::BrushStyle hatchStyle(int hatch)
{
    switch (hatch) {
    case U_HS_HORIZONTAL:
        return Qt::HorPattern;
    case U_HS_VERTICAL:
        return Qt::VerPattern;
    case U_HS_FDIAGONAL:
        return Qt::FDiagPattern;
    case U_HS_BDIAGONAL:
        return Qt::BDiagPattern;
    case U_HS_CROSS:
        return Qt::CrossPattern;
    case U_HS_DIAGCROSS:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

QPen makePen(const Op &op)
{
    const int style = op.a & 0x0F;
    if (style == U_PS_NULL)
        return QPen(Qt::NoPen);
    QPen pen(op.color);
    pen.setWidthF(op.b); // logical units; 0 stays a one-pixel cosmetic pen
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    pen.setStyle(style < 7 ? styles[style] : Qt::SolidLine);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QBrush makeBrush(const Op &op)
{
    switch (op.a) {
    case U_BS_SOLID:
        return QBrush(op.color);
    case U_BS_HATCHED:
        return QBrush(op.color, hatchStyle(op.b));
    case U_BS_NULL:
        return QBrush(Qt::NoBrush);
    default:
        return QBrush(Qt::gray); // pattern brushes: a neutral fill rather than nothing
    }
}

// Parametric angle (degrees, counter-clockwise as seen on screen) of the ray
// from the ellipse's centre through p, as QPainter's arc functions expect.
double rayAngle(const QRectF &r, const QPointF &p)
{
    const double rx = r.width() / 2, ry = r.height() / 2;
    if (rx <= 0 || ry <= 0)
        return 0;
    const QPointF c = r.center();
    return qRadiansToDegrees(std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx));
}

// GDI draws arcs counter-clockwise from the start ray to the end ray; equal rays mean a full turn.
std::pair<int, int> arcAngles(const Op &op)
{
    const double start = rayAngle(op.rect, op.p1);
    double span = rayAngle(op.rect, op.p2) - start;
    while (span <= 0)
        span += 360;
    return {qRound(start * 16), qRound(span * 16)};
}

// Plays the ops onto a painter as GDI would: the device context (window,
// pen, brush, fill rule, pen position), its saved copies and the object table.
class Player
{
  public:
    Player(QPainter &p, const QRectF &target, const QRectF &frame) : p_(p), target_(target)
    {
        dc_.org = frame.topLeft();
        dc_.ext = frame.size();
        applyWindow();
    }

    void play(const Op &op)
    {
        p_.setPen(dc_.pen);
        p_.setBrush(dc_.brush);
        switch (op.kind) {
        case Op::WindowOrg:
        case Op::OffsetWindowOrg:
        case Op::WindowExt:
        case Op::ScaleWindowExt:
            window(op);
            break;
        case Op::CreatePen:
        case Op::CreateBrush:
        case Op::CreateOther:
        case Op::Select:
        case Op::Delete:
            object(op);
            break;
        case Op::SaveDc:
        case Op::RestoreDc:
        case Op::FillMode:
        case Op::MoveTo:
            context(op);
            break;
        default:
            draw(op);
            break;
        }
    }

  private:
    struct DcState {
        QPen pen{Qt::black};
        QBrush brush{Qt::white};
        Qt::FillRule fill = Qt::OddEvenFill;
        QPointF pos;
        QPointF org;
        QSizeF ext;
    };

    void applyWindow()
    {
        QTransform t;
        t.translate(target_.left(), target_.top());
        t.scale(target_.width() / dc_.ext.width(), target_.height() / dc_.ext.height());
        t.translate(-dc_.org.x(), -dc_.org.y());
        p_.setWorldTransform(t);
    }

    void window(const Op &op)
    {
        QPointF org = dc_.org;
        QSizeF ext = dc_.ext;
        if (op.kind == Op::WindowOrg)
            org = op.p1;
        else if (op.kind == Op::OffsetWindowOrg)
            org += op.p1;
        else if (op.kind == Op::WindowExt)
            ext = QSizeF(op.p1.x(), op.p1.y());
        else
            ext = QSizeF(dc_.ext.width() * op.a / op.b, dc_.ext.height() * op.c / op.d);
        // An empty window would divide by zero: it is ignored.
        if (ext.width() == 0 || ext.height() == 0)
            return;
        dc_.org = org;
        dc_.ext = ext;
        applyWindow();
    }

    void object(const Op &op)
    {
        if (op.kind == Op::Select || op.kind == Op::Delete) {
            if (op.a >= static_cast<int>(objects_.size()))
                return;
            GdiObject &o = objects_[op.a];
            if (op.kind == Op::Delete)
                o = GdiObject{};
            else if (o.type == GdiObject::Pen)
                dc_.pen = o.pen;
            else if (o.type == GdiObject::Brush)
                dc_.brush = o.brush;
            return;
        }
        // Objects take the lowest free slot of the table.
        auto slot = std::find_if(objects_.begin(), objects_.end(),
                                 [](const GdiObject &o) { return o.type == GdiObject::Empty; });
        if (slot == objects_.end())
            slot = objects_.insert(objects_.end(), GdiObject{});
        slot->type = op.kind == Op::CreatePen     ? GdiObject::Pen
                     : op.kind == Op::CreateBrush ? GdiObject::Brush
                                                  : GdiObject::Other;
        if (op.kind == Op::CreatePen)
            slot->pen = makePen(op);
        if (op.kind == Op::CreateBrush)
            slot->brush = makeBrush(op);
    }

    void context(const Op &op)
    {
        if (op.kind == Op::SaveDc) {
            saved_.push_back(dc_);
        } else if (op.kind == Op::RestoreDc) {
            // Negative: relative to the newest save; positive: an absolute level.
            const int n = static_cast<int>(saved_.size());
            const int level = op.a < 0 ? n + op.a : op.a - 1;
            if (level >= 0 && level < n) {
                dc_ = saved_[level];
                saved_.resize(level);
                applyWindow();
            }
        } else if (op.kind == Op::FillMode) {
            dc_.fill = op.a == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
        } else {
            dc_.pos = op.p1;
        }
    }

    void draw(const Op &op)
    {
        switch (op.kind) {
        case Op::Polygon:
            p_.drawPolygon(op.polys.front(), dc_.fill);
            break;
        case Op::Polyline:
            p_.drawPolyline(op.polys.front());
            break;
        case Op::PolyPolygon: {
            QPainterPath path;
            path.setFillRule(dc_.fill);
            for (const QPolygonF &poly : op.polys) {
                path.addPolygon(poly);
                path.closeSubpath();
            }
            p_.drawPath(path);
            break;
        }
        case Op::Rectangle:
            p_.drawRect(op.rect);
            break;
        case Op::RoundRect:
            p_.drawRoundedRect(op.rect, op.a / 2.0, op.b / 2.0);
            break;
        case Op::Ellipse:
            p_.drawEllipse(op.rect);
            break;
        case Op::Arc:
        case Op::Pie:
        case Op::Chord: {
            const auto [start, span] = arcAngles(op);
            if (op.kind == Op::Arc)
                p_.drawArc(op.rect, start, span);
            else if (op.kind == Op::Pie)
                p_.drawPie(op.rect, start, span);
            else
                p_.drawChord(op.rect, start, span);
            break;
        }
        case Op::LineTo:
            p_.drawLine(dc_.pos, op.p1);
            dc_.pos = op.p1;
            break;
        default:
            break;
        }
    }

    QPainter &p_;
    const QRectF target_;
    DcState dc_;
    std::vector<DcState> saved_;
    std::vector<GdiObject> objects_;
};

} // namespace

std::optional<WmfPicture> WmfPicture::fromData(const QByteArray &data, const QString &name, WmfError *error)
{
    try {
        WmfPicture pic;
        pic.ops_ = std::make_shared<const std::vector<Op>>(parse(data, pic.frame_));
        return pic;
    } catch (const Failure &f) {
        if (error)
            *error = WmfError{QFileInfo(name).fileName(), f.reason};
        return std::nullopt;
    }
}

std::optional<WmfPicture> WmfPicture::load(const QString &path, WmfError *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = WmfError{QFileInfo(path).fileName(), file.errorString()};
        return std::nullopt;
    }
    return fromData(file.readAll(), path, error);
}

void WmfPicture::render(QPainter &p, const QRectF &target) const
{
    if (!ops_ || frame_.width() == 0 || frame_.height() == 0)
        return;
    p.save();
    Player player(p, target, frame_);
    for (const Op &op : *ops_)
        player.play(op);
    p.restore();
}

QImage WmfPicture::toImage(QSize size, QColor background) const
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    render(p, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QImage renderWmf(const QString &path, QSize size, WmfError *error)
{
    const auto pic = WmfPicture::load(path, error);
    return pic ? pic->toImage(size) : QImage();
}

} // namespace fm::media
