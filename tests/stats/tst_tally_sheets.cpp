#include "recorded_page.h"
#include "recording_device.h"
#include "reference_tables.h"
#include "roster_store.h"
#include "tally_sheets.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tally_sheets;
using Kind = RecordingDevice::Primitive::Kind;
using Primitive = RecordingDevice::Primitive;

using recorded::near;
using recorded::textAt;

namespace {
QString textOf(const RecordingDevice& d, double x, double y)
{
    const auto p = textAt(d, x, y);
    return p ? p->text : u"<none>"_s;
}

std::optional<Primitive> lineAt(const RecordingDevice& d, Kind kind, double x1, double y1, double x2, double y2)
{
    for (const auto& p : d.primitives)
        if (p.kind == kind && near(p.x1, x1) && near(p.y1, y1) && near(p.x2, x2) && near(p.y2, y2))
            return p;
    return std::nullopt;
}

int lineWidthAt(const RecordingDevice& d, Kind kind, double x1, double y1, double x2, double y2)
{
    const auto p = lineAt(d, kind, x1, y1, x2, y2);
    return p ? p->lineWidth : -1;
}

struct Sheets {
    RosterStore store;
    RosterSession session;
    RecordingDevice device;
    Sheets()
    {
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 20);
        store.fiscalYear = 20;
        store.surveyDate = Date::fromYmd(2008, 4, 1);
        device.printableMm = QSizeF(200, 287);
        device.printableOffsetMm = QPointF(5, 5);
    }
    PrintRequest request = PrintRequest::forJob(PrintJobCode::TallySheet);
    RecordingDevice& run(const std::function<void(PrintJobContext&)>& job)
    {
        PrintJobContext c{device, store, request};
        job(c);
        return device;
    }
};

DistrictHeader header(int names, const QString& split = QString())
{
    DistrictHeader h;
    h.fiscalYear = 20;
    h.surveyDate = Date::fromYmd(2008, 4, 1);
    for (int i = 0; i < names; ++i)
        h.districtNames << u"地区%1"_s.arg(i);
    h.splitDistrict = split;
    return h;
}
} // namespace

class TestTallySheets : public QObject {
    Q_OBJECT
private slots:
    void summarySheet()
    {
        tally::SummaryTally t;
        t.byCategory[2][0] = {3, 1}; // 主任主事, 小学校
        t.byCategory[2][3] = {3, 1};
        t.byCategory[6][1] = {1, 0}; // 5級事務長, 中学校
        t.byCategory[6][3] = {1, 0};
        t.categoryTotal[0] = {3, 1};
        t.categoryTotal[1] = {1, 0};
        t.categoryTotal[3] = {4, 1};
        t.leaveCover[0] = {1, 0};
        t.leaveCover[3] = {1, 0};
        t.byAge[30] = {4, 1}; // aged 48
        t.byExperience[5] = {4, 1};
        t.averageAge = {48, 3};

        Sheets s;
        s.request.options.heading = u"平成20年度 瑠璃県学校事務職員集計"_s;
        const RecordingDevice& d = s.run([&t](PrintJobContext& c) { printSummary(c, t, false); });
        QCOMPARE(d.orientation, PrintDevice::Orientation::Portrait);
        const auto heading = textAt(d, 25, 8);
        QVERIFY(heading);
        QCOMPARE(heading->text, s.request.options.heading);

        // The 小学校 block's 主任主事 row (the frames, captions and type
        // sizes of every sheet are in the reference listings).
        QCOMPARE(textOf(d, 21, 36), u"主任主事"_s);
        QCOMPARE(textOf(d, 37, 36), u" 3"_s);
        QCOMPARE(textOf(d, 44, 36), u"   3"_s);
        QCOMPARE(textOf(d, 53, 36), u"   1"_s);
        QCOMPARE(textOf(d, 62, 36), u"   4"_s);
        // Nothing is printed for a count of 0.
        QVERIFY(!textAt(d, 44, 26));
        QCOMPARE(textOf(d, 21, 66), u"　合計"_s);
        QCOMPARE(textOf(d, 62, 66), u"   4"_s);
        // The substitute rows.
        const auto leave = textAt(d, 20.5, 76);
        QVERIFY(leave);
        QCOMPARE(leave->text, u"産・育休補助"_s);
        QCOMPARE(textOf(d, 44, 76), u"   1"_s);
        QCOMPARE(textOf(d, 21, 81), u"欠員補充"_s);
        // 中学校 and 特別支援学校 lower down, 合計 to the right.
        QCOMPARE(textOf(d, 44, 100 + 6 + 30), u"   1"_s);
        QCOMPARE(textOf(d, 55 + 62, 36), u"   4"_s);

        // By title: nine rows when substitutes are shown separately.
        QCOMPARE(lineWidthAt(d, Kind::Box, 75, 100, 121, 145), 7);
        QCOMPARE(textOf(d, 76, 111), u"主任主事"_s);
        QCOMPARE(textOf(d, 113, 111), u"   4"_s);
        QCOMPARE(textOf(d, 76, 121), u" 事務長"_s);
        QCOMPARE(textOf(d, 93, 121), u"   1"_s);
        QCOMPARE(textOf(d, 113, 126), u"   5"_s);
        QCOMPARE(textOf(d, 75.5, 136), u"産・育休補助"_s);

        // Single years: age 48 is row 30, experience 5 row 5.
        QCOMPARE(textOf(d, 128, 176), u"  48"_s);
        QCOMPARE(textOf(d, 137, 176), u"   4"_s);
        QCOMPARE(textOf(d, 155, 176), u"   5"_s);
        QCOMPARE(textOf(d, 155, 241), u"   5"_s);
        QCOMPARE(textOf(d, 164, 51), u"   5"_s);
        QCOMPARE(textOf(d, 182, 51), u"   1"_s);

        // Bands: shares of everyone aged 18..60.
        QCOMPARE(textOf(d, 106, 196), u"   5"_s);
        QCOMPARE(textOf(d, 115, 196), u"100.00"_s);
        QCOMPARE(textOf(d, 115, 186), u" 0.00"_s);
        QCOMPARE(textOf(d, 106, 226), u"   5"_s);
        QCOMPARE(textOf(d, 75, 235), u"平均年齢 48歳 3月"_s);
    }

    void summarySheetWithSubstitutesIncluded()
    {
        tally::SummaryTally t; // nobody counted
        Sheets s;
        const RecordingDevice& d = s.run([&t](PrintJobContext& c) { printSummary(c, t, true); });
        QVERIFY(!d.findText(u"産・育休補助"_s));
        QVERIFY(!d.findText(u"欠員補充"_s));
        QCOMPARE(lineWidthAt(d, Kind::Box, 75, 100, 121, 130), 7);
        QVERIFY(!lineAt(d, Kind::Box, 75, 100, 121, 145));
        // Every share reads 0.00 when no one aged 18..60 is counted.
        int shares = 0;
        for (int b = 0; b < 8; ++b)
            shares += textOf(d, 115, 186 + 5 * b) == u" 0.00"_s;
        QCOMPARE(shares, 8);
        QVERIFY(!textAt(d, 106, 226));
        // The summary design sits 10 mm lower than the printable area's corner,
        // pulled up by what of its 290 mm the printable 287 mm cannot hold.
        QCOMPARE(d.scaleTop, d.printerOffsetYMm + 3 - 10.0);
    }

    void titleGradeSheet()
    {
        tally::DistrictTally t;
        t.byKindCategoryDistrict[1][8][2] = {1, 2}; // 中学校, 6級事務長, district 2
        t.byKindCategoryDistrict[1][0][2] = {1, 2};
        t.byKindCategoryDistrict[0][0][2] = {0, 1}; // and one woman in the 小学校 total
        t.byKindCategory[1][8] = {1, 2};
        t.byKindCategory[1][0] = {1, 2};
        RecordingDevice d;
        drawTitleGrade(d, t, header(16));

        const auto title = textAt(d, 20, 8);
        QVERIFY(title);
        QCOMPARE(title->text, u"平成20年度"_s);
        const auto date = d.findText(u"平成20年4月1日現在"_s);
        QVERIFY(date);

        QCOMPARE(textOf(d, 16, 36.5), u"地区0"_s);
        QCOMPARE(textOf(d, 16, 36.5 + 12 * 15), u"地区15"_s);

        // District 2, 中学校 sub-column of 6級事務長 and of the total column.
        const double y = 32.5 + 24;
        QCOMPARE(textOf(d, 40.5, y), u"  1"_s);
        QCOMPARE(textOf(d, 40.5, y + 4), u"  2"_s);
        QCOMPARE(textOf(d, 40.5, y + 8), u"  3"_s);
        QCOMPARE(textOf(d, 177.5, y + 8), u"  3"_s);
        QCOMPARE(textOf(d, 171.5, y + 4), u"  1"_s);
        QCOMPARE(textOf(d, 189, y), u"   1"_s);
        QCOMPARE(textOf(d, 189, y + 4), u"   3"_s);
        QCOMPARE(textOf(d, 189, y + 8), u"   4"_s);
        // A district with no one counted prints only its name and labels.
        for (const auto& p : d.texts())
            QVERIFY2(!(p.x1 >= 35 && p.y1 >= 32 && p.y1 < 44 && !p.text.isEmpty()), qPrintable(p.text));
        // 合計 and 総合計 bands.
        QCOMPARE(textOf(d, 40.5, 224.5 + 8), u"  3"_s);
        QCOMPARE(textOf(d, 45.5, 236.5), u"   1"_s);
        QCOMPARE(textOf(d, 45.5, 244.5), u"   3"_s);
        QCOMPARE(textOf(d, 182.5, 244.5), u"   3"_s);
    }

    void splitDistrictNames()
    {
        const QString split = u"地区5"_s;
        tally::DistrictTally t;
        t.byKindCategoryDistrict[0][0][5] = {1, 0};
        t.byKindCategoryDistrict[0][0][6] = {2, 0};
        t.byKindCategoryDistrict[0][0][7] = {0, 1};
        t.byAgeDistrict[0][7] = {1, 0}; // aged 18 in district 7
        {
            RecordingDevice d;
            drawTitleGrade(d, t, header(17, split));
            QCOMPARE(textOf(d, 16, 94.5), u"地区5"_s);
            QCOMPARE(textOf(d, 16, 98.5), u"地区6"_s);
            QCOMPARE(textOf(d, 16, 36.5 + 12 * 6), u"地区7"_s);
            QCOMPARE(textOf(d, 16, 36.5 + 12 * 15), u"地区16"_s);
            // The numbers follow the names: 5 and 6 together, 7 one band up.
            QCOMPARE(textOf(d, 171.5, 32.5 + 12 * 5), u"  3"_s);
            QCOMPARE(textOf(d, 171.5, 32.5 + 12 * 6 + 4), u"  1"_s);
            QVERIFY(!textAt(d, 171.5, 32.5 + 12 * 7 + 4));
        }
        {
            RecordingDevice d;
            drawAgeOrExperience(d, t, header(17, split), false);
            QCOMPARE(textOf(d, 16, 66), u"地区5"_s);
            QCOMPARE(textOf(d, 16, 69.5), u"地区6"_s);
            QCOMPARE(textOf(d, 16, 27 + 8 * 6), u"地区7"_s);
            QCOMPARE(textOf(d, 35.5 + 5.3 * 42, 25.5 + 8 * 6), u"  1"_s);
        }
        {
            // A long name is set smaller to stay in its column.
            DistrictHeader h = header(16);
            h.districtNames[0] = u"北瑠璃東西地区"_s;
            RecordingDevice d;
            drawTitleGrade(d, t, h);
            const auto name = textAt(d, 16, 36.5);
            QVERIFY(name);
            QVERIFY(name->x2 - name->x1 < 14);
            QVERIFY(name->size < 9);
            QCOMPARE(textAt(d, 16, 36.5 + 12)->size, 9.0f);
        }
        {
            // Another district at position 5 keeps a band to itself.
            RecordingDevice d;
            drawTitleGrade(d, tally::DistrictTally{}, header(16, u"地区9"_s));
            QCOMPARE(textOf(d, 16, 36.5 + 12 * 5), u"地区5"_s);
            QCOMPARE(textOf(d, 16, 36.5 + 12 * 6), u"地区6"_s);
            QVERIFY(!textAt(d, 16, 94.5));
        }
    }

    void ageAndExperienceSheets()
    {
        tally::DistrictTally t;
        t.byAgeDistrict[30][3] = {2, 0}; // aged 48 in district 3
        t.byAge[30] = {2, 0};
        t.byExperienceDistrict[0][3] = {0, 1}; // in the first year
        t.byExperience[0] = {0, 1};

        Sheets s;
        const RecordingDevice& d = s.run([&t](PrintJobContext& c) { printDistrictSheet(c, Sheet::Age, t); });
        QCOMPARE(d.orientation, PrintDevice::Orientation::Landscape);
        // 60 at the left, 18 at the right.
        const double x48 = 35.5 + 5.3 * 12, y = 25.5 + 8 * 3;
        QCOMPARE(textOf(d, x48, y), u"  2"_s);
        QVERIFY(!textAt(d, x48, y + 4));
        QCOMPARE(textOf(d, 263.4, y), u"   2"_s);
        QCOMPARE(textOf(d, 269.9, y + 2.5), u"   2"_s);
        QCOMPARE(textOf(d, x48, 153.5), u"  2"_s);
        QCOMPARE(textOf(d, x48, 161.5), u"  2"_s);
        QCOMPARE(textOf(d, 263.4, 161.5), u"   2"_s);
        QCOMPARE(textOf(d, 269.9, 156), u"   2"_s);

        RecordingDevice e;
        drawAgeOrExperience(e, t, header(16), true);
        QCOMPARE(textOf(e, 35.5, y + 4), u"  1"_s);
        QVERIFY(!textAt(e, 35.5, y));
        QCOMPARE(textOf(e, 263.4, y + 4), u"   1"_s);
    }

    void summaryJobAndStops()
    {
        Sheets s;
        const auto& entries = s.store.municipalities.entries;
        StaffRecord m;
        m.code = 20080001;
        m.jobTitle = u"主任主事"_s;
        m.grade = 3;
        m.sex = 1;
        m.birthDate = Date::fromYmd(1960, 1, 1);
        m.hireDate = Date::fromYmd(1980, 4, 1);
        s.store.staff.push_back(m);
        SchoolRecord school;
        school.municipality = entries[0].name;
        school.kindText = u"中学校"_s;
        school.code = 1;
        school.clerks[0].staffCode = m.code;
        s.store.deriveSchoolFields(school);
        s.store.schools.push_back(school);
        s.store.reindexStaff();
        registerSummaryJob();

        // Job 30 counts the whole roster with the statistics window's choices.
        PrintRequest job30 = PrintRequest::forJob(kSummaryJob);
        job30.session.selections.tallyLeaveCoverIncluded = true;
        QVERIFY(runPrintJob(s.device, s.store, job30));
        QVERIFY(s.device.ended);
        QCOMPARE(textOf(s.device, 53, 116), u"   1"_s); // a woman, 主任主事, 中学校
        QCOMPARE(textOf(s.device, 103, 111), u"   1"_s);
        QVERIFY(!s.device.findText(u"産・育休補助"_s));

        // A stop asked while the page is set up leaves the sheet unprinted.
        recorded::ScriptedProgress progress;
        struct Stopping : RecordingDevice {
            recorded::ScriptedProgress* progress = nullptr;
            bool applyPageSetup() override
            {
                progress->stop = true;
                return RecordingDevice::applyPageSetup();
            }
        } stopping;
        stopping.progress = &progress;
        QVERIFY(!runPrintJob(stopping, s.store, job30, &progress));
        QVERIFY(stopping.aborted);
        QVERIFY(!stopping.findText(u"中学校"_s));

        // A printer that cannot say what it prints stops the job as 484.
        RecordingDevice blind;
        blind.printableMm = QSizeF(0, 0);
        PrintOutcome outcome = PrintOutcome::Printed;
        QVERIFY(!runPrintJob(blind, s.store, job30, nullptr, &outcome));
        QCOMPARE(outcome, PrintOutcome::Stopped);
        QVERIFY(!blind.findText(u"中学校"_s));

        // A stop left from that job does not hold back the next sheet.
        RecordingDevice next;
        QVERIFY(runPrintJob(next, s.store, job30));
        QVERIFY(next.findText(u"中学校"_s));
    }
};

QTEST_MAIN(TestTallySheets)
#include "tst_tally_sheets.moc"
