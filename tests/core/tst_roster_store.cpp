#include "roster_store.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
StaffRecord member(qint32 code, const QString& name = QString())
{
    StaffRecord s;
    s.code = code;
    s.name = name;
    return s;
}

void addStaff(RosterStore& store, std::initializer_list<qint32> codes)
{
    for (qint32 c : codes)
        store.staff.push_back(member(c, QString::number(c)));
}
} // namespace

class TestRosterStore : public QObject {
    Q_OBJECT
private slots:
    void sortKeepsCodesAscendingAndReversesEqualCodes()
    {
        RosterStore store;
        store.staff = {member(20100002, u"a"_s), member(19990001, u"b"_s), member(20100002, u"c"_s),
                       member(20050001, u"d"_s), member(20100002, u"e"_s)};
        store.sortStaffByCode();
        QStringList names;
        for (const auto& s : store.staff)
            names << s.name;
        QCOMPARE(names, (QStringList{u"b"_s, u"d"_s, u"e"_s, u"c"_s, u"a"_s}));

        store.rebuildCodeIndex();
        // The first of the equal codes after sorting is the one found.
        QCOMPARE(store.findStaffByCode(20100002), 2);
    }

    void lookupAcrossTheCenturyAndOnSmallTables()
    {
        RosterStore store;
        QCOMPARE(store.findStaffByCode(20000001), -1); // empty table

        addStaff(store, {19980001, 19990001, 19990002, 20000001, 20000002, 20010001});
        store.sortStaffByCode();
        store.rebuildCodeIndex();
        QCOMPARE(store.codeYearIndex[99], qint16(2));
        QCOMPARE(store.codeYearIndex[0], qint16(4));
        QCOMPARE(store.findStaffByCode(20000001), 3);
        QCOMPARE(store.findStaffByCode(20000002), 4);
        QCOMPARE(store.findStaffByCode(19990001), 1);
        QCOMPARE(store.findStaffByCode(19980001), 0);
        QCOMPARE(store.findStaffByCode(20010001), 5);
        QCOMPARE(store.findStaffByCode(20000003), -1);

        RosterStore single;
        addStaff(single, {20150007});
        single.sortStaffByCode();
        single.rebuildCodeIndex();
        QCOMPARE(single.findStaffByCode(20150007), 0);
        QCOMPARE(single.findStaffByCode(20150008), -1);
        QCOMPARE(single.findStaffByCode(19990001), -1);
    }

    void lookupIsSafeForAnyCode()
    {
        RosterStore store;
        addStaff(store, {-20150001, 0, 5, 123, 19990001, 2000123456, std::numeric_limits<qint32>::max(),
                         std::numeric_limits<qint32>::min()});
        store.sortStaffByCode();
        store.rebuildCodeIndex();
        for (const qint32 code : {-20150001, 0, 5, 123, 19990001, 2000123456, std::numeric_limits<qint32>::max(),
                                  std::numeric_limits<qint32>::min()}) {
            const int row = store.findStaffByCode(code);
            QVERIFY2(row >= 0, qPrintable(QString::number(code)));
            QCOMPARE(store.staff[size_t(row)].code, code);
        }
        for (const qint32 code : {-1, 7, 99999999, 1999000})
            QCOMPARE(store.findStaffByCode(code), -1);
        QCOMPARE(RosterStore::codeYearDigits(20150001), 15);
        QCOMPARE(RosterStore::codeYearDigits(-20150001), 15);
        QCOMPARE(RosterStore::codeYearDigits(123), 3);
        QCOMPARE(RosterStore::codeYearDigits(12), 0);
        QCOMPARE(RosterStore::codeYearDigits(std::numeric_limits<qint32>::min()), 47);
    }

    void derivedSchoolFields()
    {
        RosterStore store;
        store.municipalities.entries = {{u"瑠璃市"_s, 0, {}, 0, {}, 0}, {u"青海市"_s, 1, {}, 0, {}, 0}};
        store.municipalities.associationName = u"瑠璃青海学校組合"_s;
        store.municipalities.associationMember = u"青海市"_s;
        store.municipalities.updateAssociationIndex();

        SchoolRecord s;
        s.code = 123455;
        s.municipality = u"青海市"_s;
        s.kindText = u"中学校"_s;
        store.deriveSchoolFields(s);
        QCOMPARE(s.sortCode, 124455);
        QCOMPARE(s.municipalityIndex, qint16(1));
        QCOMPARE(s.kind, qint16(1));

        s.code = 123456;
        s.municipality = QString();
        s.kindText = u"高等学校"_s; // unknown kind leaves the kind as it was
        store.deriveSchoolFields(s);
        QCOMPARE(s.sortCode, 123456);
        QCOMPARE(s.municipalityIndex, qint16(100));
        QCOMPARE(s.kind, qint16(1));

        s.municipality = u"どこか町"_s;
        store.deriveSchoolFields(s);
        QCOMPARE(s.municipalityIndex, qint16(99));
        s.municipality = u"瑠璃青海学校組合"_s;
        store.deriveSchoolFields(s);
        QCOMPARE(s.municipalityIndex, qint16(1));

        for (int i = 0; i < 151; ++i) {
            s.group = u"G%1"_s.arg(i);
            store.deriveSchoolFields(s);
            store.deriveSchoolFields(s); // a name already there is not added twice
        }
        QCOMPARE(store.groupNames.size(), 150);
        QVERIFY(!store.groupNames.contains(u"G150"_s));
    }

    void syncCopiesSchoolFieldsAndClearsUnknownPosts()
    {
        RosterStore store;
        addStaff(store, {20100001, 20120001});
        SchoolRecord s;
        s.municipality = u"瑠璃市"_s;
        s.name = u"青葉"_s;
        s.kindText = u"小学校"_s;
        s.code = 1005;
        s.number = 12;
        store.deriveSchoolFields(s);
        s.clerks[0] = ClerkSlot{20120001, u"甲"_s, {}, {}, {}, 1};
        s.clerks[1] = ClerkSlot{29990001, u"不明"_s, u"欠員補充"_s, u"メモ"_s, {}, 0};
        s.clerks[2] = ClerkSlot{20100001, u"乙"_s, {}, {}, {}, 0};
        store.schools.push_back(s);
        store.reindexStaff();

        const SchoolRecord& after = store.schools[0];
        QCOMPARE(after.clerks[1].staffCode, 0);
        QVERIFY(after.clerks[1].staffName.isEmpty() && after.clerks[1].status.isEmpty() &&
                after.clerks[1].note.isEmpty());
        QCOMPARE(after.filledSlotCount(), 1); // the post after the emptied one no longer counts
        QCOMPARE(after.clerks[0].mark, qint16(1));

        const StaffRecord& posted = store.staff[size_t(store.findStaffByCode(20120001))];
        QCOMPARE(posted.schoolFullName, u"瑠璃市立青葉小学校"_s);
        QCOMPARE(posted.schoolCode, 1005);
        QCOMPARE(posted.schoolSortCode, 2005);
        QCOMPARE(posted.schoolNumber, qint16(12));
        QCOMPARE(posted.municipalityIndex, qint16(99));
    }

    void capacitiesAndTheSampleRoster()
    {
        RosterStore store;
        SampleOptions options;
        options.schools = 5000;
        options.staff = 5000;
        generateSampleRoster(store, options);
        QCOMPARE(store.schoolCount(), qint16(1500));
        QCOMPARE(store.staffCount(), qint16(1500));
        QVERIFY(!store.canAddSchool());
        QVERIFY(!store.canAddStaff());
        store.staff.pop_back();
        QVERIFY(store.canAddStaff());

        // Deterministic for a seed, with unique codes that begin with the hire year.
        RosterStore a, b;
        generateSampleRoster(a, SampleOptions{});
        generateSampleRoster(b, SampleOptions{});
        QCOMPARE(a.staffCount(), b.staffCount());
        for (size_t i = 0; i < a.staff.size(); ++i) {
            QCOMPARE(a.staff[i].code, b.staff[i].code);
            QCOMPARE(a.staff[i].name, b.staff[i].name);
            QCOMPARE(a.staff[i].code / 10000, a.staff[i].hireDate.toQDate().year());
            if (i > 0)
                QVERIFY(a.staff[i - 1].code < a.staff[i].code);
        }
    }
};

QTEST_GUILESS_MAIN(TestRosterStore)
#include "tst_roster_store.moc"
