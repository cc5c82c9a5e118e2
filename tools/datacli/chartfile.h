#pragma once
// fudemaru-data's chart command: the history screen's picture written to a
// file for printing or sending on.
#include "records/chart/progresschart.h"
#include <QString>
#include <QStringList>

namespace fm::cli
{

enum class ChartFormat { None, Png, Svg };

// By the file's extension (.png or .svg, in any case).
ChartFormat chartFormat(const QString &path);

// Why the picture may not be written at path, or empty when it may. The tool
// only looks at records, so it never writes into the folders it reads
// (keepOut: the data folder, the program's files), never through a link
// (symbolic, or a file with another name), and never over a file that is not
// already a picture of the kind it writes.
QString chartPathRefusal(const QString &path, const QStringList &keepOut);

// Draws the chart with its title and replaces the file only once every byte
// reached the disk. FileError(the file's name) when it cannot be written;
// a path chartPathRefusal refuses is refused here too.
void writeChartFile(const chart::ProgressChart &chart, const QString &title, const QString &path,
                    const QStringList &keepOut);

} // namespace fm::cli
