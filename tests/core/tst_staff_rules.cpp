#include "reading_capture.h"
#include "roster_store.h"
#include "staff_rules.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace staff_rules;

class TestStaffRules : public QObject {
    Q_OBJECT
private slots:
    void numbersInBoxes()
    {
        QCOMPARE(toI32(u"20150012"_s), 20150012);
        QCOMPARE(toI32(u"２０１５"_s), 2015);
        QCOMPARE(toI32(u"12ab"_s), 12);
        QCOMPARE(toI32(u"abc"_s), 0);
        QCOMPARE(toI32(u"999999999999999"_s), std::numeric_limits<qint32>::max());
        QCOMPARE(toI16(u"40000"_s), qint16(32767));
        QCOMPARE(toI16(u"-3"_s), qint16(-3));
    }

    void gradesAndPaySteps()
    {
        QCOMPARE(defaultGrade(0), 6);
        QCOMPARE(defaultGrade(1), 5);
        QCOMPARE(defaultGrade(2), 4);
        QCOMPARE(defaultGrade(3), 1);
        QCOMPARE(defaultGrade(4), 0);
        QCOMPARE(gradeDown(1), 1);
        QCOMPARE(gradeDown(2), 1);
        QCOMPARE(payStepUp(u"16"_s, 1), u"T1"_s);
        QCOMPARE(payStepUp(u"16"_s, 2), u"17"_s);
        QCOMPARE(payStepUp(u"25"_s, 7), u"T1"_s);
        QCOMPARE(payStepUp(u"T9"_s, 1), u"T9"_s);
        QCOMPARE(payStepUp(u"t3"_s, 1), u"T4"_s);
        QCOMPARE(payStepUp(u"X8"_s, 1), u"X9"_s);
        QCOMPARE(payStepUp(u"X9"_s, 1), u"X9"_s);
        QCOMPARE(payStepUp(u"Z3"_s, 1), u"z4"_s);
        // Steps starting empty or at 0 keep their own series.
        QCOMPARE(payStepUp(QString(), 1), u"1"_s);
        QCOMPARE(payStepUp(u"Z0"_s, 1), u"z1"_s);
        QCOMPARE(payStepUp(u"X0"_s, 3), u"X1"_s);
        QCOMPARE(payStepDown(u"Z3"_s), u"z2"_s);
        QCOMPARE(payStepDown(u"T2"_s), u"T1"_s);
        QCOMPARE(payStepDown(u"T1"_s), u"T1"_s);
        QCOMPARE(payStepDown(u"10"_s), u"9"_s);
        QCOMPARE(payStepDown(u"1"_s), u"1"_s);
        QCOMPARE(payStepDown(u"abc"_s), u"abc"_s);
    }

    void postsAndPostalCodes()
    {
        QCOMPARE(yaku1Items().size(), 15);
        QCOMPARE(yaku1Items()[0], QString());
        QCOMPARE(yaku2Items(u"常任理事"_s), (QStringList{QString(), u"企画"_s, u"研修"_s, u"研究"_s, u"広報"_s, u"調査"_s}));
        QCOMPARE(yaku2Items(u"理事"_s).size(), 6);
        QCOMPARE(yaku2Items(u"全事研"_s), (QStringList{QString(), u"会長"_s, u"常任理事"_s, u"理事"_s}));
        QVERIFY(yaku2Items(u"会長"_s).isEmpty());
        QCOMPARE(formatPostalCode(u"9000012"_s), u"900-0012"_s);
        QCOMPARE(formatPostalCode(u"900-0012"_s), u"900-0012"_s);
        QCOMPARE(formatPostalCode(u"90a0012"_s), u"90a-0012"_s);
        QCOMPARE(compactTitle(u" 主  事 "_s), u"主事"_s);
        QCOMPARE(compactTitle(u"主　任　主　事"_s), u"主任主事"_s);
    }

    void readingCapture()
    {
        ReadingCapture c;
        c.begin(QString(), QString());
        c.preedit(u"y"_s);
        c.preedit(u"やまd"_s);
        c.preedit(u"やまだ"_s);
        c.preedit(u"山田"_s); // the conversion itself
        QCOMPARE(c.nameChanged(u"山田"_s).value_or(QString()), u"ﾔﾏﾀﾞ"_s);
        QCOMPARE(c.nameChanged(u"山田　"_s).value_or(QString()), u"ﾔﾏﾀﾞ "_s);
        c.preedit(u"たろう"_s);
        QCOMPARE(c.nameChanged(u"山田　太郎"_s).value_or(QString()), u"ﾔﾏﾀﾞ ﾀﾛｳ"_s);
        // Typing without an input method adds nothing to the reading.
        QCOMPARE(c.nameChanged(u"山田　太郎x"_s).value_or(QString()), u"ﾔﾏﾀﾞ ﾀﾛｳ"_s);
        QVERIFY(!c.nameChanged(u"山田"_s));
        QCOMPARE(readingKana(u"ぎゃくてん"_s), u"ｷﾞｬｸﾃﾝ"_s);
        QCOMPARE(readingKana(u"カタカナー"_s), u"ｶﾀｶﾅｰ"_s);
    }

    void changingNameAndCode()
    {
        RosterStore store;
        StaffRecord a, b;
        a.code = 20100001;
        a.name = u"旧名"_s;
        b.code = 20100002;
        store.staff = {a, b};
        SchoolRecord s1, s2;
        s1.clerks[1].staffCode = 20100001;
        s2.clerks[0].staffCode = 20100001; // a second post with the code is left alone
        store.schools = {s1, s2};
        changeNameAndCode(store, 20100001, 20120005, u"新名"_s);
        QCOMPARE(store.schools[0].clerks[1].staffCode, 20120005);
        QCOMPARE(store.schools[0].clerks[1].staffName, u"新名"_s);
        QCOMPARE(store.schools[1].clerks[0].staffCode, 20100001);
        QCOMPARE(store.staff[0].code, 20120005);
        QCOMPARE(store.staff[0].name, u"新名"_s);
        changeNameAndCode(store, 1, 2, u"x"_s); // nobody has it: nothing changes
        QCOMPARE(store.staff[1].code, 20100002);

        // A new code of 0 would empty the post; an old code of 0 would fill
        // the first empty post of some school. Both are refused whole.
        QVERIFY(!changeNameAndCode(store, 20120005, 0, u"消える"_s));
        QCOMPARE(store.schools[0].clerks[1].staffCode, 20120005);
        QCOMPARE(store.staff[0].name, u"新名"_s);
        StaffRecord nobody;
        nobody.name = u"コード無し"_s;
        store.staff.push_back(nobody);
        QVERIFY(!changeNameAndCode(store, 0, 20130001, u"コード無し"_s));
        QCOMPARE(store.schools[0].clerks[0].staffCode, 0);
        QCOMPARE(store.schools[1].clerks[1].staffCode, 0);
        QCOMPARE(store.staff[2].code, 0);
    }

    void typedStaffCodes()
    {
        QCOMPARE(parseStaffCode(u"20100001"_s), std::optional<qint32>(20100001));
        QCOMPARE(parseStaffCode(u" ２０１００００２ "_s), std::optional<qint32>(20100002));
        for (const QString& bad :
             {u""_s, u"  "_s, u"0"_s, u"00000000"_s, u"2010A001"_s, u"-2010001"_s, u"2010 001"_s, u"99999999999"_s})
            QVERIFY2(!parseStaffCode(bad), qPrintable(bad));
    }
};

QTEST_GUILESS_MAIN(TestStaffRules)
#include "tst_staff_rules.moc"
