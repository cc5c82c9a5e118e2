#pragma once
// Little-endian field access for the fixed-size records of the data files.
#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace fm::bin
{

inline int16_t i16(const char *p)
{
    return static_cast<int16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8));
}
inline uint8_t u8(const char *p)
{
    return static_cast<uint8_t>(p[0]);
}
inline double f64(const char *p)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(p[i]);
    double d;
    std::memcpy(&d, &v, sizeof d);
    return d;
}
inline void putI16(char *p, int16_t v)
{
    p[0] = static_cast<char>(v & 0xff);
    p[1] = static_cast<char>((static_cast<uint16_t>(v) >> 8) & 0xff);
}
inline void putU8(char *p, uint8_t v)
{
    p[0] = static_cast<char>(v);
}
inline void putF64(char *p, double d)
{
    uint64_t v;
    std::memcpy(&v, &d, sizeof v);
    for (int i = 0; i < 8; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
}
// The same fields read through a view of one record. A decoder given fewer
// bytes than a record reads the missing ones as zeros instead of reading on.
inline QByteArrayView field(QByteArrayView record, qsizetype at, qsizetype n)
{
    if (at >= record.size())
        return {};
    return record.sliced(at, std::min(n, record.size() - at));
}
template <qsizetype N> std::array<char, N> bytesAt(QByteArrayView record, qsizetype at)
{
    std::array<char, N> out{};
    const QByteArrayView held = field(record, at, N);
    if (!held.isEmpty())
        std::memcpy(out.data(), held.data(), size_t(held.size()));
    return out;
}
// A whole field is read in place; only a cut one is copied first.
inline int16_t i16(QByteArrayView record, qsizetype at)
{
    return record.size() >= at + 2 ? i16(record.data() + at) : i16(bytesAt<2>(record, at).data());
}
inline uint8_t u8(QByteArrayView record, qsizetype at)
{
    return record.size() >= at + 1 ? u8(record.data() + at) : u8(bytesAt<1>(record, at).data());
}
inline double f64(QByteArrayView record, qsizetype at)
{
    return record.size() >= at + 8 ? f64(record.data() + at) : f64(bytesAt<8>(record, at).data());
}
// A length-prefixed short string of at most cap bytes (cap + 1 bytes on disk).
QByteArray shortString(const char *p, int cap, bool *ok = nullptr);
void putShortString(char *p, const QByteArray &text, int cap);
// A NUL-padded fixed field (no length byte).
void putFixed(char *p, const QByteArray &text, int width, char pad = '\0');

} // namespace fm::bin
