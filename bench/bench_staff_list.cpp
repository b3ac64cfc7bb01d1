// Times the staff list with 1500 staff: each of the six sorts, and a grid
// refresh after a sort or a filter change.
#include "bench_util.h"
#include "full_roster_context.h"
#include "app_context.h"
#include "sample_roster.h"
#include "settings_store.h"
#include "staff_list_window.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
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
    StaffListWindow w(context);
    w.resize(1200, 800);
    w.show();
    QCoreApplication::processEvents();
    for (int sort = 1; sort <= 6; ++sort) {
        const double ms = medianMs(9, [&] {
            std::reverse(context.session.staffListOrder.begin(),
                         context.session.staffListOrder.begin() + store.staffCount());
            staff_list::sortOrder(store, context.session, sort);
        });
        std::printf("sort %d (%s): %.3f ms\n", sort, qPrintable(staff_list::sortNames()[sort - 1]), ms);
    }
    const double sortAndShow = medianMs(9, [&] {
        w.selectSort(w.currentSort() == 2 ? 3 : 2);
        w.grid()->viewport()->repaint();
    });
    std::printf("sort change with refresh and repaint: %.2f ms\n", sortAndShow);
    QLineEdit* name = w.nameBox();
    int i = 0;
    const double filter = medianMs(9, [&] {
        name->setText(i++ % 2 ? u"田"_s : QString());
        w.grid()->viewport()->repaint();
    });
    std::printf("filter change with refresh and repaint: %.2f ms\n", filter);
    return 0;
}
