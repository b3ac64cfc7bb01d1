// A year saved on a real small disk filled to every size from nothing free
// up to room for the whole save: the year files always open whole, and a save
// that did not fit says so and leaves the earlier files as they were.

#include "disk_fill.h"
#include "file_ops.h"
#include "roster_files.h"
#include "roster_year.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;
using testenv::readFile;

namespace {

constexpr qint64 kDiskBytes = 512 * 1024;

struct YearBytes {
    QByteArray staff, schools, municipalities;
    bool operator==(const YearBytes&) const = default;
};

YearBytes yearBytes(const RosterPaths& p)
{
    return {readFile(p.staffFile), readFile(p.schoolFile), readFile(p.municipalityFile)};
}

} // namespace

class TestSmallDisk : public QObject {
    Q_OBJECT
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("a small disk can only be mounted by root; run as root to check saving on a full disk");
        const int rc = QProcess::execute(
            u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=%1"_s.arg(kDiskBytes), u"tmpfs"_s, m_mountPoint.path()});
        QVERIFY2(rc == 0, "root, but the small tmpfs disk could not be mounted");
        m_mounted = true;
    }

    void cleanupTestCase()
    {
        if (m_mounted)
            QProcess::execute(u"umount"_s, {m_mountPoint.path()});
    }

    void savingAYearOnAFillingDisk()
    {
        const QString data = m_mountPoint.path() + u"/data"_s;
        QVERIFY(QDir().mkpath(data));
        RosterStore old;
        generateSampleRoster(old, SampleOptions{});
        old.paths.dataFolder = data;
        old.paths.setYear(38);
        old.fiscalYear = 38;
        RecordingNotifier n;
        QVERIFY(saveWholeRoster(old, n));
        const YearBytes before = yearBytes(old.paths);
        const qint64 filesSize = before.staff.size() + before.schools.size() + before.municipalities.size();
        QVERIFY(filesSize > 8 * 1024);

        RosterStore changed = old;
        for (StaffRecord& s : changed.staff)
            s.remarks = u"異動希望あり、通勤一時間以内"_s;
        YearBytes after;
        int failedSaves = 0, goodSaves = 0;
        for (qint64 free = 0; free <= 2 * filesSize + 32 * 1024; free += 2048) {
            QVERIFY(fillTo(data, free));
            n.messages.clear();
            const bool saved = saveWholeRoster(changed, n);
            const YearBytes now = yearBytes(old.paths);
            if (saved) {
                ++goodSaves;
                if (after.staff.isEmpty())
                    after = now;
                QCOMPARE(now, after);
                QVERIFY(now != before);
            } else {
                ++failedSaves;
                QCOMPARE(now, before);
                QCOMPARE(n.messages.size(), 1);
                QCOMPARE(n.messages.last().text, u"名簿の保存に失敗しました"_s);
                QVERIFY2(n.messages.last().detail.contains(u"ディスクの空きが足りません"_s),
                         qPrintable(n.messages.last().detail));
            }
            // Whatever happened, the year opens whole, even on the full disk.
            RosterStore reopened;
            reopened.paths = old.paths;
            RecordingNotifier rn;
            QCOMPARE(loadSchools(reopened, rn), 1);
            QCOMPARE(loadStaff(reopened, rn), 1);
            QVERIFY(rn.messages.isEmpty());
            QCOMPARE(reopened.staffCount(), old.staffCount());
            QCOMPARE(reopened.schoolCount(), old.schoolCount());
            QCOMPARE(reopened.staff[0].remarks, saved ? changed.staff[0].remarks : old.staff[0].remarks);
            // Put the earlier year back for the next size.
            QFile::remove(data + u"/filler.bin"_s);
            QVERIFY(saveWholeRoster(old, n));
            QCOMPARE(yearBytes(old.paths), before);
            const QStringList left = QDir(data).entryList({u"*.tmp~"_s, u"*.XIN"_s}, QDir::Files);
            QVERIFY2(left.isEmpty(), qPrintable(left.join(u' ')));
        }
        qInfo("small disk: %d saves refused for lack of room, %d saves completed", failedSaves, goodSaves);
        QVERIFY(failedSaves > 0);
        QVERIFY(goodSaves > 0);
    }
};

QTEST_GUILESS_MAIN(TestSmallDisk)
#include "tst_small_disk.moc"
