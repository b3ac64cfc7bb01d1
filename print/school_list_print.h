#pragma once

#include "print_framework.h"

// The school-name sheet: the schools of the list's filter, 50 to a column,
// four columns to an A4 page.
void printSchoolNameSheet(PrintJobContext& context);
