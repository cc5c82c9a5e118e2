#pragma once
// Test catalogues give kanji k a glyph of its own: a first-level JIS kanji.
#include <QByteArray>

namespace fm::test
{

inline QByteArray glyphOf(int k)
{
    int index = k - 1;
    const int lead = index < 188 ? 0x89 : 0x8A;
    if (index >= 188)
        index -= 188;
    const int trail = index < 63 ? 0x40 + index : 0x80 + (index - 63);
    return QByteArray() + char(lead) + char(trail);
}

} // namespace fm::test
