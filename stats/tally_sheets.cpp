#include "tally_sheets.h"

#include "era_years.h"
#include "graphs.h"
#include "periods.h"
#include "post_status.h"
#include "roster_store.h"
#include "sheet_drawing.h"
#include "tally_tables.h"
#include "text_width.h"

using namespace Qt::StringLiterals;
using sheet::hline;
using sheet::put;
using sheet::putCount;
using sheet::rowRules;
using sheet::tableFrame;
using sheet::vline;
using tally::Count;

namespace tally_sheets {

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;
const QString kPMincho = u"ＭＳ Ｐ明朝"_s;

void counts(PrintDevice& d, double y, const Count& c, double xMale, double xFemale, double xSum, int cells)
{
    putCount(d, xMale, y, c.male, cells);
    putCount(d, xFemale, y, c.female, cells);
    putCount(d, xSum, y, c.total(), cells);
}

// Male, female and both, one under the other, 4 mm apart.
void stacked(PrintDevice& d, double x, double y, const Count& c, int cells)
{
    putCount(d, x, y, c.male, cells);
    putCount(d, x, y + 4, c.female, cells);
    putCount(d, x, y + 8, c.total(), cells);
}

// --- the summary sheet ------------------------------------------------------

void substituteRows(PrintDevice& d, double x, double yLeave, double yVacancy, const Count& leave, const Count& vacancy,
                    double xMale, double xFemale, double xSum)
{
    put(d, x - 0.5, yLeave, postStatusName(PostStatus::LeaveCover), kPMincho, 7.8f);
    d.font.face = kMincho;
    d.font.size = 10;
    counts(d, yLeave, leave, xMale, xFemale, xSum, 4);
    put(d, x, yVacancy, postStatusName(PostStatus::VacancyFill));
    counts(d, yVacancy, vacancy, xMale, xFemale, xSum, 4);
}

void kindBlock(PrintDevice& d, const tally::SummaryTally& t, int block, bool leaveCoverIncluded)
{
    static const QString captions[4] = {u"小学校"_s, u"中学校"_s, u"特別支援学校"_s, u"合　計"_s};
    const double x0 = block == 3 ? 55 : 0;
    const double top = block == 3 ? 20 : 20 + 80 * block;
    const double bottom = top + 70;
    put(d, x0 + 20, top - 4, captions[block]);

    tableFrame(d, x0 + 20, top, x0 + 70, bottom, top + 5, {36.0, 43.0, 52.0, 61.0}, x0);
    rowRules(d, x0 + 20, x0 + 70, top + 5, 5, 1, 12);

    put(d, x0 + 23, top + 1, u"職  名"_s);
    put(d, x0 + 37.5, top + 1, u"級"_s);
    put(d, x0 + 46, top + 1, u"男"_s);
    put(d, x0 + 55, top + 1, u"女"_s);
    put(d, x0 + 64, top + 1, u"計"_s);

    const double xm = x0 + 44, xf = x0 + 53, xs = x0 + 62;
    for (int c = 0; c < tally::kCategories; ++c) {
        const double y = top + 6 + 5 * c;
        put(d, x0 + 21, y, tally_tables::categoryTitle(c));
        put(d, x0 + 37, y, u' ' + QString::number(tally_tables::categoryGrade(c)));
        counts(d, y, t.byCategory[size_t(c)][size_t(block)], xm, xf, xs, 4);
    }
    put(d, x0 + 21, top + 46, u"　合計"_s);
    counts(d, top + 46, t.categoryTotal[size_t(block)], xm, xf, xs, 4);
    if (!leaveCoverIncluded)
        substituteRows(d, x0 + 21, top + 56, top + 61, t.leaveCover[size_t(block)], t.vacancyFill[size_t(block)], xm,
                       xf, xs);
}

void titleBlock(PrintDevice& d, const tally::SummaryTally& t, bool leaveCoverIncluded)
{
    const int rows = leaveCoverIncluded ? 6 : 9;
    const double bottom = 100 + 5 * rows;
    put(d, 75, 96, u"総合計"_s);
    tableFrame(d, 75, 100, 121, bottom, 105, {91.0, 101.0, 111.0});
    rowRules(d, 75, 121, 105, 5, 1, rows - 1);

    put(d, 78, 101, u"職  名"_s);
    put(d, 94, 101, u"男"_s);
    put(d, 104, 101, u"女"_s);
    put(d, 114, 101, u"計"_s);

    static const QString labels[4] = {u"  主事"_s, u"主任主事"_s, u" 副主査"_s, u" 事務長"_s};
    static const int firstCategory[5] = {0, 2, 3, 5, 8};
    for (int s = 0; s < 4; ++s) {
        Count sum;
        for (int c = firstCategory[s]; c < firstCategory[s + 1]; ++c)
            sum += t.byCategory[size_t(c)][3];
        const double y = 106 + 5 * s;
        put(d, 76, y, labels[s]);
        counts(d, y, sum, 93, 103, 113, 4);
    }
    put(d, 76, 126, u"　合計"_s);
    counts(d, 126, t.categoryTotal[3], 93, 103, 113, 4);
    if (!leaveCoverIncluded)
        substituteRows(d, 76, 136, 141, t.leaveCover[3], t.vacancyFill[3], 93, 103, 113);
}

// The single years of age (18..60) or of experience (0..42), with their total.
void yearTable(PrintDevice& d, const std::array<Count, tally::kSlots>& byYear, double left, const QString& caption,
               const QString& unit, int first)
{
    put(d, left, 16, caption);
    tableFrame(d, left, 20, left + 33, 245, 25, {6.0, 15.0, 24.0}, left);
    rowRules(d, left, left + 33, 25, 5, 1, 43);
    put(d, left + 2, 21, unit);
    put(d, left + 8, 21, u"男"_s);
    put(d, left + 17, 21, u"女"_s);
    put(d, left + 26, 21, u"計"_s);
    Count sum;
    for (int j = 0; j <= 42; ++j) {
        const double y = 26 + 5 * j;
        put(d, left - 2, y, sheet::rightAligned(first + j, 4));
        counts(d, y, byYear[size_t(j)], left + 7, left + 16, left + 25, 4);
        sum += byYear[size_t(j)];
    }
    put(d, left + 2, 241, u"計"_s);
    counts(d, 241, sum, left + 7, left + 16, left + 25, 4);
}

QString bandLabel(const QString& label)
{
    return toHalfWidth(label.left(2)) + u'～' + toHalfWidth(label.right(2));
}

void bandTable(PrintDevice& d, const tally::SummaryTally& t)
{
    put(d, 75, 176, u"年齢"_s);
    tableFrame(d, 75, 180, 125, 230, 185, {87.0, 96.0, 105.0, 114.0});
    rowRules(d, 75, 125, 185, 5, 0, 8);
    put(d, 78, 181, u"年齢"_s);
    put(d, 90, 181, u"男"_s);
    put(d, 99, 181, u"女"_s);
    put(d, 108, 181, u"計"_s);
    put(d, 116, 181, u"率％"_s);
    const auto bands = tally::ageBands(t.byAge);
    Count sum;
    for (int b = 0; b < 8; ++b) {
        const double y = 186 + 5 * b;
        put(d, 76, y, bandLabel(tally::bandLabels()[b]));
        counts(d, y, bands[size_t(b)].count, 88, 97, 106, 4);
        put(d, 115, y, QString::number(bands[size_t(b)].share, 'f', 2).rightJustified(5, u' '));
        sum += bands[size_t(b)].count;
    }
    put(d, 76, 226, u"  計"_s);
    counts(d, 226, sum, 88, 97, 106, 4);
}

// --- the district sheets ----------------------------------------------------

void districtTitle(PrintDevice& d, const DistrictHeader& h, const QString& subtitle, double rightEdge)
{
    put(d, 20, 8, fiscalYearCaption(h.fiscalYear), kMincho, 15);
    put(d, 130, 15, subtitle, kMincho, 10);
    const QString date = formatEraDate(h.surveyDate, u"ggge年m月d日"_s) + u"現在"_s;
    put(d, rightEdge - d.textWidth(date), 15, date);
}

// The y of each district name: a band each, except that the district printed
// in two halves shares band 5 with the one after it.
bool hasSplit(const DistrictHeader& h)
{
    return h.districtNames.size() > 6 && !h.splitDistrict.isEmpty() && h.districtNames[5] == h.splitDistrict;
}

// The counts as the bands print them: with the split district, districts 5
// and 6 share band 5 and every later district moves up a band, so the
// numbers stay beside their names.
tally::DistrictTally inBands(const tally::DistrictTally& t, const DistrictHeader& h)
{
    if (!hasSplit(h))
        return t;
    tally::DistrictTally b = t;
    auto fold = [](auto& perDistrict) {
        perDistrict[5] += perDistrict[6];
        for (size_t d = 6; d + 1 < perDistrict.size(); ++d)
            perDistrict[d] = perDistrict[d + 1];
        perDistrict.back() = {};
    };
    for (auto& kind : b.byKindCategoryDistrict)
        for (auto& row : kind)
            fold(row);
    for (auto& slot : b.byAgeDistrict)
        fold(slot);
    for (auto& slot : b.byExperienceDistrict)
        fold(slot);
    return b;
}

std::vector<double> districtNameRows(const DistrictHeader& h, double first, double band, double splitA, double splitB)
{
    const bool split = hasSplit(h);
    std::vector<double> ys;
    for (qsizetype i = 0; i < h.districtNames.size() && i < 17; ++i) {
        if (split && i == 5)
            ys.push_back(splitA);
        else if (split && i == 6)
            ys.push_back(splitB);
        else
            ys.push_back(first + band * double(split && i > 6 ? i - 1 : i));
    }
    return ys;
}

void districtNames(PrintDevice& d, const DistrictHeader& h, double first, double band, double splitA, double splitB)
{
    // A long name is set smaller to stay inside its 14 mm column.
    const float size = d.font.size;
    const auto ys = districtNameRows(h, first, band, splitA, splitB);
    for (size_t i = 0; i < ys.size(); ++i) {
        fitTextToWidth(d, h.districtNames[qsizetype(i)], size, 14);
        put(d, 16, ys[i], h.districtNames[qsizetype(i)]);
    }
    d.font.size = size;
}

Count kindSum(const tally::DistrictTally& t, int row, int district)
{
    Count c;
    for (int k = 0; k < 3; ++k)
        c += t.byKindCategoryDistrict[size_t(k)][size_t(row)][size_t(district)];
    return c;
}

} // namespace

DistrictHeader districtHeader(const RosterStore& store)
{
    DistrictHeader h;
    h.fiscalYear = store.fiscalYear;
    h.surveyDate = store.surveyDate;
    h.districtNames = store.municipalities.districtNames;
    h.splitDistrict = store.places.splitDistrict;
    return h;
}

void drawSummary(PrintDevice& d, const tally::SummaryTally& t, const QString& heading, bool leaveCoverIncluded)
{
    put(d, 25, 8, heading, kMincho, 15);
    d.font.size = 10;
    for (int block = 0; block < 4; ++block)
        kindBlock(d, t, block, leaveCoverIncluded);
    titleBlock(d, t, leaveCoverIncluded);
    yearTable(d, t.byAge, 130, u"年齢"_s, u"歳"_s, tally::kMinAge);
    yearTable(d, t.byExperience, 166, u"経験年数"_s, u"年"_s, 0);
    bandTable(d, t);
    put(d, 75, 235,
        u"平均年齢 "_s + QString::number(t.averageAge.years) + u"歳 "_s + QString::number(t.averageAge.months) +
            u"月"_s);
}

void drawTitleGrade(PrintDevice& d, const tally::DistrictTally& tally, const DistrictHeader& h)
{
    const tally::DistrictTally t = inBands(tally, h);
    districtTitle(d, h, u"職名別・級別調査"_s, 195);

    d.lineWidth = 6;
    d.box(15, 20, 195, 248);
    vline(d, 30, 20, 248, 4);
    for (int k = 0; k <= 9; ++k)
        vline(d, 35 + 15 * k, 20, 248, 4);
    vline(d, 188, 20, 248, 4);
    for (int k = 0; k <= 17; ++k)
        hline(d, 15, 195, 32 + 12 * k, 4);

    for (int k = 1; k <= 26; ++k)
        vline(d, 35 + 5 * k, 26, 236, 2);
    vline(d, 176, 26, 236, 2);
    vline(d, 182, 26, 236, 2);
    hline(d, 35, 188, 26, 2);
    for (int i = 1; i <= 53; ++i)
        hline(d, 30, i >= 51 ? 188 : 195, 32 + 4 * i, 2);

    d.font.size = 9;
    static const QString kinds[3] = {u"小"_s, u"中"_s, u"養"_s};
    for (int g = 0; g <= 8; ++g)
        for (int l = 0; l < 3; ++l)
            put(d, 36 + 15 * g + 5 * l, 27, kinds[l]);
    for (int l = 0; l < 3; ++l)
        put(d, 171 + 6 * l, 27, kinds[l]);

    for (int g = 0; g <= 8; ++g) {
        const QString label = tally::categoryLabels().value(g);
        if (g == 5)
            put(d, 109.5, 21.5, label, kMincho, 7.2f);
        else
            put(d, 35 + 15 * g, 21.5, label, kMincho, 8);
    }
    put(d, 172, 21.5, u" 合　計"_s, kMincho, 8);
    put(d, 188.5, 23, u"地区"_s);
    put(d, 188.5, 26, u"合計"_s);
    put(d, 31, 23, u"性"_s);
    put(d, 31, 26, u"別"_s);

    d.font.size = 9;
    for (int k = 0; k <= 17; ++k) {
        put(d, 31, 32.5 + 12 * k, u"男"_s);
        put(d, 31, 36.5 + 12 * k, u"女"_s);
        put(d, 31, 40.5 + 12 * k, u"計"_s);
    }
    put(d, 16, 24.5, u" 地区名"_s);
    districtNames(d, h, 36.5, 12, 94.5, 98.5);
    put(d, 16, 228.5, u" 合  計"_s);
    put(d, 16, 240.5, u" 総合計"_s);

    d.font.size = 8;
    auto column = [](int g, int l) { return g < 8 ? 35.5 + 15 * g + 5 * l : 171.5 + 6 * l; };
    auto row = [](int g) { return g < 8 ? 8 - g : 0; }; // column 8 is the total column here
    for (int dist = 0; dist < tally::kDistricts; ++dist) {
        const double y = 32.5 + 12 * dist;
        for (int g = 0; g <= 8; ++g)
            for (int l = 0; l < 3; ++l)
                stacked(d, column(g, l), y, t.byKindCategoryDistrict[size_t(l)][size_t(row(g))][size_t(dist)], 3);
        stacked(d, 189, y, kindSum(t, 0, dist), 4);
    }

    const double y = 224.5;
    for (int g = 0; g <= 8; ++g) {
        Count all;
        for (int l = 0; l < 3; ++l) {
            const Count& c = t.byKindCategory[size_t(l)][size_t(row(g))];
            stacked(d, column(g, l), y, c, 3);
            all += c;
        }
        stacked(d, g < 8 ? column(g, 2) : column(g, 2) - 1, 236.5, all, 4);
    }
}

void drawAgeOrExperience(PrintDevice& d, const tally::DistrictTally& tally, const DistrictHeader& h, bool experience)
{
    const tally::DistrictTally t = inBands(tally, h);
    districtTitle(d, h, experience ? u"経験年数別調査"_s : u"年齢別調査"_s, 276);

    d.lineWidth = 7;
    d.box(15, 20, 276, 165);
    vline(d, 30, 20, 165, 5);
    for (int b = 0; b <= 16; ++b)
        hline(d, 15, 276, 25 + 8 * b, 5);
    vline(d, 262.9, 20, 165, 5);
    for (int f = 0; f <= 43; ++f)
        vline(d, 35 + 5.3 * f, 20, 165, 2);
    vline(d, 269.4, 25, 165, 2);
    rowRules(d, 30, 269.4, 29, 8, 0, 16);
    hline(d, 30, 276, 161, 2);

    put(d, 31, 21, u"性"_s, kMincho, 9);
    put(d, 266, 21, u"合計"_s);
    for (int w = 0; w <= 16; ++w) {
        put(d, 31, 25.5 + 8 * w, u"男"_s);
        put(d, 31, 29.5 + 8 * w, u"女"_s);
    }
    put(d, 31, 161.5, u"計"_s);
    put(d, 16, 21, u" 地区名"_s);
    districtNames(d, h, 27, 8, 66, 69.5);
    put(d, 16, 157, u" 合 計"_s);

    d.font.size = 10;
    for (int e = 0; e <= 42; ++e)
        put(d, 36 + 5.3 * e, 21, QString::number(experience ? e : tally::kMaxAge - e));

    // Column e holds age 60 - e (slot 42 - e) or e years of experience.
    auto slot = [experience](int e) { return size_t(experience ? e : 42 - e); };
    const auto& byDistrict = experience ? t.byExperienceDistrict : t.byAgeDistrict;
    const auto& all = experience ? t.byExperience : t.byAge;

    d.font.size = 8;
    for (int dist = 0; dist < tally::kDistricts; ++dist) {
        const double y = 25.5 + 8 * dist;
        Count sum;
        for (int e = 0; e <= 42; ++e) {
            const Count& c = byDistrict[slot(e)][size_t(dist)];
            putCount(d, 35.5 + 5.3 * e, y, c.male, 3);
            putCount(d, 35.5 + 5.3 * e, y + 4, c.female, 3);
            sum += c;
        }
        putCount(d, 263.4, y, sum.male, 4);
        putCount(d, 263.4, y + 4, sum.female, 4);
        putCount(d, 269.9, y + 2.5, sum.total(), 4);
    }
    const double y = 153.5;
    Count sum;
    for (int e = 0; e <= 42; ++e) {
        const Count& c = all[slot(e)];
        stacked(d, 35.5 + 5.3 * e, y, c, 3);
        sum += c;
    }
    stacked(d, 263.4, y, sum, 4);
    putCount(d, 269.9, y + 2.5, sum.total(), 4);
}

namespace {
// Paper, origin and reset; false when the sheet must not be drawn.
bool preparePage(PrintJobContext& c, bool landscape, bool summary, bool informationMatters)
{
    PrintDevice& d = c.device;
    setupReportPage(d, u"A4"_s, landscape ? u"H"_s : u"V"_s);
    if (informationMatters && d.printableSizeMm().isEmpty())
        c.stopFlag = PrintJobContext::kPrinterInformationError;
    if (summary) {
        reportOrigin(d, 198, 290, 0, 10);
    } else {
        d.scaleLeft = d.printerOffsetXMm - 3;
        d.scaleTop = d.printerOffsetYMm - 10;
    }
    if (c.stopRequested())
        return false;
    resetPage(d);
    return !c.stopRequested();
}
} // namespace

void printSummary(PrintJobContext& c, const tally::SummaryTally& t, bool leaveCoverIncluded)
{
    if (preparePage(c, false, true, true))
        drawSummary(c.device, t, c.options().heading, leaveCoverIncluded);
}

void printDistrictSheet(PrintJobContext& c, Sheet sheet, const tally::DistrictTally& t)
{
    const bool landscape = sheet != Sheet::TitleGrade;
    if (!preparePage(c, landscape, false, sheet == Sheet::TitleGrade))
        return;
    const DistrictHeader h = districtHeader(c.store);
    if (sheet == Sheet::TitleGrade)
        drawTitleGrade(c.device, t, h);
    else
        drawAgeOrExperience(c.device, t, h, sheet == Sheet::Experience);
}

void registerSummaryJob()
{
    printJobs().add(kSummaryJob, [](PrintJobContext& c) {
        const auto& sel = c.session().selections;
        tally::Options o;
        o.area = sel.tallyArea;
        o.district = sel.tallyDistrict;
        o.includeLeaveCover = sel.tallyLeaveCoverIncluded;
        o.includeVacancyFill = sel.tallyVacancyFillIncluded;
        tally::prepareAges(c.store);
        printSummary(c, tally::computeSummaryTally(c.store, o), o.includeLeaveCover);
    });
}

} // namespace tally_sheets
