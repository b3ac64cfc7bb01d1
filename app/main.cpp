#include "message_box_notifier.h"
#include "roster_files.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"なかま帳"_s);

    RosterStore store;
    QMainWindow frame;
    frame.setWindowTitle(u"なかま帳"_s);
    frame.resize(960, 640);
    MessageBoxNotifier notifier(&frame);

    // The data folder is the folder the program was started in.
    store.paths.dataFolder = QDir::currentPath();
    loadPostalCodes(store, notifier);
    const QDate today = QDate::currentDate();
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
    frame.show();
    return app.exec();
}
