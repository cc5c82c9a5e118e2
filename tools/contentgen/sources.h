#pragma once
// Reading and checking the content sources (content/*.tsv) before anything
// is written: every problem becomes one line "file:row: problem".
#include "data/levels.h"
#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

namespace fm::content
{

constexpr int KanjiCount = 240;
constexpr int GroupCount = 8;           // へん … その他
constexpr int MaxPartsPerGroup = 19;    // the part panel shows positions 1..19
constexpr int MaxKanjiPerPart = 49;     // a part's kanji list shows 49
constexpr int MaxKanjiPerStrokes = 79;  // a stroke count's kanji list shows 79
constexpr int MinSentencesPerKanji = 5; // so that four tests of a level do not repeat themselves
constexpr int MinSentencesPerReading = 2;

constexpr int MaxTargetKana = 4;   // the answer line takes four kana
constexpr int MaxAskedPerWord = 2; // a third sentence on the same word teaches nothing new
constexpr int MaxHintPages = 100;
constexpr int ScreenCount = 14;
constexpr int TestScreen = 12;
constexpr int TestSituations = 6;

// The names of groups 1..8, as the writing panel labels them.
const QStringList &groupNames();

struct Part {
    int group = 0;           // 1..8
    int position = 0;        // 1..19
    QString name;            // the character that names it (亻, ⺮)
    QString picture;         // character drawn in its cell
    QRectF clip{0, 0, 1, 1}; // area of the character box that is shown
    QString label;           // its reading name (にんべん)
    int cell = 0;            // 1-based cell of BuhinX.bmp, shared by equal pictures
    int row = 0;
};

struct Kanji {
    int number = 0;
    QString glyph;
    QByteArray cp932; // two bytes
    int strokes = 0;
    std::array<int, 2> partIndex{-1, -1}; // into Sources::parts, -1 for none
    int row = 0;
};

struct Sentence {
    int kanji = 0;                   // kanji number
    std::array<QString, 3> segments; // as shown (blanks made full-width); the target holds its kana
    int target = 0;                  // 1..3
    QString word;                    // a word read as a whole ({一日:ついたち}): its kanji; else empty
    int row = 0;
    bool wholeWord() const { return !word.isEmpty(); }
};

// A word the sentences use, as content/words.tsv lists it: its written form
// (学校, 食べる), its reading, and what each of its kanji reads in it (がっ こう),
// or none for a word read only as a whole (今日 きょう).
struct Word {
    QString form;
    QString reading;
    QStringList parts; // one per kanji of form, in order; empty for a whole-word reading
    int row = 0;
};

// One reading of a kanji as its reading box shows it (content/reading-box.tsv).
struct BoxRow {
    int kanji = 0;
    bool on = false;     // 音 (katakana) or 訓 (hiragana, okurigana after a dot)
    QString reading;     // as readings.tsv spells it
    QString word;        // an example word as the child sees it at the kanji's level
    QString wordReading; // the whole word in hiragana
    int row = 0;
};

// The readings a kanji is taught with in the first two school years, as
// content/readings.tsv lists them.
struct TaughtReadings {
    QStringList on;      // katakana, as listed
    QStringList kun;     // hiragana, okurigana after a dot (ひと.つ)
    QStringList stems;   // every reading as a target spells it: hiragana, no okurigana
    QStringList oneWord; // words this kanji may ask in every sentence: it makes no other
    int row = 0;         // 0: the kanji has no row
};

// A regular sound change of a taught reading that a target may use
// (がく → がっ in がっこう), as content/sound-changes.tsv lists it.
struct SoundChange {
    int kanji = 0;
    QString reading; // the taught reading, hiragana
    QString form;    // the changed form
    QString example; // a word in kana that shows it
    int row = 0;
};

// A reading a kanji has only inside one word, which KANJIDIC does not list
// (父 とう of おとうさん), as content/word-readings.tsv lists it with its source.
struct SpecialReading {
    int kanji = 0;
    QString reading; // hiragana
    QString word;    // the word in hiragana that holds it
    QString source;  // where schools take it from (付表 お父さん)
    int row = 0;
};

struct HintPage {
    int screen = 0, situation = 0, kind = 0;
    QStringList level1, level2;
    int row = 0;
};

struct Sources {
    QVector<Part> parts;
    QVector<Kanji> kanji;             // in number order
    QVector<Sentence> sentences;      // grouped by kanji, in kanji order
    QVector<HintPage> hints;          // in file order = page order
    QVector<TaughtReadings> readings; // by kanji number - 1
    QVector<SoundChange> soundChanges;
    QVector<SpecialReading> specialReadings;
    QVector<Word> words;
    QVector<BoxRow> readingBox;
    QStringList shortfalls; // counts still short while they are only reported (see readAll)
    int cellCount = 0;
};

// The level (1..12) a kanji number belongs to.
inline int levelOf(int kanjiNumber)
{
    return (kanjiNumber - 1) / fm::KanjiPerLevel + 1;
}

// Each reader appends its problems to `problems` and returns what it could
// read; `text` is the whole file as UTF-8, `file` the name used in messages.
QVector<Part> readParts(const QString &file, const QByteArray &text, QStringList &problems);
QVector<Kanji> readKanji(const QString &file, const QByteArray &text, const QVector<Part> &parts,
                         QStringList &problems);
QVector<Sentence> readSentences(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                                QStringList &problems);
QVector<HintPage> readHints(const QString &file, const QByteArray &text, QStringList &problems);
QVector<TaughtReadings> readReadings(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                                     QStringList &problems);
QVector<SoundChange> readSoundChanges(const QString &file, const QByteArray &text,
                                      const QVector<Kanji> &kanji, const QVector<TaughtReadings> &readings,
                                      QStringList &problems);

QVector<SpecialReading> readSpecialReadings(const QString &file, const QByteArray &text,
                                            const QVector<Kanji> &kanji,
                                            const QVector<TaughtReadings> &readings, QStringList &problems);

// The limits that only show once everything is read: kanji per part and per
// stroke count, sentences per kanji, the hint contexts every screen needs.
void checkTogether(const Sources &s, QStringList &problems);

// What the sentences ask against the readings taught: every target a taught
// reading or a listed sound change of one, every taught reading and every
// sound change asked, no word asked more than MaxAskedPerWord times, and the
// phrases of one word written alike in every sentence. A special reading is
// asked only inside its word.
void checkReadings(const Sources &s, QStringList &problems);

// What would mark a right answer wrong or give the answer away: the kanji
// with the kana after it read another taught way (入れる as はいれる), the
// answer spelled elsewhere in the sentence, a question without ？.
void checkAnswers(const Sources &s, QStringList &problems);

// True when `kana`, written right after a kanji, can be the okurigana
// `okurigana` in some form of its word (る: れる, った …; い: く, かった …).
// `potential` is set when only the potential form fits (はいる: はいれる).
bool continuesOkurigana(const QString &okurigana, const QString &kana, bool *potential = nullptr);

QVector<Word> readWords(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                        QStringList &problems);
QVector<BoxRow> readReadingBox(const QString &file, const QByteArray &text, const QVector<Kanji> &kanji,
                               QStringList &problems);

// The sentence as a reading question shows it: the target's kanji (or its
// whole word) in place of the target's kana.
QString shownForReading(const Sentence &x, const QVector<Kanji> &kanji);

// What a sentence may show: no kanji outside the 240, none of a later level
// than its own kanji, its own kanji only in the target (a writing question
// would give it away), no word of words.tsv split between kanji and kana when
// all its kanji are taught by then, and no sentence twice. A whole word holds
// the sentence's kanji and none of a later level.
void checkShownKanji(const Sources &s, QStringList &problems);

// Every taught reading has exactly one row in the reading box, and every
// example word is shown, as written, by some sentence of its kanji.
void checkReadingBox(const Sources &s, QStringList &problems);

// The counts a drill needs: MinSentencesPerKanji sentences a kanji (whole
// words not counted: a writing test cannot ask them) and MinSentencesPerReading
// a taught reading. One line per shortfall.
QStringList countShortfalls(const Sources &s);

// Whether readAll refuses the content for a count shortfall, or only keeps the
// shortfalls in Sources::shortfalls for the generator to print. Set by the
// build option FUDEMARU_CONTENT_STRICT_COUNTS.
#ifndef FUDEMARU_CONTENT_STRICT_COUNTS
#define FUDEMARU_CONTENT_STRICT_COUNTS 0
#endif
constexpr bool StrictCounts = FUDEMARU_CONTENT_STRICT_COUNTS != 0;

// Reads the sources from a content directory and checks them.
Sources readAll(const QString &contentDir, QStringList &problems);

// A segment's text with ASCII blanks turned full-width.
QString widenBlanks(const QString &s);

// Katakana turned into hiragana; everything else kept.
QString toHiragana(const QString &s);

// True when `form` is `reading` with its last kana (く き つ ち) doubled into
// っ, or its first kana voiced (か → が) or, in the は row, half-voiced (ほ → ぽ).
bool isRegularSoundChange(const QString &reading, const QString &form);

// The word a sentence asks: the phrase that holds the target, without the
// final punctuation and one particle or copula (こうえんで → こうえん).
QString askedWord(const Sentence &s);

} // namespace fm::content
