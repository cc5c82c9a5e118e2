#pragma once
// Date and time as days since 1899-12-30, the fraction being the time of day.
#include <QDateTime>

namespace fm
{

double toDayNumber(const QDateTime &local);
QDateTime fromDayNumber(double days);

} // namespace fm
