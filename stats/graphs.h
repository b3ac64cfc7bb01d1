#pragma once

#include "print_framework.h"
#include "statistics_view.h"
#include "tally.h"
#include "tally_sheets.h"

class QPainter;
class QRect;

// The three graph views of the statistics window, drawn in millimetres on
// the screen and on an A4 portrait page alike.
namespace graphs {

// One of StatisticsView::Graph1 to Graph3.
using View = StatisticsView;

struct Target {
    bool print = false; // thicker lines, the printed page's positions
    int frame() const { return print ? 6 : 2; }
    int rule() const { return print ? 2 : 1; }
};

void drawTitleGradeChart(PrintDevice& d, const tally::DistrictTally& t, Target target);
void drawAgeChart(PrintDevice& d, const tally::DistrictTally& t, Target target);
void drawGraph2(PrintDevice& d, const tally::DistrictTally& t, const tally_sheets::DistrictHeader& h, Target target,
                bool connectingLines);
void drawGraph3(PrintDevice& d, const tally::DistrictTally& t, const tally_sheets::DistrictHeader& h, Target target);

// The view on the canvas: `toggle` picks the chart of the first view, `scroll`
// moves graphs 2 and 3 up 20 mm a step.
void drawOnScreen(QPainter& p, const QRect& r, View view, const tally::DistrictTally& t,
                  const tally_sheets::DistrictHeader& h, int toggle, int scroll, bool connectingLines);

// The printed page of a view.
void printPage(PrintJobContext& c, View view, const tally::DistrictTally& t, bool connectingLines);

} // namespace graphs
