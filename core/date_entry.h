#pragma once

#include "date.h"
#include "era_years.h"
#include "periods.h"

#include <QDate>
#include <QString>

// The rules of the era date entry (年月日設定): the boxes hold an era year,
// a month and a day; the era base turns the era year into a calendar year.
namespace date_entry {

using ::kHeiseiBase;
using ::kReiwaBase;
using ::kShowaBase;

struct Boxes {
    bool showa = false;
    bool reiwa = false; // a date from May 1, 2019 on
    QString year, month, day;
};

// What the dialog shows first for a stored date of the given kind.
Boxes prefill(DateFieldKind kind, Date stored, qint32 staffCode, const QDate& today);

// The leap-year test of the entry boxes: every fourth year.
bool isLeap(qint64 year);
// Days of `month` in `year` as the spin buttons count them.
int monthLength(qint64 month, qint64 year);

struct Values {
    qint64 y = 0, m = 0, d = 0;
    friend bool operator==(Values, Values) = default;
};

// The day lowered to fit the month (February by the leap test, the 30-day months).
qint64 clampDay(qint64 month, qint64 day, qint64 year);

Values yearUp(Values v);
Values yearDown(Values v);
Values monthUp(Values v);
Values monthDown(Values v);
Values dayUp(Values v, int eraBase);
Values dayDown(Values v, int eraBase);

} // namespace date_entry
