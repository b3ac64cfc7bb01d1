#include "print_output.h"
#include "recorded_page.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "roster_store.h"
#include "survey_form.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using recorded::near;
using recorded::textEndingAt;
using Kind = RecordingDevice::Primitive::Kind;

namespace {
struct Roster {
    RosterStore store;
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 20);
        survey_form::registerSurveyJob();
    }
    qint32 member(qint32 code, const QString& name)
    {
        StaffRecord s;
        s.code = code;
        s.name = name;
        s.reading = u"ﾖﾐ"_s;
        s.sex = 1;
        s.jobTitle = u"主任主事"_s;
        s.grade = 3;
        s.payStep = u"25"_s;
        s.birthDate = Date::fromYmd(1970, 5, 3);
        s.appointDate = Date::fromYmd(2005, 4, 1);
        s.hireDate = Date::fromYmd(1990, 4, 1);
        s.postingDate = Date::fromYmd(1960, 4, 1); // too early to print
        s.tel = u"011-111-1111"_s;
        s.address1 = u"瑠璃市桜木町1-2-3"_s;
        s.address2 = u"桜木ハイツ101"_s;
        s.post1 = u"理事"_s;
        s.post2 = u"研修"_s;
        store.staff.push_back(s);
        return code;
    }
    SchoolRecord& school(const QString& name, const QString& kind, std::initializer_list<qint32> posts, bool marked)
    {
        SchoolRecord s;
        s.municipality = store.municipalities.entries[0].name;
        s.name = name;
        s.reading = u"ﾖﾐ"_s;
        s.kindText = kind;
        s.code = 1000 + int(store.schools.size());
        s.number = 0;
        s.regularClasses = 12;
        s.tel = u"022-222-2222"_s;
        int i = 0;
        for (qint32 p : posts)
            s.clerks[size_t(i++)].staffCode = p;
        s.clerks[0].mark = marked ? 1 : 0;
        store.deriveSchoolFields(s);
        store.schools.push_back(s);
        return store.schools.back();
    }
    RecordingDevice print()
    {
        store.reindexStaff();
        RecordingDevice d;
        runPrintJob(d, store, PrintRequest::forJob(survey_form::kMarkedFormsJob));
        return d;
    }
};
} // namespace

class TestSurveyForm : public QObject {
    Q_OBJECT
private slots:
    void theEmptyForm()
    {
        // The frame, its captions and the five post blocks are in the
        // reference listings; the blank form has the officer note but none of
        // the instructions for a filled-in form.
        RecordingDevice d;
        survey_form::drawForm(d);
        QVERIFY(d.findText(u"＊ 瑠事研の役員名は、備考２に記入してください"_s));
        for (const auto& p : d.texts())
            QVERIFY2(!p.text.startsWith(u"＊ 退職者"_s) && !p.text.startsWith(u"＊ 赴任者"_s), qPrintable(p.text));
    }

    void filledForms()
    {
        Roster r;
        const qint32 a = r.member(20050001, u"青木 花子"_s);
        const qint32 c = r.member(20050003, u"上田 三郎"_s);
        r.school(u"東"_s, u"中学校"_s, {a, 0, c}, true);
        r.school(u"西"_s, u"小学校"_s, {}, false); // not marked: no page
        r.school(u"南"_s, QString(), {}, true);    // no clerk and no kind
        r.store.schools[0].clerks[0].status = u"産・育休補助"_s;
        r.store.schools[0].clerks[0].note = u"4月から"_s;
        r.store.reindexStaff();
        // A post whose code no staff record has (a roster read before it was tidied).
        r.store.schools[0].clerks[1].staffCode = 29999999;
        RecordingDevice d;
        QVERIFY(runPrintJob(d, r.store, PrintRequest::forJob(survey_form::kMarkedFormsJob)));
        QVERIFY(d.ended);
        QCOMPARE(d.page(), 2);

        auto onPage = [&d](int page, double x, double y) -> QString {
            for (const auto& p : d.onPage(page))
                if (p.kind == Kind::Text && near(p.x1, x) && near(p.y1, y) && !p.text.isEmpty())
                    return p.text;
            return QString();
        };
        // School values (where each lands is in the reference listings); the
        // kind ticked at 中学校, and no number for a school without one.
        QCOMPARE(onPage(1, 66, 19), u"東"_s);
        QVERIFY(d.findText(u"1000"_s));
        QCOMPARE(onPage(1, 91.5, 20.6), u"ﾚ"_s);
        QVERIFY(d.findText(u"12"_s));
        QVERIFY(!textEndingAt(d, 63, 20)); // no number
        QVERIFY(d.findText(u"＊ 退職者は、個人ﾃﾞｰﾀの左に「退職」と朱書きしてください"_s));
        // Block 0: the member, the dates in the era's years, the sex and the
        // post's status ticked in their boxes, the association posts first
        // among the remarks.
        const double y = 57;
        QCOMPARE(onPage(1, 21, y + 6.5), u"青木 花子"_s);
        QVERIFY(d.findText(u"20050001"_s));
        QCOMPARE(onPage(1, 58.7, y), u"○"_s);
        QVERIFY(d.findText(u"昭45年5月3日"_s));
        QVERIFY(d.findText(u"3 級 25 号給"_s));
        QVERIFY(d.findText(u"平17年4月1日"_s));
        QVERIFY(d.findText(u"平02年4月1日"_s));
        QVERIFY(onPage(1, 96, y + 9).isEmpty()); // posted in 1960: nothing
        QCOMPARE(onPage(1, 146.5, y + 5.1), u"ﾚ"_s);
        QCOMPARE(onPage(1, 165.5, y + 1), u"瑠事研 理事(研修)"_s);
        QCOMPARE(onPage(1, 165.5, y + 6), u"4月から"_s);
        // Two address lines fit the home box by printing smaller.
        const auto line1 = d.findText(u"瑠璃市桜木町1-2-3"_s);
        QVERIFY(line1 && d.findText(u"桜木ハイツ101"_s));
        QVERIFY(2 * (line1->y2 - line1->y1) < 5.5);
        // Block 1: a code nobody has, left empty; block 2: the third clerk.
        QVERIFY(onPage(1, 21, 57 + 43 + 6.5).isEmpty());
        QCOMPARE(onPage(1, 21, 57 + 86 + 6.5), u"上田 三郎"_s);
        // Page 2: the school without clerks, its kind ticked at 小学校.
        QCOMPARE(onPage(2, 66, 19), u"南"_s);
        QCOMPARE(onPage(2, 91.5, 18.1), u"ﾚ"_s);
        QVERIFY(onPage(2, 21, y + 6.5).isEmpty());

        // A look at the page, for a developer who asks for it.
        const QString folder = qEnvironmentVariable("NAKAMA_SHOTS");
        if (!folder.isEmpty()) {
            PrintRequest pdf = PrintRequest::forJob(survey_form::kMarkedFormsJob);
            pdf.pdfPath = folder + u"/survey.pdf"_s;
            printToPdf(r.store, pdf);
        }
    }

    void onlyFivePostsAndTheStop()
    {
        Roster r;
        std::vector<qint32> codes;
        for (int i = 0; i < 7; ++i)
            codes.push_back(r.member(20050010 + i, u"職員%1"_s.arg(i)));
        SchoolRecord& s = r.school(u"大"_s, u"小学校"_s, {}, true);
        for (int i = 0; i < 7; ++i)
            s.clerks[size_t(i)].staffCode = codes[size_t(i)];
        const RecordingDevice d = r.print();
        QVERIFY(d.findText(u"職員4"_s));
        QVERIFY(!d.findText(u"職員5"_s));

        recorded::ScriptedProgress progress;
        struct Stopping : RecordingDevice {
            recorded::ScriptedProgress* progress = nullptr;
            void startNewPage() override
            {
                progress->stop = true; // 中止 pressed as the second page begins
                RecordingDevice::startNewPage();
            }
        } stopping;
        stopping.progress = &progress;
        r.school(u"次"_s, u"小学校"_s, {}, true);
        r.store.reindexStaff();
        QVERIFY(!runPrintJob(stopping, r.store, PrintRequest::forJob(survey_form::kMarkedFormsJob), &progress));
        QVERIFY(stopping.aborted);
        QVERIFY(!stopping.findText(u"次"_s));
    }
};

QTEST_MAIN(TestSurveyForm)
#include "tst_survey_form.moc"
