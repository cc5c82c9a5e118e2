#pragma once
// The local date and time as days since 1899-12-30 (the fraction is the time
// of day): the unit every record file stores.
#include "data/datetime.h"
#include <QDateTime>

namespace fm
{

class Clock
{
  public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
    QDateTime nowDateTime() const { return fromDayNumber(now()); }
};

class SystemClock final : public Clock
{
  public:
    double now() const override { return toDayNumber(QDateTime::currentDateTime()); }
};

} // namespace fm
