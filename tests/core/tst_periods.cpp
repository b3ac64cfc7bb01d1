#include "date_entry.h"
#include "era_years.h"
#include "periods.h"
#include "roster_store.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
Date ymd(int y, int m, int d)
{
    return Date::fromYmd(y, m, d);
}
} // namespace

class TestPeriods : public QObject {
    Q_OBJECT
private slots:
    void theDateType()
    {
        QCOMPARE(Date::fromQDate(QDate(1899, 12, 30)).days(), 0);
        QCOMPARE(ymd(1900, 1, 1).days(), 2);
        QCOMPARE(ymd(2008, 4, 1).toQDate(), QDate(2008, 4, 1));
        QVERIFY(!Date().isSet());
        QVERIFY(!Date::fromQDate(QDate()).isSet());
        QVERIFY(ymd(1990, 1, 1) > Date());
        QVERIFY(!ymd(1899, 1, 1).isSet()); // before day 0: not a set date

        QCOMPARE(normalisedDate(2008, 13, 1), ymd(2009, 1, 1));
        QCOMPARE(normalisedDate(2008, 0, 15), ymd(2007, 12, 15));
        QCOMPARE(normalisedDate(2008, -10, 1), ymd(2007, 2, 1));
        QCOMPARE(normalisedDate(2008, 2, 30), ymd(2008, 3, 1));
        QCOMPARE(normalisedDate(2007, 2, 30), ymd(2007, 3, 2));
        QCOMPARE(normalisedDate(2008, 3, 0), ymd(2008, 2, 29));
        QCOMPARE(normalisedDate(2008, 1, -1), ymd(2007, 12, 30));
        QCOMPARE(normalisedDate(2008, 4, 400), ymd(2009, 5, 5));
        for (const auto& [y, m, d] : {std::tuple{qint64(99999), qint64(1), qint64(1)}, {0, 1, 1}, {-5, 1, 1},
                                      {2008, 99999999, 1}, {2008, 1, 999999999}})
            QVERIFY(!normalisedDate(y, m, d).isSet());
    }

    void periodSinceExamples()
    {
        const Date born = ymd(1960, 4, 1);
        QCOMPARE(periodSince(born, ymd(2008, 3, 31), 0), (Period{48, 0}));
        QCOMPARE(periodSince(Date(born.days() + 1), ymd(2008, 3, 31), 0), (Period{47, 11}));
        QCOMPARE(periodSince(Date(born.days() + 1), ymd(2008, 4, 1), 0), (Period{48, 0}));
        QCOMPARE(periodSince(ymd(1960, 4, 15), ymd(2008, 6, 10), 0), (Period{48, 1}));
        QCOMPARE(periodSince(ymd(2008, 4, 1), ymd(2008, 4, 1), 0), (Period{0, 0}));
        QCOMPARE(periodSince(ymd(2008, 4, 1), ymd(2008, 4, 1), 30), (Period{2, 6}));
        QCOMPARE(periodSince(ymd(2008, 9, 2), ymd(2008, 4, 1), 0), (Period{0, -5}));
        QCOMPARE(periodSince(ymd(2010, 4, 1), ymd(2008, 4, 1), -3), (Period{-2, -3}));
        QCOMPARE(periodSince(ymd(2000, 1, 31), ymd(2000, 2, 28), 0), (Period{0, 0}));
        // Overflow of the 16-bit values gives nothing.
        QCOMPARE(periodSince(ymd(1900, 1, 1), ymd(2000, 1, 1), 32767), (Period{0, 0}));
        QCOMPARE(periodSince(Date(-2000000000), ymd(2000, 1, 1), 0), (Period{0, 0}));
        QCOMPARE(periodSince(ymd(2000, 1, 1), Date(std::numeric_limits<qint32>::max()), 0), (Period{0, 0}));

        QCOMPARE(ageText({48, 3}), u"48.3"_s);
        QCOMPARE(ageText({48, 0}), u"48"_s);
        QCOMPARE(periodColumnText({48, 3}), u"48. 3"_s);
        QCOMPARE(periodColumnText({48, 11}), u"48.11"_s);
    }

    void agesFollowTheBirthdayRule()
    {
        RosterStore store;
        store.surveyDate = ymd(2008, 3, 31);
        StaffRecord a, b;
        a.birthDate = ymd(1960, 4, 1);
        b.ageYears = 7;
        b.ageMonths = 7;
        store.staff = {a, b};
        calcAllAges(store);
        QCOMPARE(store.staff[0].ageYears, qint16(48));
        QCOMPARE(store.staff[0].ageMonths, qint16(0));
        QCOMPARE(store.staff[1].ageYears, qint16(0));
        QCOMPARE(store.staff[1].ageMonths, qint16(0));
        store.profile.optionFlags = OptionFlag::AgeOnBirthday;
        calcAge(store, 0);
        QCOMPARE(store.staff[0].ageYears, qint16(47));
        QCOMPARE(store.staff[0].ageMonths, qint16(11));
        calcAge(store, 5); // out of range: nothing happens
    }

    void eraNotation()
    {
        QCOMPARE(formatEraDate(ymd(2008, 4, 1), u"gggee年mm月dd日"_s), u"平成20年04月01日"_s);
        QCOMPARE(formatEraDate(ymd(2008, 4, 1), u"g ee mm dd"_s), u"H 20 04 01"_s);
        QCOMPARE(formatEraDate(ymd(2008, 4, 1), u"yyyy/mm/dd"_s), u"2008/04/01"_s);
        QCOMPARE(formatEraDate(ymd(1989, 1, 7), u"gggee年mm月dd日"_s), u"昭和64年01月07日"_s);
        QCOMPARE(formatEraDate(ymd(1989, 1, 8), u"gggee年mm月dd日"_s), u"平成01年01月08日"_s);
        QCOMPARE(formatEraDate(ymd(1989, 1, 7), u"gg"_s), u"昭"_s);
        QCOMPARE(formatEraDate(ymd(1989, 1, 8), u"g"_s), u"H"_s);
        QCOMPARE(formatEraDate(ymd(2019, 4, 30), u"gggee年mm月dd日"_s), u"平成31年04月30日"_s);
        QCOMPARE(formatEraDate(ymd(2019, 5, 1), u"gggee年mm月dd日"_s), u"令和01年05月01日"_s);
        QCOMPARE(formatEraDate(ymd(2019, 5, 1), u"g gg"_s), u"R 令"_s);
        // The sheets' own short form: no leading zeros.
        QCOMPARE(formatEraDate(ymd(2008, 4, 1), u"ggge年m月d日"_s), u"平成20年4月1日"_s);
        QCOMPARE(formatEraDate(ymd(1989, 1, 8), u"ggge年m月d日"_s), u"平成1年1月8日"_s);
        QCOMPARE(formatEraDate(ymd(2019, 12, 31), u"ggge年m月d日"_s), u"令和1年12月31日"_s);
        QCOMPARE(formatEraDate(ymd(1926, 12, 25), u"ggg ee"_s), u"昭和 01"_s);
        QCOMPARE(formatEraDate(ymd(1926, 12, 24), u"ggg ee"_s), u"大正 15"_s);
        QCOMPARE(formatEraDate(Date(), u"gggee年mm月dd日"_s), QString()); // the empty date is never shown
        QCOMPARE(formatEraDate(ymd(1899, 12, 30), u"yyyy"_s), QString());
    }

    void fiscalYearCaptions()
    {
        // The era of the fiscal year's April 1; the stored number stays.
        QCOMPARE(fiscalYearCaption(38), u"令和8年度"_s);
        QCOMPARE(fiscalYearCaption(38, true), u"令和８年度"_s);
        QCOMPARE(fiscalYearCaption(32), u"令和2年度"_s);
        QCOMPARE(fiscalYearCaption(31), u"平成31年度"_s); // April 1, 2019 was still 平成
        QCOMPARE(fiscalYearCaption(20), u"平成20年度"_s);
        QCOMPARE(fiscalYearCaption(1), u"平成元年度"_s);
        QCOMPARE(fiscalYearCaption(0), QString());
        QCOMPARE(heiseiYearCaption(38), u"平成38年度"_s);
        RosterStore store;
        QCOMPARE(store.yearCaption(), QString());
        store.fiscalYear = 38;
        QCOMPARE(store.yearCaption(), u"令和8年度"_s);
        QCOMPARE(fiscalYearFirstDay(38), ymd(2026, 4, 1));

        const std::optional<EraYear> reiwa = eraYearOf(ymd(2019, 5, 1));
        QVERIFY(reiwa);
        QCOMPARE(reiwa->name, u"令和"_s);
        QCOMPARE(reiwa->letter, u"R"_s);
        QCOMPARE(reiwa->year, 1);
        QCOMPARE(reiwa->base, 2018);
        const std::optional<EraYear> heisei = eraYearOf(ymd(2019, 4, 30));
        QVERIFY(heisei);
        QCOMPARE(heisei->name + QString::number(heisei->year), u"平成31"_s);
        QCOMPARE(heisei->base, 1988);
        QCOMPARE(eraYearOf(ymd(1988, 12, 31))->name, u"昭和"_s);
        QVERIFY(!eraYearOf(Date()));
    }

    void rosterYearEntry()
    {
        const QDate today(2026, 12, 9); // the dialog accepts up to roster year 40 (令和10)
        QCOMPARE(lastRosterYear(today), 40);
        for (const auto& [typed, nn] : {std::pair{u"8"_s, 38},
                                        {u"R8"_s, 38},
                                        {u"r8"_s, 38},
                                        {u"令和8"_s, 38},
                                        {u"令和８年度"_s, 38},
                                        {u"Ｒ８"_s, 38},
                                        {u" 令和 8 "_s, 38},
                                        {u"38"_s, 38},
                                        {u"H38"_s, 38},
                                        {u"平成38"_s, 38},
                                        {u"３８"_s, 38},
                                        {u"20"_s, 20},
                                        {u"h20"_s, 20},
                                        {u"10"_s, 40},
                                        {u"11"_s, 11},
                                        {u"令和元"_s, 31},
                                        {u"R1"_s, 31},
                                        {u"平成1"_s, 1},
                                        {u"40"_s, 40}})
            QCOMPARE(parseRosterYear(typed, today), std::optional<int>(nn));
        for (const QString& bad : {u"0"_s, u"R0"_s, u"41"_s, u"R11"_s, u"H41"_s, u"abc"_s, QString(), u"-3"_s, u"+8"_s,
                                   u"R"_s, u"昭和60"_s, u"8.5"_s, u"R2147483647"_s, u"2147483647"_s})
            QVERIFY2(!parseRosterYear(bad, today), qPrintable(bad));
        // In 2008 there was no 令和 year yet: a plain number is the stored one.
        QCOMPARE(parseRosterYear(u"8"_s, QDate(2008, 5, 1)), std::optional<int>(8));
        QCOMPARE(rosterYearEntryText(38), u"令和8"_s);
        QCOMPARE(rosterYearEntryText(20), u"平成20"_s);
        for (int nn = 1; nn <= 40; ++nn) // what the dialog offers reads back as the same year
            QCOMPARE(parseRosterYear(rosterYearEntryText(nn), today), std::optional<int>(nn));
    }

    void dateEntryPrefill()
    {
        using namespace date_entry;
        const QDate today(2026, 12, 9);
        Boxes b = prefill(DateFieldKind::Hire, Date(), 19850012, today);
        QVERIFY(b.showa);
        QCOMPARE(b.year + u' ' + b.month + u' ' + b.day, u"60 4 1"_s);
        b = prefill(DateFieldKind::Hire, Date(), 20080012, today);
        QVERIFY(!b.showa);
        QCOMPARE(b.year + u' ' + b.month + u' ' + b.day, u"20 4 1"_s);
        b = prefill(DateFieldKind::Hire, Date(), 1234, today);
        QVERIFY(!b.showa);
        QCOMPARE(b.year, QString());
        QCOMPARE(b.month, u"4"_s);
        b = prefill(DateFieldKind::Birth, ymd(1960, 5, 3), 0, today); // 66 years ago: absent
        QVERIFY(b.year.isEmpty() && b.month.isEmpty() && b.day.isEmpty());
        b = prefill(DateFieldKind::Birth, ymd(1970, 5, 3), 0, today);
        QVERIFY(b.showa);
        QCOMPARE(b.year + u' ' + b.month + u' ' + b.day, u"45 5 3"_s);
        b = prefill(DateFieldKind::Posting, ymd(1975, 4, 1), 0, today); // 51 years: absent
        QVERIFY(b.reiwa); // April 1 of this year, 令和8
        QCOMPARE(b.year + u' ' + b.month + u' ' + b.day, u"8 4 1"_s);
        // A date is shown in the era it falls in; 令和 from May 1, 2019.
        b = prefill(DateFieldKind::Appoint, ymd(2020, 4, 1), 0, today);
        QVERIFY(b.reiwa && !b.showa);
        QCOMPARE(b.year, u"2"_s);
        b = prefill(DateFieldKind::Appoint, ymd(2019, 4, 30), 0, today);
        QVERIFY(!b.reiwa && !b.showa);
        QCOMPARE(b.year, u"31"_s);
        b = prefill(DateFieldKind::Posting, ymd(2019, 5, 1), 0, today);
        QVERIFY(b.reiwa);
        QCOMPARE(b.year, u"1"_s);
        b = prefill(DateFieldKind::Appoint, Date(), 0, today); // April 1 of this year: 令和8
        QVERIFY(b.reiwa);
        QCOMPARE(b.year, u"8"_s);
        b = prefill(DateFieldKind::Appoint, Date(), 0, QDate(2008, 6, 1));
        QVERIFY(!b.reiwa && !b.showa);
        QCOMPARE(b.year, u"20"_s);
        b = prefill(DateFieldKind::Hire, Date(), 20190012, today); // hired April 2019: still 平成31
        QVERIFY(!b.reiwa && !b.showa);
        QCOMPARE(b.year, u"31"_s);
        b = prefill(DateFieldKind::Hire, Date(), 20230012, today);
        QVERIFY(b.reiwa);
        QCOMPARE(b.year + u' ' + b.month + u' ' + b.day, u"5 4 1"_s);
    }

    void spinRules()
    {
        using namespace date_entry;
        QCOMPARE(clampDay(2, 31, 2008), 29);
        QCOMPARE(clampDay(2, 31, 2007), 28);
        QCOMPARE(clampDay(11, 31, 2007), 30);
        QCOMPARE(clampDay(12, 31, 2007), 31);
        QCOMPARE(dayUp({20, 12, 31}, kHeiseiBase), (Values{21, 1, 1}));
        QCOMPARE(dayUp({20, 2, 28}, kHeiseiBase), (Values{20, 2, 29}));
        QCOMPARE(dayUp({19, 2, 28}, kHeiseiBase), (Values{19, 3, 1}));
        QCOMPARE(dayDown({21, 1, 1}, kHeiseiBase), (Values{20, 12, 31}));
        QCOMPARE(dayDown({20, 3, 1}, kHeiseiBase), (Values{20, 2, 29}));
        QCOMPARE(dayDown({19, 5, 1}, kHeiseiBase), (Values{19, 4, 30}));
        QCOMPARE(dayDown({1, 1, 1}, kHeiseiBase), (Values{1, 1, 1}));
        QCOMPARE(monthUp({20, 12, 5}), (Values{21, 1, 5}));
        QCOMPARE(monthDown({20, 1, 5}), (Values{19, 12, 5}));
        QCOMPARE(monthDown({1, 1, 5}), (Values{1, 1, 5}));
        QCOMPARE(yearDown({1, 1, 1}), (Values{1, 1, 1}));
        QCOMPARE(yearDown({2, 1, 1}), (Values{1, 1, 1}));
        QCOMPARE(yearUp({0, 0, 0}), (Values{1, 0, 0}));

        QCOMPARE(boxNumber(u"12abc"_s), 12);
        QCOMPARE(boxNumber(u"abc"_s), 0);
        QCOMPARE(boxNumber(QString()), 0);
        QCOMPARE(boxNumber(u"-7"_s), -7);
        QCOMPARE(boxNumber(u"123456789012345678901234"_s), 99999);
    }
};

QTEST_GUILESS_MAIN(TestPeriods)
#include "tst_periods.moc"
