// なかま帳: the start-up order. Everything else lives in the libraries.
#include "app_context.h"
#include "batch_export.h"
#include "desktop_platform.h"
#include "graphs.h"
#include "label_designer.h"
#include "main_window.h"
#include "message_box_notifier.h"
#include "network_window.h"
#include "officer_list_window.h"
#include "officer_print.h"
#include "print_command.h"
#include "print_framework.h"
#include "print_runner.h"
#include "qt_translations.h"
#include "reference_data.h"
#include "roster_print.h"
#include "school_list_window.h"
#include "staff_list_print.h"
#include "staff_list_window.h"
#include "startup.h"
#include "statistics_print.h"
#include "statistics_window.h"
#include "survey_form.h"
#include "tally_sheets.h"
#include "transfer_window.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {
// The numbered jobs, registered once: what each job code draws.
void registerPrintJobs()
{
    registerTestPage();
    registerStaffListJobs();
    roster_print::registerRosterJobs();
    tally_sheets::registerSummaryJob();
    officer_print::registerOfficerJob();
    survey_form::registerSurveyJob();
}

void nameTheProgram()
{
    QCoreApplication::setApplicationName(u"なかま帳"_s);
    QCoreApplication::setApplicationVersion(
        u"%1.%2.%3"_s.arg(NAKAMA_VERSION_MAJOR).arg(NAKAMA_VERSION_MINOR).arg(NAKAMA_VERSION_PATCH));
}
} // namespace

int main(int argc, char** argv)
{
    // Printing one job needs no window, nor a display: the window-less front
    // end runs on QGuiApplication.
    QStringList raw;
    for (int i = 1; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (isBatchExport(raw)) {
        // The lists are turned into tables through the windows' own models,
        // which need the widget library, though no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        installQtTranslations(app);
        nameTheProgram();
        return runBatchExport(QCoreApplication::arguments().mid(1));
    }
    if (print_command::wanted(raw)) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        nameTheProgram();
        registerPrintJobs();
        return print_command::run();
    }

    QApplication app(argc, argv);
    installQtTranslations(app);
    QApplication::setWindowIcon(MainWindow::programIcon());
    registerPrintJobs();
    nameTheProgram();

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
        QObject::connect(list, &SchoolListWindow::transferCommandVisible, &frame,
                         &MainWindow::setTransferCommandVisible);
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
        window->printEntry = [&context](StatisticsWindow& w, StatisticsView view) {
            tally_sheets::printFromWindow(context, w, view);
        };
        window->drawGraph = [&context](QPainter& p, const QRect& r, StatisticsWindow& w, StatisticsView view) {
            graphs::drawOnScreen(p, r, view, w.districtTally(), tally_sheets::districtHeader(context.store),
                                 w.graphToggle(), w.scrollValue(), w.connectingLines());
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
        printDirect(context,
                    newPrintRequest(context.store, PrintJobCode::BlankSurveyForm,
                                    [](PrintJobContext& c) { survey_form::printBlankForm(c); }),
                    &frame);
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
