#include "reference_tables.h"
#include "roster_store.h"
#include "tally.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tally;

namespace {
struct Roster {
    RosterStore store;
    qint32 nextCode = 20000001;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 38);
        store.surveyDate = Date::fromYmd(2026, 4, 1);
    }
    // A member of the given title, grade, sex, age and experience at a school.
    qint32 member(const QString& title, int grade, int sex, QDate birth, QDate hire = QDate(2010, 4, 1))
    {
        StaffRecord s;
        s.code = nextCode++;
        s.jobTitle = title;
        s.grade = qint16(grade);
        s.sex = qint16(sex);
        s.birthDate = Date::fromQDate(birth);
        s.hireDate = Date::fromQDate(hire);
        store.staff.push_back(s);
        return s.code;
    }
    SchoolRecord& school(int municipality, int kind, std::initializer_list<qint32> posts)
    {
        SchoolRecord s;
        s.municipality = municipality >= 0 ? store.municipalities.entries[size_t(municipality)].name : u"架空村"_s;
        s.kindText = schoolKinds()[kind];
        s.code = 1000 + int(store.schools.size());
        int i = 0;
        for (qint32 p : posts)
            s.clerks[size_t(i++)].staffCode = p;
        store.deriveSchoolFields(s);
        store.schools.push_back(s);
        return store.schools.back();
    }
    void ready()
    {
        store.reindexStaff();
        prepareAges(store);
    }
};
} // namespace

class TestTally : public QObject {
    Q_OBJECT
private slots:
    void categoriesAndLabels()
    {
        QCOMPARE(titleGradeCategory(u" 主  事 "_s, 1), 0);
        QCOMPARE(titleGradeCategory(u"主　事"_s, 2), 1);
        QCOMPARE(titleGradeCategory(u"主任主事"_s, 3), 2);
        QCOMPARE(titleGradeCategory(u"副 主 査"_s, 4), 4);
        QCOMPARE(titleGradeCategory(u"事 務 長"_s, 6), 7);
        QCOMPARE(titleGradeCategory(u"主任主事"_s, 4), -1);
        QCOMPARE(categoryLabels().size(), 9);
        QCOMPARE(categoryLabels()[0], u"６級事務長"_s);
        QCOMPARE(categoryLabels()[6], u" ２級主事"_s);
        QCOMPARE(categoryLabels()[8], QString());
        QCOMPARE(bandLabels().first(), u"５５～６０"_s);
        QCOMPARE(bandLabels().last(), u"１８～２４"_s);
    }

    void theAverageAge()
    {
        QCOMPARE(averageOf(30 + 31, 5 + 6, 2), (YearsMonths{31, 0})); // 371.5 months -> 372
        QCOMPARE(averageOf(0, 741, 2), (YearsMonths{30, 10}));          // 370.5 -> 370
        QCOMPARE(averageOf(0, 743, 2), (YearsMonths{31, 0}));           // 371.5 -> 372
        QCOMPARE(averageOf(10, 0, 0), (YearsMonths{0, 0}));
    }

    void theSummaryTally()
    {
        Roster r;
        const qint32 a = r.member(u" 主  事 "_s, 1, 0, QDate(1995, 10, 15));  // 30 y 5 m
        const qint32 b = r.member(u"主任主事"_s, 3, 1, QDate(1994, 9, 15));   // 31 y 6 m
        const qint32 old = r.member(u"事 務 長"_s, 6, 0, QDate(1960, 1, 1)); // 66: no band
        const qint32 nobirth = r.member(u"副 主 査"_s, 4, 1, QDate());
        const qint32 other = r.member(u" その他 "_s, 1, 0, QDate(1990, 1, 1));
        const qint32 town = r.member(u"市町村職員"_s, 1, 0, QDate(1990, 1, 1));
        const qint32 leave = r.member(u" 主  事 "_s, 2, 1, QDate(1990, 6, 1), QDate(1980, 4, 1)); // 46 y experience
        const qint32 vacancy = r.member(u" 主  事 "_s, 2, 0, QDate(1990, 6, 1));
        SchoolRecord& s1 = r.school(0, 0, {a, b, old, nobirth});
        Q_UNUSED(s1);
        SchoolRecord& s2 = r.school(4, 1, {other, town, leave, vacancy});
        s2.clerks[2].status = u"産・育休補助"_s;
        s2.clerks[3].status = u"欠員補充"_s;
        r.school(-1, 0, {r.member(u" 主  事 "_s, 1, 0, QDate(1990, 1, 1))}); // unknown municipality: 99
        r.ready();

        Options all;
        SummaryTally t = computeSummaryTally(r.store, all);
        QCOMPARE(t.byCategory[0][0], (Count{1, 0}));
        QCOMPARE(t.byCategory[2][0], (Count{0, 1}));
        QCOMPARE(t.byCategory[7][0], (Count{1, 0}));
        QCOMPARE(t.byCategory[4][0], (Count{0, 1}));
        QCOMPARE(t.byCategory[1][1], (Count{1, 1})); // leave cover and vacancy fill counted in full
        QCOMPARE(t.byCategory[1][3], (Count{1, 1}));
        QCOMPARE(t.categoryTotal[3].total(), 6);
        QCOMPARE(t.byAge[size_t(30 - 18)], (Count{1, 0}));
        QCOMPARE(t.byAge[size_t(31 - 18)], (Count{0, 1}));
        int aged = 0;
        for (const Count& c : t.byAge)
            aged += c.total();
        QCOMPARE(aged, 4); // not the 66-year-old, not the one without a birth date
        QCOMPARE(t.byExperience[16], (Count{3, 2}));

        // Posts tallied apart when not included.
        Options apart;
        apart.includeLeaveCover = false;
        apart.includeVacancyFill = false;
        t = computeSummaryTally(r.store, apart);
        QCOMPARE(t.leaveCover[1], (Count{0, 1}));
        QCOMPARE(t.leaveCover[3], (Count{0, 1}));
        QCOMPARE(t.vacancyFill[1], (Count{1, 0}));
        QCOMPARE(t.byCategory[1][1], (Count{0, 0}));
        // Average over the counted: 30y5m, 31y6m, 66y3m, 0y0m.
        const StaffRecord& oldRec = r.store.staff[size_t(r.store.findStaffByCode(old))];
        QCOMPARE(t.averageAge, averageOf(30 + 31 + oldRec.ageYears, 5 + 6 + oldRec.ageMonths, 4));

        // The area selection.
        Options area;
        area.area = r.store.municipalities.entries[4].areaName;
        t = computeSummaryTally(r.store, area);
        QCOMPARE(t.categoryTotal[3].total(), 2);
        area.area = u"その他"_s;
        QCOMPARE(computeSummaryTally(r.store, area).categoryTotal[3].total(), 0);
        area.area = u"全"_s;
        QCOMPARE(computeSummaryTally(r.store, area).categoryTotal[3].total(), 6); // not the unknown municipality
        area.area = r.store.municipalities.entries[0].areaName;
        area.district = r.store.municipalities.entries[0].districtName;
        QCOMPARE(computeSummaryTally(r.store, area).categoryTotal[3].total(), 4);
    }

    void theDistrictTally()
    {
        Roster r;
        const qint32 a = r.member(u" 主  事 "_s, 1, 0, QDate(1995, 10, 15));
        const qint32 b = r.member(u"主任主事"_s, 4, 1, QDate(1994, 9, 15)); // no category
        const qint32 leave = r.member(u" 主  事 "_s, 2, 1, QDate(1990, 6, 1));
        r.school(0, 0, {a});
        SchoolRecord& s = r.school(4, 2, {b, leave});
        s.clerks[1].status = u"産・育休補助"_s;
        SchoolRecord empty;
        empty.kindText = u"小学校"_s;
        empty.code = 7777;
        empty.clerks[0].staffCode = r.member(u" 主  事 "_s, 1, 0, QDate(1990, 1, 1));
        r.store.deriveSchoolFields(empty);
        r.store.schools.push_back(empty); // municipality 100: screen only
        r.ready();

        Options o;
        DistrictTally t = computeDistrictTally(r.store, o);
        QVERIFY(t.valid);
        const size_t d0 = size_t(r.store.municipalities.entries[0].districtIndex);
        const size_t d4 = size_t(r.store.municipalities.entries[4].districtIndex);
        QCOMPARE(t.byKindCategoryDistrict[0][1][d0], (Count{1, 0}));
        QCOMPARE(t.byKindCategoryDistrict[0][0][d0], (Count{1, 0}));
        QCOMPARE(t.byKindCategory[2][0], (Count{0, 2})); // the uncategorised in the total row
        QCOMPARE(t.byKindCategoryDistrict[2][0][d4], (Count{0, 2}));
        QCOMPARE(t.byKindCategory[2][2], (Count{0, 1}));
        QCOMPARE(t.byAgeDistrict[size_t(30 - 18)][d0], (Count{1, 0}));
        QCOMPARE(t.averageAgeByDistrict[d0], (YearsMonths{30, 5}));
        QCOMPARE(t.averageAgeByDistrict[5], (YearsMonths{0, 0}));
        // The summary counts the school of municipality 100 too; the district tally does not.
        QCOMPARE(computeSummaryTally(r.store, o).byAge[size_t(36 - 18)].total(), 1);
        QCOMPARE(t.byAge[size_t(36 - 18)].total(), 0);
        // Leave cover dropped altogether when not included.
        o.includeLeaveCover = false;
        t = computeDistrictTally(r.store, o);
        QCOMPARE(t.byKindCategory[2][0], (Count{0, 1}));
        QCOMPARE(t.byKindCategory[2][2], (Count{0, 0}));
    }

    void ageBandShares()
    {
        std::array<Count, kSlots> byAge{};
        byAge[size_t(57 - 18)] = Count{2, 1};
        byAge[size_t(55 - 18)] = Count{1, 0};
        auto bands = ageBands(byAge);
        QCOMPARE(bands[0].count, (Count{3, 1}));
        QCOMPARE(bands[0].share, 100.0);
        QCOMPARE(bands[7].share, 0.0);
        byAge[size_t(18 - 18)] = Count{0, 4};
        bands = ageBands(byAge);
        QCOMPARE(bands[7].count, (Count{0, 4}));
        QCOMPARE(bands[0].share, 50.0);
        QCOMPARE(ageBands(std::array<Count, kSlots>{})[3].share, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestTally)
#include "tst_tally.moc"
