#include "reference_tables.h"
#include "sample_roster.h"
#include "statistics_window.h"
#include "tally_tables.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    explicit Fixture(const QString& area = u"瑠璃県"_s)
    {
        store.profile.areaName = area;
        SampleOptions o;
        o.schools = 40;
        o.staff = 60;
        generateSampleRoster(store, o);
        // Some posts tallied apart.
        store.schools[0].clerks[0].status = u"産・育休補助"_s;
        store.schools[1].clerks[0].status = u"欠員補充"_s;
    }
};

QString text(QTableWidget* g, int r, int c)
{
    return g->item(r, c) ? g->item(r, c)->text() : QString();
}
} // namespace

class TestStatisticsWindow : public QObject {
    Q_OBJECT
private slots:
    void tablesFromTheTally()
    {
        tally::SummaryTally t;
        t.byCategory[0][0] = {3, 1};
        t.byCategory[2][3] = {0, 2};
        t.byCategory[0][3] = {3, 1};
        t.categoryTotal[3] = {3, 3};
        t.leaveCover[3] = {1, 0};
        t.vacancyFill[3] = {0, 1};
        t.averageAge = {41, 7};
        tally::Options o;
        auto rows = tally_tables::categoryTable(t, 0, o);
        QCOMPARE(rows.size(), 14);
        QCOMPARE(rows[2], (QStringList{u"1"_s, u"主事"_s, u"1"_s, u"3"_s, u"1"_s, u"4"_s}));
        QCOMPARE(rows[3][3], QString()); // 0 is an empty cell
        QVERIFY(rows[12].join(QString()).isEmpty());
        o.includeLeaveCover = false;
        rows = tally_tables::titleTable(t, o);
        QCOMPARE(rows[1], (QStringList{QString(), u" 合計"_s, u"3"_s, u"3"_s, u"6"_s}));
        QCOMPARE(rows[3], (QStringList{u"2"_s, u"主任主事"_s, QString(), u"2"_s, u"2"_s}));
        QCOMPARE(rows[7][1], u"産・育休補助"_s);
        QCOMPARE(rows[8], (QStringList{QString(), u"欠員補充"_s, QString(), u"1"_s, u"1"_s})); // follows CHK_ETC alone
        QCOMPARE(tally_tables::averageText(t), u"平均年齢　　41歳 7月"_s);
        t.byAge[0] = {1, 1};
        const auto bands = tally_tables::bandTable(t);
        QCOMPARE(bands[1], (QStringList{u"   計"_s, u"1"_s, u"1"_s, u"2"_s, QString()}));
        QCOMPARE(bands[9], (QStringList{u"１８～２４"_s, u"1"_s, u"1"_s, u"2"_s, u"100.00"_s}));
        QCOMPARE(bands[2][4], u"0.00"_s);
        QCOMPARE(tally_tables::ageTable(t).size(), 45);
        QCOMPARE(tally_tables::ageTable(t)[2][0], u"18"_s);
        QCOMPARE(tally_tables::experienceTable(t)[44][0], u"42"_s);
    }

    void theWindow()
    {
        Fixture f;
        StatisticsWindow w(f.context);
        w.resize(1300, 800);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        testenv::keepShot(&w, u"calc_f"_s);
        // Right after opening: the whole roster, as with 全.
        const QString before = text(w.grid(u"GRID2"_s), 1, 4);
        auto* area = w.findChild<QComboBox*>(u"CTV_SEL1"_s);
        QCOMPARE(area->currentIndex(), -1);
        area->setCurrentIndex(0);
        emit area->activated(0);
        QCOMPARE(text(w.grid(u"GRID2"_s), 1, 4), before);
        QVERIFY(!before.isEmpty());
        // The separate rows follow their check boxes.
        // Both start unchecked: the two kinds of post are tallied apart.
        QCOMPARE(text(w.grid(u"GRID1(3)"_s), 13, 1), u"欠員補充"_s);
        QTest::mouseClick(w.findChild<QCheckBox*>(u"CHK_ETC1"_s), Qt::LeftButton); // checked: counted in
        QVERIFY(text(w.grid(u"GRID1(3)"_s), 13, 1).isEmpty());
        QTest::mouseClick(w.findChild<QCheckBox*>(u"CHK_ETC1"_s), Qt::LeftButton); // unchecked again
        QCOMPARE(text(w.grid(u"GRID1(3)"_s), 13, 1), u"欠員補充"_s);
        QCOMPARE(text(w.grid(u"GRID1(3)"_s), 12, 1), u"産・育休補助"_s);
        QCOMPARE(text(w.grid(u"GRID2"_s), 7, 1), u"産・育休補助"_s);
        QTest::mouseClick(w.findChild<QCheckBox*>(u"CHK_ETC"_s), Qt::LeftButton);
        QVERIFY(text(w.grid(u"GRID1(3)"_s), 12, 1).isEmpty());
        QVERIFY(text(w.grid(u"GRID2"_s), 7, 1).isEmpty());
        QVERIFY(w.findChild<QLabel*>(u"AVE_LABEL"_s)->text().startsWith(u"平均年齢　　"_s));

        // An area with districts waits for the district.
        const DistrictSubList& sub = f.store.places.subLists.back();
        const int index = area->findText(sub.areaName);
        QVERIFY(index >= 0);
        area->setCurrentIndex(index);
        const QString total = text(w.grid(u"GRID2"_s), 1, 4);
        emit area->activated(index);
        auto* district = w.findChild<QComboBox*>(u"CTV_SEL2"_s);
        QVERIFY(!district->isHidden());
        QCOMPARE(district->count(), int(sub.districts.size()));
        QCOMPARE(text(w.grid(u"GRID2"_s), 1, 4), total); // not counted yet
        area->setCurrentIndex(area->findText(u"その他"_s));
        emit area->activated(area->currentIndex());
        QVERIFY(district->isHidden());
        QVERIFY(text(w.grid(u"GRID2"_s), 1, 4).isEmpty()); // no municipality bears it

        // Views and prints.
        auto* view = w.findChild<QComboBox*>(u"PRT_LIST"_s);
        QCOMPARE(view->count(), 7);
        int printed = -1;
        w.printEntry = [&printed](StatisticsWindow&, StatisticsView view) { printed = int(view); };
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton); // nothing chosen
        QCOMPARE(printed, -1);
        view->setCurrentIndex(4);
        emit view->activated(4);
        QVERIFY(w.showingGraph());
        QVERIFY(!w.findChild<QPushButton*>(u"B_CHG"_s)->isHidden());
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_CHG"_s), Qt::LeftButton);
        QCOMPARE(w.graphToggle(), 1);
        view->setCurrentIndex(5);
        emit view->activated(5);
        QCOMPARE(w.graphToggle(), 0);
        QVERIFY(!w.findChild<QCheckBox*>(u"CHK_GLINE"_s)->isHidden());
        f.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.last().text, u"グラフ２を印刷します"_s);
        QCOMPARE(printed, 5);
        view->setCurrentIndex(0);
        emit view->activated(0);
        QVERIFY(!w.showingGraph());
    }

    void anAreaUserSeesTheSummaryOnly()
    {
        Fixture f(u"北部地区"_s);
        StatisticsWindow w(f.context);
        QVERIFY(w.findChild<QComboBox*>(u"CTV_SEL1"_s)->isHidden());
        QVERIFY(w.findChild<QComboBox*>(u"PRT_LIST"_s)->isHidden());
        int printed = -1;
        w.printEntry = [&printed](StatisticsWindow&, StatisticsView view) { printed = int(view); };
        f.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.last().text, u"集計表を印刷します"_s);
        QCOMPARE(printed, 0);
    }
};

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statistics_window.moc"
