#include "find_bar.h"
#include "find_text.h"
#include "officer_list_window.h"
#include "sample_roster.h"
#include "sample_window_context.h"
#include "school_list_window.h"
#include "staff_list_window.h"
#include "staff_select_dialog.h"
#include "test_env.h"
#include "ui_helpers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : SampleWindowContext {
    Fixture()
    {
        // Nobody but the people a test names answers to "なかま".
        for (StaffRecord& s : store.staff) {
            s.name = u"青木　誠"_s;
            s.reading = u"ｱｵｷ ﾏｺﾄ"_s;
        }
        for (SchoolRecord& s : store.schools) {
            s.name = u"青葉"_s;
            s.reading = u"ｱｵﾊﾞ"_s;
        }
    }
};

FindBar* findBar(QWidget* w)
{
    auto* bar = w->findChild<FindBar*>();
    if (bar && bar->box()->objectName() != u"FIND"_s)
        return nullptr;
    return bar;
}

int currentRow(QTableView* grid)
{
    return grid->currentIndex().isValid() ? grid->currentIndex().row() : -1;
}

// Ctrl+F from the grid, then the text typed key by key.
void typeIntoFind(QWidget* window, QTableView* grid, const QString& text)
{
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier);
    FindBar* bar = findBar(window);
    QVERIFY(bar);
    QVERIFY(bar->box()->hasFocus());
    QTest::keyClick(bar->box(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(bar->box(), Qt::Key_Delete);
    // Key by key, as a keyboard (or an input method's committed kana) types it.
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, bar->box(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, bar->box(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(bar->box()->text(), text);
}
} // namespace

class TestFindBar : public QObject {
    Q_OBJECT
private slots:
    void comparisonForms()
    {
        using find_text::comparisonForm;
        // Kana of either script and width, spaces of either width.
        QCOMPARE(comparisonForm(u"ﾔﾏﾀﾞ ﾀﾛｳ"_s), u"やまだたろう"_s);
        QCOMPARE(comparisonForm(u"ヤマダ　タロウ"_s), u"やまだたろう"_s);
        QCOMPARE(comparisonForm(u"ｼﾞｮｳｼﾞﾏ"_s), comparisonForm(u"じょうじま"_s));
        QCOMPARE(comparisonForm(u"ＡＢＣ　１２３"_s), u"abc123"_s);
        QCOMPARE(comparisonForm(u"山田　太郎"_s), u"山田太郎"_s);
        // The voicing marks still tell kana apart.
        QVERIFY(!find_text::Matcher(u"た"_s).matches(u"ﾀﾞｲｽｹ"_s));
        QVERIFY(find_text::Matcher(u"だい"_s).matches(u"ﾀﾞｲｽｹ"_s));
        QVERIFY(find_text::Matcher(u"ｽｹ"_s).matches(u"ダイスケ"_s));
        QVERIFY(find_text::Matcher(u"２０２６"_s).matches(u"20260014"_s));
        // Nothing typed seeks nothing.
        QVERIFY(find_text::Matcher(u"　 "_s).isEmpty());
        QVERIFY(!find_text::Matcher(QString()).matches(u"abc"_s));
    }

    void rowsWrapBothWays()
    {
        const auto even = [](int r) { return r % 2 == 0; };
        QCOMPARE(find_text::findRow(5, 1, true, even), 2);
        QCOMPARE(find_text::findRow(5, 2, true, even), 2);
        QCOMPARE(find_text::findRow(5, 5, true, even), 0); // past the end: from the top
        QCOMPARE(find_text::findRow(5, 3, true, [](int r) { return r == 1; }), 1);
        QCOMPARE(find_text::findRow(5, 1, false, even), 0);
        QCOMPARE(find_text::findRow(5, -1, false, even), 4); // before the top: from the end
        QCOMPARE(find_text::findRow(5, 0, true, [](int) { return false; }), -1);
        QCOMPARE(find_text::findRow(0, 0, true, even), -1);
    }

    void staffListFindsByReadingNameAndCode()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.resize(1200, 600);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTableView* grid = w.grid();
        const int rows = w.model()->rowCount();
        QVERIFY(rows > 10);
        std::vector<int> order;
        for (int r = 0; r < rows; ++r)
            order.push_back(w.model()->staffRow(r));
        const int a = 3, b = 9, c = 7;
        f.store.staff[size_t(order[a])].reading = u"ﾅｶﾏﾁ ﾊﾅｺ"_s;
        f.store.staff[size_t(order[b])].name = u"仲間　次郎"_s;
        f.store.staff[size_t(order[b])].reading = u"ﾅｶﾏ ｼﾞﾛｳ"_s;
        grid->selectRow(5);

        // Typed in hiragana, found in half-width katakana; from the current row on.
        typeIntoFind(&w, grid, u"なかま"_s);
        QCOMPARE(currentRow(grid), b);
        FindBar* bar = findBar(&w);
        QVERIFY(!bar->nothingFound());
        QVERIFY(!w.findChild<QLabel*>(u"FIND_NONE"_s)->isVisible());
        QTest::keyClick(bar->box(), Qt::Key_F3);
        QCOMPARE(currentRow(grid), a); // wrapped round
        QTest::keyClick(grid, Qt::Key_F3);
        QCOMPARE(currentRow(grid), b);
        QTest::keyClick(grid, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(currentRow(grid), a);
        QTest::keyClick(bar->box(), Qt::Key_Return);
        QCOMPARE(currentRow(grid), b);
        // Only one row selected, and the list neither filtered nor reordered.
        QCOMPARE(grid->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(w.model()->rowCount(), rows);
        for (int r = 0; r < rows; ++r)
            QCOMPARE(w.model()->staffRow(r), order[size_t(r)]);

        // Katakana with a full-width space, then the name itself.
        typeIntoFind(&w, grid, u"ナカマチ　ハ"_s);
        QCOMPARE(currentRow(grid), a);
        typeIntoFind(&w, grid, u"次郎"_s);
        QCOMPARE(currentRow(grid), b);
        testenv::keepShot(&w, u"find-staff-match"_s);
        // A code typed with full-width digits.
        const QString code = QString::number(f.store.staff[size_t(order[c])].code);
        typeIntoFind(&w, grid, toFullWidthDigits(code));
        QCOMPARE(currentRow(grid), c);

        // Nothing: the sign shows, the selection stays.
        typeIntoFind(&w, grid, u"ぬぬぬ"_s);
        QVERIFY(bar->nothingFound());
        QVERIFY(w.findChild<QLabel*>(u"FIND_NONE"_s)->isVisible());
        QCOMPARE(w.findChild<QLabel*>(u"FIND_NONE"_s)->text(), u"見つかりません"_s);
        QCOMPARE(currentRow(grid), c);
        testenv::keepShot(&w, u"beyond-find-staff"_s);
        QTest::keyClick(bar->box(), Qt::Key_F3);
        QVERIFY(bar->nothingFound());
        // Emptied, the sign goes.
        typeIntoFind(&w, grid, u"な"_s);
        QTest::keyClick(bar->box(), Qt::Key_Backspace);
        QVERIFY(!bar->nothingFound());
        QVERIFY(!w.findChild<QLabel*>(u"FIND_NONE"_s)->isVisible());
    }

    void schoolListFindsSchoolsAndTheirClerks()
    {
        Fixture f;
        f.store.schools[4].name = u"仲町"_s;
        f.store.schools[4].reading = u"ﾅｶﾏﾁ"_s;
        SchoolListWindow w(f.context);
        w.resize(1200, 600);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QTableView* grid = w.grid();
        const int rows = w.model()->rowCount();
        QVERIFY(rows > 0);
        int schoolRow = -1, clerkRow = -1;
        qint32 clerkCode = 0;
        for (int r = 0; r < rows; ++r) {
            const school_list::Row* row = w.model()->row(r);
            if (row->reading)
                continue;
            if (row->school == 4 && row->slot == 0)
                schoolRow = r;
            const qint32 code = f.store.schools[size_t(row->school)].clerks[size_t(row->slot)].staffCode;
            if (clerkRow < 0 && row->school != 4 && code > 0 && f.store.findStaffByCode(code) >= 0) {
                clerkRow = r;
                clerkCode = code;
            }
        }
        QVERIFY(schoolRow >= 0 && clerkRow >= 0);
        f.store.staff[size_t(f.store.findStaffByCode(clerkCode))].reading = u"ﾓﾘｶﾜ ｹﾝ"_s;

        typeIntoFind(&w, grid, u"ナカマ"_s);
        QCOMPARE(currentRow(grid), schoolRow);
        typeIntoFind(&w, grid, u"もりかわ"_s);
        QCOMPARE(currentRow(grid), clerkRow);
        typeIntoFind(&w, grid, QString::number(f.store.schools[4].code));
        QCOMPARE(currentRow(grid), schoolRow);
        typeIntoFind(&w, grid, u"ぬぬぬ"_s);
        QVERIFY(findBar(&w)->nothingFound());
        QCOMPARE(w.model()->rowCount(), rows);
        testenv::keepShot(&w, u"beyond-find-schools"_s);
    }

    void officerListFinds()
    {
        Fixture f;
        OfficerListWindow w(f.context);
        w.resize(1200, 500);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        std::vector<OfficerEntry> list(4);
        const QString readings[] = {u"ｱｵｷ"_s, u"ﾅｶﾏ ﾊﾅｺ"_s, u"ｷﾀﾉ"_s, u"ﾅｶﾏﾁ ｹﾝ"_s};
        for (size_t i = 0; i < list.size(); ++i) {
            list[i].post1 = u"理事"_s;
            list[i].name = u"役員"_s + QString::number(i);
            list[i].reading = readings[i];
            list[i].code = 20260100 + qint32(i);
        }
        w.model()->setList(list);
        w.model()->setGroup(u"理事"_s);
        QCOMPARE(w.model()->rowCount(), 4);
        QTableView* grid = w.grid();
        grid->selectRow(0);
        typeIntoFind(&w, grid, u"なかま"_s);
        QCOMPARE(w.model()->entryAt(currentRow(grid)), 1);
        QTest::keyClick(grid, Qt::Key_F3);
        QCOMPARE(w.model()->entryAt(currentRow(grid)), 3);
        typeIntoFind(&w, grid, u"20260102"_s);
        QCOMPARE(w.model()->entryAt(currentRow(grid)), 2);
        typeIntoFind(&w, grid, u"みなみ"_s);
        QVERIFY(findBar(&w)->nothingFound());
    }

    void staffSelectKeepsTheDialogOpenOnEnter()
    {
        Fixture f;
        for (StaffRecord& s : f.store.staff)
            s.schoolCode = 0; // all shown under 学校無し表示
        StaffSelectDialog d(f.context);
        d.show();
        d.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        QTableView* grid = d.grid();
        QVERIFY(d.model()->rowCount() > 8);
        f.store.staff[size_t(d.model()->staffRow(6))].reading = u"ﾅｶﾏ ﾊﾅｺ"_s;
        typeIntoFind(&d, grid, u"なかま"_s);
        QCOMPARE(currentRow(grid), 6);
        // Enter looks further; it does not choose and close.
        QTest::keyClick(findBar(&d)->box(), Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), 0);
        QCOMPARE(currentRow(grid), 6);
        testenv::keepShot(&d, u"beyond-find-select"_s);
        // What was found is what OK picks.
        const qint32 code = f.store.staff[size_t(d.model()->staffRow(6))].code;
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.pickedCode(), code);
    }

private:
    static QString toFullWidthDigits(const QString& digits)
    {
        QString out = digits;
        for (QChar& ch : out)
            ch = QChar(char16_t(0xFF10 + (ch.unicode() - u'0')));
        return out;
    }
};

QTEST_MAIN(TestFindBar)
#include "tst_find_bar.moc"
