#pragma once
// The shape of the course and the two typed values every record carries.
#include <cstdint>

namespace fm
{

constexpr int KanjiPerLevel = 20;
constexpr int LevelCount = 12;
constexpr int KanjiCount = KanjiPerLevel * LevelCount; // 240
constexpr int TopLevel = LevelCount + 1;               // every level passed

// The first and last kanji number of a level 1..12.
constexpr int firstKanjiOf(int level)
{
    return KanjiPerLevel * (level - 1) + 1;
}
constexpr int lastKanjiOf(int level)
{
    return KanjiPerLevel * level;
}

// Reading ("よむ") or writing ("かく"); the enum's values are what the
// roster, the logs and the hint file store.
enum class StudyKind : int16_t { Reading = 1, Writing = 2 };
// Challenge or practice; stored in a log record as 1 or 2.
enum class StudyMode : int16_t { Challenge = 1, Practice = 2 };

constexpr int16_t fileValue(StudyKind kind)
{
    return int16_t(kind);
}
constexpr int16_t fileValue(StudyMode mode)
{
    return int16_t(mode);
}
// A stored kind as the program uses it: anything but writing reads as
// reading. A log record of another kind is skipped (isValidRecord); a roster
// entry keeps the value it was read with, so that saving it writes it back
// unchanged, and is read through this.
constexpr StudyKind kindFromFile(int value)
{
    return value == fileValue(StudyKind::Writing) ? StudyKind::Writing : StudyKind::Reading;
}
constexpr StudyKind kindFromFile(StudyKind stored)
{
    return kindFromFile(fileValue(stored));
}
constexpr bool isStudyKind(int value)
{
    return value == fileValue(StudyKind::Reading) || value == fileValue(StudyKind::Writing);
}
constexpr bool isStudyMode(int value)
{
    return value == fileValue(StudyMode::Challenge) || value == fileValue(StudyMode::Practice);
}
// The other kind: reading is followed by writing, writing by the next level's reading.
constexpr StudyKind otherKind(StudyKind kind)
{
    return kind == StudyKind::Reading ? StudyKind::Writing : StudyKind::Reading;
}

} // namespace fm
