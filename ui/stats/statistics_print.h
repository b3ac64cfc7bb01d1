#pragma once

struct AppContext;
class StatisticsWindow;

namespace tally_sheets {

// The statistics window's print button: the sheet or graph of `entry` at
// once, without the options form or the progress dialog.
void printFromWindow(AppContext& context, StatisticsWindow& window, int entry);

} // namespace tally_sheets
