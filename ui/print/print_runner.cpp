#include "print_runner.h"

#include "app_context.h"
#include "painter_device.h"
#include "pdf_file.h"
#include "print_options_dialog.h"
#include "print_progress_dialog.h"

#include <QFileDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

using namespace Qt::StringLiterals;

QPrinter& sharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void showPrinterSetUp(QWidget* parent)
{
    QPrintDialog dialog(&sharedPrinter(), parent);
    dialog.setWindowTitle(u"プリンタ設定"_s);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.exec();
}

namespace {
// Where the user last chose to print (the options form's 出力先); a choice of
// the user's, like the printer, not a value of any one job.
PrintDestination& lastDestination()
{
    static PrintDestination destination = PrintDestination::Printer;
    return destination;
}

void tellFailure(AppContext& context, PrintOutcome outcome, const QString& where)
{
    if (outcome == PrintOutcome::DeviceFailed)
        context.notifier.tell(u"印刷できませんでした"_s, MessageIcon::Critical, UserNotifier::appTitle(), where);
    else if (outcome == PrintOutcome::NoSuchPages)
        context.notifier.tell(noSuchPagesText(), MessageIcon::Warning);
    else if (outcome == PrintOutcome::NoSuchJob)
        context.notifier.tell(nothingToPrintText(), MessageIcon::Information);
}

// Prints the request to its destination, inside the progress dialog when
// `withProgress`.
bool printToDestination(AppContext& context, const PrintRequest& request, bool withProgress, QWidget* parent)
{
    PrintOutcome outcome = PrintOutcome::NoSuchJob;
    auto run = [&](PrintDevice& device) {
        if (withProgress) {
            PrintProgressDialog progress(device, context.store, request, parent);
            progress.exec();
            outcome = progress.outcome();
        } else {
            runPrintJob(device, context.store, request, nullptr, &outcome);
        }
    };
    PrintDestination destination = request.destination;
    QString pdfPath = request.pdfPath;
    if (destination == PrintDestination::Printer) {
        // The printer is the user's choice of printer and paper; how many
        // copies and which pages are the request's own, never what an
        // earlier dialog left on the printer.
        sharedPrinter().setCopyCount(1);
        sharedPrinter().setPrintRange(QPrinter::AllPages);
        sharedPrinter().setFromTo(0, 0);
        // プリンタ設定 offers to print into a file: that file is a PDF like
        // any other, written whole or not at all.
        if (sharedPrinter().outputFormat() == QPrinter::PdfFormat && !sharedPrinter().outputFileName().isEmpty()) {
            destination = PrintDestination::Pdf;
            pdfPath = sharedPrinter().outputFileName();
        }
    }
    switch (destination) {
    case PrintDestination::Preview: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(600);
        printer.setPageSize(sharedPrinter().pageLayout().pageSize()); // a job on the set-up's paper
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(u"印刷プレビュー"_s);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested,
                         [&context, &request, &outcome, &preview](QPrinter* p) {
                             PainterDevice device(p);
                             runPrintJob(device, context.store, request, nullptr, &outcome);
                             // A range past the last page: no empty preview, the message instead.
                             if (outcome == PrintOutcome::NoSuchPages)
                                 QTimer::singleShot(0, &preview, &QDialog::reject);
                         });
        preview.exec();
        tellFailure(context, outcome, QString());
        break;
    }
    case PrintDestination::Pdf: {
        QString path = pdfPath;
        if (path.isEmpty())
            path = QFileDialog::getSaveFileName(parent, u"PDFファイルに印刷"_s, context.store.paths.dataFolder,
                                                u"PDF (*.pdf)"_s);
        if (path.isEmpty())
            return false;
        if (!path.endsWith(u".pdf"_s, Qt::CaseInsensitive))
            path += u".pdf"_s;
        // Written whole or not at all: a full disk, a stop or an empty range
        // leaves a PDF already there as it was.
        PdfFile pdf(path);
        QPrinter printer(QPrinter::HighResolution);
        if (!pdf.prepare(printer)) {
            context.notifier.tell(u"印刷できませんでした"_s, MessageIcon::Critical, UserNotifier::appTitle(),
                                  pdf.error());
            return false;
        }
        printer.setPageSize(sharedPrinter().pageLayout().pageSize()); // a job on the set-up's paper
        {
            PainterDevice device(&printer);
            run(device);
            if (outcome == PrintOutcome::Printed && !device.begun())
                outcome = PrintOutcome::NoSuchJob; // the job drew nothing: no empty file
        }
        if (outcome == PrintOutcome::Printed && !pdf.commit()) {
            outcome = PrintOutcome::DeviceFailed;
            tellFailure(context, outcome, pdf.error());
            break;
        }
        pdf.discard();
        tellFailure(context, outcome, path);
        break;
    }
    case PrintDestination::Printer: {
        if (!printerAcceptsJobs(sharedPrinter().printerName())) {
            context.notifier.tell(u"印刷できませんでした"_s, MessageIcon::Critical, UserNotifier::appTitle(),
                                  sharedPrinter().printerName() + u": プリンタが印刷を受け付けていません"_s);
            return false;
        }
        PainterDevice device(&sharedPrinter());
        run(device);
        tellFailure(context, outcome, sharedPrinter().printerName());
        break;
    }
    }
    return outcome == PrintOutcome::Printed;
}
} // namespace

PrintRequest newPrintRequest(const RosterStore& store, PrintJobCode job, PrintJob body)
{
    PrintRequest r = userPrintRequest(store, job, std::move(body));
    r.destination = lastDestination();
    return r;
}

bool printWithDialogs(AppContext& context, PrintRequest request, QWidget* parent)
{
    // The job prints what the windows show now.
    request.session = context.session;
    if (printJobInfo(request.job).showsOptions) {
        PrintOptionsDialog options(context, request, parent);
        options.exec();
        if (!options.started())
            return false;
        lastDestination() = request.destination;
    }
    if (request.job == PrintJobCode::None)
        return false;
    return printToDestination(context, request, true, parent);
}

bool printDirect(AppContext& context, PrintRequest request, QWidget* parent)
{
    request.session = context.session;
    return printToDestination(context, request, false, parent);
}
