#include "tools/contentgen/sheet.h"
#include "data/errors.h"
#include "handwriting/centrelines.h"
#include "tools/contentgen/sources.h"
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace fm::content
{

int writeContactSheet(const QString &contentDir, const QString &programDir, const QString &pngPath)
{
    QStringList problems;
    const Sources s = readAll(contentDir, problems);
    CentreLines lines;
    try {
        lines = CentreLines::load(programDir);
    } catch (const FileError &e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    constexpr int Cell = 200, Columns = 16;
    const int rows = int((s.kanji.size() + Columns - 1) / Columns);
    QImage sheet(Columns * Cell, rows * Cell, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    const double unit = (Cell - 24) / double(InkSide);
    QFont numberFont(QStringLiteral("IPAGothic"));
    numberFont.setPixelSize(13);
    numberFont.setBold(true);
    QFont captionFont(QStringLiteral("IPAGothic"));
    captionFont.setPixelSize(12);
    for (int i = 0; i < s.kanji.size(); ++i) {
        const Kanji &k = s.kanji[i];
        const QPointF origin((i % Columns) * Cell + 12, (i / Columns) * Cell + 18);
        auto at = [&](QPointF q) { return origin + q * unit; };
        p.setPen(QPen(QColor(210, 210, 210), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(at({0, 0}), QSizeF(InkSide * unit, InkSide * unit)));
        p.setFont(captionFont);
        p.setPen(Qt::darkGray);
        p.drawText(QPointF(origin.x(), origin.y() - 4), QStringLiteral("%1 %2").arg(k.number).arg(k.glyph));
        const StrokePaths &paths = lines.of(k.number);
        for (int n = 0; n < paths.size(); ++n) {
            // Early strokes dark, late ones lighter: the order shows at a glance.
            const QColor c = QColor::fromHsv(n * 300 / std::max<qsizetype>(1, paths.size()), 200, 170);
            QPainterPath path(at(paths[n].first()));
            for (qsizetype q = 1; q < paths[n].size(); ++q)
                path.lineTo(at(paths[n][q]));
            p.setPen(QPen(c, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(path);
            p.setBrush(c);
            p.drawEllipse(at(paths[n].first()), 3, 3);
            p.setBrush(Qt::NoBrush);
        }
        const QSizeF box(15 / unit, 14 / unit);
        const QVector<QRectF> boxes = strokeNumberBoxes(paths, box, 1.5 / unit);
        for (int n = 0; n < boxes.size(); ++n) {
            const QRectF r(at(boxes[n].topLeft()), boxes[n].size() * unit);
            QFont f = numberFont;
            f.setPixelSize(int(std::lround(numberFont.pixelSize() * boxes[n].height() / box.height())));
            p.setFont(f);
            p.setPen(QColor::fromHsv(n * 300 / std::max<qsizetype>(1, paths.size()), 230, 140));
            p.drawText(r, Qt::AlignCenter, QString::number(n + 1));
        }
    }
    p.end();
    if (!sheet.save(pngPath)) {
        std::fprintf(stderr, "contentgen: cannot write %s\n", qPrintable(pngPath));
        return 1;
    }
    std::printf("contentgen: contact sheet of %lld kanji in %s\n", qlonglong(s.kanji.size()),
                qPrintable(pngPath));
    return 0;
}

} // namespace fm::content
