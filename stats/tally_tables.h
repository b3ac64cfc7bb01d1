#pragma once

#include "tally.h"

#include <QList>
#include <QStringList>

// The screen tables of the statistics window as rows of cell texts (row 0
// the headings). A count of 0 is an empty cell.
namespace tally_tables {

using Table = QList<QStringList>;

// The job title and grade a title-and-grade category stands for.
QString categoryTitle(int category);
int categoryGrade(int category);

// By title and grade for one kind column (0 小, 1 中, 2 特別支援, 3 all).
Table categoryTable(const tally::SummaryTally& t, int kindColumn, const tally::Options& o);
// By job title over every kind.
Table titleTable(const tally::SummaryTally& t, const tally::Options& o);
// Single years of age 18..60, and years of experience 0..42.
Table ageTable(const tally::SummaryTally& t);
Table experienceTable(const tally::SummaryTally& t);
// The age bands with their shares.
Table bandTable(const tally::SummaryTally& t);
QString averageText(const tally::SummaryTally& t);

} // namespace tally_tables
