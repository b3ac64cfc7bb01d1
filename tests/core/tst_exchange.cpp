#include "exchange_files.h"
#include "roster_files.h"
#include "sample_roster.h"
#include "school_list.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace exchange;

namespace {
struct Area {
    QTemporaryDir dir;
    RosterStore store;
    RecordingNotifier notifier;
    explicit Area(int schools = 10, int staff = 14, quint32 seed = 1)
    {
        store.paths.dataFolder = dir.path();
        store.profile.areaName = u"瑠璃県"_s;
        SampleOptions o;
        o.schools = schools;
        o.staff = staff;
        o.seed = seed;
        generateSampleRoster(store, o);
    }
    // The list narrowed to one area, as the school list leaves it.
    void extract(const QString& area)
    {
        session.schoolFilter.area = area;
        session.schoolFilter.narrowed = true;
    }
    PairNames pair(const QString& base) const { return exportNames(dir.filePath(base)); }
    RosterSession session;
};

std::function<QString(const QString&)> answer(const QString& typed)
{
    return [typed](const QString&) { return typed; };
}

QByteArray rosterBytes(RosterStore& store)
{
    RecordingNotifier n;
    store.paths.setYear(99);
    saveStaff(store, n);
    saveSchools(store, n);
    return unscrambled(testenv::readFile(store.paths.staffFile)) + testenv::readFile(store.paths.schoolFile);
}
} // namespace

class TestExchange : public QObject {
    Q_OBJECT
private slots:
    void naming()
    {
        const PairNames a = exportNames(u"/d/AREA1"_s);
        QCOMPARE(a.staffFile, u"/d/AREA1.NK1"_s);
        QCOMPARE(a.schoolFile, u"/d/AREA1.NK2"_s);
        QCOMPARE(exportNames(u"/d/x.NK2"_s).staffFile, u"/d/x.NK1"_s);
        QCOMPARE(exportNames(u"/d/x.nk2"_s).staffFile, u"/d/x.nk2.NK1"_s); // as typed on export
        const auto b = importNames(u"/d/area1.nk2"_s);
        QVERIFY(b);
        QCOMPARE(b->staffFile, u"/d/area1.NK1"_s);
        QCOMPARE(b->schoolFile, u"/d/area1.nk2"_s);
        QVERIFY(!importNames(u"/d/area1.txt"_s));
        QVERIFY(!importNames(u"NK"_s));
    }

    void exportingAnExtraction()
    {
        Area a;
        RecordingNotifier& n = a.notifier;
        QCOMPARE(exportPair(a.store, a.session.schoolFilter, a.pair(u"AREA1"_s), n), 0); // nothing extracted
        QCOMPARE(n.texts(), QStringList{u"データ抽出を行ってください"_s});
        QVERIFY(!QFile::exists(a.dir.filePath(u"AREA1.NK1"_s)));

        // A school with posts in slots 0 and 2.
        const QString area = a.store.municipalities.entries[a.store.schools[0].municipalityIndex].areaName;
        a.store.schools[0].clerks[1] = ClerkSlot{};
        a.store.schools[0].clerks[2].staffCode = a.store.staff.back().code;
        a.extract(area);
        QCOMPARE(exportPair(a.store, a.session.schoolFilter, a.pair(u"AREA1"_s), n), 1);
        QVERIFY(!QFile::exists(a.dir.filePath(u"ADDM.XIN"_s)));
        const QByteArray nk1 = testenv::readFile(a.dir.filePath(u"AREA1.NK1"_s));
        QVERIFY(leadingNumber(nk1) > 20000);
        auto staff = parseStaffFile(unscrambled(nk1), nullptr);
        QVERIFY(staff);
        QCOMPARE(staff->header.areaName, area);
        QList<qint32> codes;
        for (const auto& s : staff->rows)
            codes << s.code;
        QVERIFY(codes.contains(a.store.schools[0].clerks[0].staffCode));
        QVERIFY(codes.contains(a.store.schools[0].clerks[2].staffCode));
        auto schools = parseSchoolExchangeFile(testenv::readFile(a.dir.filePath(u"AREA1.NK2"_s)), nullptr);
        QVERIFY(schools);
        QCOMPARE(schools->front().code, a.store.schools[0].code);
        // The clerk behind the empty post is written too, and read back moved up.
        QCOMPARE(schools->front().filledSlotCount(), 2);
        QCOMPARE(schools->front().clerks[1].staffCode, a.store.schools[0].clerks[2].staffCode);
        QCOMPARE(schools->front().clerks[2].staffCode, 0);
        QCOMPARE(int(schools->size()), int(school_list::filteredSchools(a.store, a.session.schoolFilter).size()));

        // In TXT+BINARY the plain copy stays beside it.
        a.store.saveMode = SaveMode::TextAndBinary;
        QCOMPARE(exportPair(a.store, a.session.schoolFilter, a.pair(u"AREA2"_s), n), 1);
        QVERIFY(QFile::exists(a.dir.filePath(u"AREA2.XMD"_s)));
    }

    void thePrefectureFile()
    {
        Area a;
        a.store.schools[1].group = u"第9ブロック"_s;
        QVERIFY(exportPrefectureFile(a.store, a.notifier));
        const QByteArray bytes = testenv::readFile(prefectureFilePath(a.store));
        QVERIFY(bytes.startsWith("10,"));
        auto file = parseSchoolFile(bytes, nullptr);
        QVERIFY(file);
        QCOMPARE(file->rows.size(), size_t(10));
        for (const auto& s : file->rows) {
            QVERIFY(s.group.isEmpty());
            QCOMPARE(s.filledSlotCount(), 0);
            QCOMPARE(s.prefSelIndex, qint16(0));
        }
    }

    void importingAPair()
    {
        Area source(10, 14, 7);
        const QString area = source.store.municipalities.entries[source.store.schools[0].municipalityIndex].areaName;
        source.extract(area);
        const PairNames names = source.pair(u"AREA1"_s);
        QCOMPARE(exportPair(source.store, source.session.schoolFilter, names, source.notifier), 1);

        Area target(4, 6, 99); // another roster, other codes
        const qint16 staffBefore = target.store.staffCount();
        // Wrong area, or nothing typed: nothing changes.
        QCOMPARE(importPair(target.store, names, target.notifier, answer(u"どこか"_s)), -1);
        QCOMPARE(target.notifier.texts(), QStringList{u"読込地区名が違います"_s});
        QCOMPARE(importPair(target.store, names, target.notifier, answer(QString())), -1);
        QCOMPARE(target.notifier.messages.size(), 1);
        QCOMPARE(target.store.staffCount(), staffBefore);

        QCOMPARE(importPair(target.store, names, target.notifier, answer(area)), 1);
        const qint16 merged = target.store.staffCount();
        QVERIFY(merged > staffBefore);
        const qint16 schoolsMerged = target.store.schoolCount();
        for (size_t i = 1; i < target.store.staff.size(); ++i)
            QVERIFY(target.store.staff[i - 1].code <= target.store.staff[i].code);
        // Posted staff know their schools again.
        const qint32 posted = source.store.schools[0].clerks[0].staffCode;
        QCOMPARE(target.store.staff[size_t(target.store.findStaffByCode(posted))].schoolCode,
                 source.store.schools[0].code);

        // The same pair again: nothing appended, nothing changed.
        const QByteArray before = rosterBytes(target.store);
        QCOMPARE(importPair(target.store, names, target.notifier, answer(kAnyArea)), 1);
        QCOMPARE(target.store.staffCount(), merged);
        QCOMPARE(target.store.schoolCount(), schoolsMerged);
        QCOMPARE(rosterBytes(target.store), before);
    }

    void schoolsInAnotherOrder()
    {
        Area source(8, 8, 3);
        source.extract(u"全"_s); // every school, but narrowed by kind below
        source.session.schoolFilter.kinds = 7;
        const PairNames names = source.pair(u"ALL"_s);
        QCOMPARE(exportPair(source.store, source.session.schoolFilter, names, source.notifier), 1);
        // The receiving roster holds the same schools in the reverse order.
        Area target(8, 8, 3);
        std::reverse(target.store.schools.begin(), target.store.schools.end());
        QCOMPARE(importPair(target.store, names, target.notifier, answer(kAnyArea)), 1);
        QCOMPARE(target.store.schoolCount(), qint16(8));
        QCOMPARE(target.store.staffCount(), qint16(8));
    }

    void badPairsChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("nk1");
        QTest::addColumn<QByteArray>("nk2");
        QTest::addColumn<bool>("merged");
        Area a;
        a.extract(u"全"_s);
        const PairNames names = a.pair(u"OK"_s);
        exportPair(a.store, a.session.schoolFilter, names, a.notifier);
        const QByteArray nk1 = testenv::readFile(names.staffFile);
        const QByteArray nk2 = testenv::readFile(names.schoolFile);
        QTest::newRow("well formed") << nk1 << nk2 << true;
        QTest::newRow("staff only") << nk1 << QByteArray() << true;
        QTest::newRow("truncated staff") << nk1.left(nk1.size() / 2) << nk2 << false;
        QTest::newRow("truncated schools") << nk1 << nk2.left(nk2.size() / 2 + 3) << false;
        QTest::newRow("another program's file") << QByteArray("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n") << nk2 << false;
        QByteArray badSlots = nk2;
        badSlots.replace(",1,\"", ",8,\"");
        QTest::newRow("eight posts") << nk1 << badSlots << false;
        QByteArray negative = nk2;
        negative.replace(",1,\"", ",-1,\"");
        QTest::newRow("negative posts") << nk1 << negative << false;
        QByteArray many = "10001,0,\"\",0,0,\"\",\"\"\r\n";
        for (int i = 0; i < 2000; ++i)
            many += QByteArray::number(20000000 + i).prepend("\"n\",\"r\",") +
                    ",0,#1980-01-01#,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
                    "\"\",1,\"1\",3,#1899-12-30#,#1899-12-30#,0,#1899-12-30#,0,0,0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
        QTest::newRow("2000 staff") << scrambled(many) << QByteArray() << false;
    }

    void badPairsChangeNothing()
    {
        QFETCH(QByteArray, nk1);
        QFETCH(QByteArray, nk2);
        QFETCH(bool, merged);
        Area target(5, 5, 42);
        const PairNames names = target.pair(u"IN"_s);
        testenv::writeFile(names.staffFile, nk1);
        if (!nk2.isEmpty())
            testenv::writeFile(names.schoolFile, nk2);
        const QByteArray before = rosterBytes(target.store);
        const int result = importPair(target.store, names, target.notifier, answer(kAnyArea));
        QCOMPARE(result == 1, merged);
        if (!merged) {
            QCOMPARE(rosterBytes(target.store), before);
            QCOMPARE(target.notifier.messages.size(), 1);
            QCOMPARE(target.notifier.messages[0].icon, MessageIcon::Critical);
        }
        QVERIFY(!QFile::exists(target.dir.filePath(u"NBO_L.XIN"_s)));
    }

    void aSchoolFileWithoutItsPartnerIsNotRead()
    {
        Area target(5, 5, 42);
        const PairNames names = target.pair(u"LONE"_s);
        testenv::writeFile(names.schoolFile, "\"\",\"\",\"\",\"\",\"\",\"\"\r\n");
        QCOMPARE(importPair(target.store, names, target.notifier, answer(kAnyArea)), -1);
        QVERIFY(target.notifier.messages.isEmpty());
    }

    void anImportPastTheTableIsRefused()
    {
        Area source(20, 30, 5);
        source.extract(u"全"_s);
        const PairNames names = source.pair(u"BIG"_s);
        QCOMPARE(exportPair(source.store, source.session.schoolFilter, names, source.notifier), 1);
        Area target(cap::kMaxSchools - 5, cap::kMaxStaff - 10, 77);
        const QByteArray before = rosterBytes(target.store);
        QCOMPARE(importPair(target.store, names, target.notifier, answer(kAnyArea)), -1);
        QCOMPARE(target.notifier.messages.size(), 1);
        QCOMPARE(target.store.schoolCount(), qint16(cap::kMaxSchools - 5));
        QCOMPARE(rosterBytes(target.store), before);
    }
};

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"
