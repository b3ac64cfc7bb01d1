#include "statistics_print.h"

#include "app_context.h"
#include "graphs.h"
#include "print_runner.h"
#include "statistics_window.h"
#include "tally_sheets.h"

namespace tally_sheets {

void printFromWindow(AppContext& context, StatisticsWindow& window, StatisticsView view)
{
    if (isGraphView(view)) {
        const tally::DistrictTally district = window.districtTally();
        const bool lines = window.connectingLines();
        printDirect(context,
                    newPrintRequest(context.store, PrintJobCode::TallySheet,
                                    [&](PrintJobContext& c) { graphs::printPage(c, view, district, lines); }),
                    &window);
        return;
    }
    const Sheet sheet = view;
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
