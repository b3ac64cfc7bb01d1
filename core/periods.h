#pragma once

#include "date.h"

#include <QString>

class RosterStore;

// Whole years and remaining months, in the 16-bit arithmetic the roster
// has always used.
struct Period {
    qint16 years = 0;
    qint16 months = 0;
    friend bool operator==(Period, Period) = default;
};

// The period from `start` to `reference` (the reference day itself counts as
// complete), plus `correctionMonths`. An overflow or an invalid date gives 0.
Period periodSince(Date start, Date reference, qint16 correctionMonths);

// Age of a staff member at `survey`; `onBirthday`: the birthday itself counts.
Period agePeriod(const struct StaffRecord& staff, Date survey, bool onBirthday);

// Age of staff row `row` at the survey date; the birth day itself counts
// when the user chose 誕生日に年齢加算.
void calcAge(RosterStore& store, int row);
// Ages of every row; rows without a birth date get 0.
void calcAllAges(RosterStore& store);

// The date (year, month, day) with calendar normalisation: a month outside
// 1 to 12 carries into the year, a day beyond the month's end into the next
// month, day 0 is the last day of the previous month. Years outside 1 to 9999
// give the empty date.
Date normalisedDate(qint64 year, qint64 month, qint64 day);

// Formats a date in Japanese era notation. Tokens: g (era letter: H), gg
// (first kanji: 平), ggg (era name: 平成), ee (era year, two digits), e (era
// year as it is), yyyy, mm, dd (two digits), m, d (as they are); everything
// else is copied. The empty date gives "".
QString formatEraDate(Date date, const QString& format);

// "48" or "48.3": years, and the months when there are any.
QString ageText(Period p);
// "48. 3", "48.11": the lists' period column.
QString periodColumnText(Period p);

// Which staff date a date dialog edits.
enum class DateFieldKind { Birth = 0, Appoint = 1, Hire = 2, Posting = 3 };
Date& dateField(struct StaffRecord& staff, DateFieldKind kind);
Date dateField(const StaffRecord& staff, DateFieldKind kind);

// Leading number of a box's text, as the date boxes read it: "12abc" is 12,
// "１５" is 15, letters or nothing are 0; kept within ±99999.
qint64 boxNumber(const QString& text);
