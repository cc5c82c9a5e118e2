// contentgen: turns the content sources into the program directory's data
// files (Kanji1.dat, Bushu1.dat, Mondai1.dat, Mondai2.dat, Hint.dat) and the
// part pictures (BuhinX.bmp, bushu1.bmp … bushu8.bmp). Nothing is written
// unless every source is within its bounds.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/hintfile.h"
#include "data/questionbank.h"
#include "media/mediafiles.h"
#include "tools/contentgen/pictures.h"
#include "tools/contentgen/readingbox.h"
#include "tools/contentgen/sheet.h"
#include "tools/contentgen/sources.h"
#include "tools/contentgen/strokes.h"
#include "tools/contentgen/trace.h"
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <cstdio>

using namespace fm;
using namespace fm::content;

namespace
{

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        std::fprintf(stderr, "contentgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool writeImage(const QString &path, const QImage &img)
{
    // 24-bit BMP, as the program loads it.
    if (!img.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        std::fprintf(stderr, "contentgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QByteArray kanjiFile(const Sources &s)
{
    QVector<KanjiRecord> records;
    for (const Kanji &k : s.kanji) {
        KanjiRecord r;
        r.Number = int16_t(k.number);
        r.Lead = uint8_t(k.cp932[0]);
        r.Trail = uint8_t(k.cp932[1]);
        r.Strokes = int16_t(k.strokes);
        if (k.partIndex[0] >= 0) {
            r.Part1Group = int16_t(s.parts[k.partIndex[0]].group);
            r.Part1Position = int16_t(s.parts[k.partIndex[0]].position);
        }
        if (k.partIndex[1] >= 0) {
            r.Part2Group = int16_t(s.parts[k.partIndex[1]].group);
            r.Part2Position = int16_t(s.parts[k.partIndex[1]].position);
        }
        records << r;
    }
    return encodeKanjiRecords(records);
}

QByteArray bushuFile(const Sources &s)
{
    QVector<BushuRecord> records;
    for (const Part &p : s.parts)
        records << BushuRecord{int16_t(p.group), 0, int16_t(p.position), int16_t(p.cell)};
    return encodeBushuRecords(records);
}

QuestionRecord questionRecord(const Sentence &x)
{
    QuestionRecord r;
    r.Unused = int16_t(x.kanji);
    r.TargetSegment = int16_t(x.target);
    for (int i = 0; i < 3; ++i)
        r.Segments[i + 1] = cp932::fromUnicode(x.segments[i]);
    if (x.wholeWord())
        r.Segments[x.target] = cp932::fromUnicode(x.word + WholeWordSeparator + x.segments[x.target - 1]);
    return r;
}

// Mondai1.dat and Mondai2.dat: each kanji's sentences lie together; the
// record's first field holds the kanji number, for anyone reading the file.
// The words read as a whole go to Mondai3.dat in the same record layout.
void questionFiles(const Sources &s, QByteArray &sentences, QByteArray &index, QByteArray &wholeWords)
{
    QVector<QuestionIndexEntry> entries(s.kanji.size());
    for (int i = 0; i < s.kanji.size(); ++i)
        entries[i].Unused = int16_t(i + 1);
    int recordNo = 0;
    for (const Sentence &x : s.sentences) {
        if (x.wholeWord()) {
            wholeWords += encodeQuestionRecord(questionRecord(x));
            continue;
        }
        ++recordNo;
        QuestionIndexEntry &e = entries[x.kanji - 1];
        if (e.RecordCount == 0)
            e.FirstRecord = int16_t(recordNo);
        ++e.RecordCount;
        sentences += encodeQuestionRecord(questionRecord(x));
    }
    index = encodeQuestionIndex(entries);
}

QByteArray hintFile(const Sources &s)
{
    QByteArray out;
    int number = 0;
    for (const HintPage &page : s.hints) {
        HintRecord r;
        r.Screen = int16_t(page.screen);
        r.Situation = int16_t(page.situation);
        r.Kind = int16_t(page.kind);
        r.Number = int16_t(++number);
        for (int i = 0; i < page.level1.size() && i < HintLines; ++i)
            r.Level1Lines[i] = cp932::fromUnicode(page.level1[i]);
        for (int i = 0; i < page.level2.size() && i < HintLines; ++i)
            r.Level2Lines[i] = cp932::fromUnicode(page.level2[i]);
        out += encodeHintRecord(r);
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    // Drawing needs fonts but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("--strokes"))
        return writeReferenceStrokes(args[2], args[3], args[4]);
    if (args.size() == 5 && args[1] == QLatin1String("--centre-lines"))
        return writeCentreLines(args[2], args[3], args[4]);
    if (args.size() == 4 && args[1] == QLatin1String("--reading-box"))
        return writeReadingBox(args[2], args[3]);
    if (args.size() == 5 && args[1] == QLatin1String("--sheet"))
        return writeContactSheet(args[2], args[3], args[4]);
    if (args.size() != 3) {
        std::fprintf(stderr,
                     "usage: contentgen CONTENT-DIR OUTPUT-DIR | --strokes DATA-JSON CONTENT-DIR OUTPUT-DIR\n"
                     "       | --reading-box CONTENT-DIR OUTPUT-DIR | --centre-lines DATA-JSON CONTENT-DIR "
                     "OUTPUT-DIR | --sheet CONTENT-DIR PROGRAM-DIR PNG\n");
        return 2;
    }
    const QString contentDir = args[1];
    const QString outDir = args[2];

    QStringList problems;
    Sources s = readAll(contentDir, problems);
    if (!problems.isEmpty()) {
        for (const QString &line : problems)
            std::fprintf(stderr, "%s/%s\n", qPrintable(contentDir), qPrintable(line));
        std::fprintf(stderr, "contentgen: %lld problem(s); nothing written\n", qlonglong(problems.size()));
        return 1;
    }
    if (!QFontDatabase::families().contains(QStringLiteral("IPAGothic"))) {
        std::fprintf(stderr, "contentgen: the font IPAGothic (fonts-ipafont-gothic) is missing\n");
        return 1;
    }

    for (const QString &line : s.shortfalls)
        std::fprintf(stderr, "%s/%s (reported, not yet refused)\n", qPrintable(contentDir), qPrintable(line));
    s.cellCount = assignCells(s.parts);
    QDir().mkpath(outDir);
    QByteArray sentences, index, wholeWords;
    questionFiles(s, sentences, index, wholeWords);
    const auto out = [&outDir](const QString &name) { return outDir + '/' + name; };
    bool ok =
        writeFile(out(kanjiFileName()), kanjiFile(s)) && writeFile(out(bushuFileName()), bushuFile(s)) &&
        writeFile(out(sentenceFileName()), sentences) && writeFile(out(questionIndexFileName()), index) &&
        writeFile(out(wholeWordFileName()), wholeWords) && writeFile(out(hintFileName()), hintFile(s)) &&
        writeImage(out(QLatin1String(media::kPartsStrip)), partStrip(s.parts, s.cellCount));
    for (int g = 1; ok && g <= GroupCount; ++g)
        ok = writeImage(outDir + '/' + media::radicalGroupFile(g), groupPicture(g));
    if (!ok)
        return 1;
    std::printf("contentgen: %lld kanji, %lld parts in %d pictures, %lld sentences, %lld hint pages\n",
                qlonglong(s.kanji.size()), qlonglong(s.parts.size()), s.cellCount,
                qlonglong(s.sentences.size()), qlonglong(s.hints.size()));
    return 0;
}
