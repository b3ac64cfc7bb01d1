#include "era_years.h"
#include "reference_tables.h"
#include "test_env.h"
#include "transfer_window.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Roster : WindowContext {
    qint32 nextCode = 20000001;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        store.paths.dataFolder = dir.path();
        store.fiscalYear = 20;
        buildMunicipalityTable(store, 20);
        store.surveyDate = Date::fromYmd(2008, 4, 1);
    }
    qint32 member(const QString& name)
    {
        StaffRecord s;
        s.code = nextCode++;
        s.name = name;
        s.postingDate = Date::fromYmd(2001, 4, 1);
        s.tenureAdjustMonths = 5;
        store.staff.push_back(s);
        return s.code;
    }
    int school(const QString& name, const QString& kind, std::initializer_list<qint32> posts)
    {
        SchoolRecord s;
        s.municipality = store.municipalities.entries[0].name;
        s.name = name;
        s.kindText = kind;
        s.code = 100 + int(store.schools.size());
        int i = 0;
        for (qint32 p : posts) {
            s.clerks[size_t(i)].staffCode = p;
            s.clerks[size_t(i)].status = u"再任用"_s;
            for (const StaffRecord& m : store.staff)
                if (m.code == p)
                    s.clerks[size_t(i)].staffName = m.name;
            ++i;
        }
        store.deriveSchoolFields(s);
        store.schools.push_back(s);
        return int(store.schools.size()) - 1;
    }
    void ready() { store.reindexStaff(); }
    TransferEntry move(qint32 code, int from, int to) const
    {
        TransferEntry e;
        e.staffCode = code;
        for (const StaffRecord& m : store.staff)
            if (m.code == code)
                e.name = m.name;
        e.oldSchoolCode = store.schools[size_t(from)].code;
        e.oldSchoolName = store.schools[size_t(from)].fullName();
        if (to >= 0) {
            e.newSchoolCode = store.schools[size_t(to)].code;
            e.newSchoolName = store.schools[size_t(to)].fullName();
        }
        return e;
    }
    const StaffRecord& staffOf(qint32 code) const { return store.staff[size_t(store.findStaffByCode(code))]; }
    const ClerkSlot& post(int school, int slot) const { return store.schools[size_t(school)].clerks[size_t(slot)]; }
};
} // namespace

class TestTransfers : public QObject {
    Q_OBJECT
private slots:
    void fiscalYearOfTheTransferDate()
    {
        QCOMPARE(transfers::fiscalHeiseiYear(QDate(2009, 2, 10)), 20);
        QCOMPARE(transfers::fiscalHeiseiYear(QDate(2009, 3, 31)), 20);
        QCOMPARE(transfers::fiscalHeiseiYear(QDate(2009, 4, 1)), 21);
        Roster r;
        TransferWindow w(r.context);
        // April 1 of this fiscal year, in the era it falls in (令和8 for 2026).
        const std::optional<EraYear> era =
            eraYearOf(fiscalYearFirstDay(transfers::fiscalHeiseiYear(QDate::currentDate())));
        QVERIFY(era);
        QCOMPARE(w.dateLabel()->text(), u"異動日 "_s + era->name);
        QCOMPARE(w.yearBox()->text(), QString::number(era->year));
        QCOMPARE(w.monthBox()->text(), u"4"_s);
        QCOMPARE(w.dayBox()->text(), u"1"_s);
        QCOMPARE(QFileInfo(transfers::logFilePath(r.store)).fileName(), u"異動平成20年度.NKD"_s);
    }

    void applyingABatch()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s), c = r.member(u"上田"_s),
                     d = r.member(u"江藤"_s);
        const int two = r.school(u"東"_s, u"小学校"_s, {a, b});
        const int empty1 = r.school(u"西"_s, u"小学校"_s, {});
        const int empty2 = r.school(u"南"_s, u"中学校"_s, {});
        const int third = r.school(u"北"_s, u"中学校"_s, {c});
        const int fourth = r.school(u"中央"_s, u"小学校"_s, {d});
        r.ready();

        // Both clerks of one school leave for two others.
        const Date date = Date::fromYmd(2009, 4, 1);
        transfers::applyBatch(r.store, {r.move(a, two, empty1), r.move(b, two, empty2)}, date);
        QCOMPARE(r.post(two, 0).staffCode, 0);
        QCOMPARE(r.post(two, 1).staffCode, 0);
        QCOMPARE(r.post(empty1, 0).staffCode, a);
        QCOMPARE(r.post(empty1, 0).staffName, u"青木"_s);
        QVERIFY(r.post(empty1, 0).status.isEmpty());
        QCOMPARE(r.post(empty2, 0).staffCode, b);
        QCOMPARE(r.staffOf(a).schoolCode, r.store.schools[size_t(empty1)].code);
        QCOMPARE(r.staffOf(a).postingDate, date);
        QCOMPARE(r.staffOf(a).tenureAdjustMonths, qint16(0));
        QCOMPARE(r.store.dirty, qint16(1));

        // A swap: each takes the post the other left.
        transfers::applyBatch(r.store, {r.move(c, third, fourth), r.move(d, fourth, third)}, date);
        QCOMPARE(r.post(third, 0).staffCode, d);
        QCOMPARE(r.post(fourth, 0).staffCode, c);

        // Leaving for no school: the member is posted nowhere afterwards.
        transfers::applyBatch(r.store, {r.move(a, empty1, -1)}, Date::fromYmd(2009, 10, 1));
        QCOMPARE(r.post(empty1, 0).staffCode, 0);
        QCOMPARE(r.staffOf(a).schoolCode, 0);
        QVERIFY(r.staffOf(a).schoolFullName.isEmpty());
        QCOMPARE(r.staffOf(a).postingDate, Date::fromYmd(2009, 10, 1));
    }

    void clerksBehindALeaverMoveUp()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s), c = r.member(u"上田"_s);
        const int s = r.school(u"東"_s, u"小学校"_s, {a, b, c});
        r.ready();
        transfers::applyBatch(r.store, {r.move(a, s, -1)}, Date::fromYmd(2009, 4, 1));
        // Otherwise 伊藤 and 上田 would sit behind an empty post and be lost at the next save.
        QCOMPARE(r.store.schools[size_t(s)].filledSlotCount(), 2);
        QCOMPARE(r.post(s, 0).staffCode, b);
        QCOMPARE(r.post(s, 0).status, u"再任用"_s);
        QCOMPARE(r.post(s, 1).staffCode, c);
        QCOMPARE(r.staffOf(b).schoolCode, r.store.schools[size_t(s)].code);

        // A school without a free post takes nobody, and the batch goes on.
        Roster f;
        std::vector<qint32> seven;
        for (int i = 0; i < 7; ++i)
            seven.push_back(f.member(u"職員%1"_s.arg(i)));
        const qint32 x = f.member(u"外山"_s);
        const int full = f.school(u"満"_s, u"小学校"_s, {});
        for (int i = 0; i < 7; ++i)
            f.store.schools[size_t(full)].clerks[size_t(i)].staffCode = seven[size_t(i)];
        const int from = f.school(u"元"_s, u"小学校"_s, {x});
        f.ready();
        transfers::applyBatch(f.store, {f.move(x, from, full)}, Date::fromYmd(2009, 4, 1));
        QCOMPARE(f.post(from, 0).staffCode, 0);
        QCOMPARE(f.post(full, 6).staffCode, seven[6]);
    }

    void multipleClerkQuestions()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s), c = r.member(u"上田"_s),
                     d = r.member(u"江藤"_s), e = r.member(u"小野"_s);
        const int from1 = r.school(u"一"_s, u"小学校"_s, {a});
        const int from2 = r.school(u"二"_s, u"小学校"_s, {b});
        const int occupied = r.school(u"三"_s, u"小学校"_s, {c});
        const int special = r.school(u"四"_s, u"特別支援学校"_s, {d});
        const int other = r.school(u"五"_s, u"中学校"_s, {e});
        r.ready();

        // Two joining an ordinary school whose first post is held: asked for each reason.
        auto asks = transfers::schoolsToConfirm(r.store, {r.move(a, from1, occupied), r.move(b, from2, occupied)});
        QCOMPARE(asks, (std::vector<int>{occupied, occupied, occupied}));
        // A special-needs school never asks.
        asks = transfers::schoolsToConfirm(r.store, {r.move(a, from1, special), r.move(b, from2, special)});
        QVERIFY(asks.empty());
        // A swap asks nothing.
        asks = transfers::schoolsToConfirm(r.store, {r.move(c, occupied, other), r.move(e, other, occupied)});
        QVERIFY(asks.empty());
        // Entries read back from the log are history and ask nothing.
        TransferEntry old = r.move(a, from1, occupied);
        old.loggedDate = Date::fromYmd(2008, 4, 1);
        QVERIFY(transfers::schoolsToConfirm(r.store, {old}).empty());
    }

    void theTransferLog()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s);
        const int s1 = r.school(u"東"_s, u"小学校"_s, {a});
        const int s2 = r.school(u"西"_s, u"小学校"_s, {b});
        r.ready();
        const QString path = transfers::logFilePath(r.store);
        QString error;
        TransferEntry first = r.move(a, s1, s2);
        first.name = u"青木"_s;
        QVERIFY(transfers::writeLog(path, {first}, Date::fromYmd(2009, 4, 1), false, &error));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QVERIFY(bytes.startsWith("#2009-04-01#,"));
        QVERIFY(bytes.endsWith(",\"\",0,\"\",0\r\n"));
        QVERIFY(bytes.contains(",20000001,"));

        TransferEntry second = r.move(b, s2, -1);
        second.name = u"伊藤"_s;
        QVERIFY(transfers::writeLog(path, {second}, Date::fromYmd(2009, 10, 1), false, &error));
        auto log = transfers::readLog(path, &error);
        QVERIFY2(log, qPrintable(error));
        QCOMPARE(log->size(), size_t(2));
        QCOMPARE((*log)[0].name, u"青木"_s);
        QCOMPARE((*log)[0].newSchoolCode, r.store.schools[size_t(s2)].code);
        QCOMPARE((*log)[0].loggedDate, std::optional<Date>(Date::fromYmd(2009, 4, 1)));
        QCOMPARE((*log)[1].newSchoolCode, 0);
        QCOMPARE((*log)[1].loggedDate, std::optional<Date>(Date::fromYmd(2009, 10, 1)));

        // Written anew from a loaded list: the old lines keep their own dates.
        std::vector<TransferEntry> all{(*log)[1]};
        TransferEntry third = r.move(a, s2, s1);
        all.push_back(third);
        QVERIFY(transfers::writeLog(path, all, Date::fromYmd(2010, 4, 1), true, &error));
        log = transfers::readLog(path, &error);
        QCOMPARE(log->size(), size_t(2));
        QCOMPARE((*log)[0].loggedDate, std::optional<Date>(Date::fromYmd(2009, 10, 1)));
        QCOMPARE((*log)[1].loggedDate, std::optional<Date>(Date::fromYmd(2010, 4, 1)));

        // History is not carried out again.
        const auto before = r.store.schools;
        transfers::applyBatch(r.store, {(*log)[0]}, Date::fromYmd(2010, 4, 1));
        QCOMPARE(r.store.schools[size_t(s2)].clerks[0].staffCode, before[size_t(s2)].clerks[0].staffCode);

        // A damaged log is refused with a reason.
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("#2009-04-01#,\"x\",notanumber\r\n");
        f.close();
        error.clear();
        QVERIFY(!transfers::readLog(path, &error));
        QVERIFY(!error.isEmpty());
    }

    void collectingAndStartingInTheWindow()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s), c = r.member(u"上田"_s),
                     d = r.member(u"江藤"_s);
        const int s1 = r.school(u"東"_s, u"小学校"_s, {a, b});
        const int s2 = r.school(u"西"_s, u"小学校"_s, {});
        const int s3 = r.school(u"南"_s, u"中学校"_s, {c});
        const int s4 = r.school(u"北"_s, u"中学校"_s, {d});
        r.ready();
        TransferWindow w(r.context);
        w.show();
        // The selector picks (old school, post) in mode 0, the new school in mode 1.
        std::vector<std::tuple<int, int, int>> picks;
        int opened = 0;
        w.runSelector = [&](TransferPick& p) {
            const auto [school, post, to] = picks.front();
            ++opened;
            if (p.mode == 0) {
                p.oldSchool = school;
                p.oldPost = post;
            } else {
                p.newSchool = to;
                picks.erase(picks.begin());
            }
        };
        QPushButton* add = w.addButton();
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"旧所属を指定されていません"_s);

        picks = {{s1, 0, s2}, {s1, 1, -1}, {s3, 0, s4}};
        for (int i = 0; i < 3; ++i) {
            QTest::mouseClick(w.pickOldButton(), Qt::LeftButton);
            QTest::mouseClick(add, Qt::LeftButton);
        }
        QCOMPARE(opened, 6); // picking the post left goes straight on to the school joined
        QTableWidget* grid = w.grid();
        const auto item = [grid](int row, TransferColumn column) { return grid->item(row, int(column))->text(); };
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(item(0, TransferColumn::Name), u"青木"_s);
        QCOMPARE(item(0, TransferColumn::Code), QString::number(a));
        QCOMPARE(item(0, TransferColumn::NewSchool), r.store.schools[size_t(s2)].fullName());
        QVERIFY(item(1, TransferColumn::NewSchool).isEmpty());
        QVERIFY(w.oldSchoolLabel()->text().isEmpty());

        // Deleting the second leaves rows 1 and 2.
        grid->setCurrentCell(1, 0);
        QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(item(1, TransferColumn::No), u"2"_s);
        QCOMPARE(item(1, TransferColumn::Name), u"上田"_s);
        testenv::keepShot(&w, u"transfers"_s);

        // No date, no start.
        QLineEdit* day = w.dayBox();
        day->clear();
        QPushButton* start = w.startButton();
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"異動日を設定してください"_s);
        QCOMPARE(r.post(s1, 0).staffCode, a);

        // 上田 joins 北, which keeps 江藤: the question; No leaves everything as it was.
        testenv::typeText(day, u"1"_s);
        w.yearBox()->setText(u"8"_s); // 令和8: 2026
        r.notifier.answers = {MessageAnswer::No};
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text,
                 r.store.schools[size_t(s4)].fullName() + u"\r\n事務職員が複数になります良いですか"_s);
        QCOMPARE(r.post(s1, 0).staffCode, a);
        QVERIFY(w.isVisible());

        // Yes: carried out, logged, closed.
        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(w.result(), int(QDialog::Accepted));
        QCOMPARE(r.post(s2, 0).staffCode, a);
        QCOMPARE(r.post(s1, 0).staffCode, b);
        QCOMPARE(r.post(s3, 0).staffCode, 0);
        QCOMPARE(r.post(s4, 0).staffCode, d);
        QCOMPARE(r.post(s4, 1).staffCode, c);
        QCOMPARE(r.staffOf(c).postingDate, Date::fromYmd(2026, 4, 1));
        const auto log = transfers::readLog(transfers::logFilePath(r.store), nullptr);
        QVERIFY(log);
        QCOMPARE(log->size(), size_t(2));
    }

    void loadingTheLogIntoTheWindow()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s);
        const int s1 = r.school(u"東"_s, u"小学校"_s, {a});
        const int s2 = r.school(u"西"_s, u"小学校"_s, {});
        r.ready();
        TransferEntry old = r.move(a, s2, s1);
        old.name = u"青木"_s;
        QVERIFY(transfers::writeLog(transfers::logFilePath(r.store), {old, old}, Date::fromYmd(2008, 4, 1), false,
                                    nullptr));
        TransferWindow w(r.context);
        w.show();
        QTest::mouseDClick(w.dateLabel(), Qt::LeftButton);
        QVERIFY(w.logLoaded());
        QTableWidget* grid = w.grid();
        QCOMPARE(grid->rowCount(), 2);
        // Correcting the log: one duplicate line removed, then 開始.
        grid->setCurrentCell(1, 0);
        QTest::mouseClick(w.deleteButton(), Qt::LeftButton);
        QTest::mouseClick(w.startButton(), Qt::LeftButton);
        const auto log = transfers::readLog(transfers::logFilePath(r.store), nullptr);
        QCOMPARE(log->size(), size_t(1));
        QCOMPARE((*log)[0].loggedDate, std::optional<Date>(Date::fromYmd(2008, 4, 1)));
        // The history line was not carried out a second time.
        QCOMPARE(r.post(s1, 0).staffCode, a);
        QCOMPARE(r.post(s1, 1).staffCode, 0);
        QCOMPARE(r.post(s2, 0).staffCode, 0);
    }

    void theSelector()
    {
        Roster r;
        const qint32 a = r.member(u"青木"_s), b = r.member(u"伊藤"_s);
        r.school(u"東"_s, u"小学校"_s, {a, b});
        const int s2 = r.school(u"西"_s, u"中学校"_s, {});
        r.school(u"南"_s, u"特別支援学校"_s, {});
        r.ready();
        TransferPick pick;
        pick.filter.kinds = 0;
        {
            TransferSelectDialog d(r.context, pick);
            d.show();
            QTest::mouseClick(d.extractButton(), Qt::LeftButton);
            QCOMPARE(r.notifier.messages.last().text, u"学校種を選択してください"_s);
            d.kindChecks().elementary->setChecked(true);
            d.kindChecks().junior->setChecked(true);
            QTest::mouseClick(d.extractButton(), Qt::LeftButton);
            // 東 with its second clerk on a row of its own, then 西.
            QCOMPARE(d.model()->rowCount(), 3);
            testenv::keepShot(&d, u"transfer-select"_s);
            QCOMPARE(d.model()->index(1, int(TransferSelectColumn::ClerkName)).data().toString(), u"伊藤"_s);
            QCOMPARE(pick.filter.kinds, 3);
            QCOMPARE(r.context.session.schoolFilter.kinds, 7); // the school list's own stays
            d.grid()->selectRow(1);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QCOMPARE(pick.oldSchool, 0);
            QCOMPARE(pick.oldPost, 1);
        }
        {
            // Picking the school joined: schools only, no names; the kinds are remembered.
            pick.mode = 1;
            TransferSelectDialog d(r.context, pick);
            d.show();
            QVERIFY(d.grid()->isColumnHidden(int(TransferSelectColumn::ClerkName)));
            QVERIFY(d.kindChecks().junior->isChecked());
            QVERIFY(!d.kindChecks().special->isChecked());
            QTest::mouseClick(d.extractButton(), Qt::LeftButton);
            QCOMPARE(d.model()->rowCount(), 2);
            d.grid()->selectRow(1);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QCOMPARE(pick.newSchool, s2);
        }
        {
            TransferSelectDialog d(r.context, pick);
            d.show();
            QTest::mouseClick(d.cancelButton(), Qt::LeftButton);
            QCOMPARE(pick.newSchool, -1);
            QCOMPARE(pick.oldPost, 1); // the other mode's pick stays
        }
    }
};

QTEST_MAIN(TestTransfers)
#include "tst_transfers.moc"
