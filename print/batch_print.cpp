#include "batch_print.h"

#include "era_years.h"
#include "periods.h"
#include "print_framework.h"
#include "print_runner.h"
#include "reference_tables.h"
#include "roster_files.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
// Messages go to the terminal.
class StderrNotifier : public UserNotifier {
public:
    MessageAnswer ask(const UserMessage& m) override
    {
        std::fprintf(stderr, "%s%s%s\n", qPrintable(m.text), m.detail.isEmpty() ? "" : ": ", qPrintable(m.detail));
        return m.buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
};

QString value(const QStringList& args, const QString& option)
{
    const qsizetype i = args.indexOf(option);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}
} // namespace

bool isBatchPrint(const QStringList& arguments)
{
    return arguments.contains(u"--print"_s);
}

int runBatchPrint(const QStringList& args)
{
    const QString data = value(args, u"--data"_s).isEmpty() ? QDir::currentPath() : value(args, u"--data"_s);
    bool okYear = false, okCode = false;
    const int nn = value(args, u"--year"_s).toInt(&okYear);
    const int code = value(args, u"--print"_s).toInt(&okCode);
    const QString pdf = value(args, u"--pdf"_s);
    const QString queue = value(args, u"--printer"_s);
    if (!okYear || !okCode || nn <= 0 || pdf.isEmpty() == queue.isEmpty()) {
        std::fprintf(stderr, "usage: nakama-cho --data DIR --year NN --print CODE (--pdf OUT.pdf | --printer QUEUE) "
                             "[--heading TEXT] [--copies N] [--start-page N]\n");
        return 2;
    }
    StderrNotifier notifier;
    RosterStore store;
    store.paths.dataFolder = QDir(data).absolutePath();
    readUserSettingsFile(tempFilePath(store.paths.dataFolder, u"NKMCHO.SEW"_s), store.profile);
    store.paths.setYear(nn);
    store.fiscalYear = qint16(nn);
    buildMunicipalityTable(store, nn);
    if (!QFileInfo::exists(store.paths.schoolFile) && !QFileInfo::exists(store.paths.staffFile) &&
        code != jobNumber(PrintJobCode::TestPage)) {
        std::fprintf(stderr, "%s: %sの名簿がありません\n", qPrintable(store.paths.dataFolder),
                     qPrintable(fiscalYearCaption(nn)));
        return 1;
    }
    loadSchools(store, notifier);
    loadStaff(store, notifier);
    store.reindexStaff();
    store.surveyDate = fiscalYearFirstDay(nn);
    calcAllAges(store);

    PrintRequest request;
    request.job = PrintJobCode(code);
    request.options.heading = value(args, u"--heading"_s);
    if (!value(args, u"--copies"_s).isEmpty())
        request.options.copies = qint16(std::clamp(value(args, u"--copies"_s).toInt(), 0, 32767));
    if (!value(args, u"--start-page"_s).isEmpty())
        request.options.startPage = qint16(std::clamp(value(args, u"--start-page"_s).toInt(), 0, 32767));
    for (size_t i = 0; i < request.corrections.size(); ++i)
        request.corrections[i] = store.profile.printOffsets[i];
    if (!queue.isEmpty()) {
        QRectF area;
        if (!printToPrinter(store, request, queue, &area)) {
            std::fprintf(stderr, "プリンタ「%s」に印刷できませんでした\n", qPrintable(queue));
            return 1;
        }
        std::printf("%s: 印刷範囲 %.2f %.2f %.2f %.2f mm\n", qPrintable(queue), area.left(), area.top(), area.width(),
                    area.height());
        return 0;
    }
    request.pdfPath = pdf;
    if (!printToPdf(store, request)) {
        std::fprintf(stderr, "印刷できませんでした: %s\n", qPrintable(pdf));
        return 1;
    }
    std::printf("%s\n", qPrintable(QFileInfo(pdf).absoluteFilePath()));
    return 0;
}
