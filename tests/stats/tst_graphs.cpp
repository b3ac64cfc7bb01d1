#include "era_years.h"
#include "graphs.h"
#include "periods.h"
#include "recorded_page.h"
#include "recording_device.h"
#include "sample_roster.h"
#include "statistics_window.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPainter>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Kind = RecordingDevice::Primitive::Kind;
using Primitive = RecordingDevice::Primitive;

using recorded::near;
using recorded::textAt;
using recorded::textEndingAt;

namespace {
QList<Primitive> boxes(const RecordingDevice& d, double top, double bottom)
{
    QList<Primitive> out;
    for (const auto& p : d.primitives)
        if (p.kind == Kind::Box && near(p.y1, top) && near(p.y2, bottom))
            out << p;
    return out;
}

int linesBetween(const RecordingDevice& d, double y1, double y2)
{
    int n = 0;
    for (const auto& p : d.primitives)
        n += p.kind == Kind::Line && near(p.y1, y1) && near(p.y2, y2);
    return n;
}

tally_sheets::DistrictHeader header(int districts)
{
    tally_sheets::DistrictHeader h;
    h.fiscalYear = 20;
    h.surveyDate = Date::fromYmd(2008, 4, 1);
    for (int i = 0; i < districts; ++i)
        h.districtNames << u"地区%1"_s.arg(i);
    return h;
}
} // namespace

class TestGraphs : public QObject {
    Q_OBJECT
private slots:
    void titleAndGradeChart()
    {
        tally::DistrictTally t;
        t.byKindCategory[0][8] = {300, 200}; // 6級事務長: 500, above the 450 of the scale
        t.byKindCategory[1][1] = {10, 0};    // 1級主事 at 中学校
        RecordingDevice d;
        graphs::drawTitleGradeChart(d, t, {false});
        QCOMPARE(textAt(d, 30, 30)->text, u"職名別・級別調査"_s);
        QCOMPARE(textEndingAt(d, 29, 33)->text, u"450"_s);
        QCOMPARE(textEndingAt(d, 29, 97)->text, u"50"_s);
        // Column 0 is category 7: the male bar solid black, the female white on top, both 2 wide on screen.
        const auto male = boxes(d, 107 - 0.16 * 300, 107);
        QCOMPARE(male.size(), 1);
        QCOMPARE(male[0].fill, FillStyle::Solid);
        QCOMPARE(male[0].lineWidth, 2);
        QVERIFY(near(male[0].x1, 34));
        const auto female = boxes(d, 107 - 0.16 * 500, 107 - 0.16 * 300);
        QCOMPARE(female.size(), 1);
        QVERIFY(female[0].y1 < 35); // the scale is fixed: the bar leaves the frame
        QCOMPARE(textEndingAt(d, 40, 113)->text, u"300"_s);
        QCOMPARE(textEndingAt(d, 40, 123)->text, u"500"_s);
        QCOMPARE(textEndingAt(d, 40 + 17 * 7, 113)->text, u"10"_s);
        QCOMPARE(textEndingAt(d, 40 + 17 * 3, 113)->text, u"0"_s); // zeros are written here
        QCOMPARE(textEndingAt(d, 192, 123)->text, u"510"_s);
        QCOMPARE(textAt(d, 115, 108)->text, tally::categoryLabels()[5]);

        RecordingDevice paper;
        graphs::drawTitleGradeChart(paper, t, {true});
        QCOMPARE(boxes(paper, 107 - 0.16 * 300, 107)[0].lineWidth, 4);
        QCOMPARE(boxes(paper, 35, 127)[0].lineWidth, 6);
    }

    void ageChart()
    {
        tally::DistrictTally t;
        t.byAge[0] = {2, 3};  // 18
        t.byAge[42] = {1, 0}; // 60
        RecordingDevice d;
        graphs::drawAgeChart(d, t, {false});
        QCOMPARE(textAt(d, 25.5, 226)->text, u"60"_s);
        QCOMPARE(textAt(d, 25.5 + 3.8 * 42, 226)->text, u"18"_s);
        QVERIFY(!textAt(d, 25.5 + 3.8 * 43, 226));
        QCOMPARE(textEndingAt(d, 28.5, 231)->text, u"1"_s);
        QVERIFY(!textEndingAt(d, 28.5, 236)); // no zero here
        QCOMPARE(textEndingAt(d, 28.5 + 3.8 * 42, 241)->text, u"5"_s);
        QCOMPARE(textEndingAt(d, 195.5, 241)->text, u"6"_s);
        // The line of both sexes from the previous column to this one.
        bool found = false;
        for (const auto& p : d.primitives)
            found = found ||
                    (p.kind == Kind::Line && near(p.x1, 25.4 + 3.8 * 42 - 2.3) && near(p.y1, 225) && near(p.y2, 220));
        QVERIFY(found);
    }

    void graph2()
    {
        tally::DistrictTally t;
        t.byKindCategory[0][8] = {1, 0};
        t.byKindCategory[0][1] = {1, 0};
        t.byKindCategoryDistrict[0][8][1] = {1, 0};
        t.byKindCategoryDistrict[0][1][1] = {1, 0};
        t.byKindCategoryDistrict[0][1][2] = {2, 0};
        t.averageAge = {41, 6};
        RecordingDevice off;
        graphs::drawGraph2(off, t, header(3), {false}, false);
        // The whole roster's bar: category 7 first, half the 75 mm each.
        const auto whole = boxes(off, 33, 40);
        QVERIFY(whole.size() >= 2);
        QVERIFY(near(whole[0].x1, 35) && near(whole[0].x2, 35 + 37.5));
        QCOMPARE(whole[0].fill, FillStyle::Solid);
        QCOMPARE(textAt(off, 200, 33)->text, u"41歳 6月"_s);
        QCOMPARE(textAt(off, 200, 37)->text, u"2名"_s);
        // District 0 has nobody: its frame only.
        QCOMPARE(boxes(off, 44, 51).size(), 2);
        QCOMPARE(boxes(off, 44, 51)[0].fill, FillStyle::Transparent);
        QCOMPARE(linesBetween(off, 51 + 11, 44 + 22), 0);

        RecordingDevice on;
        graphs::drawGraph2(on, t, header(3), {false}, true);
        // From the second district on: boundaries of district 1's bars to district 2's.
        QVERIFY(linesBetween(on, 51 + 11, 44 + 22) > 0);
        QCOMPARE(linesBetween(on, 40, 44), 0); // never from the whole roster to the first district
        QCOMPARE(textAt(on, 47, 220)->text, tally::categoryLabels()[0]);
        QCOMPARE(textAt(on, 132, 220)->text, u"55～60"_s);

        RecordingDevice paper;
        graphs::drawGraph2(paper, t, header(3), {true}, false);
        QVERIFY(near(boxes(paper, 33, 40)[0].x2, 30 + 35));
    }

    void graph3()
    {
        tally::DistrictTally t;
        t.byKindCategory[1][3] = {3, 1};
        t.byKindCategoryDistrict[1][3][0] = {3, 1};
        t.byKindCategoryDistrict[1][0][0] = {3, 1};
        t.byAgeDistrict[30][0] = {3, 1}; // aged 48
        RecordingDevice d;
        graphs::drawGraph3(d, t, header(2), {false});
        QCOMPARE(textAt(d, 35, 40)->text, u"男 3名　女 1名　計 4名"_s);
        QCOMPARE(textEndingAt(d, 103, 35)->text, u"75.0％"_s);
        // District 1 has nobody: no share.
        QVERIFY(!textEndingAt(d, 103, 55 + 2));
        QCOMPARE(textAt(d, 110, 57)->text, u"中学校"_s);
        QCOMPARE(textEndingAt(d, 193, 55 + 2)->text, u"75.0％"_s);
        QCOMPARE(textAt(d, 110, 90 + 11 * 2)->text, u"45～49"_s);
        QCOMPARE(textEndingAt(d, 193, 88 + 22 + 2)->text, u"75.0％"_s);
    }

    void printedPagesAndTheScreen()
    {
        WindowContext f;
        f.store.profile.areaName = u"瑠璃県"_s;
        SampleOptions o;
        o.schools = 60;
        o.staff = 80;
        generateSampleRoster(f.store, o);
        tally::prepareAges(f.store);
        const tally::DistrictTally t = tally::computeDistrictTally(f.store, {});
        const PrintRequest graph = PrintRequest::forJob(PrintJobCode::TallySheet, [&t](PrintJobContext& c) {
            graphs::printPage(c, graphs::View::Graph1, t, false);
        });
        RecordingDevice d;
        d.printableMm = QSizeF(200, 287);
        QVERIFY(runPrintJob(d, f.store, graph));
        const QString source = f.store.yearCaption() + u"学校事務職員名簿より　"_s +
                               formatEraDate(f.store.surveyDate, u"ggge年m月d日"_s) + u"現在"_s;
        QVERIFY(textEndingAt(d, 184, 150));
        QCOMPARE(textEndingAt(d, 184, 150)->text, source);
        QVERIFY(textAt(d, 30, 150)); // both charts on the page

        StatisticsWindow w(f.context);
        w.drawGraph = [&f](QPainter& p, const QRect& r, StatisticsWindow& win, StatisticsView view) {
            graphs::drawOnScreen(p, r, view, win.districtTally(), tally_sheets::districtHeader(f.store),
                                 win.graphToggle(), win.scrollValue(), win.connectingLines());
        };
        w.resize(1000, 700);
        w.show();
        auto* view = w.findChild<QComboBox*>(u"PRT_LIST"_s);
        view->setCurrentIndex(5);
        emit view->activated(5);
        w.findChild<QCheckBox*>(u"CHK_GLINE"_s)->setChecked(true);
        const QImage shot = w.grab().toImage();
        testenv::keepShot(&w, u"graph2"_s);
        QVERIFY2(testenv::clippedCaptions(&w).isEmpty(), qPrintable(testenv::clippedCaptions(&w).join(u", "_s)));
        // Something was drawn on the white canvas.
        int dark = 0;
        for (int y = 0; y < shot.height(); y += 3)
            for (int x = 0; x < shot.width(); x += 3)
                dark += qGray(shot.pixel(x, y)) < 60;
        QVERIFY(dark > 200);

        // On a screen at scale 2 the graph is drawn at the screen's own
        // pixels: an enlarged picture would have every 2x2 block of pixels
        // alike, a sharp one differs inside many of them (edges of lines and text).
        QImage hidpi(QSize(800, 600) * 2, QImage::Format_RGB32);
        hidpi.setDevicePixelRatio(2);
        hidpi.fill(Qt::white);
        {
            QPainter p(&hidpi);
            graphs::drawOnScreen(p, QRect(0, 0, 800, 600), graphs::View::Graph2, w.districtTally(),
                                 tally_sheets::districtHeader(f.store), 0, 0, true);
        }
        int mixedBlocks = 0, inkedBlocks = 0;
        for (int y = 0; y + 1 < hidpi.height(); y += 2)
            for (int x = 0; x + 1 < hidpi.width(); x += 2) {
                const QRgb a = hidpi.pixel(x, y);
                const bool same =
                    a == hidpi.pixel(x + 1, y) && a == hidpi.pixel(x, y + 1) && a == hidpi.pixel(x + 1, y + 1);
                inkedBlocks += !same || qGray(a) < 128;
                mixedBlocks += !same;
            }
        QVERIFY(inkedBlocks > 1000);
        QVERIFY2(mixedBlocks > inkedBlocks / 4, qPrintable(u"%1 of %2"_s.arg(mixedBlocks).arg(inkedBlocks)));

        // The age chart takes the place of the first chart on the screen.
        view->setCurrentIndex(4);
        emit view->activated(4);
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_CHG"_s), Qt::LeftButton);
        QCOMPARE(w.graphToggle(), 1);
        testenv::keepShot(&w, u"graph1-age"_s);
    }
};

QTEST_MAIN(TestGraphs)
#include "tst_graphs.moc"
