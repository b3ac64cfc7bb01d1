#include "app_context.h"
#include "grid_checks.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "roster_files.h"
#include "sample_roster.h"
#include "school_editor.h"
#include "school_list_print.h"
#include "school_list_window.h"
#include "settings_store.h"
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
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    explicit Fixture(int schools = 12, int staff = 20)
    {
        store.profile.areaName = u"瑠璃県"_s;
        SampleOptions o;
        o.schools = schools;
        o.staff = staff;
        generateSampleRoster(store, o);
    }
};

QLineEdit* box(QWidget& w, const QString& name)
{
    return w.findChild<QLineEdit*>(name);
}

using testenv::cellText;
using testenv::headerText;
} // namespace

class TestSchoolWindows : public QObject {
    Q_OBJECT
private slots:
    void theListWindow()
    {
        Fixture f;
        bool transfer = false;
        bool narrowed = false;
        SchoolListWindow w(f.context);
        connect(&w, &SchoolListWindow::transferCommandVisible, [&transfer](bool v) { transfer = v; });
        w.resize(1200, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(transfer);
        QCOMPARE(w.windowTitle(), u"学校ﾘｽﾄ"_s);
        QCOMPARE(w.schoolsShown(), 12);
        QVERIFY(!w.narrowed());
        QCOMPARE(w.schoolCountLabel()->text(), u"12"_s);
        testenv::keepShot(&w, u"s_list"_s);
        QVERIFY2(testenv::clippedCaptions(&w).isEmpty(), qPrintable(testenv::clippedCaptions(&w).join(u", "_s)));
        QCOMPARE(headerText(w.model(), SchoolListColumn::CodeOrNumber), u"コード"_s);
        // The first row shows the first school of the sorted table.
        const SchoolRecord& first = f.store.schools[0];
        QCOMPARE(cellText(w.model(), 0, SchoolListColumn::SchoolName), first.name);
        QCOMPARE(cellText(w.model(), 0, SchoolListColumn::ClerkName), first.clerks[0].staffName);

        // Marks: a click in the mark column, then 印 on every listed school.
        QTest::mouseClick(w.grid()->viewport(), Qt::LeftButton, {},
                          w.grid()->visualRect(w.model()->index(0, int(SchoolListColumn::Mark))).center());
        QCOMPARE(f.store.schools[0].clerks[0].mark, qint16(1));
        QCOMPARE(cellText(w.model(), 0, SchoolListColumn::Mark), u"○"_s);
        w.markListedSchools(); // the first is marked: clear all
        for (const auto& s : f.store.schools)
            QCOMPARE(s.clerks[0].mark, qint16(0));
        w.markListedSchools();
        for (const auto& s : f.store.schools)
            QCOMPARE(s.clerks[0].mark, qint16(1));

        // Extraction: none of the kinds refused; one kind narrows.
        w.kindChecks().show(0);
        QVERIFY(!w.extract());
        QCOMPARE(f.notifier.messages.last().text, u"学校種を選択してください"_s);
        w.kindChecks().junior->setChecked(true);
        connect(&w, &SchoolListWindow::narrowedChanged, [&narrowed](bool v) { narrowed = v; });
        QVERIFY(w.extract());
        QVERIFY(narrowed);
        for (int r = 0; r < w.model()->rowCount(); ++r)
            QCOMPARE(f.store.schools[size_t(w.model()->row(r)->school)].kindText, u"中学校"_s);
        QCOMPARE(f.context.session.shownSchools.size(), size_t(w.schoolsShown()));

        // Readings under the names; the "名" counter still counts people.
        const QString people = w.rowCountLabel()->text();
        QCOMPARE(people, QString::number(w.model()->rowCount()));
        w.readingsBox()->click();
        QVERIFY(w.model()->row(1)->reading);
        QCOMPARE(w.model()->rowCount(), 2 * people.toInt());
        QCOMPARE(w.rowCountLabel()->text(), people);
        QCOMPARE(cellText(w.model(), 1, SchoolListColumn::SchoolName),
                 f.store.schools[size_t(w.model()->row(0)->school)].reading);
        QTest::mouseClick(w.showAllButton(), Qt::LeftButton);
        QVERIFY(!w.narrowed());

        // Ordered by number: the header says so.
        f.store.profile.optionFlags = OptionFlag::OrderBySchoolNumber;
        w.activate();
        QCOMPARE(headerText(w.model(), SchoolListColumn::CodeOrNumber), u"番号"_s);
        // Within a kind and a municipality, by number.
        const SchoolRecord* previous = nullptr;
        for (int r = 0; r < w.model()->rowCount(); ++r) {
            const school_list::Row* row = w.model()->row(r);
            if (row->slot != 0 || row->reading)
                continue;
            const SchoolRecord& s = f.store.schools[size_t(row->school)];
            if (previous && previous->kind == s.kind && previous->municipalityIndex == s.municipalityIndex)
                QVERIFY(s.number >= previous->number);
            previous = &s;
        }
    }

    void theListShowsItsTextsWhole()
    {
        Fixture f(200, 300);
        SchoolListWindow w(f.context);
        w.resize(1200, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto check = [&w](const char* display) {
            const QStringList cut = testenv::cutColumns(w.grid(), w.model()->columns());
            QVERIFY2(cut.isEmpty(), qPrintable(QString::fromUtf8(display) + u": "_s + cut.join(u"; "_s)));
        };
        check("学校ﾘｽﾄ");
        w.readingsBox()->click();
        check("ﾌﾘｶﾞﾅ");
        w.mailBox()->click();
        check("メール");
        w.mailBox()->click();
        check("メールを外して");
        f.store.profile.optionFlags = OptionFlag::OrderBySchoolNumber;
        w.activate();
        check("学校番号使用");
    }

    void deletingTheSelectedSchools()
    {
        Fixture f(12, 12);
        SchoolListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Narrow to junior highs, select the 1st and 3rd listed schools.
        w.kindChecks().elementary->setChecked(false);
        w.kindChecks().special->setChecked(false);
        QVERIFY(w.extract());
        std::vector<int> listed;
        for (int r = 0; r < w.model()->rowCount(); ++r)
            if (w.model()->row(r)->slot == 0)
                listed.push_back(r);
        QVERIFY(listed.size() >= 3);
        const qint32 gone1 = f.store.schools[size_t(w.model()->row(listed[0])->school)].code;
        const qint32 gone2 = f.store.schools[size_t(w.model()->row(listed[2])->school)].code;
        w.grid()->clearSelection();
        w.grid()->selectionModel()->select(w.model()->index(listed[0], 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.grid()->selectionModel()->select(w.model()->index(listed[2], 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
        f.notifier.answers = {MessageAnswer::Yes};
        w.deleteSelectedSchools();
        QCOMPARE(f.notifier.messages.last().text, u"選択範囲のデータを削除します"_s);
        QCOMPARE(f.store.schoolCount(), qint16(10)); // nothing the list did not show
        for (const auto& s : f.store.schools)
            QVERIFY(s.code != gone1 && s.code != gone2);

        // The table full: no more schools.
        Fixture full(cap::kMaxSchools, 10);
        SchoolListWindow fw(full.context);
        fw.addSchool();
        QCOMPARE(full.notifier.messages.last().text, u"学校はこれ以上追加できません"_s);
    }

    void theEditorStoresWhatTheUserTyped()
    {
        Fixture f(3, 6);
        const int count = f.store.schoolCount();
        {
            SchoolEditor e(f.context); // a new school, closed at once
            e.show();
            QVERIFY(QTest::qWaitForWindowExposed(&e));
            QCOMPARE(e.windowTitle(), u"学校データ編集"_s);
            testenv::keepShot(&e, u"edit_s"_s);
            e.accept();
        }
        QCOMPARE(f.store.schoolCount(), count);
        {
            SchoolEditor e(f.context);
            e.show();
            auto* municipality = e.findChild<QComboBox*>(u"CTV_SEL"_s);
            municipality->setEditText(u"架空村"_s);
            e.findChild<QComboBox*>(u"SC_K_SEL"_s)->setCurrentIndex(1);
            box(e, u"SC_CODE"_s)->setText(u"777"_s);
            box(e, u"S_NAME"_s)->setText(u"新設"_s);
            box(e, u"S_PNO"_s)->setText(u"９００－００１２"_s);
            box(e, u"S_ADR"_s)->setText(u"架空村本町１－２"_s);
            box(e, u"S_TEL"_s)->setText(u"０１２３－４５－６７８９"_s);
            box(e, u"S_FAX"_s)->setText(u"０１２３－４５－６７００"_s);
            box(e, u"MAIL"_s)->setText(u"ｍａｉｌ@example.jp"_s);
            box(e, u"R_COUNT"_s)->setText(u"abc"_s);
            auto* group = e.findChild<QComboBox*>(u"GRP_SEL"_s);
            group->setFocus();
            group->setEditText(u"新しいグループ"_s);
            box(e, u"S_NAME"_s)->setFocus(); // leaving the group box adds the name
            e.accept();
        }
        QCOMPARE(f.store.schoolCount(), count + 1);
        const SchoolRecord& s = f.store.schools.back();
        QCOMPARE(s.municipalityIndex, qint16(99));
        QCOMPARE(s.kind, qint16(1));
        QCOMPARE(s.postalCode, u"900-0012"_s);
        QCOMPARE(s.address, u"架空村本町1-2"_s);
        QCOMPARE(s.tel, u"0123-45-6789"_s);
        QCOMPARE(s.fax, u"0123-45-6700"_s);
        QCOMPARE(s.mail, u"ｍａｉｌ@example.jp"_s);
        QCOMPARE(s.regularClasses, qint16(0));
        QCOMPARE(s.sortCode, 777);
        QVERIFY(f.store.groupNames.contains(u"新しいグループ"_s));
    }

    void pageKeysOnListsAndTheCloseBox()
    {
        Fixture f(3, 3);
        SchoolEditor e(f.context, {0, 1, 2}, 0);
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        const QString kind = f.store.schools[0].kindText;
        auto* kinds = e.findChild<QComboBox*>(u"SC_K_SEL"_s);
        kinds->setFocus();
        QTest::keyClick(kinds, Qt::Key_PageUp);
        QCOMPARE(e.recordNumber(), 2);
        QCOMPARE(f.store.schools[0].kindText, kind);
        auto* status = e.findChild<QComboBox*>(u"ETC_SEL(0)"_s);
        const QString before = f.store.schools[1].clerks[0].status;
        status->setFocus();
        QTest::keyClick(status, Qt::Key_PageDown);
        QCOMPARE(e.recordNumber(), 1);
        QCOMPARE(f.store.schools[1].clerks[0].status, before);

        // A group typed and left by the close box is kept as a group name.
        auto* group = e.findChild<QComboBox*>(u"GRP_SEL"_s);
        group->setFocus();
        group->setEditText(u"閉じて残るグループ"_s);
        e.close();
        QCOMPARE(f.store.schools[0].group, u"閉じて残るグループ"_s);
        QVERIFY(f.store.groupNames.contains(u"閉じて残るグループ"_s));
    }

    void whatInputMethodsTypeIsNarrowedAndSaved()
    {
        Fixture f(3, 3);
        f.store.paths.dataFolder = f.dir.path();
        f.store.paths.setYear(38);
        {
            SchoolEditor e(f.context, {0, 1, 2}, 0);
            e.show();
            // U+2212 is what several input methods give for "-"; ￥ and ￣
            // have no half-width form in the roster's code page.
            box(e, u"S_PNO"_s)->setText(u"９００−００１２"_s);
            box(e, u"S_TEL"_s)->setText(u"０１２３−４５ー６７８９"_s);
            box(e, u"S_FAX"_s)->setText(u"0123‐45‐6700"_s);
            box(e, u"S_ADR"_s)->setText(u"本町１－２　￥ビル￣"_s);
            e.accept();
        }
        const SchoolRecord& s = f.store.schools[0];
        QCOMPARE(s.postalCode, u"900-0012"_s);
        QCOMPARE(s.tel, u"0123-45-6789"_s);
        QCOMPARE(s.fax, u"0123-45-6700"_s);
        QCOMPARE(s.address, u"本町1-2 ￥ﾋﾞﾙ￣"_s);
        QCOMPARE(saveSchools(f.store, f.notifier), 1);
        QVERIFY2(f.notifier.messages.isEmpty(), qPrintable(f.notifier.texts().join(u'|')));
    }

    void replacingTheClerkOfAPost()
    {
        Fixture f(3, 6);
        f.store.reindexStaff();
        const int a = f.store.findStaffByCode(f.store.schools[0].clerks[0].staffCode);
        QVERIFY(a >= 0);
        const qint32 codeA = f.store.staff[size_t(a)].code;
        // B: a member without a post.
        int b = -1;
        for (int i = 0; i < f.store.staffCount(); ++i)
            if (f.store.staff[size_t(i)].schoolCode == 0)
                b = i;
        QVERIFY(b >= 0);
        const qint32 codeB = f.store.staff[size_t(b)].code;
        SchoolEditor e(f.context, {0, 0, 1, 2}, 0);
        e.show();
        QCOMPARE(e.currentRow(), 0);
        auto* post = box(e, u"M_CODE(0)"_s);
        post->setText(QString::number(codeA)); // the same clerk again: stays posted
        QCOMPARE(f.store.staff[size_t(a)].schoolCode, f.store.schools[0].code);
        post->clear();
        QTest::keyClicks(post, QString::number(codeB));
        QCOMPARE(box(e, u"M_NAME(0)"_s)->text(), f.store.staff[size_t(b)].name);
        QCOMPARE(f.store.staff[size_t(a)].schoolCode, 0);
        QVERIFY(f.store.staff[size_t(a)].schoolFullName.isEmpty());
        QVERIFY(!f.store.staff[size_t(a)].postingDate.isSet());
        QCOMPARE(f.store.staff[size_t(a)].municipalityIndex, qint16(99));
        QCOMPARE(f.store.staff[size_t(b)].schoolCode, f.store.schools[0].code);

        // Paging skips the further rows of the same school; nothing past the ends.
        e.pageUp();
        QCOMPARE(e.currentRow(), 1);
        QCOMPARE(f.store.schools[0].clerks[0].staffCode, codeB); // stored on paging
        e.pageUp();
        QCOMPARE(e.currentRow(), 2);
        e.pageUp();
        QCOMPARE(e.currentRow(), 2);
        e.pageDown();
        e.pageDown();
        e.pageDown();
        QCOMPARE(e.currentRow(), 0);

        // 参照 picks an unposted member for an empty post.
        testenv::onModal<StaffSelectDialog>([codeA](StaffSelectDialog* d) {
            const int code = int(StaffSelectColumn::Code);
            for (int r = 0; r < d->model()->rowCount(); ++r)
                if (d->model()->data(d->model()->index(r, code), Qt::DisplayRole).toString() == QString::number(codeA))
                    d->grid()->setCurrentIndex(d->model()->index(r, 0));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(e.findChild<QPushButton*>(u"B_PICUP(1)"_s), Qt::LeftButton);
        QCOMPARE(box(e, u"M_CODE(1)"_s)->text(), QString::number(codeA));
        e.accept();
        QCOMPARE(f.store.schools[0].clerks[1].staffCode, codeA);
    }

    void theSchoolNameSheet()
    {
        Fixture f(230, 10);
        f.store.schools[0].municipality = u"瑠璃東部学校組合"_s;
        f.store.schools[0].name = u"とても長い名前の星ヶ丘第二"_s;
        f.store.schools[0].kindText = u"特別支援学校"_s;
        RecordingDevice d;
        QVERIFY(runPrintJob(d, f.store, PrintRequest::forJob(PrintJobCode::SchoolNames, [](PrintJobContext& c) {
                                printSchoolNameSheet(c);
                            })));
        QCOMPARE(d.page(), 2); // 200 a page
        QList<RecordingDevice::Primitive> boxes;
        for (const auto& p : d.primitives)
            if (p.kind == RecordingDevice::Primitive::Box)
                boxes << p;
        QCOMPARE(boxes.size(), 230);
        QCOMPARE(boxes[0].x1, 15.0);
        QCOMPARE(boxes[0].y1, 15.0);
        QCOMPARE(boxes[0].x2, 60.0);
        QCOMPARE(boxes[0].y2, 20.0);
        QCOMPARE(boxes[51].x1, 60.0); // second column, second line
        QCOMPARE(boxes[51].y1, 20.0);
        QCOMPARE(boxes[199].x1, 150.0);
        QCOMPARE(boxes[199].y1, 260.0);
        QCOMPARE(boxes[200].page, 2);
        QCOMPARE(boxes[200].x1, 15.0);
        const auto longName = d.findText(f.store.schools[0].fullName());
        QVERIFY(longName);
        QCOMPARE(longName->x1, 18.5);
        QCOMPARE(longName->y1, 16.0);
        QVERIFY(longName->size < 8.5f && longName->size >= 5.0f);
        QVERIFY(longName->x2 - longName->x1 < 41 || longName->size < 5.1f);
        const auto shortName = d.findText(f.store.schools[1].fullName());
        QCOMPARE(shortName->size, 8.5f);
    }
};

QTEST_MAIN(TestSchoolWindows)
#include "tst_school_windows.moc"
