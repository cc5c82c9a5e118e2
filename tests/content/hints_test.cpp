// The hint pages as a six-year-old reads them: kana only (a kanji may stand
// only inside 「」 where it names a button as the screen writes it), and no
// おそう for "press", which a first-grader reads as 襲う.
#include "data/cp932.h"
#include "data/hintfile.h"
#include <QFile>
#include <gtest/gtest.h>

namespace
{

bool isKanji(QChar c)
{
    return c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF;
}

TEST(ContentHints, PagesSpeakInKanaAChildReads)
{
    QFile f(QStringLiteral(FUDEMARU_BIN_DIR "/") + fm::hintFileName());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QVector<fm::HintRecord> pages = fm::decodeHintFile(f.readAll());
    ASSERT_FALSE(pages.isEmpty());
    for (const fm::HintRecord &p : pages) {
        QStringList lines;
        for (const QByteArray &l : p.Level1Lines)
            lines << fm::cp932::toUnicode(l);
        for (const QByteArray &l : p.Level2Lines)
            lines << fm::cp932::toUnicode(l);
        for (const QString &line : lines) {
            const QString where = QStringLiteral("page %1 (%2,%3,%4): %5")
                                      .arg(p.Number)
                                      .arg(p.Screen)
                                      .arg(p.Situation)
                                      .arg(p.Kind)
                                      .arg(line);
            EXPECT_FALSE(line.contains(QStringLiteral("おそう"))) << qPrintable(where);
            int quoted = 0;
            for (QChar c : line) {
                if (c == QChar(0x300C))
                    ++quoted;
                else if (c == QChar(0x300D))
                    --quoted;
                else if (isKanji(c)) {
                    EXPECT_GT(quoted, 0) << qPrintable(where) << ": " << qPrintable(QString(c));
                }
            }
        }
    }
}

} // namespace
