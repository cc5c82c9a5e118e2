#include "tools/mediagen/art.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QtMath>

#include <algorithm>
#include <iterator>
#include <memory>

extern "C" {
#include <uwmf.h>
}

namespace fm::mediagen
{

namespace
{

[[noreturn]] void error(const QString &name, int line, const QString &what)
{
    throw ArtError(QStringLiteral("%1:%2: %3").arg(name).arg(line).arg(what).toStdString());
}

struct Reader {
    QString name;
    int line;
    QStringList words;

    double number(int i) const
    {
        bool ok = false;
        const double v = i < words.size() ? words[i].toDouble(&ok) : 0;
        if (!ok)
            error(name, line,
                  QStringLiteral("a number expected as word %1 of '%2'").arg(i).arg(words.join(' ')));
        return v;
    }
    QPointF point(int i) const
    {
        const QStringList xy = i < words.size() ? words[i].split(',') : QStringList();
        bool okx = false, oky = false;
        const double x = xy.size() == 2 ? xy[0].toDouble(&okx) : 0;
        const double y = xy.size() == 2 ? xy[1].toDouble(&oky) : 0;
        if (!okx || !oky)
            error(name, line, QStringLiteral("a point X,Y expected as word %1").arg(i));
        return {x, y};
    }
    QColor color(int i) const
    {
        const QColor c(i < words.size() ? words[i] : QString());
        if (!c.isValid() || !words[i].startsWith('#'))
            error(name, line, QStringLiteral("a colour #rrggbb expected"));
        return c;
    }
    QRectF box(int i) const
    {
        return QRectF(QPointF(number(i), number(i + 1)), QPointF(number(i + 2), number(i + 3)));
    }
    QPolygonF points(int from) const
    {
        QPolygonF poly;
        for (int i = from; i < words.size(); ++i)
            poly << point(i);
        if (poly.size() < 2)
            error(name, line, QStringLiteral("at least two points expected"));
        return poly;
    }
    void count(int n) const
    {
        if (words.size() != n)
            error(name, line, QStringLiteral("'%1' takes %2 values").arg(words[0]).arg(n - 1));
    }
};

// Flattens an SVG-like outline of absolute M, L, Q, C and Z commands.
QPolygonF flattenShape(const Reader &r)
{
    QPainterPath path;
    QPolygonF out;
    for (int i = 1; i < r.words.size();) {
        const QString cmd = r.words[i++];
        const auto take = [&](int n) {
            std::vector<QPointF> pts;
            for (int k = 0; k < n; ++k)
                pts.push_back(r.point(i++));
            return pts;
        };
        if (cmd == "M") {
            const auto p = take(1);
            path.moveTo(p[0]);
        } else if (cmd == "L") {
            const auto p = take(1);
            path.lineTo(p[0]);
        } else if (cmd == "Q") {
            const auto p = take(2);
            path.quadTo(p[0], p[1]);
        } else if (cmd == "C") {
            const auto p = take(3);
            path.cubicTo(p[0], p[1], p[2]);
        } else if (cmd == "Z") {
            path.closeSubpath();
        } else {
            error(r.name, r.line, QStringLiteral("unknown outline command '%1'").arg(cmd));
        }
    }
    // Flatten at a fine scale so curves stay smooth however large the picture is drawn.
    const QTransform up = QTransform::fromScale(8, 8);
    const QList<QPolygonF> polys = path.toSubpathPolygons(up);
    if (polys.size() != 1)
        error(r.name, r.line, QStringLiteral("a shape is one closed outline"));
    const QPolygonF fine = up.inverted().map(polys.front());
    // Drop points closer than a tenth of a unit: the WMF stores tenths.
    for (const QPointF &p : fine)
        if (out.isEmpty() || QLineF(out.back(), p).length() >= 0.1)
            out << p;
    return out;
}

QPolygonF circlePolygon(QPointF c, double r, int n)
{
    QPolygonF poly;
    for (int k = 0; k < n; ++k) {
        const double t = 2 * M_PI * k / n;
        poly << QPointF(c.x() + r * std::cos(t), c.y() - r * std::sin(t));
    }
    return poly;
}

// A point on the ray at the given angle, as GDI wants the ends of arcs.
QPointF rayPoint(const QRectF &box, double degrees)
{
    const double t = qDegreesToRadians(degrees);
    return {box.center().x() + box.width() * std::cos(t), box.center().y() - box.height() * std::sin(t)};
}

void parsePen(const Reader &r, const QString &, ArtCommand &c)
{
    c.kind = ArtCommand::Pen;
    if (r.words.value(1) != "none") {
        r.count(3);
        c.color = r.color(1);
        c.width = r.number(2);
    }
}

void parseBrush(const Reader &r, const QString &, ArtCommand &c)
{
    c.kind = ArtCommand::Brush;
    r.count(2);
    if (r.words[1] != "none")
        c.color = r.color(1);
}

void parseBox(const Reader &r, const QString &, ArtCommand &c)
{
    r.count(5);
    c.kind = r.words[0] == "rect" ? ArtCommand::Rect : ArtCommand::Ellipse;
    c.rect = r.box(1).normalized();
}

void parseCircle(const Reader &r, const QString &, ArtCommand &c)
{
    r.count(4);
    c.kind = ArtCommand::Ellipse;
    const double radius = r.number(3);
    c.rect = QRectF(r.number(1) - radius, r.number(2) - radius, 2 * radius, 2 * radius);
}

// A box and two numbers: the corners' radii, or the angles an arc runs between.
void parseBoxAndTwo(const Reader &r, const QString &, ArtCommand &c)
{
    r.count(7);
    const QString &cmd = r.words[0];
    c.kind = cmd == "roundrect" ? ArtCommand::RoundRect
             : cmd == "pie"     ? ArtCommand::Pie
             : cmd == "chord"   ? ArtCommand::Chord
                                : ArtCommand::Arc;
    c.rect = r.box(1).normalized();
    c.a = r.number(5);
    c.b = r.number(6);
}

void parsePoints(const Reader &r, const QString &, ArtCommand &c)
{
    const QString &cmd = r.words[0];
    c.kind = cmd == "polygon"    ? ArtCommand::Polygon
             : cmd == "polyline" ? ArtCommand::Polyline
                                 : ArtCommand::Line;
    c.polys.push_back(r.points(1));
}

void parseShape(const Reader &r, const QString &, ArtCommand &c)
{
    c.kind = ArtCommand::Polygon;
    c.polys.push_back(flattenShape(r));
}

void parseRings(const Reader &r, const QString &, ArtCommand &c)
{
    if (r.words.size() != 5 && r.words.size() != 6)
        error(r.name, r.line, QStringLiteral("'rings CX CY R1 R2 [N]'"));
    c.kind = ArtCommand::Rings;
    const QPointF centre(r.number(1), r.number(2));
    const int sides = r.words.size() == 6 ? int(r.number(5)) : 48;
    c.polys.push_back(circlePolygon(centre, r.number(3), sides));
    c.polys.push_back(circlePolygon(centre, r.number(4), sides));
}

// The string is read from the line itself, so that it may hold blanks.
void parseText(const Reader &r, const QString &src, ArtCommand &c)
{
    c.kind = ArtCommand::Text;
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\"(.*)\"")).match(src);
    if (r.words.size() < 5 || !m.hasMatch())
        error(r.name, r.line, QStringLiteral("'text X Y SIZE \"string\"'"));
    c.rect = QRectF(r.number(1), r.number(2), 0, 0);
    c.a = r.number(3);
    c.text = m.captured(1);
}

// Every drawing command of the art files and the reader of its line.
const struct {
    const char *name;
    void (*parse)(const Reader &r, const QString &src, ArtCommand &c);
} kArtCommands[] = {
    {"pen", parsePen},        {"brush", parseBrush},     {"rect", parseBox},
    {"ellipse", parseBox},    {"circle", parseCircle},   {"roundrect", parseBoxAndTwo},
    {"pie", parseBoxAndTwo},  {"chord", parseBoxAndTwo}, {"arc", parseBoxAndTwo},
    {"polygon", parsePoints}, {"polyline", parsePoints}, {"line", parsePoints},
    {"shape", parseShape},    {"rings", parseRings},     {"text", parseText},
};

void parseSize(const Reader &r, Art &art)
{
    r.count(3);
    art.size = QSizeF(r.number(1), r.number(2));
    if (art.size.width() <= 0 || art.size.height() <= 0 || art.size.width() > 3000 ||
        art.size.height() > 3000)
        error(r.name, r.line, QStringLiteral("size must lie in 1 ... 3000"));
}

} // namespace

Art parseArt(const QString &text, const QString &name)
{
    Art art;
    art.name = name;
    const QStringList lines = text.split('\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString src = lines[n];
        const int comment = src.indexOf(QRegularExpression(QStringLiteral("(^|\\s)#(?![0-9a-fA-F]{6}\\b)")));
        if (comment >= 0)
            src.truncate(comment);
        Reader r{name, n + 1, src.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)};
        if (r.words.isEmpty())
            continue;
        const QString &cmd = r.words[0];
        if (cmd == "size") {
            parseSize(r, art);
            continue;
        }
        if (art.size.isEmpty())
            error(name, r.line, QStringLiteral("'size W H' must come first"));
        const auto known = std::find_if(std::begin(kArtCommands), std::end(kArtCommands),
                                        [&](const auto &k) { return cmd == QLatin1String(k.name); });
        if (known == std::end(kArtCommands))
            error(name, r.line, QStringLiteral("unknown command '%1'").arg(cmd));
        ArtCommand c;
        c.line = r.line;
        known->parse(r, src, c);
        art.commands.push_back(std::move(c));
    }
    if (art.size.isEmpty())
        error(name, lines.size(), QStringLiteral("no 'size' line"));
    return art;
}

Art loadArt(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ArtError(QStringLiteral("%1: %2").arg(path, f.errorString()).toStdString());
    return parseArt(QString::fromUtf8(f.readAll()), QFileInfo(path).fileName());
}

namespace
{

// Draws one shape of the art with the pen and brush already set.
void paintShape(QPainter &p, const ArtCommand &c, const QPen &pen)
{
    const int start = qRound(c.a * 16);
    int span = qRound((c.b - c.a) * 16);
    while (span <= 0)
        span += 360 * 16;
    switch (c.kind) {
    case ArtCommand::Pen:
    case ArtCommand::Brush:
        break;
    case ArtCommand::Rect:
        p.drawRect(c.rect);
        break;
    case ArtCommand::RoundRect:
        p.drawRoundedRect(c.rect, c.a, c.b);
        break;
    case ArtCommand::Ellipse:
        p.drawEllipse(c.rect);
        break;
    case ArtCommand::Polygon:
        p.drawPolygon(c.polys.front(), Qt::WindingFill);
        break;
    case ArtCommand::Polyline:
    case ArtCommand::Line:
        p.drawPolyline(c.polys.front());
        break;
    case ArtCommand::Pie:
        p.drawPie(c.rect, start, span);
        break;
    case ArtCommand::Chord:
        p.drawChord(c.rect, start, span);
        break;
    case ArtCommand::Arc:
        p.drawArc(c.rect, start, span);
        break;
    case ArtCommand::Rings: {
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const QPolygonF &poly : c.polys) {
            path.addPolygon(poly);
            path.closeSubpath();
        }
        p.drawPath(path);
        break;
    }
    case ArtCommand::Text: {
        QFont font(QStringLiteral("IPAPGothic"));
        font.setPixelSize(qMax(1, qRound(c.a)));
        font.setBold(true);
        p.setFont(font);
        p.setPen(pen.color());
        const QRectF box(c.rect.x() - 500, c.rect.y() - c.a * 2, 1000, c.a * 2);
        p.drawText(box, Qt::AlignHCenter | Qt::AlignBottom, c.text);
        break;
    }
    }
}

} // namespace

void paintArt(QPainter &p, const Art &art, const QRectF &target)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(target.topLeft());
    p.scale(target.width() / art.size.width(), target.height() / art.size.height());
    QPen pen(Qt::black);
    QBrush brush(Qt::white);
    for (const ArtCommand &c : art.commands) {
        p.setPen(pen);
        p.setBrush(brush);
        if (c.kind == ArtCommand::Pen)
            pen = c.color.isValid() ? QPen(c.color, c.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                                    : QPen(Qt::NoPen);
        else if (c.kind == ArtCommand::Brush)
            brush = c.color.isValid() ? QBrush(c.color) : QBrush(Qt::NoBrush);
        else
            paintShape(p, c, pen);
    }
    p.restore();
}

namespace
{

// WMF logical units: tenths of the drawing's units, so halves survive the int16 grid.
constexpr double kWmfScale = 10;

int16_t wmfUnit(double v)
{
    return static_cast<int16_t>(qRound(v * kWmfScale));
}
U_POINT16 wmfPoint(QPointF p)
{
    return U_POINT16{wmfUnit(p.x()), wmfUnit(p.y())};
}
U_RECT16 wmfRect(const QRectF &r)
{
    return U_RECT16{wmfUnit(r.left()), wmfUnit(r.top()), wmfUnit(r.right()), wmfUnit(r.bottom())};
}
U_COLORREF wmfColor(const QColor &c)
{
    return U_RGB(c.red(), c.green(), c.blue());
}

std::vector<U_POINT16> wmfPoints(const QPolygonF &poly)
{
    std::vector<U_POINT16> pts;
    for (const QPointF &p : poly)
        pts.push_back(wmfPoint(p));
    return pts;
}

// Owns the libuemf file and handle table, and appends records to them.
class WmfWriter
{
  public:
    WmfWriter(const QString &path, const QString &name) : name_(name)
    {
        if (wmf_start(QFile::encodeName(path).constData(), 1 << 20, 1 << 18, &wt_) != 0 ||
            wmf_htable_create(64, 64, &wht_) != 0)
            throw ArtError(QStringLiteral("%1: cannot start the metafile").arg(name).toStdString());
    }
    ~WmfWriter()
    {
        if (wht_)
            wmf_htable_free(&wht_);
        if (wt_)
            wmf_free(&wt_);
    }
    void header(QSizeF logical)
    {
        // A placeable header: the box is the window in logical units at 1440 units per inch.
        U_PAIRF *size = U_PAIRF_set(float(logical.width() / 1440.0), float(logical.height() / 1440.0));
        char *rec = U_WMRHEADER_set(size, 1440);
        std::free(size);
        check(rec && wmf_header_append(reinterpret_cast<U_METARECORD *>(rec), wt_, 1) == 0);
    }
    void append(char *rec) { check(rec && wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt_, 1) == 0); }
    // Creates a pen or brush, selects it and deletes the one it replaces.
    void replace(uint32_t &current, char *createRecord, uint32_t handle)
    {
        append(createRecord);
        append(wselectobject_set(handle, wht_));
        if (current)
            append(wdeleteobject_set(&current, wht_));
        current = handle;
    }
    void finish()
    {
        append(U_WMREOF_set());
        check(wmf_finish(wt_) == 0);
    }
    WMFHANDLES *handles() { return wht_; }

  private:
    void check(bool ok)
    {
        if (!ok)
            throw ArtError(QStringLiteral("%1: cannot write a metafile record").arg(name_).toStdString());
    }
    QString name_;
    WMFTRACK *wt_ = nullptr;
    WMFHANDLES *wht_ = nullptr;
};

// Creates the pen or brush of a style command in place of the current one.
void writeStyle(WmfWriter &w, const ArtCommand &c, uint32_t &pen, uint32_t &brush)
{
    uint32_t handle = 0;
    if (c.kind == ArtCommand::Pen) {
        const U_PEN up = c.color.isValid()
                             ? U_PEN_set(U_PS_SOLID, uint16_t(qRound(c.width * kWmfScale)), wmfColor(c.color))
                             : U_PEN_set(U_PS_NULL, 0, U_RGB(0, 0, 0));
        char *rec = wcreatepenindirect_set(&handle, w.handles(), up);
        w.replace(pen, rec, handle);
    } else {
        const U_WLOGBRUSH lb = c.color.isValid() ? U_WLOGBRUSH_set(U_BS_SOLID, wmfColor(c.color), 0)
                                                 : U_WLOGBRUSH_set(U_BS_NULL, U_RGB(0, 0, 0), 0);
        char *rec = wcreatebrushindirect_set(&handle, w.handles(), lb);
        w.replace(brush, rec, handle);
    }
}

void writeArc(WmfWriter &w, const ArtCommand &c)
{
    const U_POINT16 from = wmfPoint(rayPoint(c.rect, c.a));
    const U_POINT16 to = wmfPoint(rayPoint(c.rect, c.b));
    const U_RECT16 box = wmfRect(c.rect);
    w.append(c.kind == ArtCommand::Pie     ? U_WMRPIE_set(from, to, box)
             : c.kind == ArtCommand::Chord ? U_WMRCHORD_set(from, to, box)
                                           : U_WMRARC_set(from, to, box));
}

void writeRings(WmfWriter &w, const ArtCommand &c)
{
    // Even-odd filling makes the inner ring a hole.
    w.append(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
    std::vector<uint16_t> counts;
    std::vector<U_POINT16> pts;
    for (const QPolygonF &poly : c.polys) {
        const auto part = wmfPoints(poly);
        counts.push_back(uint16_t(part.size()));
        pts.insert(pts.end(), part.begin(), part.end());
    }
    w.append(U_WMRPOLYPOLYGON_set(uint16_t(counts.size()), counts.data(), pts.data()));
    w.append(U_WMRSETPOLYFILLMODE_set(U_WINDING));
}

// The records of one shape, drawn with the pen and brush selected.
void writeShape(WmfWriter &w, const ArtCommand &c, const QString &name)
{
    switch (c.kind) {
    case ArtCommand::Pen:
    case ArtCommand::Brush:
        break;
    case ArtCommand::Rect:
        w.append(U_WMRRECTANGLE_set(wmfRect(c.rect)));
        break;
    case ArtCommand::RoundRect:
        w.append(U_WMRROUNDRECT_set(wmfUnit(2 * c.a), wmfUnit(2 * c.b), wmfRect(c.rect)));
        break;
    case ArtCommand::Ellipse:
        w.append(U_WMRELLIPSE_set(wmfRect(c.rect)));
        break;
    case ArtCommand::Polygon:
    case ArtCommand::Polyline: {
        const auto pts = wmfPoints(c.polys.front());
        w.append(c.kind == ArtCommand::Polygon ? U_WMRPOLYGON_set(uint16_t(pts.size()), pts.data())
                                               : U_WMRPOLYLINE_set(uint16_t(pts.size()), pts.data()));
        break;
    }
    case ArtCommand::Line: {
        const auto pts = wmfPoints(c.polys.front());
        w.append(U_WMRMOVETO_set(pts.front()));
        for (size_t i = 1; i < pts.size(); ++i)
            w.append(U_WMRLINETO_set(pts[i]));
        break;
    }
    case ArtCommand::Pie:
    case ArtCommand::Chord:
    case ArtCommand::Arc:
        writeArc(w, c);
        break;
    case ArtCommand::Rings:
        writeRings(w, c);
        break;
    case ArtCommand::Text:
        throw ArtError(QStringLiteral("%1:%2: text is for bitmaps only").arg(name).arg(c.line).toStdString());
    }
}

} // namespace

void writeWmf(const Art &art, const QString &path)
{
    WmfWriter w(path, art.name);
    const QSizeF logical = art.size * kWmfScale;
    w.header(logical);
    w.append(U_WMRSETMAPMODE_set(U_MM_ANISOTROPIC));
    w.append(U_WMRSETWINDOWORG_set(U_POINT16{0, 0}));
    w.append(U_WMRSETWINDOWEXT_set(U_POINT16{int16_t(logical.width()), int16_t(logical.height())}));
    w.append(U_WMRSETPOLYFILLMODE_set(U_WINDING));
    w.append(U_WMRSETBKMODE_set(U_TRANSPARENT));

    uint32_t pen = 0, brush = 0;
    for (const ArtCommand &c : art.commands) {
        if (c.kind == ArtCommand::Pen || c.kind == ArtCommand::Brush)
            writeStyle(w, c, pen, brush);
        else
            writeShape(w, c, art.name);
    }
    if (pen)
        w.append(wdeleteobject_set(&pen, w.handles()));
    if (brush)
        w.append(wdeleteobject_set(&brush, w.handles()));
    w.finish();
}

} // namespace fm::mediagen
