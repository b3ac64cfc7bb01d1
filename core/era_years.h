#pragma once

#include "date.h"

#include <QDate>
#include <QString>
#include <optional>

// Years in Japanese era notation, as the users read and type them.
//
// A roster year is kept as its file number NN: the years counted from 1989
// (NN = calendar year of the fiscal year's April - 1988). Files have always
// been named and numbered that way (38MEIBO.NKD is the fiscal year 2026), so
// the number never changes; only what the user sees follows the era the
// date falls in (令和8年度 for NN 38, 平成20年度 for NN 20).

// The calendar year before each era's first year: calendar year = base +
// era year. Roster years count from the 平成 base as well.
inline constexpr int kShowaBase = 1925;
inline constexpr int kHeiseiBase = 1988;
inline constexpr int kReiwaBase = 2018;

// The era a date falls in: its name (令和), its letter (R) and the year in it.
struct EraYear {
    QString name;
    QString letter;
    int year = 0; // 1 for the era's first year
    int base = 0; // calendar year = base + year
};

// Through the Japanese calendar; nullopt for the empty date or when the
// calendar knows no era for it.
std::optional<EraYear> eraYearOf(Date date);

// The calendar year a roster year begins in (April 1 of it).
inline int fiscalCalendarYear(int nn)
{
    return nn + kHeiseiBase;
}
inline Date fiscalYearFirstDay(int nn)
{
    return Date::fromYmd(fiscalCalendarYear(nn), 4, 1);
}

// "令和8年度" for roster year 38, "平成31年度" for 31 (April 1, 2019 was still
// 平成), "平成元年度" for 1; "" for 0 or less. With fullWidthDigits the year is
// written "令和８年度", as the printed headings have it.
QString fiscalYearCaption(int nn, bool fullWidthDigits = false);

// "平成38年度": the roster year in the numbering of the stored files, used
// where a file name is made from the caption (the transfer log) and shown
// beside the era caption so the user can match a year with its files.
QString heiseiYearCaption(int nn);

// The roster year typed in the 名簿作成年度 dialog: "8", "R8", "令和8",
// "令和８年度" give the 令和 year; "H38", "平成38" the stored numbering; a
// plain number is a 令和 year while there is such a year up to the last one
// the dialog accepts, and otherwise the stored numbering (so "20" stays
// 平成20年度, the roster of 2008). "元" counts as 1. Accepted are roster
// years 1 up to two fiscal years after today's calendar year.
std::optional<int> parseRosterYear(const QString& text, const QDate& today);

// The largest roster year the dialog accepts on `today`.
int lastRosterYear(const QDate& today);

// The text the dialog proposes for roster year nn: "令和8" (or "平成20").
QString rosterYearEntryText(int nn);
