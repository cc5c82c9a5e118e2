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

// Turns one record into an op; returns false for records we skip.
bool parseRecord(const char *rec, const char *recEnd, Op &op)
{
    const auto type = static_cast<uint8_t>(rec[4]);
    switch (type) {
    case U_WMR_SETWINDOWORG:
    case U_WMR_SETWINDOWEXT:
    case U_WMR_OFFSETWINDOWORG:
    case U_WMR_MOVETO:
    case U_WMR_LINETO: {
        U_POINT16 pt;
        int ok = 0;
        switch (type) {
        case U_WMR_SETWINDOWORG:
            op.kind = Op::WindowOrg;
            ok = U_WMRSETWINDOWORG_get(rec, &pt);
            break;
        case U_WMR_SETWINDOWEXT:
            op.kind = Op::WindowExt;
            ok = U_WMRSETWINDOWEXT_get(rec, &pt);
            break;
        case U_WMR_OFFSETWINDOWORG:
            op.kind = Op::OffsetWindowOrg;
            ok = U_WMROFFSETWINDOWORG_get(rec, &pt);
            break;
        case U_WMR_MOVETO:
            op.kind = Op::MoveTo;
            ok = U_WMRMOVETO_get(rec, &pt);
            break;
        default:
            op.kind = Op::LineTo;
            ok = U_WMRLINETO_get(rec, &pt);
            break;
        }
        check(ok, "point");
        op.p1 = toPoint(pt);
        return true;
    }
    case U_WMR_SCALEWINDOWEXT: {
        U_POINT16 denom, num;
        check(U_WMRSCALEWINDOWEXT_get(rec, &denom, &num), "scale window");
        if (denom.x == 0 || denom.y == 0)
            fail(QStringLiteral("window scale divides by zero"));
        op.kind = Op::ScaleWindowExt;
        op.a = num.x, op.b = denom.x, op.c = num.y, op.d = denom.y;
        return true;
    }
    case U_WMR_CREATEPENINDIRECT: {
        U_PEN pen;
        check(U_WMRCREATEPENINDIRECT_get(rec, &pen), "pen");
        op.kind = Op::CreatePen;
        op.a = pen.Style;
        op.b = pen.Widthw[0];
        op.color = toQColor(pen.Color);
        return true;
    }
    case U_WMR_CREATEBRUSHINDIRECT: {
        const char *brush = nullptr;
        check(U_WMRCREATEBRUSHINDIRECT_get(rec, &brush), "brush");
        if (!brush || brush < rec || brush + sizeof(U_WLOGBRUSH) > recEnd)
            fail(QStringLiteral("brush runs past its record"));
        U_WLOGBRUSH lb;
        std::memcpy(&lb, brush, sizeof lb);
        op.kind = Op::CreateBrush;
        op.a = lb.Style;
        op.b = lb.Hatch;
        op.color = toQColor(lb.Color);
        return true;
    }
    case U_WMR_CREATEFONTINDIRECT:
    case U_WMR_CREATEPALETTE:
    case U_WMR_CREATEPATTERNBRUSH:
    case U_WMR_DIBCREATEPATTERNBRUSH:
    case U_WMR_CREATEREGION:
        // These still take a slot in the object table, or later handles would be off by one.
        op.kind = Op::CreateOther;
        return true;
    case U_WMR_SELECTOBJECT:
    case U_WMR_DELETEOBJECT: {
        uint16_t handle;
        if (type == U_WMR_SELECTOBJECT) {
            check(U_WMRSELECTOBJECT_get(rec, &handle), "select object");
            op.kind = Op::Select;
        } else {
            check(U_WMRDELETEOBJECT_get(rec, &handle), "delete object");
            op.kind = Op::Delete;
        }
        op.a = handle;
        return true;
    }
    case U_WMR_SAVEDC:
        op.kind = Op::SaveDc;
        return true;
    case U_WMR_RESTOREDC: {
        int16_t dc;
        check(U_WMRRESTOREDC_get(rec, &dc), "restore");
        op.kind = Op::RestoreDc;
        op.a = dc;
        return true;
    }
    case U_WMR_SETPOLYFILLMODE: {
        uint16_t mode;
        check(U_WMRSETPOLYFILLMODE_get(rec, &mode), "fill mode");
        op.kind = Op::FillMode;
        op.a = mode;
        return true;
    }
    case U_WMR_POLYGON:
    case U_WMR_POLYLINE: {
        uint16_t n;
        const char *data = nullptr;
        if (type == U_WMR_POLYGON) {
            check(U_WMRPOLYGON_get(rec, &n, &data), "polygon");
            op.kind = Op::Polygon;
        } else {
            check(U_WMRPOLYLINE_get(rec, &n, &data), "polyline");
            op.kind = Op::Polyline;
        }
        op.polys.push_back(readPoints(data, n, rec, recEnd));
        return true;
    }
    case U_WMR_POLYPOLYGON: {
        uint16_t nPolys;
        const uint16_t *counts = nullptr;
        const char *points = nullptr;
        check(U_WMRPOLYPOLYGON_get(rec, &nPolys, &counts, &points), "poly-polygon");
        const char *countBytes = reinterpret_cast<const char *>(counts);
        if (countBytes < rec || countBytes + 2 * static_cast<size_t>(nPolys) > recEnd)
            fail(QStringLiteral("poly-polygon counts run past their record"));
        op.kind = Op::PolyPolygon;
        for (int i = 0; i < nPolys; ++i) {
            uint16_t n;
            std::memcpy(&n, countBytes + 2 * i, sizeof n);
            op.polys.push_back(readPoints(points, n, rec, recEnd));
            points += 4 * static_cast<size_t>(n);
        }
        return true;
    }
    case U_WMR_RECTANGLE:
    case U_WMR_ELLIPSE: {
        U_RECT16 r;
        if (type == U_WMR_RECTANGLE) {
            check(U_WMRRECTANGLE_get(rec, &r), "rectangle");
            op.kind = Op::Rectangle;
        } else {
            check(U_WMRELLIPSE_get(rec, &r), "ellipse");
            op.kind = Op::Ellipse;
        }
        op.rect = toRect(r);
        return true;
    }
    case U_WMR_ROUNDRECT: {
        U_RECT16 r;
        int16_t w, h;
        check(U_WMRROUNDRECT_get(rec, &w, &h, &r), "round rectangle");
        op.kind = Op::RoundRect;
        op.rect = toRect(r);
        op.a = w, op.b = h;
        return true;
    }
    case U_WMR_ARC:
    case U_WMR_PIE:
    case U_WMR_CHORD: {
        U_POINT16 s, e;
        U_RECT16 r;
        int ok = 0;
        if (type == U_WMR_ARC) {
            ok = U_WMRARC_get(rec, &s, &e, &r);
            op.kind = Op::Arc;
        } else if (type == U_WMR_PIE) {
            ok = U_WMRPIE_get(rec, &s, &e, &r);
            op.kind = Op::Pie;
        } else {
            ok = U_WMRCHORD_get(rec, &s, &e, &r);
            op.kind = Op::Chord;
        }
        check(ok, "arc");
        op.rect = toRect(r);
        op.p1 = toPoint(s);
        op.p2 = toPoint(e);
        return true;
    }
    default:
        return false;
    }
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

    struct DcState {
        QPen pen{Qt::black};
        QBrush brush{Qt::white};
        Qt::FillRule fill = Qt::OddEvenFill;
        QPointF pos;
        QPointF org;
        QSizeF ext;
    };
    DcState dc;
    dc.org = frame_.topLeft();
    dc.ext = frame_.size();
    std::vector<DcState> saved;
    std::vector<GdiObject> objects;

    p.save();
    const auto applyWindow = [&] {
        QTransform t;
        t.translate(target.left(), target.top());
        t.scale(target.width() / dc.ext.width(), target.height() / dc.ext.height());
        t.translate(-dc.org.x(), -dc.org.y());
        p.setWorldTransform(t);
    };
    applyWindow();

    for (const Op &op : *ops_) {
        p.setPen(dc.pen);
        p.setBrush(dc.brush);
        switch (op.kind) {
        case Op::WindowOrg:
            dc.org = op.p1;
            applyWindow();
            break;
        case Op::OffsetWindowOrg:
            dc.org += op.p1;
            applyWindow();
            break;
        case Op::WindowExt:
            if (op.p1.x() != 0 && op.p1.y() != 0) {
                dc.ext = QSizeF(op.p1.x(), op.p1.y());
                applyWindow();
            }
            break;
        case Op::ScaleWindowExt: {
            const QSizeF ext(dc.ext.width() * op.a / op.b, dc.ext.height() * op.c / op.d);
            if (ext.width() != 0 && ext.height() != 0) {
                dc.ext = ext;
                applyWindow();
            }
            break;
        }
        case Op::CreatePen:
        case Op::CreateBrush:
        case Op::CreateOther: {
            // Objects take the lowest free slot of the table.
            auto slot = std::find_if(objects.begin(), objects.end(),
                                     [](const GdiObject &o) { return o.type == GdiObject::Empty; });
            if (slot == objects.end())
                slot = objects.insert(objects.end(), GdiObject{});
            slot->type = op.kind == Op::CreatePen     ? GdiObject::Pen
                         : op.kind == Op::CreateBrush ? GdiObject::Brush
                                                      : GdiObject::Other;
            if (op.kind == Op::CreatePen)
                slot->pen = makePen(op);
            if (op.kind == Op::CreateBrush)
                slot->brush = makeBrush(op);
            break;
        }
        case Op::Select:
            if (op.a < static_cast<int>(objects.size())) {
                const GdiObject &o = objects[op.a];
                if (o.type == GdiObject::Pen)
                    dc.pen = o.pen;
                else if (o.type == GdiObject::Brush)
                    dc.brush = o.brush;
            }
            break;
        case Op::Delete:
            if (op.a < static_cast<int>(objects.size()))
                objects[op.a] = GdiObject{};
            break;
        case Op::SaveDc:
            saved.push_back(dc);
            break;
        case Op::RestoreDc: {
            // Negative: relative to the newest save; positive: an absolute level.
            const int n = static_cast<int>(saved.size());
            const int level = op.a < 0 ? n + op.a : op.a - 1;
            if (level >= 0 && level < n) {
                dc = saved[level];
                saved.resize(level);
                applyWindow();
            }
            break;
        }
        case Op::FillMode:
            dc.fill = op.a == U_WINDING ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case Op::Polygon:
            p.drawPolygon(op.polys.front(), dc.fill);
            break;
        case Op::Polyline:
            p.drawPolyline(op.polys.front());
            break;
        case Op::PolyPolygon: {
            QPainterPath path;
            path.setFillRule(dc.fill);
            for (const QPolygonF &poly : op.polys) {
                path.addPolygon(poly);
                path.closeSubpath();
            }
            p.drawPath(path);
            break;
        }
        case Op::Rectangle:
            p.drawRect(op.rect);
            break;
        case Op::RoundRect:
            p.drawRoundedRect(op.rect, op.a / 2.0, op.b / 2.0);
            break;
        case Op::Ellipse:
            p.drawEllipse(op.rect);
            break;
        case Op::Arc: {
            const auto [start, span] = arcAngles(op);
            p.drawArc(op.rect, start, span);
            break;
        }
        case Op::Pie: {
            const auto [start, span] = arcAngles(op);
            p.drawPie(op.rect, start, span);
            break;
        }
        case Op::Chord: {
            const auto [start, span] = arcAngles(op);
            p.drawChord(op.rect, start, span);
            break;
        }
        case Op::MoveTo:
            dc.pos = op.p1;
            break;
        case Op::LineTo:
            p.drawLine(dc.pos, op.p1);
            dc.pos = op.p1;
            break;
        }
    }
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
