#pragma once

#include "print_output.h"

struct AppContext;
class QPrinter;
class QWidget;
class RosterStore;

// The printer the program prints on; the printer set-up dialog changes it.
QPrinter& sharedPrinter();
// プリンタ設定: the platform's dialog for choosing the printer and its paper.
// Pages and copies are asked for each print, so the dialog does not offer a
// page range.
void showPrinterSetUp(QWidget* parent);

// A request for `job` with the user's print-position corrections and the
// destination chosen last (printer, preview or PDF file).
PrintRequest newPrintRequest(const RosterStore& store, PrintJobCode job, PrintJob body = {});

// The print command: shows the options form when the job has one (which may
// cancel it), then prints to the chosen destination inside the progress
// dialog. A printer or file that cannot be written is told to the user.
// True when the document was printed.
bool printWithDialogs(AppContext& context, PrintRequest request, QWidget* parent);

// Prints at once to the destination chosen last, without the options form or
// the progress dialog (the blank survey form, the statistics window's sheets).
bool printDirect(AppContext& context, PrintRequest request, QWidget* parent);
