#include "app_context.h"
#include "grid_checks.h"
#include "recording_device.h"
#include "sample_roster.h"
#include "settings_store.h"
#include "staff_editor.h"
#include "staff_list_print.h"
#include "staff_list_window.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Fixture : WindowContext {
    explicit Fixture(int staff = 20, int schools = 15)
    {
        store.profile.areaName = u"瑠璃県"_s;
        store.paths.dataFolder = dir.path();
        SampleOptions o;
        o.schools = schools;
        o.staff = staff;
        generateSampleRoster(store, o);
    }
};

using testenv::cellText;
using testenv::headerText;
} // namespace

class TestStaffListWindow : public QObject {
    Q_OBJECT
private slots:
    void theGridAndItsDisplays()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.resize(1100, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), u"職員ﾘｽﾄ"_s);
        QCOMPARE(w.currentSort(), staff_list::BySchool); // 市町村・学校 on activation
        QCOMPARE(w.model()->rowCount(), 20);
        QCOMPARE(w.model()->columnCount(), 13);
        testenv::keepShot(&w, u"m_list"_s);
        QVERIFY2(testenv::clippedCaptions(&w).isEmpty(), qPrintable(testenv::clippedCaptions(&w).join(u", "_s)));
        const int row = w.model()->staffRow(0);
        const StaffRecord& s = f.store.staff[size_t(row)];
        QCOMPARE(cellText(w.model(), 0, StaffListColumn::No), u"1"_s);
        QCOMPARE(cellText(w.model(), 0, StaffListColumn::Name), s.name);
        QCOMPARE(cellText(w.model(), 0, StaffListColumn::Date), formatEraDate(s.birthDate, u"g ee mm dd"_s));
        QCOMPARE(cellText(w.model(), 0, StaffListColumn::Period),
                 periodColumnText(periodSince(s.birthDate, f.store.surveyDate, 0)));
        QCOMPARE(cellText(w.model(), 0, StaffListColumn::SchoolOrMail), s.schoolFullName);
        QVERIFY(w.grid()->isColumnHidden(int(StaffListColumn::AgeAtHire)));

        // Sort 6 shows the posting date and tenure.
        QComboBox* sortBox = w.sortChoice();
        const int byPosting = staff_list::ByPosting - staff_list::ByCode;
        sortBox->setCurrentIndex(byPosting);
        emit sortBox->activated(byPosting);
        QCOMPARE(w.currentSort(), staff_list::ByPosting);
        QCOMPARE(w.displayChoice()->currentIndex(), int(StaffListModel::Tenure));
        QCOMPARE(headerText(w.model(), StaffListColumn::Date), u"赴任年月日"_s);
        QCOMPARE(headerText(w.model(), StaffListColumn::Period), u"在籍"_s);
        Date previous;
        for (int r = 0; r < w.model()->rowCount(); ++r) {
            const Date d = f.store.staff[size_t(w.model()->staffRow(r))].postingDate;
            QVERIFY(d >= previous);
            previous = d;
        }
        // 年齢表示 belongs to the service display only.
        QCheckBox* ageBox = w.ageAndServiceBox();
        QVERIFY(!ageBox->isEnabled());
        w.displayChoice()->setCurrentIndex(StaffListModel::Service);
        QVERIFY(ageBox->isEnabled());
        ageBox->setChecked(true);
        QCOMPARE(headerText(w.model(), StaffListColumn::Date), u"年齢"_s);
        QVERIFY(!w.grid()->isColumnHidden(int(StaffListColumn::AgeAtHire)));
        w.displayChoice()->setCurrentIndex(StaffListModel::Age);
        QVERIFY(!ageBox->isChecked() && !ageBox->isEnabled());
        w.mailBox()->setChecked(true);
        QCOMPARE(headerText(w.model(), StaffListColumn::SchoolOrMail), u"メールアドレス"_s);
        QVERIFY(w.grid()->isColumnHidden(int(StaffListColumn::PostalCode)) &&
                w.grid()->isColumnHidden(int(StaffListColumn::Address)));
    }

    void everyDisplayShowsItsTextsWhole()
    {
        Fixture f(300, 120);
        StaffListWindow w(f.context);
        w.resize(1100, 600);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto check = [&w](const char* display) {
            const QStringList cut = testenv::cutColumns(w.grid(), w.model()->columns());
            QVERIFY2(cut.isEmpty(), qPrintable(QString::fromUtf8(display) + u": "_s + cut.join(u"; "_s)));
        };
        check("年齢表示");
        w.displayChoice()->setCurrentIndex(StaffListModel::Service);
        check("経験年数");
        w.ageAndServiceBox()->setChecked(true);
        check("経験年数・年齢表示");
        w.displayChoice()->setCurrentIndex(StaffListModel::Tenure);
        check("在籍年数");
        w.mailBox()->setChecked(true);
        check("メール表示");
        w.mailBox()->setChecked(false);
        check("メール表示を外して");
    }

    void filtersAndTheSurveyDate()
    {
        Fixture f;
        StaffListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QLineEdit* name = w.nameBox();
        const QString part = f.store.staff[3].name.left(1);
        name->setText(part);
        QVERIFY(!w.addButton()->isEnabled());
        QVERIFY(!w.deleteButton()->isEnabled());
        for (int r = 0; r < w.model()->rowCount(); ++r)
            QVERIFY(cellText(w.model(), r, StaffListColumn::Name).contains(part));
        // Editing with a filter shows one record, without paging.
        testenv::onModal<StaffEditor>([](StaffEditor* e) {
            QVERIFY(e->findChild<QLabel*>(u"ED_NO"_s)->isHidden());
            e->accept();
        });
        w.grid()->selectRow(0);
        w.editMember();
        name->clear();
        QVERIFY(w.addButton()->isEnabled());

        // Letters and impossible dates in the survey date.
        const Date before = f.store.surveyDate;
        w.surveyMonthBox()->setText(u"x"_s);
        QCOMPARE(f.store.surveyDate, before);
        w.surveyMonthBox()->setText(u"4"_s);
        // The year counts in the era shown beside it: 令和7 is 2025.
        QCOMPARE(w.surveyEraLabel()->text(), u"令和"_s);
        QCOMPARE(w.surveyYearBox()->text(), u"8"_s);
        w.surveyYearBox()->setText(u"7"_s);
        QCOMPARE(f.store.surveyDate, Date::fromYmd(2025, 4, 1));
        w.surveyDayBox()->setText(u"32"_s); // carried into the next month, as dates are
        QCOMPARE(f.store.surveyDate, Date::fromYmd(2025, 5, 2));
        {
            // A survey date before May 2019 is shown, and typed, in 平成.
            f.store.surveyDate = Date::fromYmd(2008, 4, 1);
            StaffListWindow older(f.context);
            QCOMPARE(older.surveyEraLabel()->text(), u"平成"_s);
            QCOMPARE(older.surveyYearBox()->text(), u"20"_s);
            older.surveyYearBox()->setText(u"21"_s);
            QCOMPARE(f.store.surveyDate, Date::fromYmd(2009, 4, 1));
            f.store.surveyDate = Date::fromYmd(2025, 5, 2);
        }
        // Full-width digits from an input method are the same numbers.
        w.surveyDayBox()->setText(u"１５"_s);
        QCOMPARE(f.store.surveyDate, Date::fromYmd(2025, 4, 15));
        int graded = 0;
        for (const StaffRecord& s : f.store.staff)
            graded += s.grade == 3 ? 1 : 0;
        w.gradeBox()->setText(u"３"_s);
        QCOMPARE(w.model()->rowCount(), graded);
        w.gradeBox()->setText(u"abc"_s); // not a grade: no filter
        QCOMPARE(w.model()->rowCount(), 20);
        QVERIFY(w.addButton()->isEnabled());

        // Nothing chosen: 編集 says so.
        w.grid()->setCurrentIndex(QModelIndex());
        w.editMember();
        QCOMPARE(f.notifier.messages.last().text, u"指定されていません"_s);
    }

    void addingAndDeleting()
    {
        Fixture f(1, 2);
        StaffListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const qint32 code = f.store.staff[0].code;
        QCOMPARE(f.store.schools[0].clerks[0].staffCode, code);

        testenv::onModal<StaffEditor>([](StaffEditor* e) {
            e->findChild<QLineEdit*>(u"S_CODE"_s)->setText(u"19990001"_s);
            e->findChild<QLineEdit*>(u"S_NAME"_s)->setText(u"追加　一郎"_s);
            e->accept();
        });
        w.addMember();
        QCOMPARE(f.store.staffCount(), qint16(2));
        QCOMPARE(f.store.staff[0].code, 19990001); // the table is in code order again
        QCOMPARE(w.model()->rowCount(), 2);

        // Delete the posted member: its post is emptied.
        w.grid()->clearSelection();
        w.grid()->selectRow(w.model()->rowOfCode(code));
        f.notifier.answers = {MessageAnswer::Yes};
        w.deleteMembers();
        QVERIFY(f.notifier.messages.last().text.endsWith(u"のデータを削除します"_s));
        QCOMPARE(f.store.staffCount(), qint16(1));
        QCOMPARE(f.store.schools[0].clerks[0].staffCode, 0);
        QCOMPARE(f.store.dirty, qint16(1));

        w.grid()->selectAll();
        f.notifier.answers = {MessageAnswer::Yes};
        w.deleteMembers();
        QCOMPARE(f.store.staffCount(), qint16(0));
        QCOMPARE(w.model()->rowCount(), 0);

        // A full table refuses more.
        Fixture full(cap::kMaxStaff, 10);
        StaffListWindow fw(full.context);
        fw.addMember();
        QCOMPARE(full.notifier.messages.last().text, u"名簿はこれ以上追加できません"_s);
        QCOMPARE(full.notifier.messages.last().icon, MessageIcon::Critical);
    }

    void theHiddenButtons()
    {
        Fixture f;
        f.store.staff[1].code = f.store.staff[2].code; // a duplicate for the check
        StaffListWindow w(f.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QPushButton* check = w.checkButton();
        QPushButton* change = w.changeButton();
        QVERIFY(check->isHidden() && change->isHidden());
        QTest::mouseClick(w.gradeLabel(), Qt::LeftButton);
        QVERIFY(!check->isHidden());
        QTest::mouseDClick(w.nameLabel(), Qt::LeftButton);
        QVERIFY(!change->isHidden());
        QTest::mouseClick(check, Qt::LeftButton);
        QCOMPARE(f.notifier.messages.last().text, u"チェック終了"_s);
        QVERIFY(f.notifier.texts().join(u'|').contains(u"職員コードが重複してます"_s));
        QVERIFY(QFile::exists(f.dir.filePath(u"NKMCHO.ERR"_s)));
    }

    void theTelephoneList()
    {
        Fixture f(60, 60);
        registerStaffListJobs();
        // 51 posted members, 9 without a school.
        for (int i = 51; i < 60; ++i)
            f.store.staff[size_t(i)].schoolFullName.clear();
        RecordingDevice d;
        QVERIFY(runPrintJob(d, f.store, PrintRequest::forJob(kStaffPhoneListJob)));
        QCOMPARE(d.page(), 2);
        const auto page1 = d.onPage(1);
        const auto page2 = d.onPage(2);
        auto bottoms = [](const QList<RecordingDevice::Primitive>& prims) {
            QList<std::pair<double, int>> out;
            for (const auto& p : prims)
                if (p.kind == RecordingDevice::Primitive::Line && p.x1 == 20 && p.x2 == 180 && p.y1 == p.y2)
                    out << std::pair{p.y1, p.lineWidth};
            return out;
        };
        const auto b1 = bottoms(page1);
        QCOMPARE(b1.size(), 50);
        QCOMPARE(b1.first(), (std::pair<double, int>{25, 2}));
        QCOMPARE(b1.last(), (std::pair<double, int>{270, 5}));
        const auto b2 = bottoms(page2);
        QCOMPARE(b2.size(), 1);
        QCOMPARE(b2.first(), (std::pair<double, int>{25, 5}));
        // The heading band and its texts.
        const auto heading = d.findText(u"職員TEL"_s);
        QVERIFY(heading && heading->x1 == 120 && heading->y1 == 16 && heading->size == 8.0f);
        QVERIFY(d.findText(u"学　校　名"_s)->x1 == 40);
        bool frame = false;
        for (const auto& p : page1)
            frame |= p.kind == RecordingDevice::Primitive::Box && p.x1 == 20 && p.y1 == 15 && p.x2 == 180 &&
                     p.y2 == 20 && p.lineWidth == 5;
        QVERIFY(frame);
        // The first row: school, its telephone, name and mobile.
        const StaffRecord& first = f.store.staff[0];
        const auto name = d.findText(first.name);
        QVERIFY(name && name->x1 == 91 && name->y1 == 21);
        QVERIFY(d.findText(first.mobile)->x1 == 116);
        QVERIFY(d.findText(first.schoolFullName)->x1 == 21);

        // Job 21 lists everybody.
        RecordingDevice all;
        runPrintJob(all, f.store, PrintRequest::forJob(kStaffPhoneListAllJob));
        int names = 0;
        for (const auto& p : all.texts())
            names += p.x1 == 91 ? 1 : 0;
        QCOMPARE(names, 60);
    }
};

QTEST_MAIN(TestStaffListWindow)
#include "tst_staff_list_window.moc"
