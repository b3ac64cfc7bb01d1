#pragma once

#include <QStringList>

// `--export staff|schools|officers|tally --xlsx OUT` (or `--csv OUT`): writes one
// list of one year, as its window shows it when opened, without showing any
// window. Returns the exit code.
bool isBatchExport(const QStringList& arguments);
int runBatchExport(const QStringList& arguments);
