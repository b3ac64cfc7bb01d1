#pragma once

#include "print_framework.h"

// The four printed lists of the school list's staff (jobs 10 to 14): two
// rosters and two contact lists, one printed row for each post of the schools
// the list has selected, in table order.
namespace roster_print {

inline constexpr int kRoster25 = 10;      // 25 職員･学校
inline constexpr int kRoster20 = 11;      // 20 学校･自宅、TEL･FAX
inline constexpr int kSchoolContacts = 12; // 50 学校TEL･FAX・ﾒｰﾙ
inline constexpr int kRosterWide = 13;    // 20横 職員･学校
inline constexpr int kStaffContacts = 14; // 50 職員TEL･FAX・ﾒｰﾙ

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
