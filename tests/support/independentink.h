#pragma once
// Ink from a source the program never sees: the stroke centre lines of
// another font (Make Me a Hanzi's medians, traced from Arphic's fonts; the
// npm package hanzi-writer-data, which `scripts/setup --test` puts in
// .cache/test-data). Tests measure the writing square and the stroke judge
// on it, because ink drawn from our own reference strokes can only agree
// with them.
//
// Its grid is 1024 units with y pointing up and the top at 900; it is
// brought onto the writing square's 0..255, y down. Some kanji are missing
// (those drawn differently in Chinese), and a few have another stroke count
// than ours; callers skip a kanji whose count differs from the catalogue's.
#include "handwriting/ink.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace fm::test
{

// The folder of the package's per-character files; empty when the test data
// was not installed (a build configured without `scripts/setup --test`).
inline QString independentInkDir()
{
#ifdef FUDEMARU_INDEPENDENT_INK_DIR
    const QString dir = QStringLiteral(FUDEMARU_INDEPENDENT_INK_DIR);
    return QDir(dir).exists() ? dir : QString();
#else
    return {};
#endif
}

// One kanji's strokes from the independent source, in stroke order, on the
// writing square; nullopt when the source does not have it or its file is
// not what it should be.
inline std::optional<Ink> independentInk(const QString &glyph)
{
    const QString dir = independentInkDir();
    if (dir.isEmpty())
        return std::nullopt;
    QFile file(dir + QLatin1Char('/') + glyph + QStringLiteral(".json"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonArray medians =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("medians")).toArray();
    if (medians.isEmpty())
        return std::nullopt;
    Ink ink;
    for (const QJsonValue &median : medians) {
        InkStroke stroke;
        for (const QJsonValue &point : median.toArray()) {
            const QJsonArray xy = point.toArray();
            if (xy.size() != 2)
                return std::nullopt;
            stroke.append(
                QPointF(xy[0].toDouble() * InkSide / 1024.0, (900.0 - xy[1].toDouble()) * InkSide / 1024.0));
        }
        if (stroke.isEmpty())
            return std::nullopt;
        ink.append(stroke);
    }
    return ink;
}

} // namespace fm::test
