#include "print_output.h"

#include "file_ops.h"
#include "painter_device.h"
#include "pdf_file.h"
#include "roster_store.h"

#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

using namespace Qt::StringLiterals;

PrintRequest userPrintRequest(const RosterStore& store, PrintJobCode job, PrintJob body)
{
    PrintRequest r = PrintRequest::forJob(job, std::move(body));
    for (size_t i = 0; i < r.corrections.size(); ++i)
        r.corrections[i] = store.profile.printOffsets[i];
    return r;
}

void preparePdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(600);
    // A job that prints on the paper of the printer set-up gets A4 in a PDF
    // made with no printer set-up (the window-less front end).
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setCreator(u"なかま帳"_s);
}

bool printToPdf(RosterStore& store, const PrintRequest& request, PrintOutcome* outcome, QString* error)
{
    PrintOutcome result = PrintOutcome::DeviceFailed;
    PdfFile pdf(request.pdfPath);
    QPrinter printer(QPrinter::HighResolution);
    bool written = false;
    if (pdf.prepare(printer)) {
        {
            PainterDevice device(&printer);
            runPrintJob(device, store, request, nullptr, &result);
            if (result == PrintOutcome::Printed && !device.begun())
                result = PrintOutcome::NoSuchJob; // the job drew nothing: no empty file
        }
        if (result == PrintOutcome::Printed && !pdf.commit())
            result = PrintOutcome::DeviceFailed;
        written = result == PrintOutcome::Printed;
    }
    if (outcome)
        *outcome = result;
    if (error) {
        error->clear();
        if (result == PrintOutcome::DeviceFailed)
            *error = pdf.error().isEmpty() ? fileops::failureText(request.pdfPath, false) : pdf.error();
    }
    return written;
}

bool printerAcceptsJobs(const QString& queue)
{
    // A queue that was told to refuse jobs (cupsreject) still lets the page
    // be drawn and "printed"; only the spooler knows the job went nowhere.
    const QByteArray name = queue.toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
    if (!dest)
        return true; // not a spooler queue this program can ask: Qt decides
    const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool accepts = !accepting || qstrcmp(accepting, "false") != 0;
    cupsFreeDests(1, dest);
    return accepts;
}

bool printToPrinter(RosterStore& store, const PrintRequest& request, const QString& queue, QRectF* printableMm,
                    PrintOutcome* outcome)
{
    if (outcome)
        *outcome = PrintOutcome::DeviceFailed;
    if (QPrinterInfo::printerInfo(queue).isNull() || !printerAcceptsJobs(queue))
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    if (!printer.isValid() || printer.printerName() != queue)
        return false;
    printer.setFullPage(false);
    printer.setCreator(u"なかま帳"_s);
    printer.setDocName(u"なかま帳"_s);
    PainterDevice device(&printer);
    const bool printed = runPrintJob(device, store, request, nullptr, outcome);
    if (printableMm)
        *printableMm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    return printed;
}
