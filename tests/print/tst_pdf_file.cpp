// A PDF is written whole or not at all: whatever goes wrong while it is
// written, a PDF already at the place stays byte for byte as it was, no
// temporary file is left beside it, and the failure names the file.

#include "file_ops.h"
#include "pdf_file.h"
#include "print_framework.h"
#include "print_output.h"
#include "roster_print.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using testenv::readFile;

namespace {

// A job of `pages` pages with a line of text on each.
PrintRequest pagesJob(int pages)
{
    PrintRequest r = PrintRequest::forJob(PrintJobCode::Roster25, [pages](PrintJobContext& c) {
        setupPaperReport(c.device);
        for (int page = 0; page < pages; ++page) {
            if (!startReportPage(c, page))
                return;
            c.device.currentX = 20;
            c.device.currentY = 20;
            c.device.print(u"瑠璃市立星ヶ丘小学校 %1"_s.arg(page + 1));
        }
    });
    return r;
}

// What the folder holds beside the files the test put there.
QStringList leftovers(const QString& folder, const QStringList& expected)
{
    QStringList extra;
    for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System))
        if (!expected.contains(name))
            extra.append(name);
    return extra;
}

bool pdfinfoOpens(const QString& path)
{
    QProcess info;
    info.start(u"pdfinfo"_s, {path});
    return info.waitForFinished(30000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0;
}

} // namespace

class TestPdfFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    RosterStore m_store;
    QByteArray m_old; // a good PDF of one page, the file every failure must keep

    QString path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        generateSampleRoster(m_store, SampleOptions{});
        PrintRequest r = pagesJob(1);
        r.pdfPath = path(u"old.pdf"_s);
        QVERIFY(printToPdf(m_store, r));
        m_old = readFile(r.pdfPath);
        QVERIFY(isWholePdf(m_old));
    }

    void cleanup() { fileops::resetSteps(); }

    void aFileCutShortOrMissingAPieceIsNotWhole()
    {
        PrintRequest r = pagesJob(12);
        r.pdfPath = path(u"twelve.pdf"_s);
        QVERIFY(printToPdf(m_store, r));
        const QByteArray whole = readFile(r.pdfPath);
        QVERIFY(isWholePdf(whole));
        QVERIFY(pdfinfoOpens(r.pdfPath));
        QVERIFY(QFile::remove(r.pdfPath));
        // Cut at every length a full disk could leave (the writer's blocks
        // and every byte of the trailer).
        for (qsizetype cut = 0; cut < whole.size(); cut += (cut > whole.size() - 200 ? 1 : 509))
            QVERIFY2(!isWholePdf(whole.left(cut)), qPrintable(u"cut at %1 of %2"_s.arg(cut).arg(whole.size())));
        // A block lost, or written twice, in the middle.
        for (qsizetype at = 16; at < whole.size() / 2; at += 4096) {
            QByteArray lost = whole;
            lost.remove(at, 512);
            QVERIFY2(!isWholePdf(lost), qPrintable(u"512 bytes lost at %1"_s.arg(at)));
            QByteArray twice = whole;
            twice.insert(at, whole.mid(at, 512));
            QVERIFY2(!isWholePdf(twice), qPrintable(u"512 bytes twice at %1"_s.arg(at)));
        }
        QVERIFY(!isWholePdf(QByteArray()));
        QVERIFY(!isWholePdf("%PDF-1.4\nstartxref\n0\n%%EOF\n"));
        QVERIFY(!isWholePdf("%PDF-1.4\nstartxref\n99999999999999999999\n%%EOF\n"));
    }

    void everyFailedStepKeepsTheOldFile()
    {
        const QString target = path(u"old.pdf"_s);
        PrintRequest r = pagesJob(15);
        r.pdfPath = target;
        int failures = 0;
        for (int n = 1;; ++n) {
            fileops::failStep(n);
            PrintOutcome outcome = PrintOutcome::Printed;
            QString error;
            const bool printed = printToPdf(m_store, r, &outcome, &error);
            const bool fired = fileops::failureFired();
            fileops::resetSteps();
            if (!fired) {
                // Past the last step: the print went through.
                QVERIFY2(printed, qPrintable(error));
                QCOMPARE(outcome, PrintOutcome::Printed);
                QVERIFY(error.isEmpty());
                break;
            }
            ++failures;
            QVERIFY2(!printed, qPrintable(u"step %1"_s.arg(n)));
            QCOMPARE(outcome, PrintOutcome::DeviceFailed);
            QCOMPARE(error, u"ディスクの空きが足りません: "_s + QDir::toNativeSeparators(target));
            QCOMPARE(readFile(target), m_old);
            QCOMPARE(leftovers(m_dir.path(), {u"old.pdf"_s}), QStringList());
        }
        // The temporary is made, read back to the disk and renamed: three steps.
        QCOMPARE(failures, 3);
        const QByteArray fresh = readFile(target);
        QVERIFY(isWholePdf(fresh));
        QVERIFY(fresh != m_old);
        QVERIFY(pdfinfoOpens(target));
        QCOMPARE(leftovers(m_dir.path(), {u"old.pdf"_s}), QStringList());
        testenv::writeFile(target, m_old);
    }

    void aJobThatPrintsNothingKeepsTheOldFile()
    {
        const QString target = path(u"old.pdf"_s);
        // A range past the last page.
        PrintRequest r = pagesJob(1);
        r.pdfPath = target;
        r.firstPage = 2;
        PrintOutcome outcome = PrintOutcome::Printed;
        QString error;
        QVERIFY(!printToPdf(m_store, r, &outcome, &error));
        QCOMPARE(outcome, PrintOutcome::NoSuchPages);
        QCOMPARE(readFile(target), m_old);
        // ... and where no file was, none appears.
        r.pdfPath = path(u"new.pdf"_s);
        QVERIFY(!printToPdf(m_store, r, &outcome));
        QCOMPARE(outcome, PrintOutcome::NoSuchPages);
        QVERIFY(!QFileInfo::exists(r.pdfPath));

        // A job that draws nothing at all.
        PrintRequest nothing = PrintRequest::forJob(PrintJobCode::Roster25, [](PrintJobContext&) {});
        nothing.pdfPath = target;
        QVERIFY(!printToPdf(m_store, nothing, &outcome, &error));
        QCOMPARE(outcome, PrintOutcome::NoSuchJob);
        QCOMPARE(readFile(target), m_old);
        QCOMPARE(leftovers(m_dir.path(), {u"old.pdf"_s}), QStringList());
    }

    void aPlaceThatIsNoFileIsRefused()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"folder.pdf"_s);
        QVERIFY(QDir().mkdir(folder));
        const QString fifo = dir.filePath(u"pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString toFolder = dir.filePath(u"link-to-folder.pdf"_s);
        QVERIFY(QFile::link(folder, toFolder));
        const QString toFifo = dir.filePath(u"link-to-pipe.pdf"_s);
        QVERIFY(QFile::link(fifo, toFifo));
        const QString loop = dir.filePath(u"loop.pdf"_s);
        QVERIFY(QFile::link(loop, loop));
        const QStringList all = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);

        for (const QString& target : {folder, fifo, toFolder, toFifo, loop}) {
            PrintRequest r = pagesJob(2);
            r.pdfPath = target;
            PrintOutcome outcome = PrintOutcome::Printed;
            QString error;
            QVERIFY2(!printToPdf(m_store, r, &outcome, &error), qPrintable(target));
            QCOMPARE(outcome, PrintOutcome::DeviceFailed);
            QCOMPARE(error, u"書き込み先がファイルではありません: "_s + QDir::toNativeSeparators(target));
        }
        // Nothing replaced, nothing added.
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System), all);
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QDir(folder).isEmpty());
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(fifo).constData(), &st), 0);
        QVERIFY(S_ISFIFO(st.st_mode));
        QVERIFY(QFileInfo(toFolder).isSymLink() && QFileInfo(toFifo).isSymLink());

        // A folder that is not there: told, and nothing made.
        PrintRequest r = pagesJob(1);
        r.pdfPath = dir.filePath(u"no/such/folder/x.pdf"_s);
        QString error;
        QVERIFY(!printToPdf(m_store, r, nullptr, &error));
        QCOMPARE(error, u"フォルダが有りません: "_s + QDir::toNativeSeparators(r.pdfPath));
        QVERIFY(!QFileInfo::exists(dir.filePath(u"no"_s)));
        r.pdfPath.clear();
        QVERIFY(!printToPdf(m_store, r, nullptr, &error));
        QVERIFY(!error.isEmpty());
    }

    void aLinkToAFileStaysALinkAndTheFileKeepsItsPermissions()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"kept.pdf"_s);
        testenv::writeFile(file, m_old);
        QVERIFY(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const QString link = dir.filePath(u"link.pdf"_s);
        QVERIFY(QFile::link(file, link));
        PrintRequest r = pagesJob(3);
        r.pdfPath = link;
        QString error;
        QVERIFY2(printToPdf(m_store, r, nullptr, &error), qPrintable(error));
        QVERIFY(QFileInfo(link).isSymLink());
        const QByteArray now = readFile(file);
        QVERIFY(isWholePdf(now));
        QVERIFY(now != m_old);
        struct stat st;
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
        QCOMPARE(st.st_mode & 0777, 0640u);
        QCOMPARE(leftovers(dir.path(), {u"kept.pdf"_s, u"link.pdf"_s}), QStringList());
    }
};

QTEST_MAIN(TestPdfFile)
#include "tst_pdf_file.moc"
