#include "handwriting/zinniamodel.h"
#include <QStringDecoder>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace fm
{

namespace
{

constexpr std::uint32_t kMagic = 0x0ef71821;
constexpr std::uint32_t kVersion = 1;
constexpr qsizetype kHeaderBytes = 12;
constexpr qsizetype kGlyphBytes = 16;
constexpr qsizetype kPairBytes = 8;
// The smallest character: its glyph, its bias and the end mark.
constexpr qsizetype kLeastCharacterBytes = kGlyphBytes + 4 + kPairBytes;

std::uint32_t u32At(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

float f32At(const QByteArray &b, qsizetype at)
{
    const std::uint32_t bits = u32At(b, at);
    float f = 0;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

void putU32(QByteArray &b, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xff);
}

// The glyph of a character's 16 bytes; empty when they are not one
// NUL-terminated UTF-8 text (zinnia hands them out as a C string).
QString glyphAt(const QByteArray &b, qsizetype at)
{
    const char *p = b.constData() + at;
    const void *nul = std::memchr(p, 0, kGlyphBytes);
    if (!nul || nul == p)
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString glyph = utf8(QByteArrayView(p, static_cast<const char *>(nul) - p));
    return utf8.hasError() ? QString() : glyph;
}

} // namespace

QString zinniaModelProblem(const QByteArray &bytes, QVector<ZinniaModelEntry> *entries)
{
    const qsizetype size = bytes.size();
    if (size < kHeaderBytes + kLeastCharacterBytes)
        return QStringLiteral("too short to be a handwriting model (%1 bytes)").arg(size);
    if (size > qsizetype(UINT32_MAX) || (u32At(bytes, 0) ^ std::uint32_t(size)) != kMagic)
        return QStringLiteral(
                   "not a handwriting model, or not whole (%1 bytes, not the size its header gives)")
            .arg(size);
    if (u32At(bytes, 4) != kVersion)
        return QStringLiteral("a handwriting model of version %1, not %2").arg(u32At(bytes, 4)).arg(kVersion);
    const std::uint32_t count = u32At(bytes, 8);
    if (count == 0)
        return QStringLiteral("holds no characters");
    if (count > std::uint32_t((size - kHeaderBytes) / kLeastCharacterBytes))
        return QStringLiteral("claims %1 characters, more than its %2 bytes can hold").arg(count).arg(size);
    if (entries) {
        entries->clear();
        entries->reserve(qsizetype(count));
    }
    qsizetype at = kHeaderBytes;
    for (std::uint32_t n = 1; n <= count; ++n) {
        const qsizetype start = at;
        if (size - at < kLeastCharacterBytes)
            return QStringLiteral("character %1 of %2 runs past the end of the file").arg(n).arg(count);
        const QString glyph = glyphAt(bytes, at);
        if (glyph.isEmpty())
            return QStringLiteral("character %1 has no readable name").arg(n);
        at += kGlyphBytes;
        if (!std::isfinite(f32At(bytes, at)))
            return QStringLiteral("character %1 (%2) has a damaged weight").arg(n).arg(glyph);
        at += 4;
        std::int64_t last = 0;
        for (;;) {
            if (size - at < kPairBytes)
                return QStringLiteral("character %1 (%2) has no end mark before the end of the file")
                    .arg(n)
                    .arg(glyph);
            const auto feature = std::int32_t(u32At(bytes, at));
            const float weight = f32At(bytes, at + 4);
            at += kPairBytes;
            if (feature == -1)
                break;
            if (feature <= last)
                return QStringLiteral("character %1 (%2) has its features out of order").arg(n).arg(glyph);
            if (!std::isfinite(weight))
                return QStringLiteral("character %1 (%2) has a damaged weight").arg(n).arg(glyph);
            last = feature;
        }
        if (entries)
            entries->push_back({glyph, start, at - start});
    }
    if (at != size)
        return QStringLiteral("%1 bytes follow the last character").arg(size - at);
    return {};
}

QByteArray reducedZinniaModel(const QByteArray &full, const QSet<QString> &keep, QStringList *missing,
                              QString *error)
{
    QVector<ZinniaModelEntry> entries;
    const QString problem = zinniaModelProblem(full, &entries);
    if (!problem.isEmpty()) {
        if (error)
            *error = problem;
        return {};
    }
    QByteArray out(kHeaderBytes, '\0');
    QSet<QString> found;
    for (const ZinniaModelEntry &e : entries)
        if (keep.contains(e.glyph) && !found.contains(e.glyph)) {
            out.append(full.constData() + e.offset, e.length);
            found.insert(e.glyph);
        }
    if (missing) {
        missing->clear();
        for (const QString &g : keep)
            if (!found.contains(g))
                missing->push_back(g);
        missing->sort();
    }
    if (found.isEmpty()) {
        if (error)
            *error = QStringLiteral("holds none of the characters asked for");
        return {};
    }
    putU32(out, 0, kMagic ^ std::uint32_t(out.size()));
    putU32(out, 4, kVersion);
    putU32(out, 8, std::uint32_t(found.size()));
    return out;
}

} // namespace fm
