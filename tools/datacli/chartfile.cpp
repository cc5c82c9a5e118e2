#include "tools/datacli/chartfile.h"
#include "data/errors.h"
#include "data/fileio.h"
#include "records/chart/chartpicture.h"
#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

namespace fm::cli
{

namespace
{
// A printed A4 page at about 200 dpi, and sharp on any screen.
constexpr qreal PngScale = 2.5;
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

void writeChartFile(const chart::ProgressChart &chart, const QString &title, const QString &path)
{
    const QString name = QFileInfo(path).fileName();
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
    writeFileAtomicAt(path, name, bytes);
}

} // namespace fm::cli
