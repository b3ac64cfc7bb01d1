#include "batch_export.h"

#include "app_context.h"
#include "era_years.h"
#include "grid_export.h"
#include "officer_list_window.h"
#include "periods.h"
#include "reference_tables.h"
#include "roster_files.h"
#include "school_list_window.h"
#include "settings_store.h"
#include "staff_list_window.h"
#include "statistics_window.h"
#include "stderr_notifier.h"
#include "xlsx_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
// The options of an export, as typed after the program's name.
struct ExportOptions {
    const QStringList& args;
    QString problem; // the first usage error found

    // The value typed after `option`; empty when the option is not given.
    // An option with nothing after it, or with another option after it
    // (`--xlsx --csv`), is a usage error: its "value" is never taken as a
    // file name.
    QString value(const QString& option)
    {
        const qsizetype i = args.indexOf(option);
        if (i < 0)
            return {};
        if (i + 1 >= args.size() || args[i + 1].startsWith(u"--"_s)) {
            if (problem.isEmpty())
                problem = u"%1 の後に値を指定してください"_s.arg(option);
            return {};
        }
        return args[i + 1];
    }
};

int usageError(const QString& problem)
{
    std::fprintf(stderr, "nakama-cho: %s\n%s\n", qPrintable(problem),
                 qPrintable(u"使い方: nakama-cho --data DIR --year NN --export staff|schools|officers|tally "
                            u"(--xlsx OUT.xlsx | --csv OUT.csv)"_s));
    return 1;
}
} // namespace

bool isBatchExport(const QStringList& arguments)
{
    return arguments.contains(u"--export"_s);
}

int runBatchExport(const QStringList& args)
{
    ExportOptions options{args, {}};
    const QString dataOption = options.value(u"--data"_s);
    const QString data = dataOption.isEmpty() ? QDir::currentPath() : dataOption;
    bool okYear = false;
    const int nn = options.value(u"--year"_s).toInt(&okYear);
    const QString list = options.value(u"--export"_s);
    const QString xlsx = options.value(u"--xlsx"_s);
    const QString csv = options.value(u"--csv"_s);
    const QStringList lists{u"staff"_s, u"schools"_s, u"officers"_s, u"tally"_s};
    if (!options.problem.isEmpty())
        return usageError(options.problem);
    if (!okYear || nn <= 0)
        return usageError(u"--year に名簿の年度の番号を指定してください"_s);
    if (!lists.contains(list))
        return usageError(u"--export には staff、schools、officers、tally のどれかを指定してください: "_s + list);
    if (xlsx.isEmpty() == csv.isEmpty())
        return usageError(u"--xlsx か --csv のどちらか一方を指定してください"_s);
    const QString out = xlsx.isEmpty() ? csv : xlsx;
    const QString path = QFileInfo(out).absoluteFilePath();
    // A folder or a device named as the target is refused before the roster is read.
    if (const QString problem = table_export::exportTargetProblem(path); !problem.isEmpty()) {
        std::fprintf(stderr, "nakama-cho: %s\n", qPrintable(problem));
        return 1;
    }
    StderrNotifier notifier;
    RosterStore store;
    store.paths.dataFolder = QDir(data).absolutePath();
    readUserSettingsFile(tempFilePath(store.paths.dataFolder, u"NKMCHO.SEW"_s), store.profile);
    store.paths.setYear(nn);
    store.fiscalYear = qint16(nn);
    buildMunicipalityTable(store, nn);
    if (!QFileInfo::exists(store.paths.schoolFile) && !QFileInfo::exists(store.paths.staffFile)) {
        std::fprintf(stderr, "%s: %sの名簿がありません\n", qPrintable(store.paths.dataFolder),
                     qPrintable(fiscalYearCaption(nn)));
        return 1;
    }
    // A list written from half a roster would pass for the whole one.
    if (loadSchools(store, notifier) < 0 || loadStaff(store, notifier) < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(u"名簿を読み込めないため書き出しません"_s));
        return 1;
    }
    store.reindexStaff();
    store.surveyDate = fiscalYearFirstDay(nn);
    calcAllAges(store);

    // Window places are neither read from nor written to the user's settings.
    QTemporaryDir scratch;
    SettingsStore settings(scratch.path());
    WindowPositions positions(settings, u"NAKAMA-CHO"_s);
    AppContext context{store, notifier, positions};
    std::unique_ptr<QWidget> window;
    const QTableView* grid = nullptr;
    std::vector<ExportTable> tables;
    if (list == u"staff"_s) {
        auto* w = new StaffListWindow(context);
        window.reset(w);
        w->activate();
        grid = w->grid();
    } else if (list == u"schools"_s) {
        auto* w = new SchoolListWindow(context);
        window.reset(w);
        w->activate();
        grid = w->grid();
    } else if (list == u"tally"_s) {
        auto* w = new StatisticsWindow(context);
        window.reset(w);
        tables = w->spreadsheetTables();
    } else {
        auto* w = new OfficerListWindow(context);
        window.reset(w);
        grid = w->grid();
    }
    // The format is the option's, whatever the name ends with.
    if (grid)
        tables.push_back(grid_export::tableOf(grid, window->windowTitle()));
    QString error;
    const bool ok = !xlsx.isEmpty()      ? table_export::writeXlsx(tables, path, &error)
                    : tables.size() == 1 ? table_export::writeCsv(tables[0], path, &error)
                                         : table_export::writeCsv(tables, path, &error);
    if (!ok) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    int rows = 0;
    for (const ExportTable& t : tables)
        rows += int(t.rows.size());
    std::printf("%s: %d行\n", qPrintable(path), rows);
    return 0;
}
