#pragma once

#include "print_device.h"
#include "roster_session.h"

#include <QString>
#include <functional>
#include <map>

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

// The program-wide printing values: the one job being asked for, its options,
// the stop flag the progress dialog raises, and what was measured of the page.
struct PrintGlobals {
    qint16 jobCode = 0;
    qint16 stopFlag = 0; // 0 running, 1 stop asked, 484 printer information error
    PrintOptions options;
    PrintDestination destination = PrintDestination::Printer;
    float printableWidthMm = 0;
    float printableHeightMm = 0;
    float printerOffsetXMm = 0;
    float printerOffsetYMm = 0;
    bool offsetsMeasured = false;
    // Print position corrections from the user settings (portrait x, y, landscape x, y).
    float corrections[4] = {0, 0, 0, 0};
};
PrintGlobals& printGlobals();

// Lets pending input (a click on 中止) through; true when a stop was asked.
bool yieldToUi();

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

// What a job is given.
struct PrintJobContext {
    PrintDevice& device;
    RosterStore& store;
    PrintGlobals& globals;
    // What the windows showed when the job was asked for: the school list's
    // filter, the staff list's order, the tally and officer choices.
    const RosterSession& session;
    // A checkpoint: yields, and says whether the job must stop here.
    bool stopRequested() const { return yieldToUi(); }
};
using PrintJob = std::function<void(PrintJobContext&)>;

// Jobs by code; each printing part of the program registers its own.
class PrintJobRegistry {
public:
    void add(int code, PrintJob job) { m_jobs[code] = std::move(job); }
    const PrintJob* find(int code) const;

private:
    std::map<int, PrintJob> m_jobs;
};
PrintJobRegistry& printJobs();

// An A4 portrait report whose layout is measured from the paper's edges.
void setupPaperReport(PrintDevice& device);
// Starts page `pageIndex` (0-based) of a report: a new page after the first,
// the stop checkpoint, then the page reset. False when the job must stop.
bool startReportPage(PrintJobContext& context, int pageIndex);

// Runs the job of `code` on `device` as often as the options ask, then ends
// the document, or aborts it when a stop was asked. True when printed.
bool runPrintJob(PrintDevice& device, RosterStore& store, const RosterSession& session, int code);
// The same for a job that reads nothing of the windows' session (every
// school, table order).
bool runPrintJob(PrintDevice& device, RosterStore& store, int code);

// A page for checking a printer: a frame, a millimetre grid and text at
// known places (job 99).
inline constexpr int kTestPageJob = 99;
void registerTestPage();
