#pragma once
// Text in the data model is kept as cp932 (Windows-31J) bytes; every
// conversion to and from QString happens through these helpers.
#include <QByteArray>
#include <QString>

namespace fm::cp932
{

// True when b starts a double-byte character.
bool isLeadByte(unsigned char b);

// True when bytes are exactly one double-byte character that cp932 defines.
bool isOneDoubleByteCharacter(const QByteArray &bytes);

// cp932 bytes -> Unicode. Invalid sequences become U+FFFD.
QString toUnicode(const QByteArray &bytes);

// Unicode -> cp932 bytes. Characters cp932 lacks become '?'.
QByteArray fromUnicode(const QString &text);

// The longest prefix of bytes that is at most maxBytes long and does not
// split a double-byte character.
QByteArray cut(const QByteArray &bytes, int maxBytes);

// Number of characters (single- or double-byte) in bytes.
int charCount(const QByteArray &bytes);

// The bytes of the n-th character (0-based); empty when out of range.
QByteArray charAt(const QByteArray &bytes, int n);

} // namespace fm::cp932
