// Times loading and saving a roster at full capacity: 1500 schools with seven
// posts each and 1500 staff. Prints the median of several runs.
#include "bench_util.h"
#include "roster_files.h"
#include "sample_roster.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>


int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    RosterStore store;
    store.paths.dataFolder = dir.path();
    store.paths.setYear(38);
    SampleOptions options;
    options.schools = 1500;
    options.staff = 1500;
    options.fillAllPosts = true;
    generateSampleRoster(store, options);
    RecordingNotifier notifier;
    const int runs = 11;

    const double save = medianMs(runs, [&] {
        saveStaff(store, notifier);
        saveSchools(store, notifier);
        saveMunicipalities(store, notifier);
    });
    const double load = medianMs(runs, [&] {
        RosterStore loaded;
        loaded.paths = store.paths;
        loadSchools(loaded, notifier);
        loadStaff(loaded, notifier);
        loaded.reindexStaff();
    });
    const double sync = medianMs(runs, [&] { store.syncStaffFromSchools(); });
    const double sort = medianMs(runs, [&] {
        std::reverse(store.staff.begin(), store.staff.end());
        store.sortStaffByCode();
    });
    std::printf("full roster: %d schools, %d staff, %d messages\n", int(store.schoolCount()),
                int(store.staffCount()), int(notifier.messages.size()));
    std::printf("save (staff scrambled, schools, municipalities): %.2f ms\n", save);
    std::printf("load (schools, staff unscrambled, sort, index, sync): %.2f ms\n", load);
    std::printf("syncStaffFromSchools: %.3f ms\n", sync);
    std::printf("sortStaffByCode (reversed table): %.3f ms\n", sort);
    return notifier.messages.isEmpty() ? 0 : 1;
}
