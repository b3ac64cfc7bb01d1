#include "periods.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "roster_print.h"
#include "roster_store.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace roster_print;

namespace {
struct Roster {
    RosterStore store;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 38);
        store.surveyDate = Date::fromYmd(2026, 4, 1);
        registerRosterJobs();
    }
    StaffRecord& member(qint32 code, const QString& name)
    {
        StaffRecord s;
        s.code = code;
        s.name = name;
        s.reading = u"ﾖﾐ"_s;
        s.jobTitle = u" 主  事 "_s;
        s.grade = 2;
        s.payStep = u"25"_s;
        s.birthDate = Date::fromYmd(1980, 5, 1);
        s.hireDate = Date::fromYmd(2004, 4, 1);
        store.staff.push_back(s);
        return store.staff.back();
    }
    SchoolRecord& school(qint32 code, std::initializer_list<qint32> posts)
    {
        SchoolRecord s;
        s.municipality = store.municipalities.entries[0].name;
        s.name = u"校"_s + QString::number(code);
        s.kindText = u"小学校"_s;
        s.code = code;
        s.tel = u"0123-45-%1"_s.arg(code);
        int i = 0;
        for (qint32 p : posts)
            s.clerks[size_t(i++)].staffCode = p;
        store.deriveSchoolFields(s);
        store.schools.push_back(s);
        return store.schools.back();
    }
    PrintOptions options; // what the options form would hand the next print
    RecordingDevice print(PrintJobCode code)
    {
        store.reindexStaff();
        RecordingDevice d;
        d.printableMm = QSizeF(200, 287);
        PrintRequest request = PrintRequest::forJob(PrintJobCode(code));
        request.options = options;
        runPrintJob(d, store, request);
        return d;
    }
};

QList<RecordingDevice::Primitive> textsAt(const RecordingDevice& d, double x, int page = 0)
{
    QList<RecordingDevice::Primitive> out;
    for (const auto& p : d.texts())
        if (std::abs(p.x1 - x) < 0.01 && (page == 0 || p.page == page))
            out << p;
    return out;
}
} // namespace

class TestRosterPrint : public QObject {
    Q_OBJECT
private slots:
    void periodCells()
    {
        QCOMPARE(periodCell(0, 5).years, u" 0."_s);
        QCOMPARE(periodCell(0, 5).months, u"5"_s);
        QCOMPARE(periodCell(48, 0).years, u"48"_s);
        QCOMPARE(periodCell(48, 0).months, QString());
        QCOMPARE(layoutFor(kRosterWide).rowsPerPage, 20);
        QVERIFY(layoutFor(kRosterWide).landscape);
        QCOMPARE(layoutFor(kStaffContacts).pitch, 5.0);
    }

    void thePageHeadAndItsOptions()
    {
        Roster r;
        r.member(20040001, u"一"_s);
        r.school(100, {20040001});
        r.options.heading = u"名簿"_s;
        r.options.startPage = 3;
        RecordingDevice d = r.print(kRoster25);
        // The request's heading, and the start page without a prefix; where
        // they and the frame land is in the reference listings.
        QVERIFY(d.findText(u"名簿"_s));
        QVERIFY(d.findText(u"3"_s));
        QVERIFY(d.findText(u"級･号給"_s));

        // Landscape: the page number at the top of even pages when asked.
        r.options.startPage = 2;
        r.options.flags = PrintOptions::EvenPageNumberTop;
        RecordingDevice wide = r.print(kRosterWide);
        QCOMPARE(wide.orientation, PrintDevice::Orientation::Landscape);
        const auto top = wide.findText(u"2"_s);
        QVERIFY(top && top->x1 == 140 && top->y1 == 8);
        r.options.flags = 0;
        r.options.startPage = 0; // numbers off: none, and no top numbers either
        RecordingDevice off = r.print(kRosterWide);
        for (const auto& p : off.texts())
            QVERIFY(!(p.x1 == 140 && (p.y1 == 8 || p.y1 == 182)));
        r.options.flags = PrintOptions::OmitGradeStep;
        RecordingDevice noGrade = r.print(kRoster25);
        QVERIFY(!noGrade.findText(u"級･号給"_s));
        QVERIFY(!noGrade.findText(u"2-25"_s));
    }

    void emptyFirstPostsAndLeftOutPosts()
    {
        Roster r;
        r.member(20040001, u"一"_s);
        r.member(20040002, u"二"_s).jobTitle = u" その他 "_s;
        r.member(20040003, u"三"_s);
        r.school(100, {});                                     // no clerk: one row, school cells only
        SchoolRecord& s = r.school(200, {20040002, 20040003}); // slot 0 left out (その他)
        s.clerks[1].status = u"産・育休補助"_s;
        RecordingDevice d = r.print(kRoster25);
        const auto numbers = textsAt(d, 15);
        // Rows: 校100 (number 1), 三 (number 2); 二 is left out.
        QCOMPARE(numbers.size(), 2);
        QCOMPARE(numbers[0].text, u"   1"_s);
        QCOMPARE(numbers[1].text, u"   2"_s);
        QVERIFY(!d.findText(u"二"_s));
        // The school of the left-out first post is not named on its later row.
        QVERIFY(!d.findText(u"  校200小学校"_s));
        QVERIFY(d.findText(u"  校100小学校"_s));
        // Per-school numbering: the second school's row has no number.
        r.store.profile.optionFlags = OptionFlag::NumberSchools;
        RecordingDevice bySchool = r.print(kRosterWide);
        const auto n2 = textsAt(bySchool, 15);
        QCOMPARE(n2.size(), 1);
        QCOMPARE(n2[0].text, u"   1"_s);
        // Substitutes left out on request.
        r.store.profile.optionFlags = 0;
        r.options.flags = PrintOptions::OmitSubstitutes;
        RecordingDevice without = r.print(kRoster25);
        QVERIFY(!without.findText(u"三"_s));
    }

    void aSchoolContinuedOnTheNextPage()
    {
        Roster r;
        qint32 code = 20040001;
        for (int i = 0; i < 17; ++i) {
            r.member(code, u"前%1"_s.arg(i));
            r.school(100 + i, {code++});
        }
        std::vector<qint32> seven;
        for (int i = 0; i < 7; ++i) {
            r.member(code, u"七%1"_s.arg(i));
            seven.push_back(code++);
        }
        SchoolRecord& big = r.school(500, {});
        for (int i = 0; i < 7; ++i)
            big.clerks[size_t(i)].staffCode = seven[size_t(i)];
        RecordingDevice d = r.print(kRosterWide); // 20 rows a page
        QCOMPARE(d.page(), 2);
        const auto names = textsAt(d, 97);
        QList<int> pages;
        for (const auto& p : names)
            if (p.text == big.fullName())
                pages << p.page;
        QCOMPARE(pages, (QList<int>{1, 2})); // named again on the first row of page 2
        const auto second = textsAt(d, 97, 2);
        QCOMPARE(second.size(), 1);
        QCOMPARE(second[0].y1, 32.0);
        // Copies: both numbered from the start page, the second on a new page.
        r.options.copies = 2;
        r.options.startPage = 1;
        RecordingDevice two = r.print(kRosterWide);
        QCOMPARE(two.page(), 4);
        QStringList numbers;
        for (const auto& p : two.texts())
            if (p.x1 == 140)
                numbers << p.text;
        QCOMPARE(numbers, (QStringList{u"1"_s, u"2"_s, u"1"_s, u"2"_s}));
    }

    void periodsAndGrades()
    {
        Roster r;
        StaffRecord& old = r.member(19850001, u"古参"_s);
        old.birthDate = Date::fromYmd(1959, 5, 1); // 66: no age
        old.hireDate = Date::fromYmd(1976, 4, 1);  // 50 years: no experience
        StaffRecord& fresh = r.member(20250001, u"新人"_s);
        fresh.birthDate = Date::fromYmd(2003, 5, 1);
        fresh.hireDate = Date::fromYmd(2025, 11, 1); // 0 years 5 months
        fresh.grade = 3;
        fresh.payStep.clear();
        StaffRecord& none = r.member(20200001, u"無級"_s);
        none.grade = 0;
        none.payStep.clear();
        r.school(100, {19850001, 20250001, 20200001});
        RecordingDevice d = r.print(kRoster25);
        for (const auto& p : textsAt(d, 70.3))
            QVERIFY(p.text != u"66"_s && p.text != u"50"_s);
        const auto exp = textsAt(d, 70.3);
        QVERIFY(std::any_of(exp.begin(), exp.end(), [](const auto& p) { return p.text == u" 0."_s; }));
        const auto months = textsAt(d, 74.3);
        QVERIFY(std::any_of(months.begin(), months.end(), [](const auto& p) { return p.text == u"5"_s; }));
        QVERIFY(!d.findText(u"3-"_s)); // job 10: an empty step prints nothing
        QVERIFY(!d.findText(u"0-"_s));
        RecordingDevice wide = r.print(kRosterWide);
        QVERIFY(wide.findText(u"3-"_s)); // jobs 11 and 13 print the grade and "-"
        QVERIFY(!wide.findText(u"0-"_s));
        RecordingDevice list11 = r.print(kRoster20);
        QVERIFY(list11.findText(u"3-"_s));
    }

    void agesFollowTheBirthdayRule()
    {
        // 誕生日に年齢加算: the age grows the day after the birthday's eve, as
        // the staff list and the tallies count it.
        Roster r;
        r.store.profile.optionFlags |= OptionFlag::AgeOnBirthday;
        StaffRecord& m = r.member(20040001, u"誕生"_s);
        m.birthDate = Date::fromYmd(1980, 5, 2);
        m.hireDate = Date::fromYmd(2004, 4, 1);
        r.school(100, {20040001});
        r.store.reindexStaff();
        const int row = r.store.findStaffByCode(20040001);
        calcAge(r.store, row);
        const StaffRecord& calc = r.store.staff[size_t(row)];
        QCOMPARE(calc.ageYears, qint16(45));
        QCOMPARE(calc.ageMonths, qint16(10));
        const struct {
            PrintJobCode code;
            double yearsX, monthsX;
        } columns[] = {{kRoster25, 70.3, 74.3}, {kRosterWide, 69.9, 73.9}, {kRoster20, 91.5, 95.8}};
        for (const auto& c : columns) {
            RecordingDevice d = r.print(c.code);
            // The age is the first period on the row; experience follows further right.
            const auto years = textsAt(d, c.yearsX);
            const auto months = textsAt(d, c.monthsX);
            QVERIFY2(!years.isEmpty() && !months.isEmpty(), qPrintable(QString::number(jobNumber(c.code))));
            QCOMPARE(years.first().text, u"45."_s);
            QCOMPARE(months.first().text, u"10"_s);
        }
    }

    void homeAddressesAndContacts()
    {
        Roster r;
        StaffRecord& one = r.member(20040001, u"一行"_s);
        one.address1 = u"瑠璃市本町1-2"_s;
        one.tel = u"0111-22-3333"_s;
        StaffRecord& two = r.member(20040002, u"二行"_s);
        two.address1 = u"瑠璃市本町3-4"_s;
        two.address2 = u"コーポ瑠璃 101"_s;
        two.mobile = u"090-1111-2222"_s;
        two.mail = u"clerk@example.jp"_s;
        SchoolRecord& s = r.school(100, {20040001, 20040002});
        s.mail = u"school@example.jp"_s;
        RecordingDevice d = r.print(kRoster20);
        // Two address lines: the home block moves up and prints smaller,
        // the second line ending at the column's right edge.
        const auto a1 = d.findText(u"瑠璃市本町1-2"_s);
        const auto a2 = d.findText(u"瑠璃市本町3-4"_s);
        QVERIFY(a1 && a2);
        const Layout rows = layoutFor(kRoster20);
        QVERIFY(a2->y1 - (rows.firstRow + rows.pitch) < a1->y1 - rows.firstRow);
        QVERIFY(a2->size < a1->size);
        const auto building = d.findText(u"コーポ瑠璃 101"_s);
        QVERIFY(building && std::abs(building->x2 - 194) < 0.01);
        // The school on every row of this list.
        int schoolRows = 0;
        for (const auto& p : d.texts())
            schoolRows += p.x1 == 16 && p.text.endsWith(u"立"_s) ? 1 : 0;
        QCOMPARE(schoolRows, 2);

        // The staff list shows the member's mobile and mail, the school list
        // the school's fax and mail (on the school's first row only).
        RecordingDevice staffContacts = r.print(kStaffContacts);
        QVERIFY(staffContacts.findText(u"090-1111-2222"_s));
        QVERIFY(staffContacts.findText(u"clerk@example.jp"_s));
        QVERIFY(!staffContacts.findText(u"school@example.jp"_s));
        QVERIFY(staffContacts.findText(u" 携帯"_s));
        RecordingDevice schoolContacts = r.print(kSchoolContacts);
        QVERIFY(schoolContacts.findText(u"ＦＡＸ"_s));
        QVERIFY(schoolContacts.findText(u"school@example.jp"_s));
        QVERIFY(!schoolContacts.findText(u"090-1111-2222"_s));
        QCOMPARE(textsAt(schoolContacts, 101).size(), 1); // the school's telephone on its first row only
    }
};

QTEST_MAIN(TestRosterPrint)
#include "tst_roster_print.moc"
