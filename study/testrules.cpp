#include "study/testrules.h"
#include "data/cp932.h"
#include "media/mediafiles.h"
#include "shell/kana.h"
#include "shell/random.h"
#include <cmath>

namespace fm
{

namespace
{

int levelBase(int level)
{
    return KanjiPerLevel * (level - 1);
}

int scaled(int pixels, double fontScale)
{
    return int(std::lround(pixels * fontScale));
}

} // namespace

// ---- question choice ----

TestKanji chooseChallengeKanji(const ProgressTable &progress, int level, StudyKind kind, Random &random)
{
    struct Candidate {
        int16_t kanji;
        int16_t correct;
        bool chosen;
    };
    std::array<Candidate, KanjiPerLevel + 1> c{};
    for (int i = 1; i <= KanjiPerLevel; ++i) {
        const int k = levelBase(level) + i;
        const bool inTable = k >= 1 && k < int(progress.size());
        c[i] = {int16_t(k), inTable ? progress[k][fileValue(kind)].CorrectCount : int16_t(0), false};
    }
    TestKanji out{};
    for (int slot = 1; slot <= QuestionsPerTest; ++slot) {
        int pick = KanjiPerLevel;
        while (c[pick].chosen)
            --pick;
        // The scan meets the pick itself too and tosses for it like any other
        // equal candidate: the draws stay exactly those of the rule.
        for (int i = 1; i <= KanjiPerLevel; ++i) {
            if (c[i].chosen)
                continue;
            if (c[i].correct < c[pick].correct)
                pick = i;
            else if (c[i].correct == c[pick].correct && random.real() < 0.5)
                pick = i;
        }
        c[pick].chosen = true;
        out[slot] = c[pick].kanji;
    }
    return out;
}

TestKanji choosePracticeKanji(int level, Random &random)
{
    QVector<int16_t> left;
    for (int i = 1; i <= KanjiPerLevel; ++i)
        left << int16_t(levelBase(level) + i);
    TestKanji out{};
    for (int slot = 1; slot <= QuestionsPerTest; ++slot) {
        const int r = random.random(KanjiPerLevel + 1 - slot);
        out[slot] = left.takeAt(r);
    }
    return out;
}

void prepareTestSlots(AppState &state, Random &random)
{
    const TestKanji kanji = state.ChallengeMode ? chooseChallengeKanji(state.Progress, state.CurrentLevel,
                                                                       state.CurrentKind, random)
                                                : choosePracticeKanji(state.CurrentLevel, random);
    const RandomFn draw = random.fn();
    for (int n = 1; n <= QuestionsPerTest; ++n) {
        QuestionSlot &s = state.QuestionSlots[n];
        s.Kanji = kanji[n];
        // A word read as a whole (一日) is asked only for its reading.
        s.QuestionChoice = state.CurrentKind == StudyKind::Reading
                               ? pickReadingChoice(state.Bank, s.Kanji, draw)
                               : pickChoice(state.Bank, s.Kanji, draw);
        s.PlayerAnswer.clear();
        s.TargetSegment = 0;
        // Nothing of the previous test may reach this one's grading.
        s.CorrectAnswer.clear();
        s.ShownSegments = {};
        s.Correct = 0;
        s.WrittenGlyph.clear();
        s.StrokeOrderDiffers = false;
        s.DrawingUnchosen = false;
    }
}

ShownQuestion showQuestion(const QuestionRecord &record, const Catalogue &cat, int kanji, StudyKind kind)
{
    const QByteArray glyph =
        kanji >= 1 && kanji <= MaxKanjiNumber ? cat.KanjiTable[kanji].Glyph : QByteArray();
    ShownQuestion q;
    q.target = record.TargetSegment;
    QByteArray word, reading;
    if (splitWholeWord(segmentText(record.Segments[q.target]), &word, &reading)) {
        // The word in red, its reading to type, whatever the test's kind.
        for (int i = 1; i <= 3; ++i)
            q.segments[i] = i == q.target ? cp932::cut(word, SegmentBytes)
                                          : cp932::cut(segmentText(record.Segments[i]), SegmentBytes);
        q.correctAnswer = cp932::cut(reading, AnswerBytes);
        return q;
    }
    for (int i = 1; i <= 3; ++i) {
        const QByteArray text = segmentText(record.Segments[i]);
        if (kind == StudyKind::Reading && i == q.target) {
            q.correctAnswer = cp932::cut(text, AnswerBytes);
            q.segments[i] = glyph;
        } else {
            q.segments[i] = cp932::cut(text, SegmentBytes);
        }
    }
    if (kind == StudyKind::Writing)
        q.correctAnswer = glyph;
    return q;
}

void storeShown(QuestionSlot &slot, const ShownQuestion &shown)
{
    slot.CorrectAnswer = shown.correctAnswer;
    slot.TargetSegment = shown.target;
    for (int i = 1; i <= 3; ++i)
        slot.ShownSegments[i] = shown.segments[i];
}

void markUnseen(QuestionSlot &slot, const Catalogue &cat)
{
    slot.ShownSegments = {};
    slot.TargetSegment = 0;
    slot.CorrectAnswer =
        slot.Kanji >= 1 && slot.Kanji <= MaxKanjiNumber ? cat.KanjiTable[slot.Kanji].Glyph : QByteArray();
    if (slot.CorrectAnswer.isEmpty())
        slot.CorrectAnswer = cp932::fromUnicode(QStringLiteral("？"));
}

// ---- the clock ----

qint64 remainingSeconds(double endTime, double now)
{
    return std::llround((endTime - now) * 86400.0);
}

QString clockText(qint64 remaining)
{
    const qint64 seconds = remaining > 0 ? remaining : 0;
    QString text = QStringLiteral("のこり");
    if (seconds >= 60)
        text += QString::number(seconds / 60) + QStringLiteral("ふん");
    return text + QString::number(seconds % 60) + QStringLiteral("びょう");
}

double clockEnd(double start, int limitMinutes)
{
    return start + limitMinutes / 1440.0;
}

// ---- answers ----

QByteArray storedAnswer(const QByteArray &line)
{
    return cp932::cut(line.trimmed(), AnswerBytes);
}

bool AnswerLine::append(const QByteArray &character)
{
    if (count_ >= limit_)
        return false;
    text_ += character;
    ++count_;
    return true;
}

bool AnswerLine::deleteLast()
{
    if (count_ <= 0 || text_.isEmpty())
        return false;
    // Cut at the start of the last character, whatever its width.
    const int chars = cp932::charCount(text_);
    text_.chop(cp932::charAt(text_, chars - 1).size());
    --count_;
    return true;
}

void AnswerLine::clear()
{
    text_.clear();
    count_ = 0;
}

void AnswerLine::set(const QByteArray &text)
{
    text_ = text;
    count_ = cp932::charCount(text);
}

// ---- the review ----

int reviewAdvance(const std::array<QuestionSlot, 11> &questions, int current)
{
    if (current >= QuestionsPerTest)
        return 0;
    int n = current + 1;
    while (questions[n].Correct == 1 && n < QuestionsPerTest)
        ++n;
    if (n == QuestionsPerTest && questions[n].Correct == 1)
        return 0;
    return n;
}

// ---- hints ----

HintSituation hintSituation(StudyKind kind, KanjiListSource listSource, Panel panelState)
{
    if (kind == StudyKind::Writing && panelState == Panel::Writing)
        return HintSituation::WritingSquare;
    if (kind != StudyKind::Writing || listSource != KanjiListSource::Part)
        return HintSituation::Question;
    if (panelState == Panel::Parts)
        return HintSituation::WritingParts;
    if (panelState == Panel::KanjiList)
        return HintSituation::WritingPartList;
    return HintSituation::WritingChoice;
}

// ---- panels ----

void PanelNav::toParts()
{
    PreviousPanelState = PanelState;
    PanelState = Panel::Parts;
}

void PanelNav::toList()
{
    PreviousPanelState = PanelState;
    PanelState = Panel::KanjiList;
}

void PanelNav::toWriting()
{
    PreviousPanelState = PanelState;
    PanelState = Panel::Writing;
}

PanelNav::Back PanelNav::back()
{
    if (PanelState == Panel::Parts || PanelState == Panel::Writing) {
        reset();
        return Back::ToFirstPanels;
    }
    if (PanelState == Panel::KanjiList && PreviousPanelState == Panel::Parts) {
        PreviousPanelState = Panel::Choice;
        PanelState = Panel::Parts;
        return Back::ToParts;
    }
    if (PanelState == Panel::KanjiList) {
        reset();
        return Back::ToFirstPanels;
    }
    return Back::Nothing;
}

QRect panelButtonRect(PanelButton kind, int i, double s)
{
    switch (kind) {
    case PanelButton::Kana: {
        const int step = scaled(32, s);
        const int c = (i - 1) / 5;
        const int r = i % 5 == 0 ? 4 : i % 5 - 1;
        return {10 + step * c, 25 + step * r, step, step};
    }
    case PanelButton::RadicalGroup: {
        const int w = scaled(128, s), h = scaled(48, s);
        const int c = i <= 4 ? 1 : 2;
        const int r = i <= 4 ? i : i - 4;
        return {10 + w * (c - 1), 25 + h * (r - 1), w, h};
    }
    case PanelButton::Strokes: {
        const int step = scaled(38, s);
        const int c = (i - 1) / 5 + 1;
        const int r = i % 5 == 0 ? 5 : i % 5;
        return {10 + step * (c - 1), 25 + step * (r - 1), step, step};
    }
    case PanelButton::WholeRange: {
        const int step = scaled(38, s);
        return {10, 25 + 5 * step, scaled(152, s), step};
    }
    case PanelButton::Part: {
        const int step = scaled(60, s);
        const int c = (i - 1) / 4 + 1;
        const int r = i % 4 == 0 ? 4 : i % 4;
        return {10 + step * (c - 1), 25 + step * (r - 1), step, step};
    }
    case PanelButton::Candidate: {
        const int step = scaled(30, s);
        const int c = (i - 1) / 5 + 1;
        const int r = i % 5 == 0 ? 5 : i % 5;
        return {10 + step * (c - 1), 24 + step * (r - 1), step, step};
    }
    }
    return {};
}

QByteArray kanaKey(int i)
{
    if (i < 1 || i > KanaKeyCount)
        return {};
    return cp932::fromUnicode(tableKana(i, KanaOrder::FromLastRow));
}

bool kanaKeyShown(int i)
{
    return i >= 1 && i <= KanaKeyCount && i != 32 && i != 33 && i != 34 && i != 42 && i != 44;
}

QString radicalGroupCaption(int group)
{
    static const char *const captions[] = {"",       "へん", "つくり", "かんむり", "あし",
                                           "かまえ", "たれ", "にょう", "そのほか"};
    if (group < 1 || group > RadicalGroupCount)
        return {};
    return QString::fromUtf8(captions[group]);
}

QString radicalGroupPicture(int group)
{
    return media::radicalGroupFile(group);
}

QVector<int16_t> partsOfGroup(const Catalogue &cat, int group)
{
    QVector<int16_t> out;
    if (group < 1 || group > PartGroupCount)
        return out;
    for (int j = 1; j <= MaxPartsShown; ++j) {
        const int16_t p = cat.RadicalTable[group][j];
        if (p == 0)
            break;
        out << p;
    }
    return out;
}

int wholeRangeBase(int level)
{
    if (level <= 4)
        return 0;
    if (level <= 6)
        return 80;
    if (level <= 8)
        return levelBase(level);
    return 160;
}

QVector<int16_t> wholeRangeList(int level, Random &random)
{
    QVector<int16_t> left;
    const int b = wholeRangeBase(level);
    for (int k = b + 1; k <= b + WholeRangeSize; ++k)
        left << int16_t(k);
    QVector<int16_t> out;
    for (int i = 1; i <= WholeRangeSize; ++i)
        out << left.takeAt(random.random(int(left.size())));
    return out;
}

QString wholeRangeCaption(int level)
{
    return level < 5 ? QStringLiteral("ぜんぶのじ") : QStringLiteral("これかな？");
}

} // namespace fm
