#include "graphs.h"

#include "painter_device.h"
#include "era_years.h"
#include "periods.h"
#include "roster_store.h"
#include "sheet_drawing.h"
#include "text_width.h"

#include <QImage>
#include <QPainter>
#include <numeric>

using namespace Qt::StringLiterals;
using sheet::hline;
using sheet::put;
using sheet::putRight;
using sheet::vline;
using tally::Count;

namespace graphs {

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;

// A row label in 9 pt, set smaller when it would run into the bar.
void label(PrintDevice& d, double x, double y, const QString& text, double room)
{
    sheet::putFitted(d, x, y, text, 9, room);
}

void solidBox(PrintDevice& d, double x1, double y1, double x2, double y2, const QColor& colour, int width)
{
    d.lineWidth = width;
    d.fillStyle = FillStyle::Solid;
    d.fillColour = colour;
    d.box(x1, y1, x2, y2);
    d.fillStyle = FillStyle::Transparent;
}

void hatchedBox(PrintDevice& d, double x1, double y1, double x2, double y2, int style, int width)
{
    d.lineWidth = width;
    d.fillStyle = FillStyle(style);
    d.fillColour = Qt::black;
    d.box(x1, y1, x2, y2);
    d.fillStyle = FillStyle::Transparent;
}

void frameBox(PrintDevice& d, double x1, double y1, double x2, double y2, int width)
{
    d.lineWidth = width;
    d.fillStyle = FillStyle::Transparent;
    d.box(x1, y1, x2, y2);
}

Count kindsOf(const tally::DistrictTally& t, int row)
{
    Count c;
    for (int k = 0; k < 3; ++k)
        c += t.byKindCategory[size_t(k)][size_t(row)];
    return c;
}

Count kindsOf(const tally::DistrictTally& t, int row, int district)
{
    Count c;
    for (int k = 0; k < 3; ++k)
        c += t.byKindCategoryDistrict[size_t(k)][size_t(row)][size_t(district)];
    return c;
}

std::array<Count, tally::kSlots> agesOf(const tally::DistrictTally& t, int district)
{
    std::array<Count, tally::kSlots> a{};
    for (size_t s = 0; s < a.size(); ++s)
        a[s] = t.byAgeDistrict[s][size_t(district)];
    return a;
}

int districtRows(const tally_sheets::DistrictHeader& h)
{
    return int(std::min<qsizetype>(h.districtNames.size(), tally::kDistricts));
}

QString bandText(int b)
{
    const QString label = tally::bandLabels()[b];
    return toHalfWidth(label.left(2)) + u'～' + toHalfWidth(label.right(2));
}

// Segments of a 100 % bar; the x of every boundary, the left edge first.
std::vector<double> segments(PrintDevice& d, const std::array<int, 8>& counts, double x0, double width, double top,
                             double bottom, int lineWidth)
{
    std::vector<double> edges{x0};
    const int total = std::accumulate(counts.begin(), counts.end(), 0);
    if (total <= 0) {
        frameBox(d, x0, top, x0 + width, bottom, lineWidth);
        return edges;
    }
    double x = x0;
    for (int k = 0; k < 8; ++k) {
        const double w = double(counts[size_t(k)]) * width / total;
        hatchedBox(d, x, top, x + w, bottom, k, lineWidth);
        x += w;
        edges.push_back(x);
    }
    return edges;
}

std::array<int, 8> categoryCounts(const tally::DistrictTally& t, int district)
{
    std::array<int, 8> c{};
    for (int k = 0; k < 8; ++k)
        c[size_t(k)] = (district < 0 ? kindsOf(t, 8 - k) : kindsOf(t, 8 - k, district)).total();
    return c;
}

std::array<int, 8> bandCounts(const std::array<Count, tally::kSlots>& ages)
{
    std::array<int, 8> c{};
    const auto bands = tally::ageBands(ages);
    for (int b = 0; b < 8; ++b)
        c[size_t(b)] = bands[size_t(b)].count.total();
    return c;
}

// The male-share bar of graph 3 with its text and share.
void shareBar(PrintDevice& d, double x0, double top, const Count& c, double shareRight, int lineWidth)
{
    frameBox(d, x0, top, x0 + 70, top + 6, lineWidth);
    const int total = c.total();
    if (total > 0 && c.male > 0)
        solidBox(d, x0, top, x0 + double(c.male) * 70 / total, top + 6, Qt::black, lineWidth);
    d.font.size = 8;
    put(d, x0, top + 7,
        u"男 "_s + QString::number(c.male) + u"名　女 "_s + QString::number(c.female) + u"名　計 "_s +
            QString::number(total) + u"名"_s);
    if (total > 0)
        putRight(d, shareRight, top + 2, QString::number(double(c.male) * 100 / total, 'f', 1) + u"％"_s);
}
} // namespace

void drawTitleGradeChart(PrintDevice& d, const tally::DistrictTally& t, Target target)
{
    d.font.face = kMincho;
    put(d, 30, 30, u"職名別・級別調査"_s, kMincho, 10);
    frameBox(d, 30, 35, 183, 127, target.frame());
    frameBox(d, 25, 107, 193, 127, target.frame());
    for (int v = 1; v <= 8; ++v)
        hline(d, 30, 183, 35 + 8 * v, target.rule());
    for (int b = 0; b <= 9; ++b)
        vline(d, 30 + 17 * b, 106, 127, target.rule());
    for (double y : {112.0, 117.0, 122.0})
        hline(d, 25, 193, y, target.rule());
    d.font.size = 10;
    for (int i = 0; i <= 8; ++i)
        putRight(d, 29, 33 + 8 * i, QString::number(450 - 50 * i));
    d.font.size = 9;
    put(d, 26, 113, u"男"_s);
    put(d, 26, 118, u"女"_s);
    put(d, 26, 123, u"計"_s);
    d.font.size = 8;
    for (int j = 0; j <= 8; ++j)
        put(d, j == 5 ? 115 : 31 + 17 * j, 108, tally::categoryLabels().value(j));
    put(d, 185, 108, u"合計"_s);
    const int bar = target.print ? 4 : 2;
    Count sum;
    for (int c = 0; c < 8; ++c) {
        const Count n = kindsOf(t, 8 - c);
        const double x = 34 + 17 * c;
        solidBox(d, x, 107 - 0.16 * n.male, x + 8, 107, Qt::black, bar);
        solidBox(d, x, 107 - 0.16 * n.total(), x + 8, 107 - 0.16 * n.male, Qt::white, bar);
        d.font.size = 8;
        putRight(d, 40 + 17 * c, 113, QString::number(n.male));
        putRight(d, 40 + 17 * c, 118, QString::number(n.female));
        putRight(d, 40 + 17 * c, 123, QString::number(n.total()));
        sum += n;
    }
    putRight(d, 192, 113, QString::number(sum.male));
    putRight(d, 192, 118, QString::number(sum.female));
    putRight(d, 192, 123, QString::number(sum.total()));
    solidBox(d, 150, 40, 165, 58, Qt::white, target.rule());
    solidBox(d, 153, 43, 158, 48, Qt::black, target.rule());
    solidBox(d, 153, 50, 158, 55, Qt::white, target.rule());
    d.font.size = 9;
    put(d, 160, 44, u"男"_s);
    put(d, 160, 51, u"女"_s);
}

void drawAgeChart(PrintDevice& d, const tally::DistrictTally& t, Target target)
{
    put(d, 30, 150, u"男女別・年齢別調査"_s, kMincho, 10);
    frameBox(d, 25, 155, 188.4, 245, target.frame());
    frameBox(d, 20, 225, 196, 245, target.frame());
    for (int l = 1; l <= 6; ++l)
        hline(d, 25, 188.4, 155 + 10 * l, target.rule());
    for (int m = 0; m <= 43; ++m)
        vline(d, 25 + 3.8 * m, 224.8, 245, target.rule());
    for (double y : {230.0, 235.0, 240.0})
        hline(d, 20, 196, y, target.rule());
    d.font.size = 10;
    for (int i = 0; i <= 6; ++i)
        putRight(d, 24, 153 + 10 * i, QString::number(70 - 10 * i));
    d.font.size = 9;
    put(d, 21, 231, u"男"_s);
    put(d, 21, 236, u"女"_s);
    put(d, 21, 241, u"計"_s);
    for (int i = 0; i <= 42; ++i)
        put(d, 25.5 + 3.8 * i, 226, QString::number(tally::kMaxAge - i));
    put(d, 189, 226, u"合計"_s);
    const int bar = target.print ? 4 : 1;
    Count sum;
    int previous = 0;
    for (int i = 0; i <= 42; ++i) {
        const Count& n = t.byAge[size_t(42 - i)];
        d.font.size = 8;
        if (n.male > 0)
            putRight(d, 28.5 + 3.8 * i, 231, QString::number(n.male));
        if (n.female > 0)
            putRight(d, 28.5 + 3.8 * i, 236, QString::number(n.female));
        if (n.total() > 0)
            putRight(d, 28.5 + 3.8 * i, 241, QString::number(n.total()));
        const double x = 25.4 + 3.8 * i;
        solidBox(d, x, 225 - n.male, x + 1.5, 225, Qt::black, bar);
        solidBox(d, x + 1.5, 225 - n.female, x + 3, 225, Qt::white, bar);
        if (i > 0) {
            d.lineWidth = bar;
            d.line(x - 2.3, 225 - previous, x + 1.5, 225 - n.total());
        }
        previous = n.total();
        sum += n;
    }
    d.font.size = 8;
    putRight(d, 195.5, 231, QString::number(sum.male));
    putRight(d, 195.5, 236, QString::number(sum.female));
    putRight(d, 195.5, 241, QString::number(sum.total()));
    solidBox(d, 155, 158, 170, 182, Qt::white, target.rule());
    solidBox(d, 158, 161, 163, 166, Qt::black, target.rule());
    solidBox(d, 158, 168, 163, 173, Qt::white, target.rule());
    d.lineWidth = target.rule();
    d.line(158, 177, 163, 177);
    d.font.size = 9;
    put(d, 165, 162, u"男"_s);
    put(d, 165, 169, u"女"_s);
    put(d, 165, 176, u"計"_s);
}

void drawGraph2(PrintDevice& d, const tally::DistrictTally& t, const tally_sheets::DistrictHeader& h, Target target,
                bool connectingLines)
{
    const double labelX = target.print ? 15 : 20;
    const double catX = target.print ? 30 : 35;
    const double ageX = target.print ? 105 : 120;
    const double avgX = target.print ? 180 : 200;
    const double width = target.print ? 70 : 75;
    const int bar = target.rule();
    put(d, catX, 28, u"職名別調査"_s, kMincho, 10);
    put(d, ageX, 28, u"年齢別調査"_s);
    put(d, avgX, 28, u"平均年齢"_s);

    std::vector<double> previousCat, previousAge;
    const int rows = districtRows(h);
    for (int r = -1; r < rows; ++r) {
        const double top = r < 0 ? 33 : 44 + 11 * r;
        const double bottom = top + 7;
        label(d, labelX, r < 0 ? 35 : 46 + 11 * r, r < 0 ? u"  全"_s : h.districtNames[r], catX - labelX - 0.5);
        const auto cats = categoryCounts(t, r);
        const auto catEdges = segments(d, cats, catX, width, top, bottom, bar);
        const auto ageEdges = segments(d, bandCounts(r < 0 ? t.byAge : agesOf(t, r)), ageX, width, top, bottom, bar);
        if (connectingLines && r >= 1) {
            d.lineWidth = 1;
            for (size_t i = 0; i < std::min(previousCat.size(), catEdges.size()); ++i)
                d.line(previousCat[i], top - 4, catEdges[i], top);
            for (size_t i = 0; i < std::min(previousAge.size(), ageEdges.size()); ++i)
                d.line(previousAge[i], top - 4, ageEdges[i], top);
        }
        previousCat = catEdges;
        previousAge = ageEdges;
        const tally::YearsMonths avg = r < 0 ? t.averageAge : t.averageAgeByDistrict[size_t(r)];
        const int members = std::accumulate(cats.begin(), cats.end(), 0);
        d.font.size = 9;
        put(d, avgX, top, QString::number(avg.years) + u"歳 "_s + QString::number(avg.months) + u"月"_s);
        put(d, avgX, top + 4, QString::number(members) + u"名"_s);
    }
    for (int k = 0; k < 8; ++k) {
        const double y = 220 + 6 * k;
        hatchedBox(d, 40, y, 45, y + 5, k, bar);
        put(d, 47, y, tally::categoryLabels().value(k));
        hatchedBox(d, 125, y, 130, y + 5, k, bar);
        put(d, 132, y, bandText(k));
    }
}

void drawGraph3(PrintDevice& d, const tally::DistrictTally& t, const tally_sheets::DistrictHeader& h, Target target)
{
    const double labelX = target.print ? 15 : 20;
    const double left = target.print ? 30 : 35;
    const double right = target.print ? 120 : 125;
    const double rightLabel = target.print ? 103 : 110;
    const double share = left + 68;
    const int bar = target.rule();
    put(d, left, 28, u"男女別調査"_s, kMincho, 10);
    const int rows = districtRows(h);
    for (int i = 0; i <= rows; ++i) {
        label(d, labelX, i == 0 ? 35 : 46 + 11 * (i - 1), i == 0 ? u"  全"_s : h.districtNames[i - 1],
              left - labelX - 0.5);
        Count c;
        if (i == 0) {
            for (int row = 1; row <= 8; ++row)
                c += kindsOf(t, row);
        } else {
            c = kindsOf(t, 0, i - 1);
        }
        shareBar(d, left, 33 + 11 * i, c, share, bar);
    }
    static const QString kinds[3] = {u"小学校"_s, u"中学校"_s, u"特別支援学校"_s};
    for (int k = 0; k < 3; ++k) {
        Count c;
        for (int row = 1; row <= 8; ++row)
            for (int dist = 0; dist < tally::kDistricts; ++dist)
                c += t.byKindCategoryDistrict[size_t(k)][size_t(row)][size_t(dist)];
        label(d, rightLabel, 46 + 11 * k, kinds[k], right - rightLabel - 0.5);
        shareBar(d, right, 33 + 11 * (k + 1), c, right + 68, bar);
    }
    std::array<Count, tally::kSlots> all{};
    for (size_t s = 0; s < all.size(); ++s)
        for (int dist = 0; dist < tally::kDistricts; ++dist)
            all[s] += t.byAgeDistrict[s][size_t(dist)];
    const auto bands = tally::ageBands(all);
    for (int b = 0; b < 8; ++b) {
        label(d, rightLabel, 90 + 11 * b, bandText(b), right - rightLabel - 0.5);
        shareBar(d, right, 33 + 11 * (5 + b), bands[size_t(b)].count, right + 68, bar);
    }
}

void drawOnScreen(QPainter& p, const QRect& r, View view, const tally::DistrictTally& t,
                  const tally_sheets::DistrictHeader& h, int toggle, int scroll, bool connectingLines)
{
    if (r.isEmpty())
        return;
    // Drawn at the screen's own pixels (twice as many on a HiDPI screen at
    // scale 2), so lines and text stay sharp instead of being enlarged.
    const qreal ratio = p.device()->devicePixelRatioF();
    QImage image((QSizeF(r.size()) * ratio).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.setDotsPerMeterX(p.device()->logicalDpiX() * 10000 / 254);
    image.setDotsPerMeterY(p.device()->logicalDpiY() * 10000 / 254);
    image.fill(Qt::white);
    {
        PainterDevice d(&image);
        d.font.face = kMincho;
        const Target screen{false};
        if (view == View::Graph1) {
            if (toggle == 0) {
                drawTitleGradeChart(d, t, screen);
            } else {
                d.scaleTop = 120; // the second chart in the same place on the screen
                drawAgeChart(d, t, screen);
            }
        } else {
            d.scaleTop = 20.0 * scroll;
            if (view == View::Graph2)
                drawGraph2(d, t, h, screen, connectingLines);
            else
                drawGraph3(d, t, h, screen);
        }
    }
    p.drawImage(r.topLeft(), image);
}

void printPage(PrintJobContext& c, View view, const tally::DistrictTally& t, bool connectingLines)
{
    PrintDevice& d = c.device;
    setupReportPage(d, u"A4"_s, u"V"_s);
    d.scaleLeft = c.globals.printerOffsetXMm - 1;
    d.scaleTop = c.globals.printerOffsetYMm - 1;
    if (c.globals.stopFlag > 0)
        return;
    resetPage(d);
    if (c.globals.stopFlag > 0)
        return;
    const tally_sheets::DistrictHeader h = tally_sheets::districtHeader(c.store);
    const QString year = fiscalYearCaption(h.fiscalYear);
    put(d, 20, view == View::Graph1 ? 20 : 13, year, kMincho, 15);
    const Target paper{true};
    if (view == View::Graph1) {
        drawTitleGradeChart(d, t, paper);
        drawAgeChart(d, t, paper);
        d.font.size = 10;
        putRight(d, 184, 150,
                 year + u"学校事務職員名簿より　"_s + formatEraDate(h.surveyDate, u"ggge年m月d日"_s) + u"現在"_s);
    } else if (view == View::Graph2) {
        drawGraph2(d, t, h, paper, connectingLines);
    } else {
        drawGraph3(d, t, h, paper);
    }
}

} // namespace graphs
