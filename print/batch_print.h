#pragma once

#include <QStringList>

// `--print CODE --pdf OUT.pdf` on the command line: prints one job of one
// year into a PDF without any window. Returns the exit code.
bool isBatchPrint(const QStringList& arguments);
int runBatchPrint(const QStringList& arguments);
