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
    return today.year() - kHeiseiBase - (today.month() < 3 ? 1 : 0);
}

std::optional<int> parseYearEntry(const QString& text, const QDate& today)
{
    return parseRosterYear(text, today);
}

QString carryOverRefusedText()
{
    return u"前年度の名簿を読み込めなかったため、前年度のデータは引き継がず、新しい年度を空の名簿で始めます"_s;
}

int openRosterYear(RosterStore& store, int nn, UserNotifier& notifier)
{
    store.paths.setYear(nn);
    RosterPaths previous = store.paths;
    previous.setYear(nn - 1);
    store.fiscalYear = qint16(nn);

    store.clearYear();
    buildMunicipalityTable(store, nn);

    int result = 0;
    if (QFileInfo::exists(store.paths.schoolFile) || QFileInfo::exists(store.paths.staffFile)) {
        // A file that fails is marked unreadable and is never saved over.
        const int schools = loadSchools(store, notifier);
        const int staff = loadStaff(store, notifier);
        result = schools < 0 || staff < 0 ? -1 : 1;
    } else if (notifier.askYesNo(u"名簿を新規に作成します"_s) && QFileInfo::exists(previous.staffFile) &&
               notifier.askYesNo(u"前年度のデータを読み込みますか？"_s)) {
        const RosterPaths current = store.paths;
        store.paths = previous;
        const int schools = loadSchools(store, notifier);
        const int staff = loadStaff(store, notifier);
        loadMunicipalityTable(store);
        store.paths = current;
        if (schools < 0 || staff < 0) {
            // A year is carried over whole or not at all: schools whose
            // clerks never arrived would be saved as the new year.
            store.clearYear();
            buildMunicipalityTable(store, nn);
            notifier.tell(carryOverRefusedText(), MessageIcon::Warning);
            result = -1;
        } else {
            if (nn >= 18)
                buildMunicipalityTable(store, nn);
            applyMergerMap(store);
            store.dirty = 1;
            result = 1;
        }
    }
    store.surveyDate = fiscalYearFirstDay(nn);
    calcAllAges(store);
    return result;
}

bool saveWholeRoster(RosterStore& store, UserNotifier& notifier)
{
    return saveRosterFiles(store, notifier, RosterFileStaff | RosterFileSchools | RosterFileMunicipalities) == 1;
}
