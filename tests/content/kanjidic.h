#pragma once
// The parts of KANJIDIC the content is checked against.
#include <QHash>
#include <QSet>
#include <QString>

struct KanjidicEntry {
    int grade = 0;          // G field, 0 when none
    int strokes = 0;        // the first S field
    int radical = 0;        // the classical radical a teacher names (C field, else B), 1..214
    QSet<QString> readings; // in hiragana, okurigana and name readings left out
};

constexpr const char *KanjidicPath = "/usr/share/edict/kanjidic";

// Empty when the file cannot be read.
QHash<QString, KanjidicEntry> loadKanjidic(const QString &path = QString::fromLatin1(KanjidicPath));
