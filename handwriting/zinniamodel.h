#pragma once
// zinnia's model file, checked in full before zinnia is given it, and cut
// down to the kanji the program teaches.
//
// The layout (little-endian), read from the installed model itself:
//   u32 magic: 0x0ef71821 xor the file's size
//   u32 version: 1
//   u32 character count
//   then each character: 16 bytes of UTF-8, NUL-padded; f32 bias; pairs of
//   (i32 feature number, f32 weight) with rising numbers from 1, ended by
//   the pair (-1, 0).
// zinnia itself checks only the magic and the version, then follows each
// character's pairs to their end mark wherever that lies: a damaged file
// would take the program down.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVector>

namespace fm
{

// The taught kanji's part of the recogniser's model, made at build time and
// shipped in the program directory.
inline const QString HandwritingModelFile = QStringLiteral("Tegaki1.model");
// The shipped file is about 1 MB; anything far larger is not it.
constexpr qint64 HandwritingModelMaxBytes = 16 * 1024 * 1024;

struct ZinniaModelEntry {
    QString glyph;
    qsizetype offset = 0; // of the character's 16 bytes
    qsizetype length = 0; // through its end mark
};

// Empty when the bytes are a whole, well-formed model (every size and
// feature list inside the file, nothing after the last character);
// otherwise what is wrong, for a message. Fills *entries when given.
QString zinniaModelProblem(const QByteArray &bytes, QVector<ZinniaModelEntry> *entries = nullptr);

// A model holding only the characters of `keep`, in the full model's order,
// each with its own bias and weights unchanged (zinnia scores every
// character on its own, so each keeps the score it had). Empty, with
// *error set, when the full model is damaged; *missing lists the
// characters of `keep` it does not hold.
QByteArray reducedZinniaModel(const QByteArray &full, const QSet<QString> &keep, QStringList *missing,
                              QString *error);

} // namespace fm
