#pragma once

#include "print_framework.h"
#include "statistics_view.h"
#include "tally.h"

// The four printed tally sheets on A4: the summary sheet (集計表) and the
// three district sheets by title and grade, by age and by years of
// experience. Each is one page.
namespace tally_sheets {

inline constexpr PrintJobCode kSummaryJob = PrintJobCode::Tallies;

// One of StatisticsView::Summary to Experience.
using Sheet = StatisticsView;

// What the district sheets print besides the tally: the year, the survey
// date and the district list with the district that is printed in two halves.
struct DistrictHeader {
    int fiscalYear = 0;
    Date surveyDate;
    QStringList districtNames;
    QString splitDistrict;
};
DistrictHeader districtHeader(const RosterStore& store);

// The drawing of each sheet on a page already set up and reset.
void drawSummary(PrintDevice& d, const tally::SummaryTally& t, const QString& heading, bool leaveCoverIncluded);
void drawTitleGrade(PrintDevice& d, const tally::DistrictTally& t, const DistrictHeader& h);
void drawAgeOrExperience(PrintDevice& d, const tally::DistrictTally& t, const DistrictHeader& h, bool experience);

// The whole page: paper, origin, reset, drawing. Nothing is drawn once a
// stop is raised.
void printSummary(PrintJobContext& c, const tally::SummaryTally& t, bool leaveCoverIncluded);
void printDistrictSheet(PrintJobContext& c, Sheet sheet, const tally::DistrictTally& t);

// The 集計表 job: the summary sheet of the area and choices last used in the
// statistics window.
void registerSummaryJob();

} // namespace tally_sheets
