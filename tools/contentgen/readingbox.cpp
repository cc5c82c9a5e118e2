#include "tools/contentgen/readingbox.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdio>

namespace fm::content
{

namespace
{

bool allOf(const QString &s, bool (*ok)(QChar))
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), ok);
}
bool katakana(QChar c)
{
    return (c.unicode() >= 0x30A1 && c.unicode() <= 0x30FC);
}
bool hiragana(QChar c)
{
    return (c.unicode() >= 0x3041 && c.unicode() <= 0x3096) || c.unicode() == 0x30FC;
}
bool hiraganaOrDot(QChar c)
{
    return hiragana(c) || c == QLatin1Char('.');
}

} // namespace

QVector<QPair<int, BoxReading>> readReadingBox(const QString &file, const QByteArray &text,
                                               const QVector<Kanji> &kanji, QStringList &problems)
{
    QHash<QString, int> numbers;
    for (const Kanji &k : kanji)
        numbers.insert(k.glyph, k.number);
    QVector<QPair<int, BoxReading>> rows;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        auto problem = [&](const QString &what) {
            problems << QStringLiteral("%1:%2: %3").arg(file).arg(n + 1).arg(what);
        };
        const QStringList f = lines[n].split(QLatin1Char('\t'));
        if (f.size() != 5) {
            problem(QStringLiteral("%1 fields, not 5").arg(f.size()));
            continue;
        }
        const int number = numbers.value(f[0], 0);
        const bool on = f[1] == QStringLiteral("音"), kun = f[1] == QStringLiteral("訓");
        if (!number)
            problem(QStringLiteral("%1 is not a taught kanji").arg(f[0]));
        else if (!on && !kun)
            problem(QStringLiteral("kind %1, not 音 or 訓").arg(f[1]));
        else if (on ? !allOf(f[2], katakana) : !allOf(f[2], hiraganaOrDot))
            problem(QStringLiteral("the reading %1 is not in %2")
                        .arg(f[2], on ? QStringLiteral("katakana") : QStringLiteral("hiragana")));
        else if (!f[3].contains(f[0]))
            problem(QStringLiteral("the word %1 does not hold %2").arg(f[3], f[0]));
        else if (!allOf(f[4], hiragana))
            problem(QStringLiteral("the word's reading %1 is not in hiragana").arg(f[4]));
        else {
            BoxReading b{on ? 1 : 2, cp932::fromUnicode(f[2]), cp932::fromUnicode(f[3]),
                         cp932::fromUnicode(f[4])};
            for (const QByteArray *t : {&b.reading, &b.word, &b.wordReading})
                if (t->size() > ReadingBox::TextBytes)
                    problem(QStringLiteral("%1 is longer than %2 bytes")
                                .arg(cp932::toUnicode(*t))
                                .arg(ReadingBox::TextBytes));
            rows.append({number, b});
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return rows;
}

int writeReadingBox(const QString &contentDir, const QString &outDir)
{
    QStringList problems;
    const Sources s = readAll(contentDir, problems);
    QVector<QPair<int, BoxReading>> rows;
    QFile file(contentDir + QStringLiteral("/reading-box.tsv"));
    if (file.open(QIODevice::ReadOnly))
        rows = readReadingBox(QStringLiteral("reading-box.tsv"), file.readAll(), s.kanji, problems);
    if (!problems.isEmpty()) {
        for (const QString &line : problems)
            std::fprintf(stderr, "%s\n", qPrintable(line));
        std::fprintf(stderr, "contentgen: %s not written\n", qPrintable(ReadingBoxFile));
        return 1;
    }
    try {
        QDir().mkpath(outDir);
        writeWholeFileAtomic(outDir, ReadingBoxFile, ReadingBox::toBytes(rows));
    } catch (const FileError &e) {
        std::fprintf(stderr, "contentgen: %s\n", e.what());
        return 1;
    }
    std::printf("contentgen: %lld readings for the kanji pages\n", qlonglong(rows.size()));
    return 0;
}

} // namespace fm::content
