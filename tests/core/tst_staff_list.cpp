#include "periods.h"
#include "roster_files.h"
#include "sample_roster.h"
#include "staff_list.h"
#include "test_env.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace staff_list;

namespace {
StaffRecord member(qint32 code, const QString& name = QString())
{
    StaffRecord s;
    s.code = code;
    s.name = name.isEmpty() ? QString::number(code) : name;
    s.schoolFullName = u"瑠璃市立青葉小学校"_s;
    return s;
}

// The display order the staff list hands on.
RosterSession session;

QList<qint32> shownCodes(const RosterStore& store)
{
    QList<qint32> out;
    for (int p = 0; p < store.staffCount(); ++p)
        out << store.staff[size_t(session.staffListOrder[size_t(p)])].code;
    return out;
}
} // namespace

class TestStaffList : public QObject {
    Q_OBJECT
private slots:
    void init() { session.resetStaffListOrder(); }

    void theSixOrders()
    {
        QCOMPARE(payStepKey(u"12"_s), 12);
        QCOMPARE(payStepKey(u"T3"_s), 53);
        QCOMPARE(payStepKey(u"z1"_s), 101);
        QCOMPARE(payStepKey(u"X2"_s), 152);
        QCOMPARE(payStepKey(u"12.6"_s), 13);
        QCOMPARE(payStepKey(u"abc"_s), 0);
        QCOMPARE(payStepKey(QString()), 0);

        RosterStore store;
        const QStringList steps{u"12"_s, u"T3"_s, u"Z1"_s, u"X2"_s};
        for (int i = 0; i < 4; ++i) {
            StaffRecord s = member(20100001 + i);
            s.jobTitleIndex = 2;
            s.grade = 4;
            s.payStep = steps[i];
            store.staff.push_back(s);
        }
        StaffRecord boss = member(20100009);
        boss.jobTitleIndex = 0;
        store.staff.push_back(boss);
        sortOrder(store, session, ByTitle);
        QCOMPARE(shownCodes(store), (QList<qint32>{20100009, 20100004, 20100003, 20100002, 20100001}));
        sortOrder(store, session, ByCode);
        QCOMPARE(shownCodes(store), (QList<qint32>{20100001, 20100002, 20100003, 20100004, 20100009}));

        // Birth dates, oldest first, then the code; hire and posting likewise.
        store.staff[0].birthDate = Date::fromYmd(1980, 1, 1);
        store.staff[1].birthDate = Date::fromYmd(1970, 1, 1);
        store.staff[2].birthDate = Date::fromYmd(1980, 1, 1);
        sortOrder(store, session, ByBirth);
        QCOMPARE(shownCodes(store).mid(0, 3), (QList<qint32>{20100004, 20100009, 20100002}));
        store.staff[4].hireDate = Date::fromYmd(1990, 4, 1);
        sortOrder(store, session, ByHire);
        QCOMPARE(shownCodes(store).last(), 20100009);

        // Municipality, kind, then school number or sort code as the user chose.
        for (int i = 0; i < 5; ++i) {
            store.staff[size_t(i)].municipalityIndex = 3;
            store.staff[size_t(i)].schoolKind = 0;
            store.staff[size_t(i)].schoolNumber = qint16(10 - i);
            store.staff[size_t(i)].schoolSortCode = 100 + i;
        }
        store.staff[0].municipalityIndex = 99;
        sortOrder(store, session, BySchool);
        QCOMPARE(shownCodes(store).first(), 20100002);
        QCOMPARE(shownCodes(store).last(), 20100001);
        store.profile.optionFlags = OptionFlag::OrderBySchoolNumber;
        sortOrder(store, session, BySchool);
        QCOMPARE(shownCodes(store).first(), 20100009);
    }

    void filters()
    {
        RosterStore store;
        store.profile.areaName = u"瑠璃県"_s;
        SampleOptions o;
        o.staff = 30;
        o.schools = 10;
        generateSampleRoster(store, o);
        Filter f;
        QVERIFY(!f.active());
        QCOMPARE(visiblePositions(store, session, f).size(), size_t(30));
        f.grade = -3;
        QVERIFY(!f.active());
        f.grade = store.staff[0].grade;
        QVERIFY(f.active());
        for (int p : visiblePositions(store, session, f))
            QCOMPARE(store.staff[size_t(session.staffListOrder[size_t(p)])].grade, f.grade);
        f = Filter{};
        f.jobTitle = u"主任主事"_s;
        for (int p : visiblePositions(store, session, f))
            QCOMPARE(store.staff[size_t(session.staffListOrder[size_t(p)])].jobTitle, u"主任主事"_s);
        f = Filter{};
        f.area = store.municipalities.areaNames[1];
        const auto inArea = visiblePositions(store, session, f);
        QVERIFY(!inArea.empty());
        for (int p : inArea) {
            const StaffRecord& s = store.staff[size_t(session.staffListOrder[size_t(p)])];
            QCOMPARE(store.municipalities.entries[size_t(s.municipalityIndex)].areaName, f.area);
        }
    }

    void deletingEmptiesThePost()
    {
        RosterStore store;
        store.staff = {member(20100001), member(20100002), member(0, u"コード無し"_s), member(20100004)};
        SchoolRecord s;
        s.code = 77;
        s.clerks[0].staffCode = 20100002;
        s.clerks[0].staffName = u"x"_s;
        s.clerks[0].status = u"欠員補充"_s;
        SchoolRecord other;
        other.code = 78;
        other.clerks[0].staffCode = 20100002; // not the member's school: stays
        store.schools = {other, s};
        store.staff[1].schoolCode = 77;
        deleteRows(store, session, {1, 1, 9, -1});
        QCOMPARE(store.staffCount(), qint16(3));
        QCOMPARE(store.staff[1].name, u"コード無し"_s); // a record without a code is not swept away
        QCOMPARE(store.schools[1].clerks[0].staffCode, 0);
        QVERIFY(store.schools[1].clerks[0].status.isEmpty());
        QCOMPARE(store.schools[0].clerks[0].staffCode, 20100002);
        QCOMPARE(store.dirty, qint16(1));
        deleteRows(store, session, {0, 1, 2});
        QCOMPARE(store.staffCount(), qint16(0));
    }

    void theListCheck()
    {
        RosterStore store;
        store.surveyDate = Date::fromYmd(2026, 4, 1);
        // Codes twice and three times.
        store.staff = {member(19850001), member(19850001), member(19900007), member(19900007), member(19900007)};
        for (StaffRecord& s : store.staff)
            s.schoolFullName.clear();
        QList<QString> shown;
        std::vector<Finding> f = checkList(store, session, [&shown](const Finding& x) {
            shown << x.shownText;
            return true;
        });
        QCOMPARE(f.size(), size_t(3));
        QCOMPARE(f[0].message, u"職員コードが重複してます"_s);
        QCOMPARE(f[0].row, 0);
        QCOMPARE(f[1].row, 2);
        QCOMPARE(f[2].row, 3);
        // Cancel ends phase 1 only.
        f = checkList(store, session, [](const Finding&) { return false; });
        QCOMPARE(f.size(), size_t(1));

        // The hire year against the code.
        auto hired = [](qint32 code, QDate hire, QDate birth = QDate()) {
            StaffRecord s = member(code);
            s.hireDate = Date::fromQDate(hire);
            s.birthDate = Date::fromQDate(birth);
            return s;
        };
        store.staff = {hired(19850001, QDate(1986, 3, 31), QDate(1962, 5, 1)),
                       hired(19850002, QDate(1986, 4, 1), QDate(1962, 5, 1)),
                       hired(19854003, QDate(1990, 4, 1), QDate(1980, 5, 1))};
        f = checkList(store, session, [](const Finding&) { return true; });
        QCOMPARE(f.size(), size_t(1));
        QCOMPARE(f[0].row, 1);
        QCOMPARE(f[0].message, u" 採用年月日と職員コードを確認してください"_s);
        QCOMPARE(f[0].logLine, u"瑠璃市立青葉小学校 19850002 19850002  採用年月日と職員コードを確認してください"_s);

        // The age at hire: 15 is reported, 18 and 29 pass.
        store.staff = {hired(20110001, QDate(2011, 4, 1), QDate(1986, 3, 1)),   // 40 - 15 = 25: passes
                       hired(20010002, QDate(2001, 4, 1), QDate(1986, 3, 1)),   // 40 - 25 = 15
                       hired(20040003, QDate(2004, 4, 1), QDate(1986, 3, 1)),   // 18
                       hired(20150004, QDate(2015, 4, 1), QDate(1986, 3, 1)),   // 40 - 11 = 29
                       hired(20160005, QDate(2016, 4, 1), QDate(1986, 3, 1))};  // 30
        f = checkList(store, session, [](const Finding&) { return true; });
        QCOMPARE(f.size(), size_t(2));
        QCOMPARE(f[0].message, u" 採用年月日と生年月日を確認してください 15"_s);
        QCOMPARE(f[1].message, u" 採用年月日と生年月日を確認してください 30"_s);

        // Grade 1 past step 15, or on a T step, is not checked; unposted staff neither.
        store.staff[1].grade = 1;
        store.staff[1].payStep = u"16"_s;
        store.staff[4].grade = 1;
        store.staff[4].payStep = u"t2"_s;
        f = checkList(store, session, [](const Finding&) { return true; });
        QCOMPARE(f.size(), size_t(0));
        store.staff[1].grade = 2;
        store.staff[1].schoolFullName.clear();
        QCOMPARE(checkList(store, session, [](const Finding&) { return true; }).size(), size_t(0));

        // Cancel in phase 2 ends the check.
        store.staff[1].schoolFullName = u"x"_s;
        store.staff[4].grade = 3;
        QCOMPARE(checkList(store, session, [](const Finding&) { return false; }).size(), size_t(1));

        QTemporaryDir dir;
        const QString log = dir.filePath(u"NKMCHO.ERR"_s);
        f = checkList(store, session, [](const Finding&) { return true; });
        QVERIFY(writeCheckLog(log, f));
        const QByteArray bytes = testenv::readFile(log);
        QCOMPARE(bytes.count("\r\n"), qsizetype(f.size()));
        QVERIFY(bytes.startsWith('"'));
        QVERIFY(bytes.contains(testenv::sjis(u"採用年月日と生年月日を確認してください 15"_s)));
    }
};

QTEST_GUILESS_MAIN(TestStaffList)
#include "tst_staff_list.moc"
