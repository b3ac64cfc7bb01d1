#pragma once

#include "officers.h"
#include "print_framework.h"

// The officer roster (job 40): the officers of the post group the officer
// list shows, twenty to an A4 page.
namespace officer_print {

inline constexpr PrintJobCode kOfficerRosterJob = PrintJobCode::OfficerRoster;
inline constexpr int kRowsPerPage = 20;

void printRoster(PrintJobContext& c, const std::vector<OfficerEntry>& entries);
void registerOfficerJob();

} // namespace officer_print
