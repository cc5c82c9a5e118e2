#include "data/datetime.h"
#include <cmath>

namespace fm
{

namespace
{
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;
} // namespace

double toDayNumber(const QDateTime &local)
{
    const double days = static_cast<double>(kEpoch.daysTo(local.date()));
    return days + local.time().msecsSinceStartOfDay() / kMsPerDay;
}

QDateTime fromDayNumber(double days)
{
    if (!std::isfinite(days))
        return {};
    // Negative day numbers count days back; the fraction's magnitude is still the time of day.
    const double whole = std::trunc(days);
    const double frac = std::fabs(days - whole);
    if (whole < -700000.0 || whole > 3000000.0)
        return {};
    const QDate date = kEpoch.addDays(static_cast<qint64>(whole));
    int ms = static_cast<int>(std::llround(frac * kMsPerDay));
    ms = std::min(ms, 86399999);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(ms));
}

QString shortDate(double dayNumber)
{
    const QDateTime t = fromDayNumber(dayNumber);
    if (!t.isValid() || t.date().year() < 1 || t.date().year() > 9999)
        return {};
    return t.date().toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace fm
