#include "reference_tables.h"
#include "roster_store.h"
#include "school_list.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace school_list;

namespace {
SchoolRecord school(const QString& municipality, qint32 code, const QString& kind = u"小学校"_s)
{
    SchoolRecord s;
    s.municipality = municipality;
    s.name = u"校"_s + QString::number(code);
    s.kindText = kind;
    s.code = code;
    return s;
}

struct Roster {
    RosterStore store;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 38);
    }
    void add(SchoolRecord s)
    {
        store.deriveSchoolFields(s);
        store.schools.push_back(s);
    }
};
} // namespace

class TestSchoolList : public QObject {
    Q_OBJECT
private slots:
    void rowsAndNumbers()
    {
        Roster r;
        SchoolRecord a = school(u"瑠璃市"_s, 100);
        a.clerks[0].staffCode = 20100001;
        a.clerks[3].staffCode = 20100004; // after an empty slot: still shown
        SchoolRecord b = school(u"青海市"_s, 200);
        r.add(a);
        r.add(b);
        std::vector<Row> rows = buildRows(r.store, {0, 1}, false, false);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0].number, u"1"_s);
        QCOMPARE(rows[1].slot, 3);
        QCOMPARE(rows[1].number, u"2"_s);
        QCOMPARE(rows[2].number, u"3"_s);
        rows = buildRows(r.store, {0, 1}, false, true);
        QCOMPARE(rows[0].number, u"1"_s);
        QCOMPARE(rows[1].number, QString());
        QCOMPARE(rows[2].number, u"2"_s);
        rows = buildRows(r.store, {0, 1}, true, true);
        QCOMPARE(rows.size(), size_t(6));
        QVERIFY(!rows[0].reading && rows[1].reading && rows[1].school == 0);
    }

    void theFilter()
    {
        Roster r;
        const MunicipalityTable& t = r.store.municipalities;
        const QString areaOf4 = t.entries[4].areaName;
        r.add(school(t.entries[4].name, 1));                  // in an area
        r.add(school(u"架空村"_s, 2));                          // unknown: 99
        r.add(school(t.entries[0].name, 3, u"中学校"_s));      // another area, a junior high
        r.store.schools[0].group = u"第1ブロック"_s;
        r.store.schools[1].group = u"知らないグループ"_s;
        r.store.groupNames = {u"第1ブロック"_s};
        QCOMPARE(r.store.schools[1].municipalityIndex, qint16(99));

        SchoolFilter f;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{0, 1, 2})); // 全 includes unknown places
        f.area = areaOf4;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{0}));
        f.district = t.entries[4].districtName;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{0}));
        f.district = u"どこでもない地区"_s;
        QVERIFY(filteredSchools(r.store, f).empty());
        f.area = u"全"_s;
        f.district.clear();
        f.kinds = 2;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{2}));
        f.kinds = 7;
        f.group = u"その他"_s; // empty groups and groups not in the list
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{1, 2}));
        f.group = u"第1ブロック"_s;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{0}));
        f.group = u"全"_s;
        f.municipality = t.entries[0].name;
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{2}));
        f.municipality.clear();

        // Officer mode: a clerk with an association post, code above 19000000.
        StaffRecord officer, old;
        officer.code = 20050001;
        officer.post1 = u"会長"_s;
        old.code = 19000000;
        old.post1 = u"理事"_s;
        r.store.staff = {old, officer};
        r.store.reindexStaff();
        r.store.schools[0].clerks[0].staffCode = 19000000;
        r.store.schools[2].clerks[1].staffCode = 20050001;
        f.officers = true;
        f.kinds = 0; // nothing else is tested
        QCOMPARE(filteredSchools(r.store, f), (std::vector<int>{2}));
    }

    void theSchoolOrder()
    {
        Roster r;
        const QString m0 = r.store.municipalities.entries[0].name;
        const QString m1 = r.store.municipalities.entries[1].name;
        SchoolRecord a = school(m1, 105), b = school(m0, 300, u"中学校"_s), c = school(m0, 200), d = school(m0, 110);
        a.number = 2;
        b.number = 1;
        c.number = 3;
        d.number = 3;
        for (const auto& s : {a, b, c, d})
            r.add(s);
        // Kind first: all 小学校, by municipality, then sort code (105 sorts as 1105).
        sortSchoolTable(r.store);
        QList<qint32> codes;
        for (const auto& s : r.store.schools)
            codes << s.code;
        QCOMPARE(codes, (QList<qint32>{110, 200, 105, 300}));
        // Municipality first, by number: equal numbers keep the later one first.
        r.store.profile.optionFlags = OptionFlag::MunicipalityFirst | OptionFlag::OrderBySchoolNumber;
        sortSchoolTable(r.store);
        codes.clear();
        for (const auto& s : r.store.schools)
            codes << s.code;
        QCOMPARE(codes, (QList<qint32>{110, 200, 300, 105}));
    }

    void deletingExactlyTheChosenSchools()
    {
        Roster r;
        for (int i = 0; i < 6; ++i) {
            SchoolRecord s = school(r.store.municipalities.entries[0].name, 100 + i * 10);
            s.clerks[0].staffCode = 20100000 + i;
            r.add(s);
            StaffRecord m;
            m.code = 20100000 + i;
            r.store.staff.push_back(m);
        }
        r.store.reindexStaff();
        QCOMPARE(r.store.staff[2].schoolCode, 120);
        deleteSchools(r.store, {2, 4, 4, 99});
        QCOMPARE(r.store.schoolCount(), qint16(4));
        QList<qint32> codes;
        for (const auto& s : r.store.schools)
            codes << s.code;
        QCOMPARE(codes, (QList<qint32>{100, 110, 130, 150})); // 130, between them, stays
        QCOMPARE(r.store.staff[2].schoolCode, 0);
        QVERIFY(r.store.staff[2].schoolFullName.isEmpty());
        QCOMPARE(r.store.staff[2].municipalityIndex, qint16(99));
        QCOMPARE(r.store.staff[3].schoolCode, 130);
        QCOMPARE(r.store.dirty, qint16(1));
    }
};

QTEST_GUILESS_MAIN(TestSchoolList)
#include "tst_school_list.moc"
