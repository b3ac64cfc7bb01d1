// What the clerk sees is what gets printed, and a print that fails leaves the
// user's files alone.
#include "app_context.h"
#include "print_runner.h"
#include "roster_print.h"
#include "sample_roster.h"
#include "school_list.h"
#include "school_list_window.h"
#include "test_env.h"
#include "window_context.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    Fixture()
    {
        store.profile.areaName = u"瑠璃県"_s;
        SampleOptions o;
        o.schools = 30;
        o.staff = 40;
        generateSampleRoster(store, o);
    }
};
} // namespace

class TestPrintWhatIsShown : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { roster_print::registerRosterJobs(); }

    // The clerk narrows the school list to one area, then presses 全表示:
    // every school is on screen again, so a roster printed now (and the
    // schools the prints select) must be every school, not the old area.
    void everySchoolAgainAfterShowingAll()
    {
        Fixture f;
        SchoolListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto count = [&w] { return w.schoolCountLabel()->text().toInt(); };
        const int all = count();
        QComboBox* areaBox = w.areaChoice();
        QVERIFY(areaBox->count() > 1 && areaBox->itemText(0) == u"全"_s);
        for (int i = 1; i < areaBox->count() && count() == all; ++i) {
            areaBox->setCurrentIndex(i);
            emit areaBox->activated(i);
        }
        QVERIFY(count() < all); // an area with fewer schools is on screen
        w.showAllButton()->click();
        QCOMPARE(count(), all);
        QCOMPARE(int(school_list::filteredSchools(f.store, f.context.session.schoolFilter).size()), all);
    }

    // A PDF file the program cannot open (here: a program that is running)
    // is a failure told to the user, and the file is still there afterwards.
    void aFileThatCannotBeOpenedIsNotDeleted()
    {
        Fixture f;
        QTemporaryDir dir;
        const QString path = dir.filePath(u"busy.pdf"_s);
        QVERIFY(QFile::copy(u"/bin/sleep"_s, path));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
        QProcess running;
        running.start(path, {u"30"_s});
        QVERIFY(running.waitForStarted());
        PrintRequest r = newPrintRequest(f.store, PrintJobCode::Roster25);
        r.destination = PrintDestination::Pdf;
        r.pdfPath = path;
        QVERIFY(!printDirect(f.context, r, nullptr));
        QVERIFY(f.notifier.contains(u"印刷できませんでした"_s));
        const bool stillThere = QFile::exists(path);
        running.kill();
        running.waitForFinished();
        QVERIFY2(stillThere, "the file the print could not open was deleted");
    }
};

QTEST_MAIN(TestPrintWhatIsShown)
#include "tst_print_what_is_shown.moc"
