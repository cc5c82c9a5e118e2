#pragma once
// The rules of marking a finished test and of the result window that
// follows, kept apart from the widgets so they can be checked alone.
#include "data/state.h"
#include <QByteArray>
#include <QString>

namespace fm
{

constexpr int GradingIntervalMs = 1500; // one row of the table per step
constexpr int SentenceBytes = 60;       // three shown segments of at most 20 bytes

// What happens once every row is marked, by the score.
enum class GradingFinish {
    RecordAndResult,        // 10: recorded as passed, result, then a fresh mode screen
    RecordResultThenReview, // below the pass mark: recorded as not passed, result, then review
    ReviewFirst,            // pass mark to 9: review; recorded and result at its end
};
GradingFinish gradingFinish(int score);

// An answer is right exactly when it has the same bytes as the expected one
// (so katakana for hiragana, or an empty answer, is wrong).
bool answerIsRight(const QByteArray &answer, const QByteArray &expected);

// One marked row of the grading table, texts still in cp932.
struct GradedRow {
    int number = 0;
    QByteArray sentence; // the three segments as shown, at most 60 bytes
    QByteArray answer;
    bool drawingUnchosen = false; // no answer: a drawing was left unchosen
    QByteArray expected;
    bool right = false;
};

// Marks question n (1..10): sets the slot's Correct flag and adds a right
// answer to TestScore.
GradedRow gradeQuestion(AppState &state, int n);

// A right answer written on the square in another stroke order: advice
// (never a penalty) that grading and the result window offer.
bool strokeOrderAdvised(const QuestionSlot &slot);

// The points label: empty while nothing is right, else "<score x 10>てん".
QString pointsText(int score);
// The points turn red from the pass mark on.
bool pointsInRed(int score);

// Everything the result window shows, decided from the state the record
// routine left behind.
struct ResultContent {
    QString title;        // window title
    QString message;      // how the test went
    QString levelMessage; // level news (empty when there is none)
    QString picture;      // picture file, empty for the built-in picture
    bool showProgress = false;
    QString progressCaption; // "<name>の、チャレンジきろく"
    QString levelLine;
    QString kindLine;
    int progress = 0; // 0..PassCount
};
ResultContent resultContent(const AppState &state);

} // namespace fm
