#pragma once

#include "roster_store.h"
#include "user_notifier.h"

#include <QDate>
#include <optional>

// The year the 名簿作成年度 dialog offers: this calendar year counted from
// 1989 (平成), one less in January and February.
int proposedYear(const QDate& today);

// The roster year typed by the user (half- or full-width digits, a 令和 year
// or the stored numbering, see parseRosterYear), when it is a year the
// program can keep a roster for: 1 up to two years after this one.
std::optional<int> parseYearEntry(const QString& text, const QDate& today);

// Opens roster year `nn`: its files when they exist, else (after asking) an
// empty new year or one carried over from the previous year. Sets the year
// caption, the survey date and every age. 1 files read or a year carried
// over, 0 a new empty year, -1 a file could not be read (the user has been
// told; a year that fails to carry over starts empty).
int openRosterYear(RosterStore& store, int nn, UserNotifier& notifier);
// What the user is told when the previous year could not be carried over.
QString carryOverRefusedText();

// Writes the staff, school and municipality-table files; false when any failed.
bool saveWholeRoster(RosterStore& store, UserNotifier& notifier);
