#include "date_entry.h"

namespace date_entry {

namespace {
// The era option and year of a calendar year's April 1, the day the
// dialog proposes.
void aprilFirst(Boxes& b, int year)
{
    b.reiwa = formatEraDate(Date::fromYmd(year, 4, 1), QStringLiteral("gg")) == QStringLiteral("令");
    b.showa = !b.reiwa && year <= kHeiseiBase;
    b.year = QString::number(year - (b.reiwa ? kReiwaBase : b.showa ? kShowaBase : kHeiseiBase));
}
} // namespace

Boxes prefill(DateFieldKind kind, Date stored, qint32 staffCode, const QDate& today)
{
    Boxes b;
    const QDate d = stored.toQDate();
    const int limit = kind == DateFieldKind::Birth ? 60 : 45;
    const bool absent = !stored.isSet() || !d.isValid() || today.year() - d.year() > limit;
    if (!absent) {
        // Shown in the era the date falls in.
        const QString era = formatEraDate(stored, QStringLiteral("gg"));
        b.showa = era == QStringLiteral("昭");
        b.reiwa = era == QStringLiteral("令");
        b.year = QString::number(d.year() - (b.showa ? kShowaBase : b.reiwa ? kReiwaBase : kHeiseiBase));
        b.month = QString::number(d.month());
        b.day = QString::number(d.day());
        return b;
    }
    switch (kind) {
    case DateFieldKind::Birth:
        break;
    case DateFieldKind::Appoint:
    case DateFieldKind::Posting:
        aprilFirst(b, today.year());
        b.month = QStringLiteral("4");
        b.day = QStringLiteral("1");
        break;
    case DateFieldKind::Hire: {
        // The staff code begins with the fiscal year of hire.
        const qint32 y = staffCode / 10000;
        b.month = QStringLiteral("4");
        b.day = QStringLiteral("1");
        if (y > kShowaBase) // from the first year of 昭和
            aprilFirst(b, y);
        break;
    }
    }
    return b;
}

bool isLeap(qint64 year)
{
    return year % 4 == 0;
}

int monthLength(qint64 month, qint64 year)
{
    if (month == 4 || month == 6 || month == 9 || month == 11)
        return 30;
    if (month == 2)
        return isLeap(year) ? 29 : 28;
    return 31;
}

qint64 clampDay(qint64 month, qint64 day, qint64 year)
{
    if (month == 2)
        return std::min<qint64>(day, isLeap(year) ? 29 : 28);
    if (month == 4 || month == 6 || month == 9 || month == 11)
        return std::min<qint64>(day, 30);
    return day;
}

Values yearUp(Values v)
{
    ++v.y;
    return v;
}

Values yearDown(Values v)
{
    if (v.y >= 2)
        --v.y;
    return v;
}

Values monthUp(Values v)
{
    ++v.m;
    if (v.m == 13) {
        v.m = 1;
        ++v.y;
    }
    return v;
}

Values monthDown(Values v)
{
    if (v.y < 2 && v.m < 2)
        return v;
    --v.m;
    if (v.m == 0) {
        v.m = 12;
        --v.y;
    }
    return v;
}

Values dayUp(Values v, int eraBase)
{
    ++v.d;
    if (v.d > monthLength(v.m, v.y + eraBase)) {
        v.d = 1;
        v = monthUp(v);
    }
    return v;
}

Values dayDown(Values v, int eraBase)
{
    if (v.y < 2 && v.m < 2 && v.d < 2)
        return v;
    --v.d;
    if (v.d == 0) {
        // The last day of the month before.
        if (v.m == 3)
            v.d = isLeap(v.y + eraBase) ? 29 : 28;
        else if (v.m == 5 || v.m == 7 || v.m == 10 || v.m == 12)
            v.d = 30;
        else
            v.d = 31;
        --v.m;
        if (v.m <= 0) {
            v.m = 12;
            --v.y;
        }
    }
    return v;
}

} // namespace date_entry
