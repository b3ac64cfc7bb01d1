#pragma once

#include "print_framework.h"
#include "records.h"

#include <functional>
#include <vector>

// The two printed lists of the staff list (code list and telephone list):
// A4 portrait, 50 rows a page, school, its telephone, name and a fourth
// column of the list's own.
void printStaffRows(PrintJobContext& context, const std::vector<int>& rows, const QString& fourthHeading,
                    const std::function<QString(const StaffRecord&)>& fourth);

// The staff telephone list: job 20 (posted staff) and job 21 (everybody).
inline constexpr PrintJobCode kStaffPhoneListJob = PrintJobCode::StaffPhoneList;
inline constexpr PrintJobCode kStaffPhoneListAllJob = PrintJobCode::StaffPhoneListAll;
void registerStaffListJobs();
