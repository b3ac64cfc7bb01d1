#pragma once

#include "print_framework.h"

// The four printed lists of the school list's staff (jobs 10 to 14): two
// rosters and two contact lists, one printed row for each post of the schools
// the list has selected, in table order.
namespace roster_print {

inline constexpr int kRoster25 = int(PrintJobCode::Roster25);
inline constexpr int kRoster20 = int(PrintJobCode::Roster20);
inline constexpr int kSchoolContacts = int(PrintJobCode::SchoolContacts);
inline constexpr int kRosterWide = int(PrintJobCode::RosterWide);
inline constexpr int kStaffContacts = int(PrintJobCode::StaffContacts);

struct Layout {
    int code;
    bool landscape;
    int rowsPerPage;
    double firstRow; // top of row 0
    double pitch;
};
Layout layoutFor(int code);

void printRosterReport(PrintJobContext& context, int code);
void drawRosterFrame(PrintDevice& device, int code, const PrintOptions& options);

// "48." / " 0." and the months: the period cell of the rosters.
struct PeriodCell {
    QString years;
    QString months; // "" when there are none
};
PeriodCell periodCell(int years, int months);

void registerRosterJobs();

} // namespace roster_print
