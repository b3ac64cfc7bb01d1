// A program killed while it saves, hundreds of times at random moments: the
// stored year always opens whole, each file as one of the saves left it.

#include "roster_files.h"
#include "roster_year.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>
#include <cstdio>

using namespace Qt::StringLiterals;
using testenv::readFile;

namespace {

constexpr int kVersions = 4;

// Version `v` of the year: the same schools and staff with other values.
RosterStore version(const QString& data, int v)
{
    RosterStore store;
    generateSampleRoster(store, SampleOptions{});
    for (StaffRecord& s : store.staff)
        s.remarks = u"版%1"_s.arg(v);
    for (SchoolRecord& s : store.schools)
        s.tel = u"0123-45-%1"_s.arg(1000 + v);
    store.paths.dataFolder = data;
    store.paths.setYear(38);
    store.fiscalYear = 38;
    return store;
}

// The child: saves the versions one after another until it is killed.
int saveForever(const QString& data)
{
    std::vector<RosterStore> versions;
    for (int v = 0; v < kVersions; ++v)
        versions.push_back(version(data, v));
    RecordingNotifier n;
    std::fputs("saving\n", stdout);
    std::fflush(stdout);
    for (int i = 0;; ++i)
        if (!saveWholeRoster(versions[size_t(i % kVersions)], n))
            return 1;
}

} // namespace

class TestKillLoop : public QObject {
    Q_OBJECT
private slots:
    void theStoredYearSurvivesEveryKill()
    {
        QTemporaryDir scratch;
        QTemporaryDir work;
        const QString data = work.path();
        // What each file may hold: its bytes in one of the versions.
        QSet<QByteArray> staff, schools, municipalities;
        for (int v = 0; v < kVersions; ++v) {
            RosterStore s = version(scratch.path(), v);
            RecordingNotifier n;
            QVERIFY(saveWholeRoster(s, n));
            staff << readFile(s.paths.staffFile);
            schools << readFile(s.paths.schoolFile);
            municipalities << readFile(s.paths.municipalityFile);
        }
        {
            RosterStore first = version(data, 0);
            RecordingNotifier n;
            QVERIFY(saveWholeRoster(first, n));
        }
        RosterPaths paths;
        paths.dataFolder = data;
        paths.setYear(38);

        QElapsedTimer clock;
        clock.start();
        int kills = 0;
        auto* random = QRandomGenerator::global();
        while (kills < 300 && clock.elapsed() < 25000) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {u"--save-forever"_s, data});
            QVERIFY(child.waitForStarted());
            QVERIFY(child.waitForReadyRead(10000));
            QThread::usleep(random->bounded(30000));
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            ++kills;

            QVERIFY2(staff.contains(readFile(paths.staffFile)), "staff file torn");
            QVERIFY2(schools.contains(readFile(paths.schoolFile)), "school file torn");
            QVERIFY2(municipalities.contains(readFile(paths.municipalityFile)), "municipality file torn");
            RosterStore reopened;
            reopened.paths = paths;
            RecordingNotifier n;
            QCOMPARE(loadSchools(reopened, n), 1);
            QCOMPARE(loadStaff(reopened, n), 1);
            QCOMPARE(reopened.staffCount(), qint16(60));
            QCOMPARE(reopened.schoolCount(), qint16(40));
        }
        qInfo("killed a saving program %d times in %lld ms; the year opened whole every time", kills, clock.elapsed());
        QVERIFY(kills >= 50); // fewer on a slow or busy machine, never none
    }
};

int main(int argc, char** argv)
{
    if (argc == 3 && QByteArray(argv[1]) == "--save-forever") {
        QCoreApplication app(argc, argv);
        return saveForever(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    TestKillLoop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_kill_loop.moc"
