#pragma once

#include "roster_session.h"
#include "roster_store.h"

#include <QString>
#include <vector>

// The rules of the school list (学校ﾘｽﾄ) that need no window.
namespace school_list {

// Orders the school table itself by the user's school order.
void sortSchoolTable(RosterStore& store);

// Does school row `row` pass the school list's filter?
bool schoolPassesFilter(const RosterStore& store, const SchoolFilter& filter, int row);

// Does any post of the school hold a clerk with an association post?
bool hasOfficer(const RosterStore& store, const SchoolRecord& school);
bool isOfficerPost(const RosterStore& store, const ClerkSlot& slot);

// One grid row: a post of a school, or the readings under it.
struct Row {
    int school = -1;
    int slot = 0;
    bool reading = false;
    QString number; // column 0
};

// The rows of the given schools, in that order: slot 0 first, then every
// further filled slot; with `readings` a reading row under each. With
// `numberSchools` only a school's first row carries a number.
std::vector<Row> buildRows(const RosterStore& store, const std::vector<int>& schools, bool readings,
                           bool numberSchools);

// Every school, or those that pass the filter, in table order.
std::vector<int> allSchools(const RosterStore& store);
std::vector<int> filteredSchools(const RosterStore& store, const SchoolFilter& filter);

// Takes a staff member out of whatever post the record says they hold.
void takeOutOfPost(StaffRecord& staff);

// Deletes exactly these school rows; their clerks are no longer posted.
void deleteSchools(RosterStore& store, std::vector<int> rows);

} // namespace school_list
