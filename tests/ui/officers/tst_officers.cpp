#include "officer_list_window.h"
#include "officer_print.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "staff_editor.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Roster : WindowContext {
    qint32 nextCode = 20000001;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 20);
        store.surveyDate = Date::fromYmd(2008, 4, 1);
        officer_print::registerOfficerJob();
    }
    // An officer posted at a school of municipality `m`; returns the code.
    qint32 officer(const QString& post1, const QString& post2, int m, qint32 code = 0, bool posted = true)
    {
        StaffRecord s;
        s.code = code ? code : nextCode++;
        s.name = u"職員"_s + QString::number(s.code % 1000);
        s.reading = u"ｼｮｸｲﾝ"_s;
        s.post1 = post1;
        s.post2 = post2;
        s.tel = u"011-111-1111"_s;
        s.fax = u"011-111-2222"_s;
        s.mobile = u"090-0000-0000"_s;
        s.postalCode = u"900-0001"_s;
        s.address1 = u"瑠璃市桜木町1-2"_s;
        store.staff.push_back(s);
        if (posted) {
            SchoolRecord school;
            school.municipality = store.municipalities.entries[size_t(m)].name;
            school.name = u"第"_s + QString::number(store.schools.size() + 1);
            school.kindText = u"小学校"_s;
            school.code = 1000 + int(store.schools.size());
            school.tel = u"022-222-2222"_s;
            school.address = u"本町1"_s;
            school.clerks[0].staffCode = s.code;
            store.deriveSchoolFields(school);
            store.schools.push_back(school);
        }
        return s.code;
    }
    void ready() { store.reindexStaff(); }
    QStringList order(const std::vector<OfficerEntry>& list) const
    {
        QStringList out;
        for (const OfficerEntry& e : list)
            out << e.post1 + u'/' + e.post2 + u'/' + QString::number(e.municipalityIndex) + u'/' +
                       QString::number(e.code);
        return out;
    }
};
} // namespace

class TestOfficers : public QObject {
    Q_OBJECT
private slots:
    void ranksAndOrder()
    {
        QCOMPARE(officers::rankOf(u"会長"_s, QString()), 0);
        QCOMPARE(officers::rankOf(u"常任理事"_s, u"研修"_s), 20);
        QCOMPARE(officers::rankOf(u"理事"_s, u"研修"_s), 21);
        QCOMPARE(officers::rankOf(u"理事"_s, u"総務"_s), 61);
        QCOMPARE(officers::rankOf(u"全事研"_s, u"常任理事"_s), 72);
        QCOMPARE(officers::rankOf(u"全事研"_s, QString()), 74);
        QCOMPARE(officers::rankOf(u"特別委員長"_s, QString()), 120);
        QCOMPARE(officers::rankOf(u"書記"_s, QString()), 140);

        Roster r;
        const qint32 a = r.officer(u"理事"_s, u"研修"_s, 3);
        const qint32 b = r.officer(u"理事"_s, u"研修"_s, 1);
        const qint32 c = r.officer(u"常任理事"_s, u"研修"_s, 5);
        const qint32 low = r.officer(u"評議員"_s, QString(), 2, 20000100);
        const qint32 high = r.officer(u"評議員"_s, QString(), 2, 20000200);
        r.officer(u"会長"_s, QString(), 0, 0, false); // not posted: not an officer of the list
        r.officer(QString(), QString(), 0);           // no post
        r.ready();
        // A post that names a code no longer in the staff table is left out.
        r.store.schools.back().clerks[1].staffCode = 29999999;
        const auto list = officers::buildList(r.store);
        QCOMPARE(list.size(), size_t(5));
        QCOMPARE(list[0].code, c);
        QCOMPARE(list[1].code, b);
        QCOMPARE(list[2].code, a);
        QCOMPARE(list[3].code, high);
        QCOMPARE(list[4].code, low);
        QCOMPARE(list[1].district, r.store.municipalities.entries[1].districtName);
        QCOMPARE(list[1].schoolName, r.store.schools[1].name + u"小学校"_s);
        QCOMPARE(list[1].schoolAddress, r.store.schools[1].municipality + u"本町1"_s);
        QCOMPARE(list[1].homeTel, u"011-111-1111"_s);
    }

    void atMost101()
    {
        Roster r;
        for (int i = 0; i < 105; ++i)
            r.officer(u"評議員"_s, QString(), 0);
        r.ready();
        const auto list = officers::buildList(r.store);
        QCOMPARE(list.size(), size_t(101));
        // The first 101 in school order: the last four schools' clerks are out.
        for (const OfficerEntry& e : list)
            QVERIFY(e.code < 20000102);
    }

    void postGroups()
    {
        Roster r;
        for (const QString& p :
             {u"会長"_s, u"副会長"_s, u"会計"_s, u"顧問"_s, u"瑠教研"_s, u"会計監査"_s, u"常任理事"_s, u"理事"_s,
              u"全事研"_s, u"評議員"_s, u"研究委員長"_s, u"研究委員"_s, u"特別委員長"_s, u"特別委員"_s})
            r.officer(p, QString(), 0);
        r.ready();
        const auto list = officers::buildList(r.store);
        auto posts = [&list](const QString& group) {
            QStringList out;
            for (int i : officers::shownEntries(list, group))
                out << list[size_t(i)].post1;
            return out;
        };
        QCOMPARE(posts(u"研究委員"_s), (QStringList{u"研究委員長"_s, u"研究委員"_s}));
        QCOMPARE(posts(u"理事"_s), (QStringList{u"常任理事"_s, u"理事"_s}));
        QCOMPARE(posts(u"その他"_s),
                 (QStringList{u"会長"_s, u"副会長"_s, u"会計"_s, u"顧問"_s, u"瑠教研"_s, u"会計監査"_s}));
        QCOMPARE(posts(u"全"_s).size(), 14);
    }

    void theWindow()
    {
        Roster r;
        const qint32 chair = r.officer(u"会長"_s, QString(), 0);
        r.officer(u"研究委員"_s, QString(), 1);
        r.officer(u"研究委員長"_s, QString(), 2);
        r.ready();
        OfficerListWindow w(r.context);
        w.resize(1200, 500);
        w.show();
        QTableView* grid = w.grid();
        QCOMPARE(w.model()->rowCount(), 3);
        const auto cell = [&w](int row, OfficerListColumn column) {
            return w.model()->index(row, int(column)).data().toString();
        };
        const auto hidden = [grid](OfficerListColumn column) { return grid->isColumnHidden(int(column)); };
        QCOMPARE(cell(0, OfficerListColumn::Post1), u"会長"_s);
        QCOMPARE(cell(0, OfficerListColumn::School),
                 r.store.schools[0].municipality + u"立"_s + r.store.schools[0].name + u"小学校"_s);
        // School contacts first; home columns hidden, the choice of phone too.
        QFrame* frame = w.homeChoiceFrame();
        QVERIFY(!frame->isVisible());
        QVERIFY(!hidden(OfficerListColumn::SchoolTel));
        QVERIFY(hidden(OfficerListColumn::HomeTel));
        QTest::mouseClick(w.homeContactsButton(), Qt::LeftButton);
        QVERIFY(frame->isVisible());
        QVERIFY(hidden(OfficerListColumn::SchoolTel));
        QVERIFY(hidden(OfficerListColumn::SchoolAddress));
        QVERIFY(!hidden(OfficerListColumn::HomeTel));
        QVERIFY(!hidden(OfficerListColumn::Mobile));
        QVERIFY(hidden(OfficerListColumn::HomeFax));
        QTest::mouseClick(w.faxButton(), Qt::LeftButton);
        QVERIFY(hidden(OfficerListColumn::Mobile));
        QVERIFY(!hidden(OfficerListColumn::HomeFax));
        testenv::keepShot(&w, u"officers"_s);

        // The post group narrows the rows and is what job 40 prints.
        QComboBox* group = w.groupChoice();
        group->setCurrentIndex(group->findText(u"研究委員"_s));
        emit group->activated(group->currentIndex());
        QCOMPARE(w.model()->rowCount(), 2);
        QCOMPARE(r.context.session.selections.officerGroup, u"研究委員"_s);

        // 編集 without a row.
        grid->setCurrentIndex(QModelIndex());
        QTest::mouseClick(w.editButton(), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"指定されていません"_s);
        QCOMPARE(r.notifier.messages.last().icon, MessageIcon::Critical);

        // 編集 opens the staff editor on the officer of the row shown; the row follows the edit.
        group->setCurrentIndex(0);
        emit group->activated(0);
        grid->setCurrentIndex(w.model()->index(0, 0));
        int editedRow = -1;
        testenv::onModal<StaffEditor>([&](StaffEditor* e) {
            editedRow = e->currentRow();
            auto* fax = e->findChild<QLineEdit*>(u"S_FAX"_s);
            fax->selectAll();
            QTest::keyClicks(fax, u"099-999-9999"_s);
            e->reject(); // closing the editor keeps what was typed
        });
        QTest::mouseClick(w.editButton(), Qt::LeftButton);
        QCOMPARE(editedRow, r.store.findStaffByCode(chair));
        QCOMPARE(cell(0, OfficerListColumn::HomeFax), u"099-999-9999"_s);

        // With a post group chosen, an officer edited out of the group leaves
        // the list shown; one still in it stays selected.
        group->setCurrentIndex(group->findText(u"研究委員"_s));
        emit group->activated(group->currentIndex());
        QCOMPARE(w.model()->rowCount(), 2);
        const QString stays = cell(1, OfficerListColumn::Name);
        grid->setCurrentIndex(w.model()->index(0, int(OfficerListColumn::Name)));
        testenv::onModal<StaffEditor>([](StaffEditor* e) {
            auto* post = e->findChild<QComboBox*>(u"YAKU1"_s);
            post->setCurrentIndex(post->findText(u"会計"_s));
            e->accept();
        });
        QTest::mouseClick(w.editButton(), Qt::LeftButton);
        QCOMPARE(w.model()->rowCount(), 1);
        QCOMPARE(cell(0, OfficerListColumn::Name), stays);
        QCOMPARE(group->currentText(), u"研究委員"_s);
        grid->setCurrentIndex(w.model()->index(0, int(OfficerListColumn::Name)));
        testenv::onModal<StaffEditor>([](StaffEditor* e) { e->accept(); });
        QTest::mouseClick(w.editButton(), Qt::LeftButton);
        QCOMPARE(w.model()->rowCount(), 1);
        QCOMPARE(grid->currentIndex().row(), 0);
    }

    void theOfficerRoster()
    {
        Roster r;
        for (int i = 0; i < 21; ++i)
            r.officer(u"評議員"_s, QString(), i % 3);
        const qint32 chairCode = r.officer(u"会長"_s, u"兼務"_s, 0);
        r.officer(u"特別委員長"_s, QString(), 0);
        r.ready();
        r.store.staff[size_t(r.store.findStaffByCode(chairCode))].address2 = u"桜木ハイツ101"_s;
        PrintRequest request = PrintRequest::forJob(officer_print::kOfficerRosterJob);
        request.options.heading = u"瑠璃県学校事務職員協議会 役員名簿"_s;
        RecordingDevice d;
        d.printableMm = QSizeF(200, 287);
        request.session.selections.officerGroup = u"全"_s;
        QVERIFY(runPrintJob(d, r.store, request));
        QCOMPARE(d.page(), 2);
        // Every page has its heading, its number at the foot and its frame
        // (where each lands is in the reference listing).
        for (int page = 1; page <= 2; ++page) {
            int headings = 0, numbers = 0, frames = 0;
            for (const auto& p : d.onPage(page)) {
                headings += p.kind == RecordingDevice::Primitive::Text && p.text == request.options.heading;
                numbers += p.kind == RecordingDevice::Primitive::Text && p.text == QString::number(page) && p.y1 > 270;
                frames += p.kind == RecordingDevice::Primitive::Box && p.lineWidth == 7;
            }
            QCOMPARE(headings, 1);
            QCOMPARE(numbers, 1);
            QCOMPARE(frames, 1);
        }
        // The chairman first: post centred in its column, (兼務) under it.
        const auto chair = d.findText(u"会長"_s);
        QVERIFY(chair);
        QCOMPARE(chair->page, 1);
        QCOMPARE(chair->y1, 31.0);
        QVERIFY(std::abs((chair->x1 + chair->x2) / 2 - 23) < 0.01);
        const auto second = d.findText(u"(兼務)"_s);
        QVERIFY(second);
        QCOMPARE(second->y1, 36.0);
        // A post too long for its column is set smaller; a short one stays at 10 pt.
        const auto longPost = d.findText(u"特別委員長"_s);
        QVERIFY(longPost);
        QVERIFY(longPost->x2 - longPost->x1 < 15.5);
        QVERIFY(longPost->x1 > 15);
        QVERIFY(longPost->size < 10);
        QCOMPARE(chair->size, 10.0f);
        // A second address line: the home block in 8 pt, that line ending at 194.
        const auto flat = d.findText(u"桜木ハイツ101"_s);
        QVERIFY(flat);
        QCOMPARE(flat->size, 8.0f);
        QVERIFY(std::abs(flat->x2 - 194) < 0.01);
        // Row 20 (the 21st shown) is the first row of page 2.
        int page2Rows = 0;
        for (const auto& p : d.onPage(2))
            page2Rows += p.kind == RecordingDevice::Primitive::Text && p.text == u"評議員"_s;
        QCOMPARE(page2Rows, 2); // and 特別委員長 after them
    }
};

QTEST_MAIN(TestOfficers)
#include "tst_officers.moc"
