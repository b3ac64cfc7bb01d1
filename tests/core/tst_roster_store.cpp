#include "roster_files.h"
#include "roster_session.h"
#include "roster_store.h"
#include "sample_roster.h"
#include "staff_list.h"
#include "staff_rules.h"
#include "test_env.h"
#include "transfers.h"

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

        // The unknown clerk's post is emptied and the clerk behind it moves up.
        const SchoolRecord& after = store.schools[0];
        QCOMPARE(after.clerks[1].staffCode, 20100001);
        QCOMPARE(after.clerks[1].staffName, u"乙"_s);
        QCOMPARE(after.clerks[2].staffCode, 0);
        QVERIFY(after.clerks[2].staffName.isEmpty() && after.clerks[2].status.isEmpty() &&
                after.clerks[2].note.isEmpty());
        QCOMPARE(after.filledSlotCount(), 2);
        QCOMPARE(after.clerks[0].mark, qint16(1));
        QCOMPARE(store.staff[size_t(store.findStaffByCode(20100001))].schoolCode, 1005);

        const StaffRecord& posted = store.staff[size_t(store.findStaffByCode(20120001))];
        QCOMPARE(posted.schoolFullName, u"瑠璃市立青葉小学校"_s);
        QCOMPARE(posted.schoolCode, 1005);
        QCOMPARE(posted.schoolSortCode, 2005);
        QCOMPARE(posted.schoolNumber, qint16(12));
        QCOMPARE(posted.municipalityIndex, qint16(99));
    }

    void postsStayCompact()
    {
        auto codes = [](const SchoolRecord& s) {
            QList<qint32> out;
            for (const ClerkSlot& c : s.clerks)
                out << c.staffCode;
            return out;
        };
        SchoolRecord s;
        for (int i = 0; i < 4; ++i)
            s.clerks[size_t(i)] = ClerkSlot{20100001 + i, QString::number(i), {}, {}, {}, qint16(i % 2)};
        s.clerks[0].mark = 1;
        s.clerks[3].mark = 1;
        s.emptyPost(0);
        QCOMPARE(codes(s), (QList<qint32>{20100002, 20100003, 20100004, 0, 0, 0, 0}));
        QCOMPARE(s.clerks[0].mark, qint16(1)); // the school's mark stays
        QCOMPARE(s.clerks[2].mark, qint16(1)); // a clerk's mark goes with the clerk
        QCOMPARE(s.clerks[3].mark, qint16(0));
        QVERIFY(s.removeClerk(20100003));
        QVERIFY(!s.removeClerk(20100003));
        QVERIFY(!s.removeClerk(0));
        QCOMPARE(codes(s), (QList<qint32>{20100002, 20100004, 0, 0, 0, 0, 0}));
        QCOMPARE(s.addClerk(0, u"無"_s), -1);
        QCOMPARE(s.addClerk(20100009, u"九"_s), 2);
        for (int i = 0; i < 4; ++i)
            QVERIFY(s.addClerk(20110001 + i, QString()) > 0);
        QCOMPARE(s.addClerk(20120001, QString()), -1); // all seven posts are taken
        QCOMPARE(s.postedCount(), 7);

        // A gap that slipped in anyhow is never dropped by a save: every
        // filled post is written, in order, and comes back compact.
        SchoolRecord gap;
        gap.code = 1010;
        gap.municipality = u"瑠璃市"_s;
        gap.kindText = u"小学校"_s;
        gap.clerks[1] = ClerkSlot{20100001, u"一"_s, {}, {}, {}, 0};
        gap.clerks[4] = ClerkSlot{20100002, u"二"_s, u"欠員補充"_s, u"メモ"_s, {}, 0};
        const EncodedFile file = writeSchoolFile({gap});
        QVERIFY(file.problems.isEmpty());
        const auto back = parseSchoolFile(file.bytes, nullptr);
        QVERIFY(back);
        QCOMPARE(codes(back->rows[0]), (QList<qint32>{20100001, 20100002, 0, 0, 0, 0, 0}));
        QCOMPARE(back->rows[0].clerks[1].note, u"メモ"_s);
        QCOMPARE(back->rows[0].filledSlotCount(), 2);
    }

    void everyWayOutOfAPostKeepsThePostsCompact()
    {
        RosterStore store;
        RosterSession session;
        addStaff(store, {20100001, 20100002, 20100003, 20100004, 20100005});
        SchoolRecord a, b;
        a.code = 1;
        b.code = 2;
        for (int i = 0; i < 3; ++i)
            a.addClerk(20100001 + i, QString::number(i));
        b.addClerk(20100004, u"b"_s);
        store.schools = {a, b};
        store.reindexStaff();

        // The staff list deletes the clerk of post 0.
        staff_list::deleteRows(store, session, {store.findStaffByCode(20100001)});
        store.rebuildCodeIndex();
        QCOMPARE(store.schools[0].clerks[0].staffCode, 20100002);
        QCOMPARE(store.schools[0].clerks[1].staffCode, 20100003);
        QCOMPARE(store.schools[0].postedCount(), 2);

        // A transfer takes post 0 away; the one left moves up, and the new
        // school takes the clerk after its own.
        TransferEntry e;
        e.staffCode = 20100002;
        e.oldSchoolCode = 1;
        e.newSchoolCode = 2;
        e.name = u"移"_s;
        transfers::applyBatch(store, {e}, Date::fromYmd(2026, 4, 1));
        QCOMPARE(store.schools[0].clerks[0].staffCode, 20100003);
        QCOMPARE(store.schools[0].clerks[1].staffCode, 0);
        QCOMPARE(store.schools[1].clerks[1].staffCode, 20100002);
        QCOMPARE(store.staff[size_t(store.findStaffByCode(20100002))].schoolCode, 2);

        // A school whose seven posts would not hold everybody stops the batch
        // before anything is moved.
        for (int i = 0; i < 5; ++i) {
            store.staff.push_back(member(20140001 + i));
            store.schools[1].addClerk(20140001 + i, QString());
        }
        store.reindexStaff();
        QCOMPARE(store.schools[1].postedCount(), 7);
        TransferEntry full = e;
        full.staffCode = 20100003;
        QCOMPARE(transfers::schoolsOverfilled(store, {full}), std::vector<int>{1});
        TransferEntry out;
        out.staffCode = 20140001;
        out.oldSchoolCode = 2;
        QVERIFY(transfers::schoolsOverfilled(store, {full, out}).empty()); // one leaves, one comes
        for (int i = 0; i < 5; ++i)
            store.schools[1].removeClerk(20140001 + i);

        // A member whose code changes in 氏名・コード変更 keeps the post.
        QVERIFY(staff_rules::changeNameAndCode(store, 20100004, 20130004, u"新"_s));
        QCOMPARE(store.schools[1].clerks[0].staffCode, 20130004);
        QCOMPARE(store.schools[1].clerks[1].staffCode, 20100002);
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
