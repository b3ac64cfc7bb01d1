// Times the school list with 1500 schools and their posts: the table sort
// with a full listing, and an extraction.
#include "bench_util.h"
#include "full_roster_context.h"
#include "app_context.h"
#include "sample_roster.h"
#include "school_list_window.h"
#include "settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;


int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FullRosterContext full;
    RosterStore& store = full.store;
    AppContext& context = full.context;
    SchoolListWindow w(context);
    w.resize(1300, 800);
    w.show();
    QCoreApplication::processEvents();
    const double all = medianMs(9, [&] {
        std::reverse(store.schools.begin(), store.schools.end());
        school_list::sortSchoolTable(store);
        w.listAll();
        w.grid()->viewport()->repaint();
    });
    std::printf("sortSchoolTable + listAll (%d rows) + repaint: %.2f ms\n", w.model()->rowCount(), all);
    int i = 0;
    const double pick = medianMs(9, [&] {
        w.kindChecks().elementary->setChecked(i++ % 2);
        w.extract();
        w.grid()->viewport()->repaint();
    });
    std::printf("extraction + repaint: %.2f ms\n", pick);
    return 0;
}
