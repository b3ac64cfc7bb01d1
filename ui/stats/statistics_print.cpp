#include "statistics_print.h"

#include "app_context.h"
#include "graphs.h"
#include "print_runner.h"
#include "statistics_window.h"
#include "tally_sheets.h"

namespace tally_sheets {

void printFromWindow(AppContext& context, StatisticsWindow& window, int entry)
{
    if (entry >= int(graphs::View::Graph1) && entry <= int(graphs::View::Graph3)) {
        const tally::DistrictTally district = window.districtTally();
        const bool lines = window.connectingLines();
        printDirect(
            context,
            newPrintRequest(context.store, PrintJobCode::TallySheet,
                            [&](PrintJobContext& c) { graphs::printPage(c, graphs::View(entry), district, lines); }),
            &window);
        return;
    }
    if (entry < int(Sheet::Summary) || entry > int(Sheet::Experience))
        return;
    const Sheet sheet = Sheet(entry);
    const bool leave = window.options().includeLeaveCover;
    const tally::SummaryTally summary = window.summary();
    const tally::DistrictTally district = sheet == Sheet::Summary ? tally::DistrictTally{} : window.districtTally();
    printDirect(context,
                newPrintRequest(context.store, PrintJobCode::TallySheet,
                                [&](PrintJobContext& c) {
                                    if (sheet == Sheet::Summary)
                                        printSummary(c, summary, leave);
                                    else
                                        printDistrictSheet(c, sheet, district);
                                }),
                &window);
}

} // namespace tally_sheets
