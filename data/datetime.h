#pragma once
// Date and time as days since 1899-12-30, the fraction being the time of day.
#include <QDateTime>

namespace fm
{

double toDayNumber(const QDateTime &local);
QDateTime fromDayNumber(double days);

// The date of a day number as the records show it (2023/03/15); empty when
// it is no date.
QString shortDate(double dayNumber);

} // namespace fm
