#pragma once

#include <QRectF>
#include <QString>
#include <functional>

struct AppContext;
class QPrinter;
class QWidget;
class RosterStore;

// The printer the program prints on; the printer set-up dialog changes it.
QPrinter& sharedPrinter();

// The print command: sets the job code, asks for the options when
// `withOptions`, then prints to the chosen destination (printer, preview or
// PDF) inside the progress dialog.
void printJobWithDialogs(AppContext& context, int code, bool withOptions, QWidget* parent);

// Prints a list of the caller's own (not one of the numbered jobs) to the
// destination last chosen, inside the progress dialog.
void printAdHoc(AppContext& context, const std::function<void(struct PrintJobContext&)>& job, QWidget* parent);

// Prints a page of the caller's own at once to the destination last chosen,
// without the options form or the progress dialog; a stop asked in an
// earlier job does not hold it back.
void printDirect(AppContext& context, const std::function<void(struct PrintJobContext&)>& job, QWidget* parent);

// Prints the job of `code` into a PDF file without any window.
bool printJobToPdf(RosterStore& store, int code, const QString& path);

// Prints the job of `code` on the printer queue `queue` (a CUPS queue name)
// without any window; false when there is no such queue or the job failed.
// `printableMm`, when given, receives the printable area the queue reported
// (left, top, width, height in millimetres from the paper's corner).
bool printJobToPrinter(RosterStore& store, int code, const QString& queue, QRectF* printableMm = nullptr);

// The print position corrections of the user settings, for the next job.
void takePrintCorrections(const RosterStore& store);
