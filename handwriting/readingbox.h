#pragma once
// The reading box of a kanji's page: each taught reading (音 in katakana,
// 訓 in hiragana with the okurigana after a dot) with one example word.
// Shipped as "Yomikata1.dat": fixed records of 67 bytes,
//   kanji number (i16, 1..1024), kind (i16: 1 音, 2 訓),
//   reading, word, the word's reading (each a length byte 1..20 and 20 bytes
//   of cp932, the rest zero).
#include <QByteArray>
#include <QMultiHash>
#include <QString>
#include <QVector>

namespace fm
{

inline const QString ReadingBoxFile = QStringLiteral("Yomikata1.dat");

struct BoxReading {
    int kind = 1;           // 1 音, 2 訓
    QByteArray reading;     // cp932
    QByteArray word;        // cp932
    QByteArray wordReading; // cp932
};

class ReadingBox
{
  public:
    static constexpr int RecordSize = 67;
    static constexpr int TextBytes = 20;
    // Throws FileError(ReadingBoxFile) on anything but whole, valid records.
    static ReadingBox fromBytes(const QByteArray &bytes);
    // <dir>/Yomikata1.dat; a missing file is an empty box (the page shows none).
    static ReadingBox load(const QString &dir);
    // The records; throws FileError(ReadingBoxFile) on a field out of bounds.
    static QByteArray toBytes(const QVector<QPair<int, BoxReading>> &rows);

    // Kanji n's readings in file order (音 first as the file has them).
    QVector<BoxReading> of(int kanjiNumber) const;

  private:
    QVector<QPair<int, BoxReading>> rows_;
};

} // namespace fm
