#pragma once
// The example sentence a game shows for a turned kanji: three segments in
// one line at the top of the screen, the target word in red.
#include "data/questionbank.h"
#include <QFont>
#include <array>

class QLabel;
class QWidget;

namespace fm
{
struct AppState;
}

namespace fm::games
{

struct GameSentence {
    std::array<QByteArray, 4> segments; // [1..3], as shown
    int target = 0;                     // 1..3
};

// A fresh sentence of kanji k: a new choice each time. A sentence that
// cannot be read, or names no target segment, is a FileError of Mondai1.dat.
GameSentence readGameSentence(const AppState &state, int kanji, const RandomFn &random);

// The three labels of the sentence (SentenceLabels[1..3]).
class SentenceLine
{
  public:
    SentenceLine(QWidget *parent, int top, const QFont &font);
    void show(const GameSentence &sentence);
    void clear();
    QLabel *label(int i) const { return labels_[size_t(i)]; }

  private:
    std::array<QLabel *, 4> labels_{};
    int top_;
};

} // namespace fm::games
