#include "tools/contentgen/strokes.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace fm::content
{

namespace
{

// data.json is about 1.7 MB; anything far larger is not that file.
constexpr qint64 kMaxJsonBytes = 64 * 1024 * 1024;

bool coordinate(const QJsonValue &v, double *out)
{
    if (!v.isDouble() || v.toDouble() < 0 || v.toDouble() > InkSide - 1)
        return false;
    *out = v.toDouble();
    return true;
}

} // namespace

QHash<int, ReferenceStrokeList> referenceStrokes(const QByteArray &json, const QVector<Kanji> &kanji,
                                                 QStringList &problems)
{
    QHash<int, ReferenceStrokeList> out;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject()) {
        problems << QStringLiteral("data.json: not a JSON object (%1)").arg(error.errorString());
        return out;
    }
    // Each glyph's strokes and the stroke count the file files it under.
    QHash<QString, QPair<int, QJsonArray>> byGlyph;
    const QJsonObject groups = doc.object();
    for (auto g = groups.begin(); g != groups.end(); ++g) {
        const QJsonObject group = g.value().toObject();
        for (auto k = group.begin(); k != group.end(); ++k)
            byGlyph.insert(k.key(), {g.key().toInt(), k.value().toArray()});
    }
    for (const Kanji &k : kanji) {
        const auto it = byGlyph.constFind(k.glyph);
        if (it == byGlyph.constEnd()) {
            problems << QStringLiteral("data.json: kanji %1 %2 is missing").arg(k.number).arg(k.glyph);
            continue;
        }
        const QJsonArray strokes = it->second;
        if (strokes.size() != k.strokes || it->first != k.strokes) {
            problems << QStringLiteral("data.json: kanji %1 %2 has %3 strokes, the catalogue %4")
                            .arg(k.number)
                            .arg(k.glyph)
                            .arg(strokes.size())
                            .arg(k.strokes);
            continue;
        }
        ReferenceStrokeList list;
        for (int s = 0; s < strokes.size(); ++s) {
            const QJsonArray v = strokes[s].toArray();
            double c[4];
            if (v.size() != 4 || !coordinate(v[0], &c[0]) || !coordinate(v[1], &c[1]) ||
                !coordinate(v[2], &c[2]) || !coordinate(v[3], &c[3])) {
                problems << QStringLiteral("data.json: kanji %1 %2, stroke %3 is not four numbers in 0..255")
                                .arg(k.number)
                                .arg(k.glyph)
                                .arg(s + 1);
                list.clear();
                break;
            }
            list.push_back({QPointF(c[0], c[1]), QPointF(c[2], c[3])});
        }
        if (!list.isEmpty())
            out.insert(k.number, list);
    }
    return out;
}

int writeReferenceStrokes(const QString &jsonPath, const QString &contentDir, const QString &outDir)
{
    QStringList problems;
    const Sources s = readAll(contentDir, problems);
    QFile file(jsonPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxJsonBytes) {
        std::fprintf(stderr, "contentgen: cannot read %s\n", qPrintable(jsonPath));
        return 1;
    }
    const QHash<int, ReferenceStrokeList> strokes = referenceStrokes(file.readAll(), s.kanji, problems);
    if (!problems.isEmpty()) {
        for (const QString &line : problems)
            std::fprintf(stderr, "%s\n", qPrintable(line));
        std::fprintf(stderr, "contentgen: %lld problem(s); %s not written\n", qlonglong(problems.size()),
                     qPrintable(ReferenceStrokesFile));
        return 1;
    }
    try {
        QDir().mkpath(outDir);
        writeWholeFileAtomic(outDir, ReferenceStrokesFile, ReferenceStrokes::toBytes(strokes));
    } catch (const FileError &e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    int total = 0;
    for (const ReferenceStrokeList &l : strokes)
        total += int(l.size());
    std::printf("contentgen: reference strokes of %lld kanji (%d strokes)\n", qlonglong(strokes.size()),
                total);
    return 0;
}

} // namespace fm::content
