// mediagen: makes the program's pictures, music and sounds from content/.
//
//   mediagen <content-dir> <program-dir> [--sheet <contact-sheet.png>]
//   mediagen --icons <content-dir> <icon-dir> <name>
//
// Pictures come from content/art/*.art, music from content/music/*.score;
// the effect sounds are synthesised. With --sheet it also draws every picture
// on one PNG (the WMF files through the program's own reader) for a look.

#include "media/mediafiles.h"
#include "media/pictureops.h"
#include "media/wmfpicture.h"
#include "tools/mediagen/art.h"
#include "tools/mediagen/bitmaps.h"
#include "tools/mediagen/music.h"
#include "tools/mediagen/sounds.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSaveFile>

#include <cstdio>

using namespace fm::mediagen;
namespace media = fm::media;

namespace
{

const QColor kNavy(0, 0, 128);

struct Paths {
    QDir art, music, out;
    QString artFile(const QString &name) const { return art.filePath(name + ".art"); }
    QString outFile(const QString &name) const { return out.filePath(name); }
};

const QStringList kButtonArt{"button-hint",  "button-help",    "button-minimise", "button-back",
                             "button-study", "button-results", "button-register", "button-settings"};

struct GlyphJob {
    const char *file;
    const char *art;
};
const GlyphJob kGlyphs[] = {{media::kGlyphClear, "glyph-clear"}, {media::kGlyphOk, "glyph-ok"},
                            {media::kGlyphPrev, "glyph-prev"},   {media::kGlyphNext, "glyph-next"},
                            {media::kGlyphYomi, "glyph-yomi"},   {media::kGlyphKaki, "glyph-kaki"},
                            {media::kGlyphStart, "glyph-start"}, {media::kGlyphBack, "glyph-back"}};

struct MusicJob {
    const char *file;
    const char *score;
};
const MusicJob kMusic[] = {{media::kMenuMusic, "menu"},
                           {media::kTestMusic, "mondai"},
                           {media::kMatchMusic, "eawase"},
                           {media::kMoleMusic, "mogu"},
                           {media::kListMusic, "ichiran"}};

QImage keyed(const Paths &p, const QString &art, QSize size, QColor key)
{
    return onKeyColour(drawArt(loadArt(p.artFile(art)), size), key);
}

void makePictures(const Paths &p)
{
    std::vector<QImage> cells;
    for (const QString &name : kButtonArt)
        cells.push_back(keyed(p, name, {media::kButtonCell, media::kButtonCell}, Qt::white));
    saveBmp(strip(cells, Qt::white), p.outFile(media::kButtonStrip));

    for (int n = 1; n <= media::kPopCount; ++n)
        writeWmf(loadArt(p.artFile(QStringLiteral("pop%1").arg(n))), p.outFile(media::popFile(n)));
    for (int n = 1; n <= media::kPresentCount; ++n)
        writeWmf(loadArt(p.artFile(QStringLiteral("present%1").arg(n))), p.outFile(media::presentFile(n)));

    const QSize star(media::kStarSize, media::kStarSize);
    saveBmp(
        strip({keyed(p, "star-filled", star, Qt::white), keyed(p, "star-empty", star, Qt::white)}, Qt::white),
        p.outFile(media::kStars));

    const QSize mole(media::kMoleSize, media::kMoleSize);
    saveBmp(keyed(p, "mogura", mole, Qt::black), p.outFile(media::kMoleHole));
    saveBmp(keyed(p, "atari", mole, Qt::black), p.outFile(media::kMoleHit));

    const QImage hand = drawArt(loadArt(p.artFile("hand")), media::kHandPointerSize);
    if (!hand.save(p.outFile(media::kHandPointer), "PNG"))
        throw ArtError(QStringLiteral("cannot write %1").arg(media::kHandPointer).toStdString());

    for (const GlyphJob &g : kGlyphs) {
        const QImage normal = keyed(p, g.art, media::kGlyphCell, Qt::white);
        saveBmp(strip({normal, greyed(normal, Qt::white)}, Qt::white), p.outFile(g.file));
    }
}

void makeSounds(const Paths &p)
{
    for (const MusicJob &m : kMusic) {
        const Score score = loadScore(p.music.filePath(QString::fromLatin1(m.score) + ".score"));
        QSaveFile f(p.outFile(m.file));
        const QByteArray bytes = toMidiFile(score);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
            throw ScoreError(QStringLiteral("cannot write %1").arg(m.file).toStdString());
        std::printf("mediagen: %-12s %5.1f s, %zu tracks\n", m.file, score.seconds(), score.tracks.size());
    }
    const std::pair<const char *, media::PcmBuffer> waves[] = {{media::kRightSound, chimeSound()},
                                                               {media::kWrongSound, buzzSound()},
                                                               {media::kHitSound, popSound()},
                                                               {media::kMissSound, boingSound()}};
    for (const auto &[file, pcm] : waves) {
        QString why;
        if (!media::writeWav(p.outFile(file), pcm, &why))
            throw ArtError(QStringLiteral("cannot write %1: %2").arg(file, why).toStdString());
    }
}

// The desktop's icon theme sizes; each is drawn from the art, not scaled from another.
const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// content/art/icon.art as <icon-dir>/hicolor/<n>x<n>/apps/<name>.png.
int makeIcons(const QDir &content, const QDir &iconDir, const QString &name)
{
    try {
        const Art icon = loadArt(QDir(content.filePath("art")).filePath("icon.art"));
        for (int size : kIconSizes) {
            const QString folder = QStringLiteral("hicolor/%1x%1/apps").arg(size);
            const QString file = iconDir.filePath(folder + '/' + name + ".png");
            if (!iconDir.mkpath(folder) || !drawArt(icon, {size, size}).save(file, "PNG"))
                throw ArtError(QStringLiteral("cannot write %1").arg(file).toStdString());
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "mediagen: %s\n", e.what());
        return 1;
    }
    return 0;
}

// The contact sheet: every picture as the program will show it.
class Sheet
{
  public:
    explicit Sheet(const Paths &p) : p_(p), image_(1280, 1010, QImage::Format_RGB32), painter_(&image_)
    {
        image_.fill(QColor(236, 236, 240));
        QFont f(QStringLiteral("IPAPGothic"));
        f.setPixelSize(13);
        painter_.setFont(f);
    }

    void draw()
    {
        heading("ButtonX.bmp on navy (x2): hint, help, minimise, back, study, results, register, settings");
        const QImage buttons = replaceColour(load(media::kButtonStrip), Qt::white, kNavy);
        painter_.fillRect(QRect(x_ - 8, y_ - 8, 2 * buttons.width() + 16, 2 * buttons.height() + 16), kNavy);
        painter_.drawImage(QRect(x_, y_, 2 * buttons.width(), 2 * buttons.height()), buttons);
        y_ += 2 * buttons.height() + 30;

        heading("Pop1-10.wmf through the program's WMF reader: 96 x 96, then 48 x 48 and 70 x 70 on navy");
        for (int n = 1; n <= media::kPopCount; ++n) {
            const QString name = media::popFile(n);
            cell(wmf(name, {96, 96}), name, 100);
        }
        newRow(122);
        painter_.fillRect(QRect(x_ - 6, y_ - 6, 10 * 124 + 2, 82), kNavy);
        for (int n = 1; n <= media::kPopCount; ++n) {
            const QString name = media::popFile(n);
            painter_.drawImage(x_, y_ + 11, replaceColour(wmf(name, {48, 48}), Qt::white, kNavy));
            painter_.drawImage(x_ + 50, y_, replaceColour(wmf(name, {70, 70}), Qt::white, kNavy));
            x_ += 124;
        }
        newRow(100);

        heading("Present1-3.wmf at 2 x (105 x 97): 100 points, level up, pass");
        for (int n = 1; n <= media::kPresentCount; ++n) {
            const QString name = media::presentFile(n);
            cell(wmf(name, {210, 194}), name, 230);
        }
        newRow(222);

        heading(
            "Stars.bmp, Mogura.bmp, Atari.bmp after the program's flood fill to navy (x2); Hand.png (x3)");
        const QImage stars = media::floodFill(load(media::kStars), {1, 1}, kNavy);
        cell(stars.scaled(stars.size() * 2), media::kStars, 160);
        for (const char *name : {media::kMoleHole, media::kMoleHit}) {
            const QImage mole = media::floodFill(load(name), {1, 1}, kNavy);
            cell(mole.scaled(mole.size() * 2), name, 150);
        }
        QImage handBack(96, 96, QImage::Format_RGB32);
        handBack.fill(QColor(200, 200, 210));
        QPainter(&handBack).drawImage(QRect(0, 0, 96, 96), load(media::kHandPointer));
        cell(handBack, media::kHandPointer, 120);
        newRow(150);

        heading("Button glyphs (x3): normal | disabled, white shown as button grey");
        for (const GlyphJob &g : kGlyphs) {
            const QImage glyph = replaceColour(load(g.file), Qt::white, QColor(212, 208, 200));
            cell(glyph.scaled(glyph.size() * 3), g.file, 120);
        }
    }

    void save(const QString &path)
    {
        painter_.end();
        if (!image_.save(path, "PNG"))
            throw ArtError(QStringLiteral("cannot write %1").arg(path).toStdString());
    }

  private:
    QImage load(const QString &name)
    {
        QImage img(p_.outFile(name));
        if (img.isNull())
            throw ArtError(QStringLiteral("cannot read back %1").arg(name).toStdString());
        return img;
    }
    QImage wmf(const QString &name, QSize size)
    {
        media::WmfError err;
        QImage img = media::renderWmf(p_.outFile(name), size, &err);
        if (img.isNull())
            throw ArtError(QStringLiteral("%1: %2").arg(err.fileName, err.reason).toStdString());
        return img;
    }
    void heading(const QString &text)
    {
        painter_.setPen(Qt::black);
        painter_.drawText(16, y_ + 14, text);
        y_ += 26;
        x_ = 24;
    }
    void cell(const QImage &img, const QString &label, int width)
    {
        painter_.drawImage(x_, y_, img);
        painter_.setPen(QColor(60, 60, 60));
        painter_.drawText(x_, y_ + img.height() + 14, label);
        x_ += width;
    }
    void newRow(int height)
    {
        y_ += height;
        x_ = 24;
    }

    const Paths &p_;
    QImage image_;
    QPainter painter_;
    int x_ = 24, y_ = 10;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == "--icons")
        return makeIcons(QDir(args[2]), QDir(args[3]), args[4]);
    if (args.size() != 3 && !(args.size() == 5 && args[3] == "--sheet")) {
        std::fprintf(stderr, "usage: mediagen <content-dir> <program-dir> [--sheet <file.png>]\n");
        return 2;
    }
    const QDir content(args[1]);
    Paths paths{QDir(content.filePath("art")), QDir(content.filePath("music")), QDir(args[2])};
    if (!paths.out.mkpath(".")) {
        std::fprintf(stderr, "mediagen: cannot make %s\n", qPrintable(args[2]));
        return 1;
    }
    try {
        makePictures(paths);
        makeSounds(paths);
        if (args.size() == 5) {
            Sheet sheet(paths);
            sheet.draw();
            sheet.save(args[4]);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "mediagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
