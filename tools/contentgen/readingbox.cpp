#include "tools/contentgen/readingbox.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "data/fileio.h"
#include <QDir>
#include <algorithm>
#include <cstdio>

namespace fm::content
{

int writeReadingBox(const QString &contentDir, const QString &outDir)
{
    // The box's rows are read and checked with the rest of the content
    // (readAll): each reading taught once, each example a word the sentences show.
    QStringList problems;
    const Sources s = readAll(contentDir, problems);
    QVector<QPair<int, BoxReading>> rows;
    for (const BoxRow &r : s.readingBox) {
        const BoxReading b{r.on ? 1 : 2, cp932::fromUnicode(r.reading), cp932::fromUnicode(r.word),
                           cp932::fromUnicode(r.wordReading)};
        for (const QByteArray *t : {&b.reading, &b.word, &b.wordReading})
            if (t->size() > ReadingBox::TextBytes)
                problems << QStringLiteral("reading-box.tsv:%1: %2 is longer than %3 bytes")
                                .arg(r.row)
                                .arg(cp932::toUnicode(*t))
                                .arg(ReadingBox::TextBytes);
        rows.append({r.kanji, b});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
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
