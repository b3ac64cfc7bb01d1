#include "network_print.h"

#include "sheet_drawing.h"

#include <QImage>

using namespace Qt::StringLiterals;
using sheet::put;

namespace network_print {

namespace {
const QString kMincho = u"ＭＳ 明朝"_s;

// Where the two kinds of sheet put things.
struct Geometry {
    QRectF top0, top1;
    std::vector<QPointF> top0Text, top1Text;
    QLineF top0To1;
    QLineF top1Down, top1Across;
    double trunkX;
    double column0, columnStep;
    double pitchExtra;
    double singleRowY;
    double boxTop, boxWidth, boxBottom;
    std::vector<double> gridTextDy;
    double leftOffset;
    double rightStub;
    double remarkBase;
};

const Geometry kSchool{QRectF(QPointF(20, 49), QPointF(50, 62)),
                       QRectF(QPointF(20, 71), QPointF(50, 84)),
                       {{21, 50}, {21, 54}, {21, 58}},
                       {{21, 72}, {21, 76}, {21, 80}},
                       QLineF(35, 62, 35, 71),
                       QLineF(35, 84, 35, 99),
                       QLineF(35, 99, 54, 99),
                       54,
                       58,
                       34,
                       18,
                       90,
                       2,
                       28,
                       15,
                       {3, 7, 11},
                       3,
                       3,
                       18};

const Geometry kOfficer{QRectF(QPointF(20, 48), QPointF(56, 63)),
                        QRectF(QPointF(20, 70), QPointF(56, 85)),
                        {{21, 48.5}, {21, 52}, {21, 55.5}, {21, 59}},
                        {{21, 70.5}, {21, 74}, {21, 77.5}, {21, 81}},
                        QLineF(38, 63, 38, 70),
                        QLineF(38, 85, 38, 99),
                        QLineF(38, 99, 60, 99),
                        60,
                        64,
                        43,
                        20,
                        89,
                        1,
                        35,
                        16,
                        {1.5, 5, 8.5, 12},
                        4,
                        4,
                        20};

// The text lines of a box, each with the size it is set in.
void textLines(PrintDevice& d, const NetworkNode& n, const std::vector<QPointF>& at, bool /*top*/)
{
    fitTextToWidth(d, n.schoolName, 10, 28);
    put(d, at[0].x(), at[0].y(), n.schoolName);
    d.font.size = 10;
    put(d, at[1].x(), at[1].y(), n.tel);
    put(d, at[2].x(), at[2].y(), n.clerkName);
}

void textLines(PrintDevice& d, const OfficerNetworkNode& n, const std::vector<QPointF>& at, bool top)
{
    const QString school = n.municipality + u"立"_s + n.schoolName;
    fitTextToWidth(d, school, 9, top ? 34 : 33);
    put(d, at[0].x(), at[0].y(), school);
    d.font.size = 9;
    put(d, at[1].x(), at[1].y(), n.schoolTel);
    put(d, at[2].x(), at[2].y(), n.memberName);
    if (!n.homeTel.isEmpty())
        put(d, at[3].x(), at[3].y(), u"自宅 "_s + n.homeTel);
    d.font.size = 10;
}

void line(PrintDevice& d, double x1, double y1, double x2, double y2, int width)
{
    d.lineWidth = width;
    d.line(x1, y1, x2, y2);
}

void line(PrintDevice& d, const QLineF& l, int width)
{
    line(d, l.x1(), l.y1(), l.x2(), l.y2(), width);
}

void box(PrintDevice& d, const QRectF& r)
{
    d.lineWidth = 5;
    d.box(r.left(), r.top(), r.right(), r.bottom());
}

template <typename Node>
NetworkLayout layoutOf(const ContactNetwork<Node>& n)
{
    NetworkLayout l;
    for (int level = 0; level < n.kLevels; ++level)
        for (int chain = 0; chain < n.kChains; ++chain)
            if (n.grid[size_t(level)][size_t(chain)].filled()) {
                l.maxLevel = std::max(l.maxLevel, level);
                l.maxChain = std::max(l.maxChain, chain);
            }
    for (int level = 0; level <= l.maxLevel; ++level) {
        bool full = true;
        for (int chain = 0; chain <= l.maxChain; ++chain)
            full = full && n.grid[size_t(level)][size_t(chain)].filled();
        if (full) {
            l.firstFullLevel = level;
            break;
        }
    }
    static const double gaps[8][2] = {{3, 16.5}, {15, 73.5}, {15, 57}, {15, 40.5},
                                      {15, 24},  {6, 30},    {6, 18},  {3, 16.5}};
    l.rowGap = gaps[l.maxChain][0];
    l.topOffset = gaps[l.maxChain][1];
    return l;
}

template <typename Node>
bool gapInChains(const ContactNetwork<Node>& n)
{
    bool emptySeen = false;
    for (int chain = 0; chain < n.kChains; ++chain) {
        bool empty = true;
        for (int level = 0; level < n.kLevels; ++level)
            empty = empty && !n.grid[size_t(level)][size_t(chain)].filled();
        if (empty)
            emptySeen = true;
        else if (emptySeen)
            return true;
    }
    return false;
}

template <typename Node>
void print(PrintJobContext& c, const ContactNetwork<Node>& n, const QImage& picture, const Geometry& g)
{
    PrintDevice& d = c.device;
    setupReportPage(d, u"A4"_s, u"H"_s);
    if (c.stopRequested())
        return;
    measurePrinterOffsets(d);
    d.scaleTop = d.printerOffsetYMm;
    d.scaleLeft = d.printerOffsetXMm + 5;
    resetPage(d);
    if (c.stopRequested())
        return;
    d.font.face = kMincho;
    put(d, 70, 7, n.remarks[2], kMincho, 14);
    d.font.size = 10;
    if (!n.pictureFile.isEmpty() && !picture.isNull())
        d.picture(picture, 20, 10, 30, 30);

    if (n.topNodes[0].code() > 0) {
        box(d, g.top0);
        textLines(d, n.topNodes[0], g.top0Text, true);
        line(d, g.top0To1, 7);
    }
    if (n.topNodes[1].code() > 0) {
        box(d, g.top1);
        textLines(d, n.topNodes[1], g.top1Text, true);
        line(d, g.top1Down, 7);
        line(d, g.top1Across, 7);
    }

    d.font.size = 10;
    const NetworkLayout l = layoutOf(n);
    const double pitch = l.rowGap + g.pitchExtra;
    auto filled = [&n](int level, int chain) {
        return level >= 0 && level < n.kLevels && chain >= 0 && chain < n.kChains &&
               n.grid[size_t(level)][size_t(chain)].filled();
    };
    double prevY = 0;
    for (int level = 0; level <= l.maxLevel; ++level) {
        for (int chain = 0; chain <= l.maxChain; ++chain) {
            if (!filled(level, chain))
                continue;
            const double x = g.column0 + g.columnStep * level;
            double y = l.topOffset + pitch * chain;
            if (level < l.firstFullLevel && chain < l.maxChain) {
                int next = chain + 1;
                while (next <= l.maxChain && !filled(level, next))
                    ++next;
                y = (y + l.topOffset + pitch * (next - 1)) / 2;
            }
            if (l.maxChain == 0)
                y = g.singleRowY;
            const double s = g.leftOffset;
            if (level >= 1) {
                if (!filled(level - 1, chain))
                    line(d, x - s, y + 9, x - s, prevY, 7);
                line(d, x - s, y + 9, x, y + 9, 7);
            } else {
                line(d, g.trunkX, y + 9, x, y + 9, 7);
                line(d, g.trunkX, y + 9, g.trunkX, 99, 7);
            }
            if (level < 6 && filled(level + 1, chain))
                line(d, x + g.boxWidth, y + 9, x + g.boxWidth + g.rightStub, y + 9, 7);
            prevY = y + 9;
            box(d, QRectF(QPointF(x, y + g.boxTop), QPointF(x + g.boxWidth, y + g.boxBottom)));
            std::vector<QPointF> at;
            for (double dy : g.gridTextDy)
                at.emplace_back(x + 1, y + dy);
            textLines(d, n.grid[size_t(level)][size_t(chain)], at, false);
        }
    }
    const double yr = l.maxChain * l.rowGap + (l.maxChain + 1) * g.remarkBase + l.topOffset;
    d.font.size = 10;
    put(d, 58, yr + 2, n.remarks[0]);
    put(d, 58, yr + 7, n.remarks[1]);
}
} // namespace

NetworkLayout computeLayout(const SchoolNetwork& network)
{
    return layoutOf(network);
}
NetworkLayout computeLayout(const OfficerNetwork& network)
{
    return layoutOf(network);
}
bool hasEmptyChainInBetween(const SchoolNetwork& network)
{
    return gapInChains(network);
}
bool hasEmptyChainInBetween(const OfficerNetwork& network)
{
    return gapInChains(network);
}
void printSheet(PrintJobContext& c, const SchoolNetwork& network, const QImage& picture)
{
    print(c, network, picture, kSchool);
}
void printSheet(PrintJobContext& c, const OfficerNetwork& network, const QImage& picture)
{
    print(c, network, picture, kOfficer);
}

} // namespace network_print
