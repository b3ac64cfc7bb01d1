#include "school_list_print.h"

#include "roster_store.h"
#include "school_list.h"

using namespace Qt::StringLiterals;

void printSchoolNameSheet(PrintJobContext& c)
{
    PrintDevice& d = c.device;
    const std::vector<int> schools = school_list::filteredSchools(c.store, c.session().schoolFilter);
    setupPaperReport(d);
    for (size_t i = 0; i < schools.size() || i == 0; ++i) {
        const int n = int(i % 200);
        if (n == 0 && !startReportPage(c, int(i / 200)))
            return;
        if (schools.empty())
            break;
        const SchoolRecord& s = c.store.schools[size_t(schools[i])];
        const double x = 45 * (n / 50) + 15;
        const double y = 5 * (n % 50) + 15;
        d.box(x, y, x + 45, y + 5);
        d.line(x + 3, y, x + 3, y + 5);
        const QString text = s.fullName();
        fitTextToWidth(d, text, 8.5f, 41, 0.1f);
        d.currentX = x + 3.5;
        d.currentY = y + 1;
        d.print(text);
    }
}
