#include "print_framework.h"

#include "roster_store.h"

#include <cmath>

using namespace Qt::StringLiterals;

PrintJobRegistry& printJobs()
{
    static PrintJobRegistry registry;
    return registry;
}

const PrintJob* PrintJobRegistry::find(PrintJobCode code) const
{
    const auto it = m_jobs.find(code);
    return it == m_jobs.end() || !it->second ? nullptr : &it->second;
}

const std::vector<PrintJobInfo>& printJobCatalogue()
{
    using C = PrintJobCode;
    // code, name, shows the options form, prints copies
    static const std::vector<PrintJobInfo> jobs{
        {C::Roster25, u"25 職員･学校", true, true},
        {C::Roster20, u"20 学校･自宅、TEL･FAX", true, true},
        {C::SchoolContacts, u"50 学校TEL･FAX・ﾒｰﾙ", true, true},
        {C::RosterWide, u"20横 職員･学校", true, true},
        {C::StaffContacts, u"50 職員TEL･FAX・ﾒｰﾙ", true, true},
        {C::SchoolNetwork, u"連絡網", false, false},
        {C::SurveyForms, u"調査用紙", false, false},
        {C::StaffPhoneList, u"職員電話一覧", false, false},
        {C::StaffPhoneListAll, u"職員電話一覧（学校名無しを含む）", false, false},
        {C::Tallies, u"集計表", true, false},
        {C::OfficerRoster, u"役員名簿", true, true},
        {C::OfficerNetwork, u"役員連絡網", false, false},
        {C::NameLabels, u"氏名印刷", false, false},
        {C::TestPage, u"印刷の確認", false, false},
        {C::BlankSurveyForm, u"調査用紙（白紙）", false, false},
        {C::TallySheet, u"集計表・グラフ", false, false},
        {C::SchoolNames, u"学校名一覧", false, false},
        {C::StaffCodeList, u"職員一覧", false, false},
    };
    return jobs;
}

const PrintJobInfo& printJobInfo(PrintJobCode code)
{
    static const PrintJobInfo nothing{PrintJobCode::None, u"", false, false};
    for (const PrintJobInfo& info : printJobCatalogue())
        if (info.code == code)
            return info;
    return nothing;
}

std::optional<PrintJobCode> printJobFromNumber(int number)
{
    for (const PrintJobInfo& info : printJobCatalogue())
        if (int(info.code) == number)
            return info.code;
    return std::nullopt;
}

namespace {

// Draws an empty text where the position is: the page exists from here on.
void openPage(PrintDevice& device, const QString& text)
{
    const double x = device.currentX;
    const double y = device.currentY;
    device.print(text);
    device.currentX = x;
    device.currentY = y;
}
// The steps report and label pages share once paper and orientation are
// chosen: the printer takes them (or keeps what it had), the document is
// opened, the origin is the printable area's corner, 14-point Mincho.
void applyPageSetup(PrintDevice& device)
{
    device.applyPageSetup();
    openPage(device, QString());
    device.scaleTop = 0;
    device.scaleLeft = 0;
    device.setBackgroundTransparent();
    device.font.transparent = true;
    device.font.face = u"ＭＳ 明朝"_s;
    device.font.size = 14;
}
} // namespace

void setupReportPage(PrintDevice& device, const QString& paper, const QString& orientation)
{
    if (paper == u"A4"_s)
        device.paperCode = PrintDevice::kPaperA4;
    else if (paper == u"B5"_s)
        device.paperCode = PrintDevice::kPaperB5;
    if (orientation == u"V"_s)
        device.orientation = PrintDevice::Orientation::Portrait;
    else if (orientation == u"H"_s)
        device.orientation = PrintDevice::Orientation::Landscape;
    device.colourMode = 1;
    applyPageSetup(device);
    // Measured on the device the job prints on, for the paper and
    // orientation just set: another printer's margins never carry over.
    measurePrinterOffsets(device);
    const QSizeF printable = device.printableSizeMm();
    device.printableHeightMm = float(printable.height());
    device.printableWidthMm = float(printable.width());
}

void resetPage(PrintDevice& device)
{
    device.setBackgroundTransparent();
    device.lineWidth = 1;
    device.fillStyle = FillStyle::Transparent;
    device.font.bold = false;
    device.font.italic = false;
    device.font.strikethrough = false;
    device.font.underline = false;
    device.font.face = u"ＭＳ 明朝"_s;
    device.font.size = 12;
    device.font.transparent = true;
    device.currentX = 0;
    device.currentY = 0;
    openPage(device, u" "_s);
    device.setBackgroundTransparent();
    device.font.transparent = true;
    openPage(device, u" "_s);
}

void setupLabelPage(PrintDevice& device, bool colour)
{
    device.orientation = PrintDevice::Orientation::Portrait;
    device.colourMode = colour ? 2 : 1;
    applyPageSetup(device);
    measurePrinterOffsets(device);
}

void measurePrinterOffsets(PrintDevice& device)
{
    // Twips per device pixel, 56.7 twips to the millimetre.
    const PhysicalMetrics m = device.physicalMetrics();
    const double w = m.dpiX > 0 ? 1440.0 / m.dpiX : 0;
    const double h = m.dpiY > 0 ? 1440.0 / m.dpiY : 0;
    device.printerOffsetXMm = float(w * m.offsetX / 56.7);
    device.printerOffsetYMm = float(h * m.offsetY / 56.7);
}

void reportOrigin(PrintDevice& device, double wd, double hd, double sx, double sy)
{
    device.scaleLeft = device.printerOffsetXMm + std::max(0.0, wd - device.printableWidthMm) - sx;
    device.scaleTop = device.printerOffsetYMm + std::max(0.0, hd - device.printableHeightMm) - sy;
}

void fitTextToWidth(PrintDevice& device, const QString& text, float start, double limit, float step)
{
    for (float size = start; size >= 5.0f; size -= step) {
        device.font.size = size;
        if (device.textWidth(text) < limit)
            return;
    }
}

void fitTextToWidth(PrintDevice& device, const QString& a, const QString& b, float start, double limit, float step)
{
    for (float size = start; size >= 5.0f; size -= step) {
        device.font.size = size;
        if (device.textWidth(a) < limit && device.textWidth(b) < limit)
            return;
    }
}

QString pageNumberText(const PrintOptions& options, int index)
{
    if (options.startPage <= 0)
        return QString();
    const QString number = QString::number(int(options.startPage) + index);
    if (options.pagePrefix > 0)
        return QString::number(options.pagePrefix) + u'-' + number;
    return number;
}

void setupPaperReport(PrintDevice& device)
{
    setupReportPage(device, u"A4"_s, u"V"_s);
    reportOrigin(device, 210, 297, 0, 0);
}

bool startReportPage(PrintJobContext& context, int pageIndex)
{
    if (pageIndex > 0)
        context.device.newPage();
    if (context.stopRequested())
        return false;
    resetPage(context.device);
    return true;
}

QString noSuchPagesText()
{
    return u"指定のページがありません（印刷範囲がこの帳票のページ数を超えています）"_s;
}

bool runPrintJob(PrintDevice& device, RosterStore& store, const PrintRequest& request, PrintProgress* progress,
                 PrintOutcome* outcome)
{
    auto result = [outcome](PrintOutcome o) {
        if (outcome)
            *outcome = o;
        return o == PrintOutcome::Printed;
    };
    const PrintJob* job = request.body ? &request.body : printJobs().find(request.job);
    if (!job)
        return result(PrintOutcome::NoSuchJob);
    const auto& c = request.corrections;
    device.correctionPortrait = QPointF(c[0], c[1]);
    device.correctionLandscape = QPointF(c[2], c[3]);
    PrintJobContext context{device, store, request, progress};
    context.stopRequested(); // the dialog is drawn before the job starts
    const int copies = printJobInfo(request.job).loopsCopies ? std::max<int>(1, request.options.copies) : 1;
    device.setPageRange(request.firstPage, request.lastPage);
    for (int copy = 0; copy < copies && !context.stopped() && !device.failed(); ++copy) {
        if (copy > 0)
            device.newCopy();
        (*job)(context);
    }
    if (context.stopped() || device.failed()) {
        const bool failed = device.failed();
        device.abortDoc();
        return result(failed ? PrintOutcome::DeviceFailed : PrintOutcome::Stopped);
    }
    if (device.printedPages() == 0) {
        device.abortDoc();
        return result(PrintOutcome::NoSuchPages);
    }
    device.endDoc();
    return result(device.failed() ? PrintOutcome::DeviceFailed : PrintOutcome::Printed);
}

void registerTestPage()
{
    printJobs().add(PrintJobCode::TestPage, [](PrintJobContext& c) {
        PrintDevice& d = c.device;
        setupPaperReport(d);
        if (!startReportPage(c, 0))
            return;
        d.lineWidth = 4;
        d.box(10, 10, 200, 287);
        d.lineWidth = 1;
        for (int x = 20; x <= 190; x += 10)
            d.line(x, 30, x, x % 50 == 0 ? 40 : 35);
        d.font.size = 16;
        d.font.bold = true;
        d.currentX = 20;
        d.currentY = 50;
        d.print(u"なかま帳 印刷の確認"_s);
        d.font.bold = false;
        d.font.size = 11;
        const QStringList lines{u"左 20 mm、上 70 mm：瑠璃県学校事務職員名簿"_s,
                                u"左 20 mm、上 80 mm：ＭＳ 明朝 11 ポイント"_s,
                                u"左 20 mm、上 90 mm："_s + c.options().heading};
        for (int i = 0; i < lines.size(); ++i) {
            d.currentX = 20;
            d.currentY = 70 + 10 * i;
            d.print(lines[i]);
        }
        d.font.face = u"ＭＳ Ｐ明朝"_s;
        d.currentX = 120;
        d.currentY = 120;
        d.print(u"120,120 ＭＳ Ｐ明朝"_s);
        d.lineWidth = 2;
        d.box(20, 150, 70, 180);
        d.fillStyle = FillStyle::DiagonalCross;
        d.box(80, 150, 130, 180);
        d.fillStyle = FillStyle::Solid;
        d.fillColour = Qt::gray;
        d.box(140, 150, 190, 180);
        d.fillStyle = FillStyle::Transparent;
        d.font.face = u"ＭＳ 明朝"_s;
        const QString number = pageNumberText(c.options(), 0);
        if (!number.isEmpty()) {
            d.font.size = 10;
            d.currentX = 105 - d.textWidth(number) / 2;
            d.currentY = 280;
            d.print(number);
        }
    });
}
