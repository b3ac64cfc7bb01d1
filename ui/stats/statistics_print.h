#pragma once

#include "statistics_view.h"

struct AppContext;
class StatisticsWindow;

namespace tally_sheets {

// The statistics window's print button: the sheet or graph of `view` at
// once, without the options form or the progress dialog.
void printFromWindow(AppContext& context, StatisticsWindow& window, StatisticsView view);

} // namespace tally_sheets
