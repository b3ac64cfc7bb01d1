#pragma once

#include "print_framework.h"

#include <QRectF>

class QPrinter;
class RosterStore;

// Printing without any window: into a PDF file or onto a printer queue.

// A request for `job` with the user's print-position corrections.
PrintRequest userPrintRequest(const RosterStore& store, PrintJobCode job, PrintJob body = {});

// Sets `printer` up to write the PDF file at `path` at 600 dots an inch.
void preparePdf(QPrinter& printer, const QString& path);

// Prints the request into its PDF file (request.pdfPath), whole or not at all
// (see PdfFile). `error`, when the file could not be written, receives a
// sentence naming it.
bool printToPdf(RosterStore& store, const PrintRequest& request, PrintOutcome* outcome = nullptr,
                QString* error = nullptr);

// False when the spooler says the queue refuses new jobs (the printer was
// told to reject them); true when it accepts them or cannot be asked.
bool printerAcceptsJobs(const QString& queue);

// Prints the request on the printer queue `queue` (a CUPS queue name); false
// when there is no such queue or the job failed. `printableMm`, when given,
// receives the printable area the queue reported (left, top, width, height in
// millimetres from the paper's corner).
bool printToPrinter(RosterStore& store, const PrintRequest& request, const QString& queue,
                    QRectF* printableMm = nullptr, PrintOutcome* outcome = nullptr);
