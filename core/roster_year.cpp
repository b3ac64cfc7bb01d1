#include "roster_year.h"

#include "era_years.h"
#include "periods.h"
#include "reference_tables.h"
#include "roster_files.h"
#include "text_width.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

int proposedYear(const QDate& today)
{
    return today.year() - 1988 - (today.month() < 3 ? 1 : 0);
}

std::optional<int> parseYearEntry(const QString& text, const QDate& today)
{
    return parseRosterYear(text, today);
}

void openRosterYear(RosterStore& store, int nn, UserNotifier& notifier)
{
    store.paths.setYear(nn);
    RosterPaths previous = store.paths;
    previous.setYear(nn - 1);
    store.fiscalYear = qint16(nn);

    store.clearYear();
    buildMunicipalityTable(store, nn);

    if (QFileInfo::exists(store.paths.schoolFile) || QFileInfo::exists(store.paths.staffFile)) {
        loadSchools(store, notifier);
        loadStaff(store, notifier);
    } else if (notifier.askYesNo(u"名簿を新規に作成します"_s) && QFileInfo::exists(previous.staffFile) &&
               notifier.askYesNo(u"前年度のデータを読み込みますか？"_s)) {
        const RosterPaths current = store.paths;
        store.paths = previous;
        loadSchools(store, notifier);
        loadStaff(store, notifier);
        loadMunicipalityTable(store);
        store.paths = current;
        if (nn >= 18)
            buildMunicipalityTable(store, nn);
        applyMergerMap(store);
        store.dirty = 1;
    }
    store.surveyDate = fiscalYearFirstDay(nn);
    calcAllAges(store);
}

bool saveWholeRoster(RosterStore& store, UserNotifier& notifier)
{
    return saveRosterFiles(store, notifier, RosterFileStaff | RosterFileSchools | RosterFileMunicipalities) == 1;
}
