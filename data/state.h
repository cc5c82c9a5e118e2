#pragma once
// The program-wide state: tables, the current player and the current test.
// The application owns one instance and hands screens a reference.
#include "data/catalogue.h"
#include "data/hintfile.h"
#include "data/questionbank.h"
#include "data/roster.h"
#include "data/settings.h"
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace fm
{

struct HintCtx {
    int16_t screen = 1;
    HintSituation situation = HintSituation::Screen;
    StudyKind kind = StudyKind::Reading;
    bool operator==(const HintCtx &) const = default;
};

// How a kanji list of the writing panels was made.
enum class KanjiListSource : int16_t { None = 0, Part = 1, Strokes = 2, WholeRange = 3 };

constexpr int AnswerBytes = 10;

struct QuestionSlot {
    int16_t Kanji = 0;
    int16_t QuestionChoice = 0;
    QByteArray CorrectAnswer;                // at most 10 bytes
    QByteArray PlayerAnswer;                 // at most 10 bytes
    std::array<QByteArray, 4> ShownSegments; // [1..3], at most 20 bytes each
    int16_t TargetSegment = 0;
    uint8_t Correct = 0;
    // Answered on the writing square: the kanji chosen from its candidates,
    // and whether the strokes written differ from that kanji's stroke order
    // (advice after grading, never a penalty).
    QByteArray WrittenGlyph;
    bool StrokeOrderDiffers = false;
    // The question was left with strokes on the square that no candidate
    // was chosen for: no answer, but grading says why.
    bool DrawingUnchosen = false;
};

struct AppState {
    QString ProgramDir; // the shipped files, read only
    QString DataDir;    // the records the program writes (Player1.dat, Kiroku<n>.dat, Game<n>.dat)
    QString SettingsPath;

    Catalogue Cat;
    QuestionBank Bank;
    Roster Players;
    AppSettings Settings;
    HintIndex Hints;

    int16_t LevelCount = fm::LevelCount; // levels the question bank fills

    // The current player.
    int16_t CurrentPlayer = 0;
    int16_t CurrentLevel = 1;
    StudyKind CurrentKind = StudyKind::Reading;
    int16_t LevelCorrectCount = 0;
    bool LevelUpFlag = false;
    bool ReviewMode = false;
    bool ChallengeMode = true;
    // How the last kanji list of a writing answer was made; kept for the
    // whole run, like the hint pages that depend on it.
    KanjiListSource ListSource = KanjiListSource::None;
    int16_t Game1Level = 0; // the games' current copies
    int16_t Game2Level = 0;
    ProgressTable Progress{};

    // The current test.
    std::array<QuestionSlot, 11> QuestionSlots{}; // [1..10]
    int16_t TestScore = 0;
    static constexpr int PassMark = 7;

    HintCtx HintContext;
    int16_t HintQuestion = 0;

    PlayerEntry &currentEntry() { return Players.PlayerTable[CurrentPlayer]; }
};

} // namespace fm
