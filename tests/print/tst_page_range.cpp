// Printing part of a job again: the pages of a range come out exactly as
// they were in the full print (numbers, headings, running rows), nothing
// else reaches the paper, and a range the job does not reach prints nothing
// and says so.
#include "officer_print.h"
#include "periods.h"
#include "print_framework.h"
#include "print_output.h"
#include "recording_device.h"
#include "roster_print.h"
#include "sample_roster.h"
#include "staff_list_print.h"
#include "test_env.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = RecordingDevice::Primitive::Kind;

namespace {

// A year big enough that every list runs over several pages.
struct Sample {
    RosterStore store;
    RosterSession session;
    Sample()
    {
        store.profile.areaName = store.places.prefectureName;
        SampleOptions o;
        o.schools = 160;
        o.staff = 260;
        o.seed = 11;
        generateSampleRoster(store, o);
        for (const SchoolRecord& school : store.schools)
            session.shownSchools.push_back(school.code);
        calcAllAges(store);
    }
    PrintRequest request(PrintJobCode job, int first = 1, int last = 0) const
    {
        PrintRequest r = PrintRequest::forJob(job);
        r.session = session;
        r.options.heading = u"令和８年度　学校事務職員名簿"_s;
        r.options.pagePrefix = 2;
        r.options.startPage = 5;
        r.firstPage = first;
        r.lastPage = last;
        return r;
    }
};

void printerLike(RecordingDevice& d)
{
    d.printableOffsetMm = QPointF(4.23, 4.23);
    d.printableMm = QSizeF(210 - 8.46, 297 - 8.46);
}

// Everything a primitive puts on paper, the page included.
QString described(const RecordingDevice::Primitive& p)
{
    return u"%1 p%2 %3,%4 %5,%6 [%7] %8 %9 %10%11%12%13 w%14 f%15 %16 %17"_s.arg(int(p.kind))
        .arg(p.page)
        .arg(p.paper1.x(), 0, 'f', 4)
        .arg(p.paper1.y(), 0, 'f', 4)
        .arg(p.paper2.x(), 0, 'f', 4)
        .arg(p.paper2.y(), 0, 'f', 4)
        .arg(p.text, p.face)
        .arg(double(p.size))
        .arg(int(p.bold))
        .arg(int(p.italic))
        .arg(int(p.underline))
        .arg(int(p.strikethrough))
        .arg(p.lineWidth)
        .arg(int(p.fill))
        .arg(p.colour.name(), p.fillColour.name());
}

// What was drawn on the pages `first` to `last`, and the sheet feeds between
// them; page numbers shifted by `shift` (a later copy).
QStringList drawnOn(const RecordingDevice& d, int first, int last, int shift = 0)
{
    QStringList out;
    for (RecordingDevice::Primitive p : d.primitives) {
        if (p.page < first || p.page > last || p.kind == Kind::EndDoc || p.kind == Kind::AbortDoc)
            continue;
        if (p.kind == Kind::NewPage && p.page == last)
            continue; // the feed after the last page of the range
        p.page -= shift;
        out << described(p);
    }
    return out;
}

int count(const RecordingDevice& d, Kind kind)
{
    return int(std::count_if(d.primitives.begin(), d.primitives.end(),
                             [kind](const RecordingDevice::Primitive& p) { return p.kind == kind; }));
}

QStringList pageTexts(const RecordingDevice& d, int page)
{
    QStringList out;
    for (const auto& p : d.texts())
        if (p.page == page)
            out << p.text;
    return out;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

class TestPageRange : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerStaffListJobs();
        roster_print::registerRosterJobs();
        officer_print::registerOfficerJob();
    }

    void theRangeIsThoseOfTheFullPrint_data()
    {
        QTest::addColumn<int>("job");
        QTest::addColumn<bool>("numbered");
        QTest::newRow("25 職員･学校") << int(PrintJobCode::Roster25) << true;
        QTest::newRow("20 学校･自宅") << int(PrintJobCode::Roster20) << true;
        QTest::newRow("20横 職員･学校") << int(PrintJobCode::RosterWide) << true;
        QTest::newRow("50 職員TEL") << int(PrintJobCode::StaffContacts) << true;
        // The staff lists print no page numbers.
        QTest::newRow("職員電話一覧") << int(PrintJobCode::StaffPhoneList) << false;
        QTest::newRow("職員電話一覧（学校名無しを含む）") << int(PrintJobCode::StaffPhoneListAll) << false;
    }
    void theRangeIsThoseOfTheFullPrint()
    {
        QFETCH(int, job);
        QFETCH(bool, numbered);
        Sample s;
        RecordingDevice full;
        printerLike(full);
        QVERIFY(runPrintJob(full, s.store, s.request(PrintJobCode(job))));
        QVERIFY2(full.page() >= 5, qPrintable(u"only %1 pages"_s.arg(full.page())));

        RecordingDevice part;
        printerLike(part);
        PrintOutcome outcome = PrintOutcome::NoSuchJob;
        QVERIFY(runPrintJob(part, s.store, s.request(PrintJobCode(job), 3, 4), nullptr, &outcome));
        QCOMPARE(outcome, PrintOutcome::Printed);
        QVERIFY(part.ended && !part.aborted);
        QCOMPARE(part.printedPages(), 2);
        QCOMPARE(count(part, Kind::NewPage), 1); // one feed between the two sheets, none before or after
        QCOMPARE(part.page(), full.page());      // laid out to the end all the same
        const QStringList expected = drawnOn(full, 3, 4);
        const QStringList printed = drawnOn(part, 1, full.page());
        QCOMPARE(printed.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            QCOMPARE(printed[i], expected[i]);
        // Page 3 of a print that starts at 2-5 is numbered 2-7, as it was.
        QCOMPARE(pageTexts(part, 3).contains(u"2-7"_s), numbered);
        QCOMPARE(pageTexts(part, 4).contains(u"2-8"_s), numbered);

        // One page, and the last pages to the end.
        RecordingDevice one;
        printerLike(one);
        QVERIFY(runPrintJob(one, s.store, s.request(PrintJobCode(job), 2, 2)));
        QCOMPARE(drawnOn(one, 1, full.page()), drawnOn(full, 2, 2));
        QCOMPARE(count(one, Kind::NewPage), 0);
        RecordingDevice tail;
        printerLike(tail);
        QVERIFY(runPrintJob(tail, s.store, s.request(PrintJobCode(job), full.page() - 1, 0)));
        QCOMPARE(tail.printedPages(), 2);
        QCOMPARE(drawnOn(tail, 1, full.page()), drawnOn(full, full.page() - 1, full.page()));
    }

    void copiesRepeatTheRange()
    {
        Sample s;
        PrintRequest r = s.request(PrintJobCode::Roster25, 2, 3);
        r.options.copies = 3;
        RecordingDevice d;
        printerLike(d);
        QVERIFY(runPrintJob(d, s.store, r));
        QCOMPARE(d.printedPages(), 6);
        QCOMPARE(count(d, Kind::NewPage), 5);
        const int perCopy = d.page() / 3;
        QCOMPARE(perCopy * 3, d.page());
        const QStringList first = drawnOn(d, 2, 3);
        QVERIFY(!first.isEmpty());
        // The feed that ends a copy's range is not in `drawnOn`; every copy
        // is the first one again, numbers included.
        QCOMPARE(drawnOn(d, perCopy + 2, perCopy + 3, perCopy), first);
        QCOMPARE(drawnOn(d, 2 * perCopy + 2, 2 * perCopy + 3, 2 * perCopy), first);
        for (int copy = 0; copy < 3; ++copy) {
            QVERIFY(pageTexts(d, copy * perCopy + 2).contains(u"2-6"_s));
            QVERIFY(pageTexts(d, copy * perCopy + 3).contains(u"2-7"_s));
        }

        // A job that prints once whatever the copies prints its range once.
        PrintRequest list = s.request(PrintJobCode::StaffPhoneList, 2, 3);
        list.options.copies = 3;
        RecordingDevice once;
        QVERIFY(runPrintJob(once, s.store, list));
        QCOMPARE(once.printedPages(), 2);
    }

    void aRangeBeyondTheLastPagePrintsNothing()
    {
        Sample s;
        RecordingDevice full;
        QVERIFY(runPrintJob(full, s.store, s.request(PrintJobCode::RosterWide)));
        const int pages = full.page();

        for (const auto& [first, last] : {std::pair(pages + 1, 0), std::pair(pages + 1, pages + 9)}) {
            RecordingDevice d;
            PrintOutcome outcome = PrintOutcome::Printed;
            QVERIFY(!runPrintJob(d, s.store, s.request(PrintJobCode::RosterWide, first, last), nullptr, &outcome));
            QCOMPARE(outcome, PrintOutcome::NoSuchPages);
            QVERIFY(d.aborted && !d.ended);
            QCOMPARE(d.primitives.size(), 1); // the abort alone: not a line, not a feed
            QCOMPARE(d.printedPages(), 0);
        }
        // A range that runs past the end prints the pages there are.
        RecordingDevice last;
        PrintOutcome outcome = PrintOutcome::NoSuchJob;
        QVERIFY(runPrintJob(last, s.store, s.request(PrintJobCode::RosterWide, pages, pages + 5), nullptr, &outcome));
        QCOMPARE(outcome, PrintOutcome::Printed);
        QCOMPARE(last.printedPages(), 1);
        QVERIFY(!noSuchPagesText().isEmpty());
    }

    void aStopOnAPageBeforeTheRangeStillDiscardsTheJob()
    {
        Sample s;
        struct StopOnSecondAsk : PrintProgress {
            int asked = 0;
            bool stopRequested() override { return ++asked >= 3; }
        } progress;
        RecordingDevice d;
        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!runPrintJob(d, s.store, s.request(PrintJobCode::Roster25, 4, 5), &progress, &outcome));
        QCOMPARE(outcome, PrintOutcome::Stopped);
        QVERIFY(d.aborted);
        QCOMPARE(count(d, Kind::Text), 0);
    }

    void aRangeIntoAPdf()
    {
        Sample s;
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"range.pdf"_s);
        PrintRequest r = s.request(PrintJobCode::Roster25, 3, 4);
        r.pdfPath = pdf;
        QVERIFY(printToPdf(s.store, r));
        const QString info = run(u"pdfinfo"_s, {pdf});
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+2\\n"_s)), qPrintable(info));
        // The sheets carry the numbers pages 3 and 4 had: 2-7 and 2-8.
        for (const auto& [sheet, number] : {std::pair(1, u"2-7"_s), std::pair(2, u"2-8"_s)}) {
            const QString text = run(u"pdftotext"_s, {u"-f"_s, QString::number(sheet), u"-l"_s, QString::number(sheet),
                                                      u"-layout"_s, pdf, u"-"_s});
            QVERIFY2(text.contains(number), qPrintable(text.left(400)));
        }

        // Past the end: no file is made, and one that was there stays.
        const QString none = dir.filePath(u"none.pdf"_s);
        PrintRequest beyond = s.request(PrintJobCode::Roster25, 999, 0);
        beyond.pdfPath = none;
        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!printToPdf(s.store, beyond, &outcome));
        QCOMPARE(outcome, PrintOutcome::NoSuchPages);
        QVERIFY(!QFileInfo::exists(none));
        testenv::writeFile(none, "before");
        QVERIFY(!printToPdf(s.store, beyond, &outcome));
        QCOMPARE(testenv::readFile(none), QByteArray("before"));
    }
};

QTEST_MAIN(TestPageRange)
#include "tst_page_range.moc"
