#include "date.h"

Date Date::fromQDate(const QDate& date)
{
    if (!date.isValid())
        return Date();
    const qint64 days = date.toJulianDay() - kJulianDayOfZero;
    if (days < std::numeric_limits<qint32>::min() || days > std::numeric_limits<qint32>::max())
        return Date();
    return Date(qint32(days));
}

QDate Date::toQDate() const
{
    return QDate::fromJulianDay(kJulianDayOfZero + m_days);
}
