#include "app_context.h"
#include "date_dialogs.h"
#include "settings_store.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "up_down.h"
#include "window_context.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    Fixture()
    {
        StaffRecord s;
        s.code = 19850012;
        store.staff = {s};
        store.surveyDate = Date::fromYmd(2008, 4, 1);
    }
};

QString boxes(const DaySetDialog& d)
{
    return d.yearBox()->text() + u' ' + d.monthBox()->text() + u' ' + d.dayBox()->text();
}

void click(QWidget& d, const QString& name)
{
    QTest::mouseClick(d.findChild<QPushButton*>(name), Qt::LeftButton);
}

void spin(QWidget& d, const QString& name, bool up)
{
    auto* ud = d.findChild<UpDown*>(name);
    QTest::mouseClick(up ? ud->upButton() : ud->downButton(), Qt::LeftButton);
}
} // namespace

class TestDateDialogs : public QObject {
    Q_OBJECT
private slots:
    void entersAHireDateFromTheStaffCode()
    {
        Fixture f;
        DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Hire, nullptr, QDate(2026, 12, 9));
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"年月日設定"_s);
        QCOMPARE(d.findChild<QLabel*>(u"Z01"_s)->text(), u"教職員採用年月日"_s);
        QVERIFY(d.showaOption()->isChecked());
        QCOMPARE(boxes(d), u"60 4 1"_s);
        testenv::keepShot(&d, u"day_set_f"_s);
        click(d, u"B_OK"_s);
        QCOMPARE(f.store.staff[0].hireDate, Date::fromYmd(1985, 4, 1));
        QCOMPARE(d.resultText(), u"昭和60年04月01日"_s);
        QVERIFY(!f.settings.get(u"NAKAMA-CHO"_s, u"Position"_s, u"DAY_SET_F Left"_s).isEmpty());

        f.store.staff[0].code = 20080001;
        f.store.staff[0].hireDate = Date();
        DaySetDialog h(f.context, f.store.staff[0], DateFieldKind::Hire, nullptr, QDate(2026, 12, 9));
        QVERIFY(h.heiseiOption()->isChecked());
        QCOMPARE(boxes(h), u"20 4 1"_s);
        // A 令和 date: shown and entered as 令和, read back with the same era.
        f.store.staff[0].code = 20230001;
        DaySetDialog r(f.context, f.store.staff[0], DateFieldKind::Hire, nullptr, QDate(2026, 12, 9));
        r.show();
        QVERIFY(r.reiwaOption()->isChecked());
        QCOMPARE(boxes(r), u"5 4 1"_s);
        r.yearBox()->setText(u"6"_s);
        click(r, u"B_OK"_s);
        QCOMPARE(f.store.staff[0].hireDate, Date::fromYmd(2024, 4, 1));
        QCOMPARE(r.resultText(), u"令和06年04月01日"_s);
        // Switching the era moves the same boxes to that era's years.
        f.store.staff[0].hireDate = Date::fromYmd(2024, 2, 29);
        DaySetDialog leap(f.context, f.store.staff[0], DateFieldKind::Hire, nullptr, QDate(2026, 12, 9));
        leap.show();
        QCOMPARE(boxes(leap), u"6 2 29"_s);
        leap.heiseiOption()->setChecked(true); // 平成6 = 1994, no 29th
        QCOMPARE(boxes(leap), u"6 2 28"_s);
    }

    void clampsAndRollsTheDay()
    {
        Fixture f;
        f.store.staff[0].postingDate = Date::fromYmd(2008, 12, 31);
        DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Posting, nullptr, QDate(2026, 12, 9));
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(boxes(d), u"20 12 31"_s);
        spin(d, u"D_UD"_s, true);
        QCOMPARE(boxes(d), u"21 1 1"_s);
        spin(d, u"D_UD"_s, false);
        QCOMPARE(boxes(d), u"20 12 31"_s);

        auto* month = d.monthBox();
        auto* year = d.yearBox();
        month->clear();
        QTest::keyClicks(month, u"2"_s);
        QCOMPARE(boxes(d), u"20 2 29"_s); // 2008 is a leap year
        year->selectAll();
        QTest::keyClicks(year, u"19"_s);
        QCOMPARE(boxes(d), u"19 2 28"_s);
        month->selectAll();
        QTest::keyClicks(month, u"4"_s);
        auto* day = d.dayBox();
        day->selectAll();
        QTest::keyClicks(day, u"31"_s);
        month->selectAll();
        QTest::keyClicks(month, u"6"_s);
        QCOMPARE(boxes(d), u"19 6 30"_s);
        spin(d, u"M_UD"_s, true);
        QCOMPARE(boxes(d), u"19 7 30"_s);
        spin(d, u"Y_UD"_s, false);
        QCOMPARE(boxes(d), u"18 7 30"_s);

        // Enter walks through the boxes to OK.
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Return);
        QVERIFY(month->hasFocus());
        QTest::keyClick(month, Qt::Key_Return);
        QVERIFY(day->hasFocus());
        QTest::keyClick(day, Qt::Key_Return);
        QVERIFY(d.okButton()->hasFocus());
        QVERIFY(d.isVisible());
        QTest::keyClick(d.okButton(), Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(f.store.staff[0].postingDate, Date::fromYmd(2006, 7, 30));
        QCOMPARE(d.resultText(), u"平成18年07月30日"_s);
    }

    void fullWidthDigitsAreNumbers()
    {
        Fixture f;
        {
            DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Birth, nullptr, QDate(2026, 12, 9));
            d.show();
            QVERIFY(QTest::qWaitForWindowExposed(&d));
            d.heiseiOption()->setChecked(true);
            for (const auto& [name, text] : {std::pair{u"BY"_s, u"１５"_s}, {u"BD"_s, u"３１"_s}, {u"BM"_s, u"６"_s}}) {
                auto* box = d.findChild<QLineEdit*>(name);
                box->clear();
                testenv::typeText(box, text);
            }
            // June has 30 days: the day is clamped as a half-width one would be.
            QCOMPARE(d.dayBox()->text(), u"30"_s);
            click(d, u"B_OK"_s);
            QCOMPARE(f.store.staff[0].birthDate, Date::fromYmd(2003, 6, 30));
        }
        {
            DayBackDialog d(f.context, f.store.staff[0], DateFieldKind::Hire);
            d.yearsBox()->setText(u"１０"_s);
            d.monthsBox()->setText(u"２"_s);
            click(d, u"B_OK"_s);
            QCOMPARE(periodSince(f.store.staff[0].hireDate, f.store.surveyDate, 0), (Period{10, 2}));
        }
    }

    void clearingCancellingAndBadInput()
    {
        Fixture f;
        const Date before = Date::fromYmd(1970, 5, 3);
        f.store.staff[0].birthDate = before;
        {
            DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Birth, nullptr, QDate(2026, 12, 9));
            QCOMPARE(d.findChild<QLabel*>(u"Z01"_s)->text(), u"職員の誕生日"_s);
            click(d, u"B_ESC"_s);
            QCOMPARE(d.resultText(), QString());
            QCOMPARE(f.store.staff[0].birthDate, before);
        }
        {
            // No year: nothing is stored.
            DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Birth, nullptr, QDate(2026, 12, 9));
            d.yearBox()->setText(u"abc"_s);
            click(d, u"B_OK"_s);
            QCOMPARE(d.resultText(), QString());
            QCOMPARE(f.store.staff[0].birthDate, before);
        }
        {
            // Absurd numbers: no crash, no impossible date.
            DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Birth, nullptr, QDate(2026, 12, 9));
            d.yearBox()->setText(u"999999"_s);
            d.monthBox()->setText(u"-99999"_s);
            d.dayBox()->setText(u"99999"_s);
            for (int i = 0; i < 3; ++i) {
                spin(d, u"D_UD"_s, true);
                spin(d, u"M_UD"_s, false);
            }
            click(d, u"B_OK"_s);
            QCOMPARE(f.store.staff[0].birthDate, before);
        }
        {
            DaySetDialog d(f.context, f.store.staff[0], DateFieldKind::Birth, nullptr, QDate(2026, 12, 9));
            click(d, u"B_NO"_s);
            QCOMPARE(d.resultText(), u"X"_s);
            QVERIFY(!f.store.staff[0].birthDate.isSet());
        }
    }

    void countsADateBackFromTheSurveyDate()
    {
        Fixture f;
        DayBackDialog d(f.context, f.store.staff[0], DateFieldKind::Birth);
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QCOMPARE(d.windowTitle(), u"年月数設定"_s);
        QCOMPARE(d.findChild<QLabel*>(u"Z01"_s)->text(), u"職員の年齢"_s);
        auto* years = d.yearsBox();
        auto* months = d.monthsBox();
        years->setFocus();
        QTest::keyClicks(years, u"45"_s);
        QVERIFY(months->hasFocus()); // two digits move on
        QTest::keyClicks(months, u"3"_s);
        QTest::keyClick(months, Qt::Key_Return);
        QVERIFY(d.okButton()->hasFocus());
        click(d, u"B_OK"_s);
        QCOMPARE(f.store.staff[0].birthDate, Date::fromYmd(1962, 12, 17));
        QCOMPARE(periodSince(f.store.staff[0].birthDate, f.store.surveyDate, 0), (Period{45, 3}));
        QCOMPARE(d.resultText(), u"昭和37年12月17日"_s);

        DayBackDialog p(f.context, f.store.staff[0], DateFieldKind::Posting);
        QCOMPARE(p.findChild<QLabel*>(u"Z01"_s)->text(), u"現在校在籍年月数"_s);
        p.monthsBox()->setText(u"10"_s);
        click(p, u"B_OK"_s);
        QCOMPARE(f.store.staff[0].postingDate, Date::fromYmd(2007, 6, 1));
        QCOMPARE(periodSince(f.store.staff[0].postingDate, f.store.surveyDate, 0), (Period{0, 10}));

        DayBackDialog c(f.context, f.store.staff[0], DateFieldKind::Hire);
        c.yearsBox()->setText(u"zz"_s);
        click(c, u"B_ESC"_s);
        QCOMPARE(c.resultText(), QString());
        QVERIFY(!f.store.staff[0].hireDate.isSet());

        DayBackDialog huge(f.context, f.store.staff[0], DateFieldKind::Hire);
        huge.yearsBox()->setText(u"99999"_s);
        click(huge, u"B_OK"_s);
        QVERIFY(!f.store.staff[0].hireDate.isSet());
        QCOMPARE(huge.resultText(), QString());
    }
};

QTEST_MAIN(TestDateDialogs)
#include "tst_date_dialogs.moc"
