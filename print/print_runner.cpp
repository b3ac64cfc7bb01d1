#include "print_runner.h"

#include "app_context.h"
#include "painter_device.h"
#include "print_framework.h"
#include "print_options_dialog.h"
#include "print_progress_dialog.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

QPrinter& sharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

void takePrintCorrections(const RosterStore& store)
{
    for (int i = 0; i < 4; ++i)
        printGlobals().corrections[i] = store.profile.printOffsets[size_t(i)];
}

namespace {
void preparePdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(600);
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setCreator(u"なかま帳"_s);
}
} // namespace

bool printJobToPdf(RosterStore& store, int code, const QString& path)
{
    takePrintCorrections(store);
    QPrinter printer(QPrinter::HighResolution);
    preparePdf(printer, path);
    PainterDevice device(&printer);
    return runPrintJob(device, store, code);
}

bool printJobToPrinter(RosterStore& store, int code, const QString& queue, QRectF* printableMm)
{
    if (QPrinterInfo::printerInfo(queue).isNull())
        return false;
    takePrintCorrections(store);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(queue);
    if (!printer.isValid() || printer.printerName() != queue)
        return false;
    printer.setFullPage(false);
    printer.setCreator(u"なかま帳"_s);
    printer.setDocName(u"なかま帳"_s);
    PainterDevice device(&printer);
    const bool printed = runPrintJob(device, store, code);
    if (printableMm)
        *printableMm = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    return printed;
}

namespace {
// Prints job `code` to the chosen destination, inside the progress dialog
// when `withProgress`.
void printToDestination(AppContext& context, int code, bool withProgress, QWidget* parent)
{
    PrintGlobals& g = printGlobals();
    takePrintCorrections(context.store);
    auto run = [&](PrintDevice& device) {
        if (withProgress) {
            PrintProgressDialog progress(device, context.store, context.session, code, parent);
            progress.exec();
        } else {
            runPrintJob(device, context.store, context.session, code);
        }
    };
    switch (g.destination) {
    case PrintDestination::Preview: {
        QPrinter printer(QPrinter::HighResolution);
        printer.setResolution(600);
        QPrintPreviewDialog preview(&printer, parent);
        preview.setWindowTitle(u"印刷プレビュー"_s);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&context, code](QPrinter* p) {
            PainterDevice device(p);
            runPrintJob(device, context.store, context.session, code);
        });
        preview.exec();
        break;
    }
    case PrintDestination::Pdf: {
        const QString path = QFileDialog::getSaveFileName(parent, u"PDFファイルに印刷"_s,
                                                          context.store.paths.dataFolder, u"PDF (*.pdf)"_s);
        if (path.isEmpty())
            return;
        QPrinter printer(QPrinter::HighResolution);
        preparePdf(printer, path.endsWith(u".pdf"_s, Qt::CaseInsensitive) ? path : path + u".pdf"_s);
        PainterDevice device(&printer);
        run(device);
        break;
    }
    case PrintDestination::Printer: {
        PainterDevice device(&sharedPrinter());
        run(device);
        break;
    }
    }
}

constexpr int kAdHocJob = 9001;
} // namespace

void printJobWithDialogs(AppContext& context, int code, bool withOptions, QWidget* parent)
{
    PrintGlobals& g = printGlobals();
    g.jobCode = qint16(code);
    if (withOptions) {
        PrintOptionsDialog options(context, g, parent);
        options.exec();
    }
    if (g.jobCode <= 0)
        return;
    printToDestination(context, g.jobCode, true, parent);
}

void printDirect(AppContext& context, const std::function<void(PrintJobContext&)>& job, QWidget* parent)
{
    printJobs().add(kAdHocJob, job);
    printToDestination(context, kAdHocJob, false, parent);
    printJobs().add(kAdHocJob, {});
}

void printAdHoc(AppContext& context, const std::function<void(PrintJobContext&)>& job, QWidget* parent)
{
    printJobs().add(kAdHocJob, job);
    printJobWithDialogs(context, kAdHocJob, false, parent);
    printJobs().add(kAdHocJob, {});
}
