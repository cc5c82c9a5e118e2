// The build's pictures, music and sounds: present, of the right size and format.
#include "media/mediafiles.h"
#include "media/pcmaudio.h"
#include "testapp.h"

#include <QFile>
#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

namespace media = fm::media;

namespace
{

QImage loadImage(const char *name)
{
    QImage img(binFile(name));
    EXPECT_FALSE(img.isNull()) << name;
    return img;
}

QByteArray readAll(const QString &name)
{
    QFile f(binFile(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(name);
    return f.readAll();
}

bool isWhite(QRgb c)
{
    return (c & 0xFFFFFF) == 0xFFFFFF;
}

// Pixels of the given colour reachable from start: what the program's flood fill changes.
int reachable(const QImage &img, QPoint start, QRgb colour, QPoint probe, bool *probeReached)
{
    std::vector<char> seen(size_t(img.width() * img.height()), 0);
    std::vector<QPoint> stack{start};
    int n = 0;
    *probeReached = false;
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        if (!img.rect().contains(p) || seen[size_t(p.y() * img.width() + p.x())] ||
            (img.pixel(p) & 0xFFFFFF) != (colour & 0xFFFFFF))
            continue;
        seen[size_t(p.y() * img.width() + p.x())] = 1;
        ++n;
        *probeReached |= p == probe;
        stack.insert(stack.end(), {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)});
    }
    return n;
}

int opaqueCount(const QImage &img, QRect area, QRgb key)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) != (key & 0xFFFFFF);
    return n;
}

} // namespace

TEST(GeneratedPictures, HeaderIconStripHasEightDrawnCellsOnWhite)
{
    const QImage strip = loadImage(media::kButtonStrip);
    ASSERT_EQ(strip.size(), QSize(8 * 48, 48));
    for (int cell = 0; cell < media::kButtonCount; ++cell) {
        const QRect r(cell * 48, 0, 48, 48);
        // Transparent surround, and a real picture filling a good part of the cell.
        EXPECT_TRUE(isWhite(strip.pixel(r.left(), 0)) && isWhite(strip.pixel(r.right(), 47)))
            << "cell " << cell + 1;
        EXPECT_GT(opaqueCount(strip, r, 0xFFFFFF), 48 * 48 / 4) << "cell " << cell + 1;
    }
}

TEST(GeneratedPictures, StarsAreTwoClosedStarsOnWhite)
{
    const QImage stars = loadImage(media::kStars);
    ASSERT_EQ(stars.size(), QSize(68, 34));
    ASSERT_TRUE(isWhite(stars.pixel(1, 1)));
    // The program floods the white from (1, 1); the stars' insides must not be reached.
    for (QPoint centre : {QPoint(17, 18), QPoint(51, 18)}) {
        bool reached = true;
        reachable(stars, {1, 1}, 0xFFFFFF, centre, &reached);
        EXPECT_FALSE(reached);
        EXPECT_FALSE(isWhite(stars.pixel(centre)));
    }
    // The filled star is coloured, the empty one pale.
    EXPECT_GT(qRed(stars.pixel(17, 18)), 200);
    EXPECT_LT(qBlue(stars.pixel(17, 18)), 100);
}

TEST(GeneratedPictures, MolePicturesHaveABlackSurroundTouchingOneOne)
{
    for (const char *name : {media::kMoleHole, media::kMoleHit}) {
        const QImage img = loadImage(name);
        ASSERT_EQ(img.size(), QSize(64, 64)) << name;
        ASSERT_EQ(img.pixel(1, 1) & 0xFFFFFF, 0u) << name;
        bool centreReached = true;
        const int surround = reachable(img, {1, 1}, 0, {32, 40}, &centreReached);
        EXPECT_FALSE(centreReached) << name;
        EXPECT_GT(surround, 64 * 4) << name;                // a real surround ...
        EXPECT_GT(64 * 64 - surround, 64 * 64 / 4) << name; // ... around a real picture
    }
}

TEST(GeneratedPictures, HandPointerIsTransparentWithTheFingertipAtTheHotSpot)
{
    const QImage hand = loadImage(media::kHandPointer);
    ASSERT_EQ(hand.size(), media::kHandPointerSize);
    ASSERT_TRUE(hand.hasAlphaChannel());
    const QPoint hot = media::kHandPointerHotSpot;
    EXPECT_GT(qAlpha(hand.pixel(hot)), 128);
    // Nothing of the hand above or beside the fingertip.
    EXPECT_EQ(qAlpha(hand.pixel(hot.x(), 0)), 0);
    EXPECT_EQ(qAlpha(hand.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(hand.pixel(31, 0)), 0);
}

TEST(GeneratedPictures, ButtonGlyphsHaveANormalAndAGreyedHalf)
{
    for (const char *name : {media::kGlyphClear, media::kGlyphOk, media::kGlyphPrev, media::kGlyphNext,
                             media::kGlyphYomi, media::kGlyphKaki, media::kGlyphStart, media::kGlyphBack}) {
        const QImage g = loadImage(name);
        ASSERT_EQ(g.size(), QSize(32, 16)) << name;
        bool colourful = false, greyOnly = true;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const QRgb a = g.pixel(x, y), b = g.pixel(x + 16, y);
                colourful |= qRed(a) != qGreen(a) || qGreen(a) != qBlue(a);
                greyOnly &= qRed(b) == qGreen(b) && qGreen(b) == qBlue(b);
                EXPECT_EQ(isWhite(a), isWhite(b)) << name << " at " << x << "," << y;
            }
        EXPECT_TRUE(colourful) << name;
        EXPECT_TRUE(greyOnly) << name;
    }
}

TEST(GeneratedPictures, MetafilesArePlaceableWithAHeader)
{
    QStringList names;
    for (int n = 1; n <= media::kPopCount; ++n)
        names << QStringLiteral("Pop%1.wmf").arg(n);
    for (int n = 1; n <= media::kPresentCount; ++n)
        names << QStringLiteral("Present%1.wmf").arg(n);
    for (const QString &name : names) {
        const QByteArray b = readAll(name);
        ASSERT_GT(b.size(), 22 + 18) << qPrintable(name);
        EXPECT_EQ(qFromLittleEndian<quint32>(b.constData()), 0x9AC6CDD7u) << qPrintable(name);
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 22), 1) << qPrintable(name); // memory metafile
        EXPECT_EQ(qFromLittleEndian<quint16>(b.constData() + 24), 9) << qPrintable(name); // header words
        // The header's size in words is the file's size.
        EXPECT_EQ(qFromLittleEndian<quint32>(b.constData() + 28) * 2, quint32(b.size())) << qPrintable(name);
    }
}

TEST(GeneratedSounds, MidiFilesAreFormatOneWithTheTracksTheyAnnounce)
{
    for (const char *name :
         {media::kMenuMusic, media::kTestMusic, media::kMatchMusic, media::kMoleMusic, media::kListMusic}) {
        const QByteArray b = readAll(name);
        ASSERT_GE(b.size(), 14) << name;
        ASSERT_TRUE(b.startsWith("MThd")) << name;
        EXPECT_EQ(qFromBigEndian<quint32>(b.constData() + 4), 6u);
        EXPECT_EQ(qFromBigEndian<quint16>(b.constData() + 8), 1) << name;
        const int announced = qFromBigEndian<quint16>(b.constData() + 10);
        EXPECT_EQ(qFromBigEndian<quint16>(b.constData() + 12), 480) << name;
        int found = 0;
        qsizetype pos = 14;
        while (pos + 8 <= b.size()) {
            ASSERT_EQ(b.mid(pos, 4), "MTrk") << name << " at " << pos;
            const quint32 len = qFromBigEndian<quint32>(b.constData() + pos + 4);
            ASSERT_LE(pos + 8 + qsizetype(len), b.size()) << name;
            EXPECT_EQ(b.mid(pos + 8 + len - 3, 3), QByteArray("\xFF\x2F\x00", 3)) << name; // end of track
            pos += 8 + len;
            ++found;
        }
        EXPECT_EQ(pos, b.size()) << name;
        EXPECT_EQ(found, announced) << name;
        EXPECT_GE(found, 4) << name; // tempo track, melody, harmony, bass at least
    }
}

TEST(GeneratedSounds, WaveFilesAreShortAudible16BitPcm)
{
    for (const char *name : {media::kRightSound, media::kWrongSound, media::kHitSound, media::kMissSound}) {
        QString why;
        const auto pcm = media::readWav(binFile(name), &why);
        ASSERT_TRUE(pcm) << name << ": " << qPrintable(why);
        EXPECT_EQ(pcm->channels, 1) << name;
        EXPECT_GE(pcm->sampleRate, 22050) << name;
        EXPECT_GT(pcm->seconds(), 0.1) << name;
        EXPECT_LT(pcm->seconds(), 1.5) << name;
        EXPECT_GT(media::rms(*pcm), 0.03) << name;  // not silent
        EXPECT_LT(media::peak(*pcm), 0.99) << name; // and not clipped
    }
}
