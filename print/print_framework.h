#pragma once

#include "print_device.h"
#include "roster_session.h"

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <vector>

class RosterStore;

struct PrintOptions {
    QString heading;
    qint16 pagePrefix = 0;
    qint16 startPage = 1; // 0: no page numbers
    qint16 copies = 1;
    qint16 flags = 0;

    static constexpr qint16 OmitSubstitutes = 1;   // leave out 産・育休補助 posts
    static constexpr qint16 EvenPageNumberTop = 2; // even pages: number at the top
    static constexpr qint16 OmitGradeStep = 4;     // leave the grade and pay step empty
    bool has(qint16 flag) const { return flags & flag; }
};

enum class PrintDestination { Printer = 0, Preview = 1, Pdf = 2 };

// Every printed output of the program. The numbered jobs keep the codes the
// stored headings ("HED" + code) and the options form go by; the others are
// pages a window draws of its own and prints at once.
enum class PrintJobCode : qint16 {
    None = 0,
    Roster25 = 10,       // 25 職員･学校
    Roster20 = 11,       // 20 学校･自宅、TEL･FAX
    SchoolContacts = 12, // 50 学校TEL･FAX・ﾒｰﾙ
    RosterWide = 13,     // 20横 職員･学校
    StaffContacts = 14,  // 50 職員TEL･FAX・ﾒｰﾙ
    SchoolNetwork = 15,
    SurveyForms = 16,
    StaffPhoneList = 20,
    StaffPhoneListAll = 21,
    Tallies = 30,
    OfficerRoster = 40,
    OfficerNetwork = 45,
    NameLabels = 80,
    TestPage = 99,
    BlankSurveyForm = 101,
    TallySheet = 102, // a sheet or graph from the statistics window
    SchoolNames = 103,
    StaffCodeList = 104,
};

// What the program knows of each job: its name, whether the print command
// shows the options form for it, and whether it prints the number of copies
// asked (the rosters and the officer roster); every other job prints once.
struct PrintJobInfo {
    PrintJobCode code;
    const char16_t* name;
    bool showsOptions;
    bool loopsCopies;
};
const PrintJobInfo& printJobInfo(PrintJobCode code);
const std::vector<PrintJobInfo>& printJobCatalogue();
// The job of a number (typed, stored or given on the command line).
std::optional<PrintJobCode> printJobFromNumber(int number);
inline int jobNumber(PrintJobCode code)
{
    return int(code);
}
inline bool isRosterJob(PrintJobCode code)
{
    return code >= PrintJobCode::Roster25 && code <= PrintJobCode::StaffContacts;
}

struct PrintJobContext;
using PrintJob = std::function<void(PrintJobContext&)>;

// One print as the user asked for it: which job, its options and copies, where
// it goes, and the user's print-position corrections. A job reads what it
// needs from here and from nothing another job left behind.
struct PrintRequest {
    PrintJobCode job = PrintJobCode::None;
    PrintOptions options;
    PrintDestination destination = PrintDestination::Printer;
    QString pdfPath;
    // Print position corrections (mm): portrait x, y, landscape x, y.
    std::array<float, 4> corrections{};
    // The pages of each copy that reach the paper, to print a jammed page
    // again with the numbers it had: from firstPage to lastPage (0: to the
    // end). The pages around them are laid out but not printed.
    int firstPage = 1;
    int lastPage = 0;
    static constexpr int kMaxPage = 32767; // the highest page a range can name, as the 16-bit page numbers
    bool wholeJob() const { return firstPage <= 1 && lastPage == 0; }
    // The drawing of a window's own page (its network, its label layout, its
    // tally); empty for the jobs the program registers by code.
    PrintJob body;
    // What the windows showed when the job was asked for: the school list's
    // filter and extraction, the staff list's order, the tally and officer
    // choices. A copy, so nothing a window does later changes the job.
    RosterSession session;

    static PrintRequest forJob(PrintJobCode job, PrintJob body = {})
    {
        PrintRequest r;
        r.job = job;
        r.body = std::move(body);
        return r;
    }
};

// Where a running job asks whether the user pressed 中止: the progress dialog
// lets pending input through and answers; a job without one never stops.
class PrintProgress {
public:
    virtual ~PrintProgress() = default;
    virtual bool stopRequested() = 0;
};

void setupReportPage(PrintDevice& device, const QString& paper, const QString& orientation);
void resetPage(PrintDevice& device);
void setupLabelPage(PrintDevice& device, bool colour);
void measurePrinterOffsets(PrintDevice& device);
// Places a design of extent (wd, hd) mm shifted by (sx, sy) mm on the paper.
void reportOrigin(PrintDevice& device, double wd, double hd, double sx, double sy);
// Lowers the font size from `start` by `step` until the text is narrower than
// `limit` or 5 pt is passed; the size last tried stays set.
void fitTextToWidth(PrintDevice& device, const QString& text, float start, double limit, float step = 0.2f);
void fitTextToWidth(PrintDevice& device, const QString& a, const QString& b, float start, double limit,
                    float step = 0.2f);
// The number printed on page `index` (0-based) of a report, "" when off.
QString pageNumberText(const PrintOptions& options, int index);

// What a job is given: the device, the roster, the request, and where to ask
// about a stop. `stopFlag` belongs to this run alone.
struct PrintJobContext {
    PrintDevice& device;
    RosterStore& store;
    const PrintRequest& request;
    PrintProgress* progress = nullptr;
    qint16 stopFlag = 0; // 0 running, 1 stop asked, 484 printer information error

    static constexpr qint16 kStopAsked = 1;
    static constexpr qint16 kPrinterInformationError = 484;

    const PrintOptions& options() const { return request.options; }
    const RosterSession& session() const { return request.session; }
    // A checkpoint: lets the user's input through, and says whether the job
    // must stop here.
    bool stopRequested()
    {
        if (stopFlag == 0 && progress && progress->stopRequested())
            stopFlag = kStopAsked;
        return stopFlag > 0;
    }
    bool stopped() const { return stopFlag > 0; }
};

// The numbered jobs' drawings; each printing part registers its own once at
// start-up.
class PrintJobRegistry {
public:
    void add(PrintJobCode code, PrintJob job) { m_jobs[code] = std::move(job); }
    const PrintJob* find(PrintJobCode code) const;

private:
    std::map<PrintJobCode, PrintJob> m_jobs;
};
PrintJobRegistry& printJobs();

// An A4 portrait report whose layout is measured from the paper's edges.
void setupPaperReport(PrintDevice& device);
// Starts page `pageIndex` (0-based) of a report: a new page after the first,
// the stop checkpoint, then the page reset. False when the job must stop.
bool startReportPage(PrintJobContext& context, int pageIndex);

enum class PrintOutcome {
    Printed,      // the document was ended and handed to its destination
    Stopped,      // the user stopped it, or the printer could not say its page: discarded
    DeviceFailed, // the printer or file could not be opened or written
    NoSuchJob,    // nothing prints for this request
    NoSuchPages,  // the job has no page in the range asked for: nothing was printed
};

// What the user is told when a page range holds no page of the job.
QString noSuchPagesText();

// Runs the request's job on `device`: as many copies as asked when the job
// prints copies, once otherwise; then ends the document, or aborts it when
// stopped. Only the pages of the request's range reach the device; when the
// job has none of them the document is discarded (NoSuchPages). True only
// when the document was printed.
bool runPrintJob(PrintDevice& device, RosterStore& store, const PrintRequest& request,
                 PrintProgress* progress = nullptr, PrintOutcome* outcome = nullptr);

// A page for checking a printer: a frame, a millimetre grid and text at
// known places (job 99).
void registerTestPage();
