// Every printed page of the program, drawn from one fixed sample roster on
// the recording device and compared line by line with the listing checked in
// beside this test. A change to any page shows up here as the first lines
// that differ. After a deliberate change to a page, rewrite the listings with
//   NAKAMA_UPDATE_REFERENCES=1 ctest -R tst_print_references
// and read the difference before committing it.
#include "graphs.h"
#include "name_labels.h"
#include "network_print.h"
#include "officer_print.h"
#include "periods.h"
#include "print_framework.h"
#include "recording_device.h"
#include "roster_print.h"
#include "sample_roster.h"
#include "school_list_print.h"
#include "staff_list_print.h"
#include "survey_form.h"
#include "tally_sheets.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString referenceFolder()
{
    return QStringLiteral(NAKAMA_REFERENCE_DIR);
}

// The sample year every listing is drawn from: 40 schools, 60 clerks, the
// survey on 2026-04-01, some posts marked, every school shown.
struct Sample {
    RosterStore store;
    RosterSession session;
    Sample()
    {
        store.profile.areaName = store.places.prefectureName;
        SampleOptions o;
        o.schools = 40;
        o.staff = 60;
        o.seed = 7;
        o.fiscalYear = 38;
        generateSampleRoster(store, o);
        for (int i = 0; i < store.schoolCount(); i += 6)
            store.schools[size_t(i)].clerks[0].mark = 1;
        for (const SchoolRecord& school : store.schools)
            session.shownSchools.push_back(school.code);
        calcAllAges(store);
    }
};

// A printer with margins, so the listing shows where things land on paper.
void printerLike(RecordingDevice& d)
{
    d.printableOffsetMm = QPointF(4.23, 4.23);
    d.printableMm = QSizeF(210 - 8.46, 297 - 8.46);
}

// Prints one page set the way the program prints it, fresh for every job.
QString drawnBy(Sample& s, PrintJobCode code, const PrintJob& job, const PrintOptions& options = {})
{
    PrintRequest request = PrintRequest::forJob(code, job);
    request.options = options;
    request.session = s.session;
    RecordingDevice d;
    printerLike(d);
    runPrintJob(d, s.store, request);
    return d.listing();
}

QString drawnByCode(Sample& s, int code, const PrintOptions& options = {})
{
    return drawnBy(s, PrintJobCode(code), {}, options);
}

SchoolNetwork sampleSchoolNetwork(const Sample& s)
{
    SchoolNetwork n;
    const std::vector<NetworkNode> c = contact_network::schoolCandidates(s.store, s.session);
    size_t next = 0;
    auto take = [&]() { return next < c.size() ? c[next++] : NetworkNode{}; };
    n.topNodes[0] = take();
    n.topNodes[1] = take();
    for (int chain = 0; chain < 5; ++chain)
        for (int level = 0; level < 2 + chain; ++level)
            n.grid[size_t(level)][size_t(chain)] = take();
    n.remarks[0] = u"受けた連絡は速やかに次の学校へ回してください"_s;
    n.remarks[1] = u"不在の時は次の学校へ"_s;
    n.remarks[2] = u"緊急連絡網"_s;
    return n;
}

OfficerNetwork sampleOfficerNetwork(const RosterStore& store)
{
    OfficerNetwork n;
    const std::vector<OfficerEntry> list = officers::buildList(store);
    std::vector<OfficerEntry> shown;
    for (int i : officers::shownEntries(list, u"全"_s))
        shown.push_back(list[size_t(i)]);
    const std::vector<OfficerNetworkNode> c = contact_network::officerCandidates(shown);
    size_t next = 0;
    auto take = [&]() { return next < c.size() ? c[next++] : OfficerNetworkNode{}; };
    n.topNodes[0] = take();
    n.topNodes[1] = take();
    for (int chain = 0; chain < 4; ++chain)
        for (int level = 0; level < 2 + chain % 3; ++level)
            n.grid[size_t(level)][size_t(chain)] = take();
    n.remarks[0] = u"役員連絡網"_s;
    n.remarks[2] = u"役員連絡網"_s;
    return n;
}

// The first lines where two listings part, for the failure message.
QString firstDifferences(const QString& expected, const QString& actual)
{
    const QStringList a = expected.split(u'\n');
    const QStringList b = actual.split(u'\n');
    QString out;
    int shown = 0;
    for (qsizetype i = 0; i < std::max(a.size(), b.size()) && shown < 8; ++i) {
        const QString x = i < a.size() ? a[i] : u"(nothing)"_s;
        const QString y = i < b.size() ? b[i] : u"(nothing)"_s;
        if (x == y)
            continue;
        out += u"line %1\n  reference: %2\n  printed:   %3\n"_s.arg(i + 1).arg(x, y);
        ++shown;
    }
    return out;
}

void compareWithReference(const QString& name, const QString& listing)
{
    const QString path = referenceFolder() + u'/' + name + u".txt"_s;
    if (qEnvironmentVariableIntValue("NAKAMA_UPDATE_REFERENCES") == 1) {
        QDir().mkpath(referenceFolder());
        QFile f(path);
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
        const QByteArray bytes = listing.toUtf8();
        QVERIFY(f.write(bytes) == bytes.size());
        QVERIFY(f.flush());
        return;
    }
    QFile f(path);
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(u"no reference listing "_s + path));
    const QString reference = QString::fromUtf8(f.readAll());
    if (reference != listing)
        QFAIL(qPrintable(name + u" differs from its reference:\n"_s + firstDifferences(reference, listing)));
}

} // namespace

class TestPrintReferences : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        registerTestPage();
        registerStaffListJobs();
        roster_print::registerRosterJobs();
        tally_sheets::registerSummaryJob();
        officer_print::registerOfficerJob();
        survey_form::registerSurveyJob();
    }

    void rosters_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("10") << 10 << u"job10_roster25"_s;
        QTest::newRow("11") << 11 << u"job11_roster20"_s;
        QTest::newRow("12") << 12 << u"job12_school_contacts"_s;
        QTest::newRow("13") << 13 << u"job13_roster_wide"_s;
        QTest::newRow("14") << 14 << u"job14_staff_contacts"_s;
    }
    void rosters()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        Sample s;
        PrintOptions o;
        o.heading = u"令和８年度　学校事務職員名簿"_s;
        o.startPage = 3;
        o.pagePrefix = 2;
        compareWithReference(name, drawnByCode(s, code, o));
    }

    void numberedJobs_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("16") << 16 << u"job16_survey_forms"_s;
        QTest::newRow("20") << 20 << u"job20_staff_phone_list"_s;
        QTest::newRow("21") << 21 << u"job21_staff_phone_list_all"_s;
        QTest::newRow("30") << 30 << u"job30_summary"_s;
        QTest::newRow("40") << 40 << u"job40_officer_roster"_s;
        QTest::newRow("99") << 99 << u"job99_test_page"_s;
    }
    void numberedJobs()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        Sample s;
        s.session.selections.tallyArea = u"全"_s;
        s.session.selections.tallyLeaveCoverIncluded = true;
        s.session.selections.tallyVacancyFillIncluded = true;
        PrintOptions o;
        o.heading = u"見出しの行"_s;
        compareWithReference(name, drawnByCode(s, code, o));
    }

    void networks()
    {
        Sample s;
        const SchoolNetwork school = sampleSchoolNetwork(s);
        compareWithReference(u"job15_school_network"_s,
                             drawnBy(s, PrintJobCode::SchoolNetwork,
                                     [&](PrintJobContext& c) { network_print::printSheet(c, school, QImage()); }));
        const OfficerNetwork officer = sampleOfficerNetwork(s.store);
        compareWithReference(u"job45_officer_network"_s,
                             drawnBy(s, PrintJobCode::OfficerNetwork,
                                     [&](PrintJobContext& c) { network_print::printSheet(c, officer, QImage()); }));
    }

    void labels()
    {
        Sample s;
        name_labels::LabelLayout layout = name_labels::LabelLayout::defaults();
        layout.items[4].text = u"親展"_s;
        layout.items[4].top = 150;
        layout.items[4].left = 20;
        layout.items[4].height = 8;
        layout.items[4].width = 30;
        layout.items[4].flags = name_labels::LabelItem::Print | name_labels::LabelItem::Spread;
        layout.items[0].flags = name_labels::LabelItem::Print | name_labels::LabelItem::Bold;
        compareWithReference(u"job80_name_labels"_s, drawnBy(s, PrintJobCode::NameLabels, [&](PrintJobContext& c) {
                                 name_labels::printLabels(c, layout);
                             }));
    }

    void labelSheet()
    {
        // The sample roster's marked posts on an A4 sheet of 21 labels,
        // begun at the second row's middle label.
        Sample s;
        name_labels::LabelLayout layout = name_labels::LabelLayout::defaults();
        const float places[4][4] = {{12, 4, 6, 55}, {4, 4, 5, 30}, {7.5f, 4, 5, 55}, {22, 10, 8, 50}};
        for (int i = 0; i < 4; ++i) {
            auto& item = layout.items[size_t(i)];
            item.top = places[i][0];
            item.left = places[i][1];
            item.height = places[i][2];
            item.width = places[i][3];
            item.fontSize = i == 3 ? 12.0f : 8.0f;
        }
        name_labels::SheetPrint how;
        how.sheet = *name_labels::findSheet(u"A4 21面"_s, name_labels::defaultUserSheet());
        how.startRow = 2;
        how.startColumn = 2;
        compareWithReference(u"job80_label_sheet"_s, drawnBy(s, PrintJobCode::NameLabels, [&](PrintJobContext& c) {
                                 name_labels::printLabels(c, layout, how);
                             }));
    }

    void tallySheetsAndGraphs()
    {
        Sample s;
        tally::Options o;
        o.area = QString();
        tally::prepareAges(s.store);
        const tally::DistrictTally t = tally::computeDistrictTally(s.store, o);
        using tally_sheets::Sheet;
        const std::pair<Sheet, QString> sheets[] = {{Sheet::TitleGrade, u"district_title_grade"_s},
                                                    {Sheet::Age, u"district_age"_s},
                                                    {Sheet::Experience, u"district_experience"_s}};
        for (const auto& [sheet, name] : sheets)
            compareWithReference(name, drawnBy(s, PrintJobCode::TallySheet, [&](PrintJobContext& c) {
                                     tally_sheets::printDistrictSheet(c, sheet, t);
                                 }));
        const std::pair<graphs::View, QString> views[] = {{graphs::View::Graph1, u"graph1"_s},
                                                          {graphs::View::Graph2, u"graph2"_s},
                                                          {graphs::View::Graph3, u"graph3"_s}};
        for (const auto& [view, name] : views)
            compareWithReference(name, drawnBy(s, PrintJobCode::TallySheet,
                                               [&](PrintJobContext& c) { graphs::printPage(c, view, t, true); }));
    }

    void blankFormAndSchoolNames()
    {
        Sample s;
        compareWithReference(u"survey_form_blank"_s, drawnBy(s, PrintJobCode::BlankSurveyForm, [](PrintJobContext& c) {
                                 survey_form::printBlankForm(c);
                             }));
        compareWithReference(u"school_name_sheet"_s, drawnBy(s, PrintJobCode::SchoolNames,
                                                             [](PrintJobContext& c) { printSchoolNameSheet(c); }));
    }
};

QTEST_MAIN(TestPrintReferences)
#include "tst_print_references.moc"
