#pragma once

#include <QDate>
#include <compare>

// A calendar date held as a day count, day 0 being 1899-12-30. A count of 0
// means "not set"; a date counts as set only when it is greater than 0.
class Date {
public:
    constexpr Date() = default;
    constexpr explicit Date(qint32 days) : m_days(days) {}

    static Date fromQDate(const QDate& date);
    static Date fromYmd(int year, int month, int day) { return fromQDate(QDate(year, month, day)); }
    // An invalid QDate for a count that QDate cannot hold.
    QDate toQDate() const;

    constexpr qint32 days() const { return m_days; }
    constexpr bool isSet() const { return m_days > 0; }

    friend constexpr auto operator<=>(Date, Date) = default;

    static constexpr qint64 kJulianDayOfZero = 2415019; // 1899-12-30

private:
    qint32 m_days = 0;
};
