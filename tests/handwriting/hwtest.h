#pragma once
// What the handwriting tests share: the shipped catalogue and reference
// strokes of the program directory, and ink a child might draw from them.
#include "data/catalogue.h"
#include "data/cp932.h"
#include "data/errors.h"
#include "handwriting/reference.h"
#include <QCoreApplication>
#include <gtest/gtest.h>
#include <memory>
#include <random>

namespace fm::test
{

inline QString programDir()
{
    return QStringLiteral(FUDEMARU_BIN_DIR);
}

inline const Catalogue &shippedCatalogue()
{
    static const std::unique_ptr<Catalogue> cat = [] {
        auto c = std::make_unique<Catalogue>();
        loadCatalogue(*c, programDir());
        return c;
    }();
    return *cat;
}

// The number of a kanji in the shipped catalogue; 0 when it is not there.
inline int kanjiNumber(const char *glyph)
{
    const QByteArray bytes = cp932::fromUnicode(QString::fromUtf8(glyph));
    for (int k = 1; k <= MaxKanjiNumber; ++k)
        if (shippedCatalogue().KanjiTable[k].Strokes > 0 && shippedCatalogue().KanjiTable[k].Glyph == bytes)
            return k;
    return 0;
}

// nullptr when the build could not make Kakijun1.dat (python3-kanjidraw missing).
inline const ReferenceStrokes *shippedStrokes()
{
    static const std::unique_ptr<ReferenceStrokes> strokes = []() -> std::unique_ptr<ReferenceStrokes> {
        try {
            return std::make_unique<ReferenceStrokes>(ReferenceStrokes::load(programDir()));
        } catch (const FileError &) {
            return nullptr;
        }
    }();
    return strokes.get();
}

// Each point moved by up to `amount` units either way, the same for a given seed.
inline Ink jittered(Ink ink, double amount, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> shift(-amount, amount);
    for (InkStroke &stroke : ink)
        for (QPointF &p : stroke)
            p += QPointF(shift(rng), shift(rng));
    return ink;
}

// The event loop some tests need for queued calls.
inline void ensureApplication()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "test_handwriting";
        static char *argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
}

} // namespace fm::test
