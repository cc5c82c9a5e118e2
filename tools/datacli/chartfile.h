#pragma once
// fudemaru-data's chart command: the history screen's picture written to a
// file for printing or sending on.
#include "records/chart/progresschart.h"
#include <QString>

namespace fm::cli
{

enum class ChartFormat { None, Png, Svg };

// By the file's extension (.png or .svg, in any case).
ChartFormat chartFormat(const QString &path);

// Draws the chart with its title and replaces the file only once every byte
// reached the disk. FileError(the file's name) when it cannot be written.
void writeChartFile(const chart::ProgressChart &chart, const QString &title, const QString &path);

} // namespace fm::cli
