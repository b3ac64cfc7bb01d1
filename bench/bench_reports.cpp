// Times the reports of a full roster (1500 schools with their posts, 1500
// staff) into PDF: the survey forms of every school marked, the officer
// roster, and the tally with its four sheets.
#include "bench_util.h"
#include "officer_print.h"
#include "painter_device.h"
#include "print_output.h"
#include "sample_roster.h"
#include "survey_form.h"
#include "tally_sheets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RosterStore store;
    store.profile.areaName = u"瑠璃県"_s;
    SampleOptions o;
    o.schools = 1500;
    o.staff = 1500;
    generateSampleRoster(store, o);
    for (SchoolRecord& s : store.schools)
        s.clerks[0].mark = 1;
    survey_form::registerSurveyJob();
    officer_print::registerOfficerJob();
    tally_sheets::registerSummaryJob();
    QTemporaryDir dir;
    auto toPdf = [&](PrintJobCode job, const QString& name) {
        PrintRequest r = PrintRequest::forJob(job);
        r.pdfPath = dir.filePath(name);
        printToPdf(store, r);
    };

    const double forms = medianMs(1, [&] { toPdf(survey_form::kMarkedFormsJob, u"f.pdf"_s); });
    std::printf("survey forms, %d pages, to PDF: %.0f ms (%lld bytes)\n", store.schoolCount(), forms,
                QFileInfo(dir.filePath(u"f.pdf"_s)).size());
    const double officers = medianMs(1, [&] { toPdf(officer_print::kOfficerRosterJob, u"o.pdf"_s); });
    std::printf("officer roster to PDF: %.0f ms\n", officers);
    const double summary = medianMs(1, [&] { toPdf(tally_sheets::kSummaryJob, u"s.pdf"_s); });
    std::printf("summary tally counted and printed to PDF: %.0f ms\n", summary);
    tally::DistrictTally district;
    const double counting = medianMs(1, [&] { district = tally::computeDistrictTally(store, {}); });
    std::printf("district tally of 1500 staff: %.2f ms\n", counting);
    return 0;
}
