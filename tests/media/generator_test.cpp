// The generator's readers and writers: picture sources, scores and MIDI output.
#include "media/wmfpicture.h"
#include "testapp.h"
#include "tools/mediagen/art.h"
#include "tools/mediagen/bitmaps.h"
#include "tools/mediagen/music.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace gen = fm::mediagen;

namespace
{

QString contentDir()
{
    return QStringLiteral(FUDEMARU_SOURCE_DIR "/content");
}

template <typename Error, typename F> QString errorOf(F &&f)
{
    try {
        f();
    } catch (const Error &e) {
        return QString::fromStdString(e.what());
    }
    return {};
}

} // namespace

TEST(ArtSource, ReportsTheLineOfAMistake)
{
    EXPECT_TRUE(errorOf<gen::ArtError>([] {
                    gen::parseArt("size 10 10\nbrush #ff0000\nsquare 1 2 3 4\n", "a.art");
                }).startsWith("a.art:3:"));
    EXPECT_TRUE(errorOf<gen::ArtError>([] { gen::parseArt("rect 0 0 5 5\n", "b.art"); }).contains("size"));
    EXPECT_TRUE(errorOf<gen::ArtError>([] {
                    gen::parseArt("size 10 10\nrect 0 0 5\n", "c.art");
                }).startsWith("c.art:2:"));
    EXPECT_TRUE(
        errorOf<gen::ArtError>([] { gen::parseArt("size 10 10\npen red 2\n", "d.art"); }).contains("colour"));
    // Colours are not comments; comments are.
    const gen::Art art =
        gen::parseArt("size 10 10  # the box\nbrush #123456 # blue-ish\ncircle 5 5 4\n", "e.art");
    ASSERT_EQ(art.commands.size(), 2u);
    EXPECT_EQ(art.commands[0].color, QColor("#123456"));
}

TEST(ArtSource, MetafileThroughOurReaderLooksLikeTheDirectDrawing)
{
    ensureApp();
    QTemporaryDir dir;
    const QDir artDir(contentDir() + "/art");
    const QStringList sources = artDir.entryList({"pop*.art", "present*.art"});
    ASSERT_EQ(sources.size(), 13);
    for (const QString &file : sources) {
        const gen::Art art = gen::loadArt(artDir.filePath(file));
        const QString wmf = dir.filePath(file + ".wmf");
        gen::writeWmf(art, wmf);
        const QSize size(96, 96);
        QImage direct(size, QImage::Format_ARGB32_Premultiplied);
        direct.fill(Qt::white);
        {
            QPainter p(&direct);
            gen::paintArt(p, art, QRectF(0, 0, 96, 96));
        }
        const QImage viaWmf = fm::media::renderWmf(wmf, size);
        ASSERT_FALSE(viaWmf.isNull()) << qPrintable(file);
        // Same shapes, same colours: only the edges may differ by a little.
        int differing = 0;
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb a = direct.pixel(x, y), b = viaWmf.pixel(x, y);
                differing += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                 std::abs(qBlue(a) - qBlue(b)) >
                             90;
            }
        EXPECT_LT(differing, size.width() * size.height() / 50) << qPrintable(file);
    }
}

TEST(ArtBitmaps, KeyedPicturesNeverBlendIntoTheKeyColour)
{
    ensureApp();
    // A red disc: its antialiased rim must come out red or key, never pink.
    const gen::Art disc = gen::parseArt("size 10 10\npen none\nbrush #ff0000\ncircle 5 5 4\n", "k.art");
    const QImage keyed = gen::onKeyColour(gen::drawArt(disc, {40, 40}), Qt::white);
    int red = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const QRgb c = keyed.pixel(x, y);
            ASSERT_TRUE(c == 0xFFFFFFFFu || c == 0xFFFF0000u) << x << "," << y << " " << std::hex << c;
            red += c == 0xFFFF0000u;
        }
    EXPECT_NEAR(red, 3.14159 * 16 * 16, 30);
    // Painted white is nudged off the key, so it stays visible.
    const gen::Art white = gen::parseArt("size 10 10\npen none\nbrush #ffffff\nrect 0 0 10 10\n", "w.art");
    EXPECT_NE(gen::onKeyColour(gen::drawArt(white, {8, 8}), Qt::white).pixel(4, 4), 0xFFFFFFFFu);
}

TEST(Score, BarLinesAndTrackLengthsAreChecked)
{
    const QString head = "tempo 120\nmeter 4/4\n";
    EXPECT_TRUE(errorOf<gen::ScoreError>([&] {
                    gen::parseScore(head + "track A program 1 channel 1\n| c4/4 d4/4 e4/4 |\nend\n",
                                    "s.score");
                }).startsWith("s.score:4:"));
    EXPECT_TRUE(errorOf<gen::ScoreError>([&] {
                    gen::parseScore(
                        head + "track A channel 1\n| c4/1 |\nend\ntrack B channel 2\n| c4/1 | d4/1 |\nend\n",
                        "t.score");
                }).contains("bars"));
    EXPECT_TRUE(errorOf<gen::ScoreError>([&] {
                    gen::parseScore(head + "track A channel 1\n| h4/1 |\nend\n", "u.score");
                }).contains("bad note"));
    EXPECT_TRUE(errorOf<gen::ScoreError>([&] {
                    gen::parseScore(head + "track A channel 1\n| @nothing |\nend\n", "v.score");
                }).contains("no pattern"));
    EXPECT_TRUE(errorOf<gen::ScoreError>([&] {
                    gen::parseScore(head + "pattern p\n| @p |\nend\ntrack A channel 1\n@p\nend\n", "w.score");
                }).contains("deeply"));
}

TEST(Score, NotesChordsAndPatternsBecomeTimedNotes)
{
    const gen::Score s =
        gen::parseScore("tempo 120\nmeter 3/4\n"
                        "pattern p\n| c4/4 e4/8 g4/8 r/4 |\nend\n"
                        "track Tune program 1 channel 1\n@p*2 | c4+e4+g4/2. |\nend\n"
                        "track Chords program 1 channel 2\nstyle=waltz oct=4\n| C | G7 | F C |\nend\n",
                        "x.score");
    ASSERT_EQ(s.tracks.size(), 2u);
    EXPECT_EQ(s.barTicks(), 3 * 480);
    EXPECT_EQ(s.lengthTicks, 3 * s.barTicks());
    EXPECT_DOUBLE_EQ(s.seconds(), 4.5);
    const auto &tune = s.tracks[0].notes;
    ASSERT_EQ(tune.size(), 9u);
    EXPECT_EQ(tune[0].key, 60);
    EXPECT_EQ(tune[1].start, 480);
    EXPECT_EQ(tune[2].start, 720);
    EXPECT_EQ(tune[3].start, s.barTicks()); // the pattern again
    EXPECT_EQ(tune[6].start, 2 * s.barTicks());
    EXPECT_EQ(tune[8].key, 67);
    // The waltz: a bass note on one, chords on two and three; G7 has four tones.
    const auto &acc = s.tracks[1].notes;
    for (const gen::MidiNote &n : acc) {
        EXPECT_GE(n.start, 0);
        EXPECT_LE(n.start + n.length, s.lengthTicks);
    }
    EXPECT_EQ(acc[0].key, 48); // C3 under the C chord
    const auto inSecondBar = std::count_if(acc.begin(), acc.end(), [&](const gen::MidiNote &n) {
        return n.start >= s.barTicks() && n.start < 2 * s.barTicks();
    });
    EXPECT_EQ(inSecondBar, 1 + 4 + 4);
}

TEST(Score, MidiFileHoldsEveryNoteAndEndsExactlyOnTheLoopPoint)
{
    const gen::Score s =
        gen::parseScore("tempo 100\nmeter 4/4\n"
                        "track A program 74 channel 1\n| c5/2 e5/4 g5/4 | c6/1 |\nend\n"
                        "track D channel 10\n| kick/4 hat/4 snare/4 hat/4 | kick+crash/1 |\nend\n",
                        "y.score");
    const QByteArray midi = gen::toMidiFile(s);
    ASSERT_TRUE(midi.startsWith("MThd"));
    EXPECT_EQ(int(uchar(midi[11])), 3); // tempo track and two parts
    // Walk the last track: count note-ons and add up the delta times.
    qsizetype pos = 14;
    for (int t = 0; t < 3; ++t) {
        ASSERT_EQ(midi.mid(pos, 4), "MTrk");
        const qsizetype len = qFromBigEndian<quint32>(midi.constData() + pos + 4);
        const QByteArray body = midi.mid(pos + 8, len);
        pos += 8 + len;
        int tick = 0, noteOns = 0, programChanges = 0;
        for (qsizetype i = 0; i < body.size();) {
            quint32 delta = 0;
            uchar c;
            do {
                c = uchar(body[i++]);
                delta = (delta << 7) | (c & 0x7F);
            } while (c & 0x80);
            tick += int(delta);
            const uchar status = uchar(body[i]);
            if (status == 0xFF) {
                const int metaLen = uchar(body[i + 2]);
                i += 3 + metaLen;
            } else {
                noteOns += (status & 0xF0) == 0x90;
                programChanges += (status & 0xF0) == 0xC0;
                i += (status & 0xF0) == 0xC0 ? 2 : 3;
            }
        }
        EXPECT_EQ(tick, s.lengthTicks) << "track " << t;
        if (t == 1) {
            EXPECT_EQ(noteOns, 4);
            EXPECT_EQ(programChanges, 1);
        }
        if (t == 2) {
            EXPECT_EQ(noteOns, 6);
            EXPECT_EQ(programChanges, 0); // the drum channel keeps its kit
        }
    }
}

TEST(Score, TheShippedPiecesParse)
{
    for (const char *name : {"menu", "mondai", "eawase", "mogu", "ichiran"}) {
        const gen::Score s = gen::loadScore(contentDir() + "/music/" + QString::fromLatin1(name) + ".score");
        EXPECT_GE(s.seconds(), 30) << name;
        EXPECT_LE(s.seconds(), 90) << name;
        EXPECT_GE(s.tracks.size(), 3u) << name;
    }
}
