// The WMF reader: the shipped pictures, the GDI records it must draw, and damaged files.
#include "media/mediafiles.h"
#include "media/wmfpicture.h"
#include "testapp.h"

#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

extern "C" {
#include <uwmf.h>
}

namespace media = fm::media;

namespace
{

QStringList shippedMetafiles()
{
    QStringList names;
    for (int n = 1; n <= media::kPopCount; ++n)
        names << QStringLiteral("Pop%1.wmf").arg(n);
    for (int n = 1; n <= media::kPresentCount; ++n)
        names << QStringLiteral("Present%1.wmf").arg(n);
    return names;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Builds a small metafile in memory, record by record, through libuemf.
class MetafileBuilder
{
  public:
    explicit MetafileBuilder(const QString &path) : path_(path)
    {
        wmf_start(QFile::encodeName(path).constData(), 4096, 4096, &wt_);
        wmf_htable_create(16, 16, &wht_);
        U_PAIRF *size = U_PAIRF_set(1, 1);
        wmf_header_append(reinterpret_cast<U_METARECORD *>(U_WMRHEADER_set(size, 1440)), wt_, 1);
        std::free(size);
    }
    ~MetafileBuilder()
    {
        wmf_htable_free(&wht_);
        wmf_free(&wt_);
    }
    MetafileBuilder &add(char *rec)
    {
        wmf_append(reinterpret_cast<U_METARECORD *>(rec), wt_, 1);
        return *this;
    }
    MetafileBuilder &window(int x, int y, int w, int h)
    {
        add(U_WMRSETWINDOWORG_set(U_POINT16{int16_t(x), int16_t(y)}));
        return add(U_WMRSETWINDOWEXT_set(U_POINT16{int16_t(w), int16_t(h)}));
    }
    uint32_t brush(U_COLORREF c)
    {
        uint32_t h = 0;
        add(wcreatebrushindirect_set(&h, wht_, U_WLOGBRUSH_set(U_BS_SOLID, c, 0)));
        return h;
    }
    uint32_t nullPen()
    {
        uint32_t h = 0;
        add(wcreatepenindirect_set(&h, wht_, U_PEN_set(U_PS_NULL, 0, U_RGB(0, 0, 0))));
        return h;
    }
    MetafileBuilder &select(uint32_t h) { return add(wselectobject_set(h, wht_)); }
    MetafileBuilder &remove(uint32_t h) { return add(wdeleteobject_set(&h, wht_)); }
    QString finish()
    {
        add(U_WMREOF_set());
        wmf_finish(wt_);
        return path_;
    }

  private:
    QString path_;
    WMFTRACK *wt_ = nullptr;
    WMFHANDLES *wht_ = nullptr;
};

QImage render(const QString &path, QSize size)
{
    media::WmfError err;
    const auto pic = media::WmfPicture::load(path, &err);
    EXPECT_TRUE(pic) << qPrintable(err.reason);
    // Without antialiasing the edges are exact, so pixels can be checked one by one.
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    if (pic) {
        QPainter p(&img);
        pic->render(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return img;
}

constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

} // namespace

TEST(WmfReader, DrawsEveryShippedPictureAtTheSizesTheProgramUses)
{
    ensureApp();
    for (const QString &name : shippedMetafiles()) {
        const QList<QSize> sizes =
            name.startsWith("Pop") ? QList<QSize>{{48, 48}, {70, 70}} : QList<QSize>{{105, 97}};
        for (QSize size : sizes) {
            media::WmfError err;
            const QImage img = media::renderWmf(binFile(name), size, &err);
            ASSERT_FALSE(img.isNull()) << qPrintable(name) << ": " << qPrintable(err.reason);
            ASSERT_EQ(img.size(), size);
            int drawn = 0;
            QSet<QRgb> colours;
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const QRgb c = img.pixel(x, y);
                    drawn += c != kWhite;
                    colours.insert(c & 0xF0F0F0); // coarse, so antialiasing does not count
                }
            EXPECT_GT(drawn, size.width() * size.height() / 3) << qPrintable(name);
            EXPECT_GE(colours.size(), 4) << qPrintable(name);
        }
    }
}

TEST(WmfReader, MapsTheWindowOntoTheTarget)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("w.wmf"));
    b.window(100, 100, 200, 100);
    b.select(b.nullPen());
    b.select(b.brush(U_RGB(255, 0, 0)));
    b.add(U_WMRRECTANGLE_set(U_RECT16{100, 100, 200, 200})); // the left half of the window
    const QImage img = render(b.finish(), {40, 20});
    EXPECT_EQ(img.pixel(2, 10), kRed);
    EXPECT_EQ(img.pixel(17, 2), kRed);
    EXPECT_EQ(img.pixel(22, 10), kWhite);
    EXPECT_EQ(img.pixel(38, 18), kWhite);
}

TEST(WmfReader, UsesThePlaceableBoxWhenThereIsNoWindow)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("p.wmf")); // placeable box 0,0 - 1440,1440
    b.select(b.nullPen());
    b.select(b.brush(U_RGB(0, 0, 255)));
    b.add(U_WMRRECTANGLE_set(U_RECT16{720, 720, 1440, 1440}));
    const QImage img = render(b.finish(), {20, 20});
    EXPECT_EQ(img.pixel(15, 15), kBlue);
    EXPECT_EQ(img.pixel(5, 5), kWhite);
}

TEST(WmfReader, NewObjectsTakeTheLowestFreeSlot)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("o.wmf"));
    b.window(0, 0, 10, 10);
    const uint32_t pen = b.nullPen();               // slot 0
    const uint32_t red = b.brush(U_RGB(255, 0, 0)); // slot 1
    b.select(pen);
    b.remove(red); // slot 1 free again
    const uint32_t blue = b.brush(U_RGB(0, 0, 255));
    EXPECT_EQ(blue, red);
    b.select(blue);
    b.add(U_WMRRECTANGLE_set(U_RECT16{0, 0, 10, 10}));
    EXPECT_EQ(render(b.finish(), {10, 10}).pixel(5, 5), kBlue);
}

TEST(WmfReader, DrawsPiesCounterClockwiseFromTheStartRay)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("pie.wmf"));
    b.window(0, 0, 100, 100);
    b.select(b.nullPen());
    b.select(b.brush(U_RGB(255, 0, 0)));
    // From 3 o'clock to 12 o'clock: the top right quarter.
    b.add(U_WMRPIE_set(U_POINT16{100, 50}, U_POINT16{50, 0}, U_RECT16{0, 0, 100, 100}));
    const QImage img = render(b.finish(), {100, 100});
    EXPECT_EQ(img.pixel(70, 30), kRed);
    EXPECT_EQ(img.pixel(30, 30), kWhite);
    EXPECT_EQ(img.pixel(30, 70), kWhite);
    EXPECT_EQ(img.pixel(70, 70), kWhite);
}

TEST(WmfReader, PolyPolygonHolesAndLinesAndSkippedRecords)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("pp.wmf"));
    b.window(0, 0, 100, 100);
    b.add(U_WMRSETTEXTCOLOR_set(U_RGB(0, 0, 0))); // records without drawing are passed over
    b.add(U_WMRTEXTOUT_set(U_POINT16{5, 5}, const_cast<char *>("x")));
    b.select(b.nullPen());
    b.select(b.brush(U_RGB(0, 0, 255)));
    b.add(U_WMRSETPOLYFILLMODE_set(U_ALTERNATE));
    const U_POINT16 pts[] = {{10, 10}, {90, 10}, {90, 90}, {10, 90}, {30, 30}, {70, 30}, {70, 70}, {30, 70}};
    const uint16_t counts[] = {4, 4};
    b.add(U_WMRPOLYPOLYGON_set(2, counts, pts));
    const QImage img = render(b.finish(), {100, 100});
    EXPECT_EQ(img.pixel(20, 50), kBlue);  // the ring
    EXPECT_EQ(img.pixel(50, 50), kWhite); // the hole
}

TEST(WmfReader, MoveToLineToDrawsWithTheSelectedPen)
{
    QTemporaryDir dir;
    MetafileBuilder b(dir.filePath("l.wmf"));
    b.window(0, 0, 100, 100);
    b.select(b.brush(U_RGB(255, 255, 255)));
    b.add(U_WMRMOVETO_set(U_POINT16{0, 50}));
    b.add(U_WMRLINETO_set(U_POINT16{100, 50}));
    const QImage img = render(b.finish(), {100, 100});
    EXPECT_EQ(img.pixel(50, 50) & 0xFFFFFF, 0u); // the default pen is black
    EXPECT_EQ(img.pixel(50, 20), kWhite);
}

TEST(WmfReader, RejectsATruncatedFileByName)
{
    QTemporaryDir dir;
    const QByteArray whole = fileBytes(binFile("Pop3.wmf"));
    ASSERT_FALSE(whole.isEmpty());
    const QString path = dir.filePath("Pop3.wmf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(whole.left(whole.size() / 2));
    f.close();
    media::WmfError err;
    EXPECT_TRUE(media::renderWmf(path, {48, 48}, &err).isNull());
    EXPECT_EQ(err.fileName, "Pop3.wmf");
    EXPECT_FALSE(err.reason.isEmpty());
}

TEST(WmfReader, NeverAcceptsAnyCutOfAFileNorCrashesOnIt)
{
    const QByteArray whole = fileBytes(binFile("Present2.wmf"));
    ASSERT_FALSE(whole.isEmpty());
    ASSERT_TRUE(media::WmfPicture::fromData(whole, "Present2.wmf"));
    for (qsizetype n = 0; n < whole.size(); ++n) {
        media::WmfError err;
        ASSERT_FALSE(media::WmfPicture::fromData(whole.left(n), "Present2.wmf", &err)) << "cut at " << n;
        ASSERT_EQ(err.fileName, "Present2.wmf");
    }
}

TEST(WmfReader, RejectsFilesThatAreNoMetafile)
{
    media::WmfError err;
    EXPECT_FALSE(media::WmfPicture::load(binFile("no-such-picture.wmf"), &err));
    EXPECT_EQ(err.fileName, "no-such-picture.wmf");
    EXPECT_FALSE(media::WmfPicture::fromData(fileBytes(binFile(media::kStars)), "Stars.bmp", &err));
    EXPECT_FALSE(media::WmfPicture::fromData(QByteArray(200, '\xFF'), "junk.wmf", &err));
    // A record that claims to be longer than the file.
    QByteArray bad = fileBytes(binFile("Pop1.wmf"));
    ASSERT_GT(bad.size(), 60);
    bad[22 + 18] = char(0xFF);
    bad[22 + 19] = char(0x7F);
    EXPECT_FALSE(media::WmfPicture::fromData(bad, "Pop1.wmf", &err));
}
