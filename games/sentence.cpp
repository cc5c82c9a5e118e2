#include "games/sentence.h"
#include "data/cp932.h"
#include "data/state.h"
#include "shell/look.h"
#include <QLabel>

namespace fm::games
{

GameSentence readGameSentence(const AppState &state, int kanji, const RandomFn &random)
{
    const int choice = pickChoice(state.Bank, kanji, random);
    const QuestionRecord record = readQuestionRecord(state.Bank, state.ProgramDir, kanji, choice);
    GameSentence s;
    s.target = record.TargetSegment;
    for (int i = 1; i <= 3; ++i)
        s.segments[size_t(i)] = cp932::cut(segmentText(record.Segments[size_t(i)]), SegmentBytes);
    return s;
}

SentenceLine::SentenceLine(QWidget *parent, int top, const QFont &font) : top_(top)
{
    for (int i = 1; i <= 3; ++i) {
        QLabel *l = makeLabel(parent, QString(), 10, top, font, colour::White);
        l->setProperty("tag", i);
        l->show(); // made on a screen that may already be showing
        labels_[size_t(i)] = l;
    }
}

void SentenceLine::show(const GameSentence &sentence)
{
    for (int i = 1; i <= 3; ++i) {
        QLabel *l = labels_[size_t(i)];
        l->setText(cp932::toUnicode(sentence.segments[size_t(i)]));
        setTextColour(l, i == sentence.target ? colour::Red : colour::White);
        l->adjustSize();
        if (sentence.segments[size_t(i)].isEmpty())
            l->resize(0, l->height());
    }
    const auto x = sentenceLayout(labels_[1]->width(), labels_[2]->width());
    for (int i = 1; i <= 3; ++i)
        labels_[size_t(i)]->move(x[size_t(i - 1)], top_);
}

void SentenceLine::clear()
{
    for (int i = 1; i <= 3; ++i)
        labels_[size_t(i)]->clear();
}

} // namespace fm::games
