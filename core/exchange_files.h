#pragma once

#include "roster_session.h"
#include "roster_store.h"
#include "user_notifier.h"

#include <QString>
#include <functional>
#include <optional>

// Exchange files between users: a staff file (.NK1, the staff file format,
// scrambled) and a school file (.NK2) with the same base name, and the
// prefecture-wide school file RURI.NK2.
namespace exchange {

struct PairNames {
    QString staffFile;  // .NK1
    QString schoolFile; // .NK2
};
// The pair for a name chosen in the save dialog (its ending as typed).
PairNames exportNames(const QString& chosen);
// The pair for a name chosen in the open dialog; nothing when it is not an
// exchange file.
std::optional<PairNames> importNames(const QString& chosen);

// The area text the staff file carries.
QString exportAreaText(const RosterStore& store, const SchoolFilter& filter);

// Writes the schools the school list has extracted, with their staff.
// 1 written, 0 refused (no extraction; the user is told), -1 failed.
int exportPair(RosterStore& store, const SchoolFilter& filter, const PairNames& names, UserNotifier& notifier);

// Writes RURI.NK2 in the data folder: every school, without groups and posts.
bool exportPrefectureFile(const RosterStore& store, UserNotifier& notifier);
QString prefectureFilePath(const RosterStore& store);

// Reads a pair into the roster. `askArea` shows the area dialog with the
// file's area text and returns what the user typed ("" for cancel). The
// whole pair is read and checked before anything changes: a malformed
// file, a wrong area or a merge past the table's capacity leaves the roster
// as it was. 1 merged, -1 not.
int importPair(RosterStore& store, const PairNames& names, UserNotifier& notifier,
               const std::function<QString(const QString& sourceArea)>& askArea);

// The keyword that accepts a pair from any area.
inline const QString kAnyArea = QStringLiteral("RURI");

} // namespace exchange
