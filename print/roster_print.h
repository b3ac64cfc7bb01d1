#pragma once

#include "print_framework.h"

// The four printed lists of the school list's staff (jobs 10 to 14): two
// rosters and two contact lists, one printed row for each post of the schools
// the list has selected, in table order.
namespace roster_print {

inline constexpr PrintJobCode kRoster25 = PrintJobCode::Roster25;
inline constexpr PrintJobCode kRoster20 = PrintJobCode::Roster20;
inline constexpr PrintJobCode kSchoolContacts = PrintJobCode::SchoolContacts;
inline constexpr PrintJobCode kRosterWide = PrintJobCode::RosterWide;
inline constexpr PrintJobCode kStaffContacts = PrintJobCode::StaffContacts;
// The five, in the order of the options form's layout list.
inline constexpr PrintJobCode kRosterJobs[] = {kRoster25, kRoster20, kSchoolContacts, kRosterWide, kStaffContacts};

struct Layout {
    PrintJobCode code;
    bool landscape;
    int rowsPerPage;
    double firstRow; // top of row 0
    double pitch;
};
Layout layoutFor(PrintJobCode code);

void printRosterReport(PrintJobContext& context, PrintJobCode code);
void drawRosterFrame(PrintDevice& device, PrintJobCode code, const PrintOptions& options);

// "48." / " 0." and the months: the period cell of the rosters.
struct PeriodCell {
    QString years;
    QString months; // "" when there are none
};
PeriodCell periodCell(int years, int months);

void registerRosterJobs();

} // namespace roster_print
