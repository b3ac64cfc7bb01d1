// なかま帳: the start-up order. Everything else lives in the libraries.
#include "app_context.h"
#include "batch_export.h"
#include "batch_print.h"
#include "desktop_platform.h"
#include "main_window.h"
#include "message_box_notifier.h"
#include "print_framework.h"
#include "qt_translations.h"
#include "roster_print.h"
#include "print_runner.h"
#include "survey_form.h"
#include "reference_data.h"
#include "school_list_window.h"
#include "staff_list_print.h"
#include "statistics_window.h"
#include "graphs.h"
#include "tally_sheets.h"
#include "transfer_window.h"
#include "officer_list_window.h"
#include "officer_print.h"
#include "network_window.h"
#include "label_designer.h"
#include "staff_list_window.h"
#include "startup.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    // Printing one job into a PDF needs no window, nor a display.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (raw.contains(u"--version"_s)) {
        std::printf("nakama-cho %d.%d.%d\n", NAKAMA_VERSION_MAJOR, NAKAMA_VERSION_MINOR, NAKAMA_VERSION_PATCH);
        return 0;
    }
    const bool batch = isBatchPrint(raw) || isBatchExport(raw);
    if (batch && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    installQtTranslations(app);
    QApplication::setWindowIcon(MainWindow::programIcon());
    registerTestPage();
    registerStaffListJobs();
    roster_print::registerRosterJobs();
    tally_sheets::registerSummaryJob();
    officer_print::registerOfficerJob();
    survey_form::registerSurveyJob();
    if (batch && isBatchExport(raw))
        return runBatchExport(QCoreApplication::arguments().mid(1));
    if (batch)
        return runBatchPrint(QCoreApplication::arguments().mid(1));
    QApplication::setApplicationName(u"なかま帳"_s);
    QApplication::setApplicationVersion(u"%1.%2.%3"_s.arg(NAKAMA_VERSION_MAJOR).arg(NAKAMA_VERSION_MINOR).arg(NAKAMA_VERSION_PATCH));

    // The data folder is the folder the program was started in (the launcher
    // starts it there); the program folder is where the executable lives.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString dataFolder = QDir::currentPath();

    RosterStore store;
    SettingsStore settings;
    DesktopPlatform platform;
    MessageBoxNotifier notifier;
    SuiteSession suite(settings, platform, notifier, store.profile, loadSuiteConfig(programFolder), programFolder,
                       dataFolder, QCoreApplication::arguments().mid(1));
    if (suite.startupChecks() != 1)
        return 0;

    store.paths.dataFolder = dataFolder;
    store.places = loadReferenceData(programFolder, &notifier);
    RemovableWatchdog watchdog(programFolder);
    if (suite.removable()) {
        suite.importPortableSettings();
        QObject::connect(&watchdog, &RemovableWatchdog::mediumGone, [&notifier] {
            notifier.tell(u"なかま帳を強制終了します"_s, MessageIcon::Warning);
            std::_Exit(1); // the medium is gone: nothing can be saved
        });
        watchdog.start();
    }

    WindowPositions positions(settings, suite.appKey());
    AppContext context{store, notifier, positions};
    MainWindow frame(context, suite, settings);
    frame.registerView(MainWindow::SchoolList, [&context, &frame] {
        auto* list = new SchoolListWindow(context);
        QObject::connect(list, &SchoolListWindow::transferCommandVisible, &frame, &MainWindow::setTransferCommandVisible);
        QObject::connect(list, &SchoolListWindow::narrowedChanged, &frame, &MainWindow::setExportEnabled);
        list->openLabels = [&context, list] {
            LabelDesigner labels(context, list);
            labels.exec();
        };
        list->openNetwork = [&context, list] {
            NetworkWindow network(context, {}, false, list);
            network.exec();
        };
        return list;
    });
    frame.registerView(MainWindow::Tallies, [&context] {
        auto* window = new StatisticsWindow(context);
        window->printEntry = [&context](StatisticsWindow& w, int entry) {
            tally_sheets::printFromWindow(context, w, entry);
        };
        window->drawGraph = [&context](QPainter& p, const QRect& r, StatisticsWindow& w, int entry) {
            graphs::drawOnScreen(p, r, graphs::View(entry), w.districtTally(),
                                 tally_sheets::districtHeader(context.store), w.graphToggle(), w.scrollValue(),
                                 w.connectingLines());
        };
        return window;
    });
    frame.registerView(MainWindow::StaffList, [&context, &frame] {
        auto* list = new StaffListWindow(context);
        QObject::connect(list, &StaffListWindow::surveyDateChanged, &frame, &MainWindow::refreshYearLabels);
        return list;
    });
    frame.registerView(MainWindow::OfficerList, [&context] {
        auto* officers = new OfficerListWindow(context);
        officers->openNetwork = [&context, officers](const std::vector<OfficerEntry>& shown) {
            NetworkWindow network(context, shown, true, officers);
            network.exec();
        };
        return officers;
    });
    frame.printSurveyForms = [&context, &frame] {
        printDirect(context, [](PrintJobContext& c) { survey_form::printBlankForm(c); }, &frame);
    };
    frame.openTransfers = [&context, &frame] {
        TransferWindow transfers(context, &frame);
        QObject::connect(&transfers, &TransferWindow::rosterChanged, &frame, [&frame] {
            if (auto* list = qobject_cast<SchoolListWindow*>(frame.viewWindow(MainWindow::SchoolList)))
                list->refill();
        });
        transfers.exec();
    };
    notifier.setParent(&frame);
    frame.show();
    return app.exec();
}
