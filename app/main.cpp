// なかま帳: the start-up order. Everything else lives in the libraries.
#include "desktop_platform.h"
#include "message_box_notifier.h"
#include "roster_files.h"
#include "startup.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QMainWindow>
#include <QStatusBar>
#include <cstdlib>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"なかま帳"_s);

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
    RemovableWatchdog watchdog(programFolder);
    if (suite.removable()) {
        suite.importPortableSettings();
        QObject::connect(&watchdog, &RemovableWatchdog::mediumGone, [&notifier] {
            notifier.tell(u"なかま帳を強制終了します"_s, MessageIcon::Warning);
            std::_Exit(1); // the medium is gone: nothing can be saved
        });
        watchdog.start();
    }

    QMainWindow frame;
    frame.setWindowTitle(u"なかま帳"_s);
    frame.resize(960, 640);
    notifier.setParent(&frame);
    suite.loadSuiteSettings();
    frame.show();

    // First activation.
    const QDate today = QDate::currentDate();
    suite.applyStartFlagRule(today);
    if (suite.readUserSettings() != 1)
        notifier.tell(u"環境設定を確認してください"_s, MessageIcon::Warning);
    if (suite.testDataFolders() == 1) {
        loadPostalCodes(store, notifier);
        const int fiscalYear = (today.month() < 4 ? today.year() - 1 : today.year()) - 1988;
        store.paths.setYear(fiscalYear);
        store.fiscalYear = qint16(fiscalYear);
        store.surveyDate = Date::fromYmd(1988 + fiscalYear, 4, 1);
        loadSchools(store, notifier);
        loadStaff(store, notifier);
        store.reindexStaff();
        frame.statusBar()->showMessage(u"%1　学校 %2 校　職員 %3 人"_s.arg(store.yearCaption())
                                           .arg(store.schoolCount())
                                           .arg(store.staffCount()));
    }

    const int result = app.exec();
    suite.writeUserSettings(QDate::currentDate());
    suite.exportPortableSettings();
    return result;
}
