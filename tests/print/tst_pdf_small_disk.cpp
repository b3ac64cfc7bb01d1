// A roster printed into a PDF on a real small disk, filled to every size
// from nothing free up to room for the whole file: the PDF there is either
// the new one, whole, or the old one byte for byte, with the disk-full
// message naming it, and nothing is left beside it. The window-less front
// end says the same and exits 1.

#include "disk_fill.h"
#include "file_ops.h"
#include "pdf_file.h"
#include "print_output.h"
#include "roster_print.h"
#include "roster_year.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using testenv::readFile;

namespace {

constexpr qint64 kTinyDisk = 64 * 1024;
constexpr qint64 kSmallDisk = 1024 * 1024;

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
}

ino_t inode(const QString& path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

bool pdfinfoOpens(const QString& path)
{
    QProcess info;
    info.start(u"pdfinfo"_s, {path});
    return info.waitForFinished(30000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0;
}

} // namespace

class TestPdfSmallDisk : public QObject {
    Q_OBJECT
    QTemporaryDir m_work;
    QStringList m_mounted;
    RosterStore m_small; // a roster whose test page fits the tiny disk
    RosterStore m_large; // a roster of many pages

    QString mount(const QString& name, qint64 bytes)
    {
        const QString point = m_work.filePath(name);
        if (!QDir().mkpath(point))
            return {};
        const int rc =
            QProcess::execute(u"mount"_s, {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=%1"_s.arg(bytes), u"tmpfs"_s, point});
        if (rc != 0)
            return {};
        m_mounted.append(point);
        return point;
    }

    PrintRequest request(PrintJobCode job, const QString& pdf) const
    {
        PrintRequest r = userPrintRequest(m_large, job);
        r.pdfPath = pdf;
        return r;
    }

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("a small disk can only be mounted by root; run as root to check printing on a full disk");
        QVERIFY(m_work.isValid());
        registerTestPage();
        roster_print::registerRosterJobs();
        SampleOptions few;
        few.schools = 12;
        few.staff = 20;
        generateSampleRoster(m_small, few);
        SampleOptions many;
        many.schools = 200;
        many.staff = 300;
        generateSampleRoster(m_large, many);
    }

    void cleanupTestCase()
    {
        for (const QString& point : std::as_const(m_mounted))
            QProcess::execute(u"umount"_s, {point});
    }

    void aLongRosterOverAPdfOnATinyDisk()
    {
        const QString disk = mount(u"tiny"_s, kTinyDisk);
        QVERIFY2(!disk.isEmpty(), "root, but the tiny tmpfs disk could not be mounted");
        const QString old = disk + u"/old.pdf"_s;
        QString error;
        QVERIFY2(printToPdf(m_small, request(PrintJobCode::TestPage, old), nullptr, &error), qPrintable(error));
        const QByteArray before = readFile(old);
        QVERIFY(isWholePdf(before));
        QStorageInfo space(disk);
        const qint64 freeBefore = space.bytesAvailable();

        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!printToPdf(m_large, request(PrintJobCode::Roster25, old), &outcome, &error));
        QCOMPARE(outcome, PrintOutcome::DeviceFailed);
        QCOMPARE(error, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(old));
        QCOMPARE(readFile(old), before);
        QVERIFY(pdfinfoOpens(old));
        QCOMPARE(entries(disk), QStringList{u"old.pdf"_s});
        space.refresh();
        QCOMPARE(space.bytesAvailable(), freeBefore);

        // Where no PDF was, none is left.
        const QString fresh = disk + u"/new.pdf"_s;
        QVERIFY(!printToPdf(m_large, request(PrintJobCode::Roster25, fresh), &outcome, &error));
        QCOMPARE(error, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(fresh));
        QCOMPARE(entries(disk), QStringList{u"old.pdf"_s});
    }

    void theFrontEndOnATinyDisk()
    {
        const QString disk = mount(u"tiny-front"_s, kTinyDisk);
        QVERIFY2(!disk.isEmpty(), "root, but the tiny tmpfs disk could not be mounted");
        // The long roster saved as a year on the ordinary disk.
        const QString data = m_work.filePath(u"data"_s);
        QVERIFY(QDir().mkpath(data));
        RosterStore year = m_large;
        year.paths.dataFolder = data;
        year.paths.setYear(38);
        year.fiscalYear = 38;
        RecordingNotifier n;
        QVERIFY(saveWholeRoster(year, n));

        const QString old = disk + u"/old.pdf"_s;
        QVERIFY(printToPdf(m_small, request(PrintJobCode::TestPage, old)));
        const QByteArray before = readFile(old);
        auto front = [&](const QStringList& args) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(NAKAMA_CHO), QStringList{u"--data"_s, data, u"--year"_s, u"38"_s} + args);
            p.waitForFinished(120000);
            return std::make_tuple(p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                                   QString::fromUtf8(p.readAllStandardError()));
        };
        const auto [code, out, err] = front({u"--print"_s, u"10"_s, u"--pdf"_s, old});
        QCOMPARE(code, 1);
        QVERIFY2(err.contains(u"nakama-cho: ディスクの空きが足りません: "_s + old), qPrintable(err));
        QVERIFY2(out.isEmpty(), qPrintable(out)); // no path printed as if written
        QCOMPARE(readFile(old), before);
        QCOMPARE(entries(disk), QStringList{u"old.pdf"_s});

        // A page that fits replaces the old file (a new file renamed over it).
        const ino_t oldInode = inode(old);
        const auto [code2, out2, err2] = front({u"--print"_s, u"99"_s, u"--pdf"_s, old});
        QVERIFY2(code2 == 0, qPrintable(err2));
        QCOMPARE(out2.trimmed(), old);
        QVERIFY(inode(old) != oldInode);
        QVERIFY(isWholePdf(readFile(old)));
        QVERIFY(pdfinfoOpens(old));
        QCOMPARE(entries(disk), QStringList{u"old.pdf"_s});
    }

    void aRosterOnADiskFilledToEverySize()
    {
        // How large the roster's PDF is, printed on the ordinary disk.
        const QString measured = m_work.filePath(u"measured.pdf"_s);
        QVERIFY(printToPdf(m_large, request(PrintJobCode::Roster25, measured)));
        const qint64 size = QFileInfo(measured).size();
        QVERIFY(size > 64 * 1024);
        const QString disk = mount(u"small"_s, std::max(kSmallDisk, 3 * size));
        QVERIFY2(!disk.isEmpty(), "root, but the small tmpfs disk could not be mounted");
        const QString folder = disk + u"/pdf"_s;
        QVERIFY(QDir().mkpath(folder));
        const QString old = folder + u"/roster.pdf"_s;
        QVERIFY(printToPdf(m_small, request(PrintJobCode::TestPage, old)));
        const QByteArray before = readFile(old);

        int refused = 0, written = 0;
        for (qint64 free = 0; free <= size + 32 * 1024; free += size / 16) {
            QVERIFY(fillTo(disk, free));
            QString error;
            PrintOutcome outcome = PrintOutcome::Printed;
            const bool printed = printToPdf(m_large, request(PrintJobCode::Roster25, old), &outcome, &error);
            const QByteArray now = readFile(old);
            if (printed) {
                ++written;
                QCOMPARE(outcome, PrintOutcome::Printed);
                QVERIFY(isWholePdf(now));
                QVERIFY(pdfinfoOpens(old));
            } else {
                ++refused;
                QCOMPARE(outcome, PrintOutcome::DeviceFailed);
                QCOMPARE(error, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(old));
                QCOMPARE(now, before);
            }
            QCOMPARE(entries(folder), QStringList{u"roster.pdf"_s});
            // Put the earlier file back for the next size.
            QVERIFY(QFile::remove(disk + u"/filler.bin"_s));
            testenv::writeFile(old, before);
        }
        qInfo("small disk: %d prints refused for lack of room, %d written whole", refused, written);
        QVERIFY(refused > 0);
        QVERIFY(written > 0);
    }
};

QTEST_MAIN(TestPdfSmallDisk)
#include "tst_pdf_small_disk.moc"
