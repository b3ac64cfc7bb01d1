#include "app_context.h"
#include "date_dialogs.h"
#include "era_years.h"
#include "sample_roster.h"
#include "settings_store.h"
#include "staff_editor.h"
#include "staff_rules.h"
#include "staff_select_dialog.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "up_down.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    explicit Fixture(int staff = 5)
    {
        SampleOptions o;
        o.schools = 3;
        o.staff = staff;
        generateSampleRoster(store, o);
        context.session.resetStaffListOrder();
    }
};

QLineEdit* box(QWidget& w, const QString& name)
{
    return w.findChild<QLineEdit*>(name);
}

// What an input method sends the name box: the word being composed and
// what it commits.
void compose(QWidget* target, const QString& preedit, const QString& commit)
{
    QInputMethodEvent ev(preedit, {});
    if (!commit.isEmpty())
        ev.setCommitString(commit);
    QCoreApplication::sendEvent(target, &ev);
}

// The controls Tab visits, from `first` round to it again.
QStringList tabOrder(QWidget* first)
{
    QStringList names;
    QWidget* w = first;
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w && w != first);
    return names;
}

void open(StaffEditor& e)
{
    e.show();
    QVERIFY(QTest::qWaitForWindowActive(&e));
}
} // namespace

class TestStaffEditor : public QObject {
    Q_OBJECT
private slots:
    void theTabOrderIsKept()
    {
        // Clerks enter records from the keyboard: however the form is built,
        // Tab visits its controls in the order they have always had (the
        // four date buttons one after another).
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, 0);
        open(e);
        QCOMPARE(tabOrder(e.nameBox()),
                 QStringList({u"S_NAME"_s,   u"S_CODE"_s,   u"S_FURI"_s,   u"S_MAN"_s, u"S_WMAN"_s, u"B_DAY(0)"_s,
                              u"B_DAY(1)"_s, u"B_DAY(2)"_s, u"B_DAY(3)"_s, u"S_PNO"_s, u"S_ADR1"_s, u"S_ADR2"_s,
                              u"S_TEL"_s,    u"S_FAX"_s,    u"S_KTEL"_s,   u"CHK1"_s,  u"MAIL"_s,   u"S_SN"_s,
                              u"S_KYU"_s,    u"S_GO"_s,     u"K_ADD"_s,    u"N_ADD"_s, u"YAKU1"_s,  u"YAKU2"_s,
                              u"S_MSG"_s,    u"B_END"_s}));
        e.reject();
    }

    void everyCaptionIsThere()
    {
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, 0);
        open(e);
        QCOMPARE(e.windowTitle(), u"個人データ編集"_s);
        QStringList texts;
        for (QLabel* l : e.findChildren<QLabel*>())
            texts << l->text();
        for (QPushButton* b : e.findChildren<QPushButton*>())
            texts << b->text();
        for (const QString& caption :
             {u"職員氏名"_s, u"職員ｺｰﾄﾞ"_s,   u"フリガナ"_s,       u"性別"_s,           u"生年月日"_s,
              u"年齢"_s,     u"郵便番号"_s,   u"住所"_s,           u"ｱﾊﾟｰﾄ･ﾏﾝｼｮﾝ等"_s,  u"ＴＥＬ"_s,
              u"ＦＡＸ"_s,   u"携帯電話"_s,   u"メールアドレス"_s, u"職名"_s,           u"級"_s,
              u"号給"_s,     u"発令日"_s,     u"採用年月日"_s,     u"教職員勤続年数"_s, u"補正月数"_s,
              u"ヶ月"_s,     u"赴任年月日"_s, u"現在校勤続年数"_s, u"県役職名"_s,       u"備考"_s,
              u"閉じる"_s})
            QVERIFY2(texts.contains(caption), qPrintable(caption));
        QCOMPARE(e.temporaryBox()->text(), u"臨採用職員"_s);
        // The survey date in its own era: 令和 from May 2019, 平成 before.
        const std::optional<EraYear> era = eraYearOf(f.store.surveyDate);
        QVERIFY(era);
        QCOMPARE(e.findChild<QLabel*>(u"Label_CHK"_s)->text(), u"調査日  "_s + era->name);
        QCOMPARE(box(e, u"CHK_Y"_s)->text(), QString::number(era->year));
        for (const QString& name : {u"S_NAME"_s, u"S_CODE"_s, u"S_FURI"_s, u"S_PNO"_s, u"S_ADR1"_s, u"S_ADR2"_s,
                                    u"S_TEL"_s, u"S_FAX"_s, u"S_KTEL"_s, u"MAIL"_s, u"S_KYU"_s, u"S_GO"_s, u"K_ADD"_s,
                                    u"N_ADD"_s, u"S_MSG"_s, u"CHK_Y"_s, u"CHK_M"_s, u"CHK_D"_s})
            QVERIFY2(box(e, name), qPrintable(name));
        // Every caption fits its control.
        for (QLabel* l : e.findChildren<QLabel*>())
            if (l->isVisible() && !l->text().isEmpty())
                QVERIFY2(l->width() >= l->sizeHint().width() - 1, qPrintable(l->text()));
        for (QPushButton* b : e.findChildren<QPushButton*>())
            QVERIFY2(b->width() >= b->sizeHint().width() - 1, qPrintable(b->text()));
        testenv::keepShot(&e, u"edit_m"_s);

        // The first record is shown, with its periods.
        const StaffRecord& s = f.store.staff[0];
        QCOMPARE(e.nameBox()->text(), s.name);
        QCOMPARE(e.codeBox()->text(), QString::number(s.code));
        QCOMPARE(e.dateLabel(DateFieldKind::Birth)->text(), formatEraDate(s.birthDate, u"gggee年mm月dd日"_s));
        QCOMPARE(e.findChild<QLabel*>(u"S_AGE"_s)->text(), ageText(periodSince(s.birthDate, f.store.surveyDate, 0)));
        QCOMPARE(e.findChild<QLabel*>(u"K_KY"_s)->text(),
                 QString::number(periodSince(s.hireDate, f.store.surveyDate, 0).years));
        QCOMPARE(box(e, u"CHK_Y"_s)->text(), u"8"_s); // 令和8年
        e.accept();
    }

    void newRecordsAtTheEnd()
    {
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, f.store.staffCount());
        open(e);
        QCOMPARE(e.recordNumber(), 6);
        QVERIFY(e.nameBox()->text().isEmpty());
        QVERIFY(e.findChild<QRadioButton*>(u"S_WMAN"_s)->isChecked());
        // No name: nothing is saved, paging up does not advance.
        e.codeBox()->setText(u"20260001"_s);
        e.pageUp();
        QCOMPARE(f.store.staffCount(), qint16(5));
        QCOMPARE(e.recordNumber(), 6);

        testenv::typeText(e.nameBox(), u"新人"_s);
        box(e, u"S_GO"_s)->setText(u"  12 "_s);
        box(e, u"K_ADD"_s)->setText(u"abc"_s);
        e.jobTitleBox()->setCurrentIndex(3);
        e.pageUp();
        QCOMPARE(f.store.staffCount(), qint16(6));
        const StaffRecord& s = f.store.staff[5];
        QCOMPARE(s.name, u"新人"_s);
        QCOMPARE(s.code, 20260001);
        QCOMPARE(s.sex, qint16(1));
        QCOMPARE(s.payStep, u"12"_s);
        QCOMPARE(s.serviceAdjustMonths, qint16(0));
        QCOMPARE(s.jobTitle, u" 主  事"_s);
        QCOMPARE(s.jobTitleIndex, qint16(3));
        QCOMPARE(s.municipalityIndex, qint16(99));
        QCOMPARE(e.recordNumber(), 7); // on to the next new record
        e.pageDown();
        QCOMPARE(e.recordNumber(), 6);
        QCOMPARE(e.nameBox()->text(), u"新人"_s);
        e.accept();
    }

    void boxesFollowTheirRules()
    {
        Fixture f;
        f.store.postalCodes.entries = {{u"900-0012"_s, u"瑠璃市本町"_s}, {u"900-0012"_s, u"瑠璃市新町"_s}};
        StaffEditor e(f.context, StaffEditor::EditM, 1);
        open(e);
        auto* postal = box(e, u"S_PNO"_s);
        auto* address = box(e, u"S_ADR1"_s);
        address->clear();
        postal->setFocus();
        postal->clear();
        QTest::keyClicks(postal, u"9000012"_s);
        box(e, u"S_TEL"_s)->setFocus(); // leaving reformats
        QCOMPARE(postal->text(), u"900-0012"_s);
        QCOMPARE(address->text(), u"瑠璃市新町"_s); // the last match wins
        QVERIFY(address->hasFocus());

        auto* mobile = box(e, u"S_KTEL"_s);
        mobile->clear();
        mobile->setFocus();
        QCOMPARE(mobile->text(), u"090-"_s);
        box(e, u"S_TEL"_s)->setFocus();
        QVERIFY(mobile->text().isEmpty());

        auto* grade = box(e, u"S_KYU"_s);
        auto* title = e.jobTitleBox();
        grade->clear();
        title->setFocus();
        title->setCurrentIndex(2);
        emit title->activated(2);
        QCOMPARE(grade->text(), u"4"_s);
        grade->setText(u"3"_s);
        emit title->activated(2);
        QCOMPARE(grade->text(), u"3"_s);
        grade->setText(u"1"_s);
        box(e, u"S_GO"_s)->setText(u"16"_s);
        QTest::mouseClick(e.findChild<UpDown*>(u"B_GO_UD"_s)->upButton(), Qt::LeftButton);
        QCOMPARE(box(e, u"S_GO"_s)->text(), u"T1"_s);
        QTest::mouseClick(e.findChild<UpDown*>(u"B_KYU_UD"_s)->downButton(), Qt::LeftButton);
        QCOMPARE(grade->text(), u"1"_s);
        QTest::mouseClick(e.findChild<UpDown*>(u"B_KYU_UD"_s)->upButton(), Qt::LeftButton);
        QCOMPARE(grade->text(), u"2"_s);

        auto* yaku1 = e.findChild<QComboBox*>(u"YAKU1"_s);
        auto* yaku2 = e.findChild<QComboBox*>(u"YAKU2"_s);
        yaku1->setCurrentText(u"常任理事"_s);
        QCOMPARE(yaku2->count(), 6);
        yaku1->setCurrentText(u"全事研"_s);
        QCOMPARE(yaku2->count(), 4);
        yaku2->setCurrentText(u"理事"_s);
        yaku1->setCurrentText(u"会長"_s);
        QCOMPARE(yaku2->count(), 0);

        // "!" and the double quote are not typed into any box.
        auto* remarks = box(e, u"S_MSG"_s);
        remarks->clear();
        QTest::keyClicks(remarks, u"a!b\"c"_s);
        QCOMPARE(remarks->text(), u"abc"_s);
        e.accept();
        QCOMPARE(f.store.staff[1].remarks, u"abc"_s);
        QCOMPARE(f.store.staff[1].post1, u"会長"_s);
        QCOMPARE(f.store.staff[1].grade, qint16(2));
    }

    void theReadingFollowsTheInputMethod()
    {
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, f.store.staffCount());
        open(e);
        auto* name = e.nameBox();
        name->setFocus();
        auto send = [name](const QString& preedit, const QString& commit) { compose(name, preedit, commit); };
        send(u"y"_s, {});
        send(u"やまだ"_s, {});
        send(u"山田"_s, {});
        send({}, u"山田"_s);
        send({}, u"　"_s);
        send(u"たろう"_s, {});
        send({}, u"太郎"_s);
        QCOMPARE(name->text(), u"山田　太郎"_s);
        QCOMPARE(e.readingBox()->text(), u"ﾔﾏﾀﾞ ﾀﾛｳ"_s);

        // Without an input method the reading stays as typed.
        auto* reading = e.readingBox();
        reading->setFocus();
        QTest::keyClicks(reading, u"x"_s);
        QCOMPARE(reading->text(), u"ﾔﾏﾀﾞ ﾀﾛｳx"_s);
        e.reject();
    }

    void aCancelledCompositionLeavesNoReading()
    {
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, f.store.staffCount());
        open(e);
        auto* name = e.nameBox();
        auto* reading = e.readingBox();
        name->setFocus();
        auto send = [name](const QString& preedit, const QString& commit) { compose(name, preedit, commit); };
        // やまだ typed, then cancelled with Esc; the name is typed directly.
        send(u"やまだ"_s, {});
        send({}, {});
        QTest::keyClicks(name, u"Tanaka"_s);
        QCOMPARE(name->text(), u"Tanaka"_s);
        QVERIFY2(reading->text().isEmpty(), qPrintable(reading->text()));

        // An input method that ends the composition just before committing
        // still gives the reading of what it committed.
        name->clear();
        reading->clear();
        e.codeBox()->setFocus();
        name->setFocus();
        send(u"やまだ"_s, {});
        send({}, {});
        send({}, u"山田"_s);
        QCOMPARE(reading->text(), u"ﾔﾏﾀﾞ"_s);
        e.reject();
    }

    void pageKeysOnListsSaveWhatTheUserChose()
    {
        Fixture f;
        f.store.staff[1].jobTitleIndex = 2;
        f.store.staff[1].post1 = u"理事"_s;
        f.store.staff[2].jobTitleIndex = 1;
        f.store.staff[2].post1 = u"会計"_s;
        f.store.staff[1].post2.clear();
        const QString post2 = f.store.staff[1].post2;
        StaffEditor e(f.context, StaffEditor::EditM, 1);
        open(e);
        auto* title = e.jobTitleBox();
        f.store.staff[1].jobTitle = title->itemText(2);
        f.store.staff[2].jobTitle = title->itemText(1);
        QCOMPARE(title->currentIndex(), 2);
        title->setFocus();
        QTest::keyClick(title, Qt::Key_PageUp);
        QCOMPARE(e.recordNumber(), 3);
        QCOMPARE(f.store.staff[1].jobTitleIndex, qint16(2));
        QCOMPARE(f.store.staff[1].jobTitle, title->itemText(2).trimmed());
        QCOMPARE(title->currentIndex(), 1); // the next record's own title

        auto* yaku1 = e.findChild<QComboBox*>(u"YAKU1"_s);
        yaku1->setFocus();
        QTest::keyClick(yaku1, Qt::Key_PageDown);
        QCOMPARE(e.recordNumber(), 2);
        QCOMPARE(f.store.staff[2].post1, u"会計"_s);
        QCOMPARE(yaku1->currentText(), u"理事"_s);
        auto* yaku2 = e.findChild<QComboBox*>(u"YAKU2"_s);
        yaku2->setFocus();
        QTest::keyClick(yaku2, Qt::Key_PageUp);
        QCOMPARE(e.recordNumber(), 3);
        QCOMPARE(f.store.staff[1].post1, u"理事"_s);
        QCOMPARE(f.store.staff[1].post2, post2);
        // A check box or the sex buttons page as well, without changing.
        const int sex = f.store.staff[2].sex;
        e.findChild<QRadioButton*>(u"S_MAN"_s)->setFocus();
        QTest::keyClick(e.findChild<QRadioButton*>(u"S_MAN"_s), Qt::Key_PageDown);
        QCOMPARE(e.recordNumber(), 2);
        QCOMPARE(f.store.staff[2].sex, sex);
        e.reject();
    }

    void aFullWidthPostalCodeFindsItsAddress()
    {
        // An input method left in full-width mode types the postal code in
        // full-width digits; the address is looked up all the same.
        Fixture f;
        f.store.postalCodes.entries = {{u"900-0012"_s, u"瑠璃市本町"_s}};
        StaffEditor e(f.context, StaffEditor::EditM, 1);
        open(e);
        auto* postal = box(e, u"S_PNO"_s);
        auto* address = box(e, u"S_ADR1"_s);
        address->clear();
        postal->setFocus();
        postal->clear();
        testenv::typeText(postal, u"９００－００１２"_s);
        QCOMPARE(address->text(), u"瑠璃市本町"_s);

        // Seven digits, formatted on leaving the box, as with half-width ones.
        address->clear();
        postal->setFocus();
        postal->clear();
        testenv::typeText(postal, u"９００００１２"_s);
        box(e, u"S_TEL"_s)->setFocus();
        QCOMPARE(address->text(), u"瑠璃市本町"_s);
        e.reject();
        QCOMPARE(f.store.staff[1].postalCode, u"900-0012"_s);
    }

    void closingByTheCloseBoxRunsTheLeaveRules()
    {
        Fixture f;
        {
            StaffEditor e(f.context, StaffEditor::EditM, 1);
            open(e);
            auto* postal = box(e, u"S_PNO"_s);
            postal->setFocus();
            postal->clear();
            testenv::typeText(postal, u"９０００１２３"_s);
            e.close(); // the window's close box, the focus still in the box
            QCOMPARE(f.store.staff[1].postalCode, u"900-0123"_s);
        }
        {
            StaffEditor e(f.context, StaffEditor::EditM, 1);
            open(e);
            auto* mobile = box(e, u"S_KTEL"_s);
            mobile->clear();
            mobile->setFocus();
            QCOMPARE(mobile->text(), u"090-"_s);
            e.close();
            QVERIFY2(f.store.staff[1].mobile.isEmpty(), qPrintable(f.store.staff[1].mobile));
        }
        {
            // Paging from the box with the prefix alone, and 閉じる with it typed.
            StaffEditor e(f.context, StaffEditor::EditM, 1);
            open(e);
            auto* mobile = box(e, u"S_KTEL"_s);
            mobile->clear();
            mobile->setFocus();
            QTest::keyClick(mobile, Qt::Key_PageUp);
            QVERIFY(f.store.staff[1].mobile.isEmpty());
            mobile->setText(u"090- "_s);
            QTest::mouseClick(e.findChild<QPushButton*>(u"B_END"_s), Qt::LeftButton);
            QVERIFY(f.store.staff[2].mobile.isEmpty());
        }
    }

    void pagingAndSingleRecords()
    {
        Fixture f;
        StaffEditor e(f.context, StaffEditor::EditM, 2);
        e.setSingleRecord(true);
        open(e);
        QVERIFY(e.findChild<QLabel*>(u"ED_NO"_s)->isHidden());
        QVERIFY(e.findChild<UpDown*>(u"B_NO"_s)->isHidden());
        QTest::keyClick(e.nameBox(), Qt::Key_PageUp);
        QCOMPARE(e.recordNumber(), 3); // nothing visible beyond saving
        e.accept();

        StaffEditor browse(f.context, StaffEditor::EditM, 2);
        open(browse);
        QTest::keyClick(box(browse, u"S_NAME"_s), Qt::Key_PageUp);
        QCOMPARE(browse.recordNumber(), 4);
        QTest::keyClick(box(browse, u"S_NAME"_s), Qt::Key_PageDown);
        QCOMPARE(browse.recordNumber(), 3);

        // A new code clears the posting of the record (EDIT_M only).
        f.store.staff[2].schoolCode = 123;
        f.store.staff[2].schoolFullName = u"瑠璃市立青葉小学校"_s;
        box(browse, u"S_CODE"_s)->setText(u"20260099"_s);
        QCOMPARE(f.store.staff[2].schoolCode, 0);
        QVERIFY(f.store.staff[2].schoolFullName.isEmpty());
        browse.accept();

        // EDIT_M2 shows table rows and takes the proposed code.
        StaffEditor post(f.context, StaffEditor::EditM2, f.store.staffCount());
        post.setPresetCode(20269999);
        open(post);
        QCOMPARE(box(post, u"S_CODE"_s)->text(), u"20269999"_s);
        QCOMPARE(post.objectName(), u"EDIT_M2"_s);
        post.reject();
    }

    void datesThroughTheDialogs()
    {
        Fixture f;
        f.store.staff[0].hireDate = Date();
        StaffEditor e(f.context, StaffEditor::EditM, 0);
        e.setToday(QDate(2026, 12, 9));
        open(e);
        e.codeBox()->setText(u"19850012"_s);
        testenv::onModal<DaySetDialog>([](DaySetDialog* d) {
            QVERIFY(d->showaOption()->isChecked());
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(e.dateButton(DateFieldKind::Hire), Qt::LeftButton);
        QCOMPARE(e.dateLabel(DateFieldKind::Hire)->text(), u"昭和60年04月01日"_s);
        QCOMPARE(f.store.staff[0].hireDate, Date::fromYmd(1985, 4, 1));
        QCOMPARE(e.focusWidget(), box(e, u"K_ADD"_s));
        QCOMPARE(e.findChild<QLabel*>(u"K_KY"_s)->text(), u"41"_s);
        QTest::keyClicks(box(e, u"K_ADD"_s), u"-12"_s);
        QCOMPARE(e.findChild<QLabel*>(u"K_KY"_s)->text(), u"40"_s);

        // 無し clears; a double click on the empty label counts back.
        testenv::onModal<DaySetDialog>(
            [](DaySetDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>(u"B_NO"_s), Qt::LeftButton); });
        QTest::mouseClick(e.dateButton(DateFieldKind::Posting), Qt::LeftButton);
        QVERIFY(e.dateLabel(DateFieldKind::Posting)->text().isEmpty());
        QVERIFY(!f.store.staff[0].postingDate.isSet());
        testenv::onModal<DayBackDialog>([](DayBackDialog* d) {
            d->yearsBox()->setText(u"3"_s);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseDClick(e.dateLabel(DateFieldKind::Posting), Qt::LeftButton);
        QCOMPARE(f.store.staff[0].postingDate, Date::fromYmd(2023, 4, 1));
        QCOMPARE(e.findChild<QLabel*>(u"N_KY"_s)->text(), u"3"_s);
        e.accept();
    }

    void choosingAMember()
    {
        Fixture f(8);
        for (int i = 0; i < 8; ++i)
            f.store.staff[size_t(i)].schoolCode = i < 3 ? 1000 + i : 0;
        f.store.staff[5].jobTitle = u"主任主事"_s;
        f.store.staff[6].jobTitle = u"主 任 主 事"_s;
        f.store.staff[7].name = u"田中　一郎"_s;
        StaffSelectDialog d(f.context);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"職員選択"_s);
        QVERIFY(d.unpostedBox()->isChecked());
        QCOMPARE(d.model()->rowCount(), 5); // posted members hidden
        testenv::keepShot(&d, u"select_f"_s);
        d.jobTitleChoice()->setCurrentIndex(3); // 主任主事
        int expected = 0;
        for (const StaffRecord& m : f.store.staff)
            expected += m.schoolCode == 0 && staff_rules::compactTitle(m.jobTitle) == u"主任主事"_s ? 1 : 0;
        QVERIFY(expected >= 2); // written with and without spaces
        QCOMPARE(d.model()->rowCount(), expected);
        d.jobTitleChoice()->setCurrentIndex(0);
        d.nameBox()->setText(u"田"_s);
        for (int r = 0; r < d.model()->rowCount(); ++r)
            QVERIFY(f.store.staff[size_t(d.model()->staffRow(r))].name.contains(u"田"_s));
        d.unpostedBox()->setChecked(false);
        d.nameBox()->clear();
        QCOMPARE(d.model()->rowCount(), 8);
        QCOMPARE(d.model()->data(d.model()->index(1, int(StaffSelectColumn::Code)), Qt::DisplayRole).toString(),
                 QString::number(f.store.staff[1].code));
        d.grid()->setCurrentIndex(d.model()->index(4, int(StaffSelectColumn::Name)));
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.pickedCode(), f.store.staff[4].code);
        QCOMPARE(f.context.session.presetCode, f.store.staff[4].code);

        // Nothing listed: OK is refused; cancelling leaves -1.
        StaffSelectDialog empty(f.context);
        empty.nameBox()->setText(u"該当なし"_s);
        QTest::mouseClick(empty.okButton(), Qt::LeftButton);
        QCOMPARE(f.notifier.messages.size(), 1);
        QTest::mouseClick(empty.cancelButton(), Qt::LeftButton);
        QCOMPARE(empty.pickedCode(), -1);
        QCOMPARE(f.context.session.presetCode, -1);
    }

    void changingANameAndCode()
    {
        Fixture f;
        f.store.schools[0].clerks[0].staffCode = f.store.staff[2].code;
        f.context.session.staffListOrder[0] = 2;
        f.context.session.staffListOrder[2] = 0;
        const qint32 old = f.store.staff[2].code;
        CodeChangeDialog d(f.context, 0);
        QCOMPARE(d.windowTitle(), u"氏名・コード変更"_s);
        QCOMPARE(d.oldCodeLabel()->text(), QString::number(old));
        QCOMPARE(f.store.dirty, qint16(1));
        d.newNameBox()->setText(u"改名　花子"_s);
        d.newCodeBox()->setText(u"2026000123456"_s); // kept to 8 digits
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(f.store.staff[2].code, 20260001);
        QCOMPARE(f.store.staff[2].name, u"改名　花子"_s);
        QCOMPARE(f.store.schools[0].clerks[0].staffCode, 20260001);
        QCOMPARE(f.store.schools[0].clerks[0].staffName, u"改名　花子"_s);
    }
};

QTEST_MAIN(TestStaffEditor)
#include "tst_staff_editor.moc"
