#pragma once
// The rules of a ten-question test, apart from any widget: which kanji are
// asked, the clock's text, how answers are built and compared, where the
// review goes next, and where the answer panels' buttons stand.
#include "data/state.h"
#include "data/studylog.h" // QuestionsPerTest
#include "shell/kana.h"
#include <QByteArray>
#include <QRect>
#include <QString>
#include <QVector>
#include <array>
#include <cstdint>

namespace fm
{

class Random;

constexpr int ClockIntervalMs = 1000;
constexpr int ReadingAnswerLimit = 4; // kana
constexpr int WritingAnswerLimit = 3; // kanji
constexpr int KanaKeyCount = KanaTableSize;
constexpr int RadicalGroupCount = 8;
constexpr int StrokeButtonCount = 20;
constexpr int PartButtonCount = 20;
constexpr int CandidateCount = 80;
constexpr int MaxPartsShown = 19; // a group's part panel
constexpr int WholeRangeSize = 80;
constexpr int PartCellSize = 64; // one cell of BuhinX.bmp

// Kanji numbers of the ten questions, [1..10].
using TestKanji = std::array<int16_t, QuestionsPerTest + 1>;

// ---- question choice ----

// Challenge: for each slot the unchosen kanji of the level with the fewest
// right answers (of this kind), ties broken by coin tosses while scanning.
TestKanji chooseChallengeKanji(const ProgressTable &progress, int level, StudyKind kind, Random &random);
// Practice: ten different kanji of the level, drawn without repetition.
TestKanji choosePracticeKanji(int level, Random &random);
// Fills QuestionSlots[1..10] for a new test of CurrentLevel / CurrentKind in
// the current mode: kanji, a sentence choice each, no answers yet.
void prepareTestSlots(AppState &state, Random &random);

// A question as the screen shows it: the three segments (for reading the
// target word replaced by its kanji), the red one and the expected answer.
struct ShownQuestion {
    std::array<QByteArray, 4> segments; // [1..3]
    int16_t target = 0;
    QByteArray correctAnswer;
};
// The record comes from readQuestionRecord, which has checked its target.
ShownQuestion showQuestion(const QuestionRecord &record, const Catalogue &cat, int kanji, StudyKind kind);
// Keeps what was shown in the slot, for going back, grading and hints.
void storeShown(QuestionSlot &slot, const ShownQuestion &shown);
// A question the time-out left without a sentence: nothing of an earlier
// test stays in it, and its expected answer is the kanji itself so that an
// empty answer can never be marked right.
void markUnseen(QuestionSlot &slot, const Catalogue &cat);

// ---- the clock ----

// Whole seconds from now to the end (both day numbers), to the nearest
// second so that a tick arriving a few milliseconds late still shows the
// second it was meant for; 0 or less once the time is up.
qint64 remainingSeconds(double endTime, double now);
// "のこり4ふん7びょう", "のこり42びょう"; nothing below 0 is shown.
QString clockText(qint64 remainingSeconds);
// The end of a test started at start with a limit in minutes (day numbers).
double clockEnd(double start, int limitMinutes);

// ---- answers ----

// The answer line as stored: without surrounding blanks, at most 10 bytes.
QByteArray storedAnswer(const QByteArray &line);

// The answer line being typed, with its character limit (4 kana, 3 kanji).
class AnswerLine
{
  public:
    explicit AnswerLine(int limit = ReadingAnswerLimit) : limit_(limit) {}
    void setLimit(int limit) { limit_ = limit; }
    int limit() const { return limit_; }
    // Adds one character when there is room; false when the line is full.
    bool append(const QByteArray &character);
    // Removes the last character; false on an empty line.
    bool deleteLast();
    void clear();
    // A stored answer brought back: the count follows its characters.
    void set(const QByteArray &text);
    const QByteArray &text() const { return text_; }
    int count() const { return count_; } // AnswerCharCount

  private:
    QByteArray text_;
    int count_ = 0;
    int limit_;
};

// ---- the review ----

// The next missed question after current (0 = before the first), or 0 when
// the review is finished.
int reviewAdvance(const std::array<QuestionSlot, 11> &questions, int current);

// ---- hints ----

// The hint situation while a question is on screen.
enum class Panel : int16_t;
HintSituation hintSituation(StudyKind kind, KanjiListSource listSource, Panel panelState);

// ---- panels ----

// Which panel the answer panels show: the first panels (groups and
// strokes, or the kana), a group's parts, or a kanji list.
enum class Panel : int16_t { Choice = 0, Parts = 1, KanjiList = 2, Writing = 3 };

struct PanelNav {
    enum class Back { Nothing, ToFirstPanels, ToParts };
    Panel PanelState = Panel::Choice;
    Panel PreviousPanelState = Panel::Choice;
    void reset() { PanelState = PreviousPanelState = Panel::Choice; }
    void toParts();
    void toList();
    void toWriting();
    Back back();
};

enum class PanelButton { Kana, RadicalGroup, Strokes, WholeRange, Part, Candidate };

// Button i's place in its panel; sizes and distances scaled, offsets not.
QRect panelButtonRect(PanelButton kind, int i, double fontScale);

// The kana key i (1..80) in cp932 and as text; the five gaps are not shown.
QByteArray kanaKey(int i);
bool kanaKeyShown(int i);
QString radicalGroupCaption(int group);
QString radicalGroupPicture(int group); // "bushu<g>.bmp"

// Glyph indices of a group's parts, at most 19, up to the first 0.
QVector<int16_t> partsOfGroup(const Catalogue &cat, int group);
// The whole-range list: 80 kanji around the level, in random order.
int wholeRangeBase(int level);
QVector<int16_t> wholeRangeList(int level, Random &random);
QString wholeRangeCaption(int level);

} // namespace fm
