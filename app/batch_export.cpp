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
#include "stderr_notifier.h"
#include "staff_list_window.h"
#include "statistics_window.h"
#include "xlsx_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
QString value(const QStringList& args, const QString& option)
{
    const qsizetype i = args.indexOf(option);
    return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
}
} // namespace

bool isBatchExport(const QStringList& arguments)
{
    return arguments.contains(u"--export"_s);
}

int runBatchExport(const QStringList& args)
{
    const QString data = value(args, u"--data"_s).isEmpty() ? QDir::currentPath() : value(args, u"--data"_s);
    bool okYear = false;
    const int nn = value(args, u"--year"_s).toInt(&okYear);
    const QString list = value(args, u"--export"_s);
    const QString xlsx = value(args, u"--xlsx"_s);
    const QString csv = value(args, u"--csv"_s);
    const QStringList lists{u"staff"_s, u"schools"_s, u"officers"_s, u"tally"_s};
    if (!okYear || nn <= 0 || !lists.contains(list) || xlsx.isEmpty() == csv.isEmpty()) {
        std::fprintf(stderr, "usage: nakama-cho --data DIR --year NN --export staff|schools|officers|tally "
                             "(--xlsx OUT.xlsx | --csv OUT.csv)\n");
        return 2;
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
    const QString out = xlsx.isEmpty() ? csv : xlsx;
    QString path = QFileInfo(out).absoluteFilePath();
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
