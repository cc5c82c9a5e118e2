#include "tools/datacli/chartfile.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "records/chart/chartpicture.h"
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>
#include <sys/stat.h>

namespace fm::cli
{

namespace
{
// A printed A4 page at about 200 dpi, and sharp on any screen.
constexpr qreal PngScale = 2.5;
bool sameDirectory(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// The first bytes of a picture of that format; a file without them is
// something else (a record, a note) and is not replaced.
bool looksLike(ChartFormat format, const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(4096);
    if (format == ChartFormat::Png)
        return head.startsWith("\x89PNG\r\n\x1a\n");
    return head.trimmed().startsWith("<?xml") || head.trimmed().startsWith("<svg");
}
} // namespace

ChartFormat chartFormat(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return ChartFormat::Png;
    if (suffix == QLatin1String("svg"))
        return ChartFormat::Svg;
    return ChartFormat::None;
}

QString chartPathRefusal(const QString &path, const QStringList &keepOut)
{
    const QFileInfo out(path);
    for (const QString &dir : keepOut)
        if (!dir.isEmpty() && sameDirectory(out.absolutePath(), dir))
            return QStringLiteral("is in the folder of %1; the chart is written elsewhere, never among the "
                                  "records or the program's files")
                .arg(QDir::toNativeSeparators(QDir::cleanPath(dir)));
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("is a symbolic link; the chart is never written through a link");
    if (S_ISREG(st.st_mode) && st.st_nlink > 1)
        return QStringLiteral("has another name (a hard link); the chart is never written over it");
    if (S_ISREG(st.st_mode) && !looksLike(chartFormat(path), path))
        return QStringLiteral("is a file but not a %1 picture; it is not replaced")
            .arg(chartFormat(path) == ChartFormat::Png ? QStringLiteral("PNG") : QStringLiteral("SVG"));
    return {};
}

void writeChartFile(const chart::ProgressChart &chart, const QString &title, const QString &path,
                    const QStringList &keepOut)
{
    const QString name = QFileInfo(path).fileName();
    if (const QString refusal = chartPathRefusal(path, keepOut); !refusal.isEmpty())
        throw FileError(name, refusal);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    if (chartFormat(path) == ChartFormat::Png) {
        drawn = chart::renderProgressChart(chart, title, PngScale).save(&buffer, "PNG");
    } else if (chartFormat(path) == ChartFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        const QSize size = chart::pictureSize(true);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter p;
        drawn = p.begin(&svg);
        if (drawn) {
            chart::drawProgressChart(p, chart, title);
            drawn = p.end();
        }
    }
    if (!drawn || bytes.isEmpty())
        throw FileError(name, QStringLiteral("the picture could not be drawn"));
    // Never through a link, even one put there since the look above.
    writeWholeFileAtomic(QFileInfo(path).absolutePath(), name, bytes);
}

} // namespace fm::cli
