#pragma once

#include "roster_store.h"

#include <QString>
#include <functional>
#include <vector>

// The rules of the staff list (職員ﾘｽﾄ) that need no window.
namespace staff_list {

// The six orders of the list.
enum Sort { ByCode = 1, ByBirth = 2, ByTitle = 3, BySchool = 4, ByHire = 5, ByPosting = 6 };
QStringList sortNames();

// Key of a pay step in the title order: T steps after plain ones, Z after
// T, X after Z.
int payStepKey(const QString& payStep);

// Display position i shows table row i.
void resetOrder(RosterStore& store);
// Orders the display positions by sort `sort`; sort 1 is the table order.
void sortOrder(RosterStore& store, int sort);

struct Filter {
    QString jobTitle;
    QString name;
    int grade = 0;
    QString municipality;
    QString area;
    bool active() const;
};
bool passes(const StaffRecord& s, const Filter& f, const MunicipalityTable& table);

// Display positions that pass the filter, in display order.
std::vector<int> visiblePositions(const RosterStore& store, const Filter& filter);

// Deletes exactly these table rows, emptying the post each one held.
void deleteRows(RosterStore& store, std::vector<int> rows);

// The list check. Each finding is reported through `report`, which returns
// false when the user cancels; the texts are also returned for the log.
struct Finding {
    int row = -1;
    QString message;
    QString logLine;   // school, name, code and message on one line
    QString shownText; // the same for the message box
};
// Phase 1 (duplicate codes): cancelling ends phase 1; phase 2 (hire year
// and age at hire, posted staff in display order): cancelling ends the check.
std::vector<Finding> checkList(const RosterStore& store, const std::function<bool(const Finding&)>& report);
// Runs the check and writes NKMCHO.ERR in the data folder; false when the
// file could not be written.
bool writeCheckLog(const QString& path, const std::vector<Finding>& findings, QString* error = nullptr);

} // namespace staff_list
