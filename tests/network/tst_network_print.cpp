#include "network_print.h"
#include "print_output.h"
#include "recorded_page.h"
#include "recording_device.h"
#include "roster_store.h"
#include "test_env.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace network_print;
using recorded::near;
using recorded::textAt;
using Kind = RecordingDevice::Primitive::Kind;

namespace {
NetworkNode school(int n)
{
    return {u"第%1小学校"_s.arg(n), n, u"0123-45-%1"_s.arg(n), u"職員%1"_s.arg(n)};
}

template <typename Network>
RecordingDevice printed(const Network& n, const QImage& picture = QImage())
{
    RecordingDevice d;
    d.printableMm = QSizeF(287, 200);
    RosterStore store;
    const PrintRequest request = PrintRequest::forJob(kSchoolNetworkJob);
    PrintJobContext c{d, store, request};
    printSheet(c, n, picture);
    return d;
}

bool hasLine(const RecordingDevice& d, double x1, double y1, double x2, double y2, int width = 7)
{
    for (const auto& p : d.primitives)
        if (p.kind == Kind::Line && near(p.x1, x1) && near(p.y1, y1) && near(p.x2, x2) && near(p.y2, y2) &&
            p.lineWidth == width)
            return true;
    return false;
}

bool hasBox(const RecordingDevice& d, double x1, double y1, double x2, double y2)
{
    for (const auto& p : d.primitives)
        if (p.kind == Kind::Box && near(p.x1, x1) && near(p.y1, y1) && near(p.x2, x2) && near(p.y2, y2) &&
            p.lineWidth == 5)
            return true;
    return false;
}
} // namespace

class TestNetworkPrint : public QObject {
    Q_OBJECT
private slots:
    void emptyChainsInBetween()
    {
        SchoolNetwork n;
        for (int c : {0, 1, 2, 4})
            n.grid[0][size_t(c)] = school(c + 1);
        QVERIFY(hasEmptyChainInBetween(n));
        SchoolNetwork only7;
        only7.grid[3][7] = school(1);
        QVERIFY(hasEmptyChainInBetween(only7));
        SchoolNetwork fine;
        for (int c = 0; c <= 4; ++c)
            fine.grid[0][size_t(c)] = school(c + 1);
        QVERIFY(!hasEmptyChainInBetween(fine));
    }

    void rowsAndTheHead()
    {
        SchoolNetwork n;
        n.remarks = {u"夜間は自宅へ"_s, u"不在時は次へ"_s, u"東部地区 連絡網"_s};
        n.topNodes[0] = school(90);
        for (int c = 0; c < 8; ++c)
            n.grid[0][size_t(c)] = school(c + 1);
        const RecordingDevice d = printed(n);
        QCOMPARE(d.orientation, PrintDevice::Orientation::Landscape);
        QVERIFY(d.findText(u"東部地区 連絡網"_s)); // the third remark is the title
        // Eight chains: rows 21 mm apart from 16.5.
        for (int c = 0; c < 8; ++c) {
            const double y = 16.5 + 21 * c;
            QVERIFY2(hasBox(d, 58, y + 2, 86, y + 15), qPrintable(QString::number(c)));
            QCOMPARE(textAt(d, 59, y + 3)->text, u"第%1小学校"_s.arg(c + 1));
            QCOMPARE(textAt(d, 59, y + 11)->text, u"職員%1"_s.arg(c + 1));
            QVERIFY(hasLine(d, 54, y + 9, 58, y + 9));
            QVERIFY(hasLine(d, 54, y + 9, 54, 99));
        }
        // The first head and its line down; no second head, so no junction from it.
        QVERIFY(hasBox(d, 20, 49, 50, 62));
        QVERIFY(hasLine(d, 35, 62, 35, 71));
        QVERIFY(!hasBox(d, 20, 71, 50, 84));
        QVERIFY(!hasLine(d, 35, 99, 54, 99));
        // Remarks under the last row.
        const double yr = 7 * 3 + 8 * 18 + 16.5;
        QCOMPARE(textAt(d, 58, yr + 2)->text, u"夜間は自宅へ"_s);
        QCOMPARE(textAt(d, 58, yr + 7)->text, u"不在時は次へ"_s);

        SchoolNetwork two;
        two.grid[0][0] = school(1);
        two.grid[0][1] = school(2);
        const RecordingDevice t = printed(two);
        QVERIFY(hasBox(t, 58, 73.5 + 2, 86, 73.5 + 15));
        QVERIFY(hasBox(t, 58, 106.5 + 2, 86, 106.5 + 15));
    }

    void branchesAndCentring()
    {
        SchoolNetwork n;
        n.grid[0][0] = school(100);
        n.grid[0][4] = school(104);
        for (int c = 0; c < 8; ++c)
            n.grid[1][size_t(c)] = school(c + 1);
        const NetworkLayout l = computeLayout(n);
        QCOMPARE(l.maxChain, 7);
        QCOMPARE(l.maxLevel, 1);
        QCOMPARE(l.firstFullLevel, 1);
        const RecordingDevice d = printed(n);
        QVERIFY(hasBox(d, 58, 48 + 2, 86, 48 + 15));
        QVERIFY(hasBox(d, 58, 132 + 2, 86, 132 + 15));
        // Chain 1 of level 1 hangs on the branch above it at x 89.
        const double y1 = 16.5 + 21;
        bool vertical = false;
        for (const auto& p : d.primitives)
            vertical = vertical || (p.kind == Kind::Line && near(p.x1, 89) && near(p.x2, 89) && near(p.y1, y1 + 9));
        QVERIFY(vertical);
        // Chain 0 passes on to level 1: the right stub meets the next column's left stub.
        QVERIFY(hasLine(d, 86, 48 + 9, 89, 48 + 9));

        // A look at the sheet, for a developer who asks for it.
        const QString folder = qEnvironmentVariable("NAKAMA_SHOTS");
        if (!folder.isEmpty()) {
            n.topNodes[0] = school(90);
            n.topNodes[1] = school(91);
            n.grid[2][2] = school(22);
            n.grid[3][2] = school(32);
            n.remarks = {u"夜間・休日は自宅へ連絡してください"_s, u"不在の場合は次の学校へ"_s,
                         u"令和8年度 東部地区 連絡網"_s};
            PrintRequest r =
                PrintRequest::forJob(kSchoolNetworkJob, [&n](PrintJobContext& c) { printSheet(c, n, QImage()); });
            r.pdfPath = folder + u"/network.pdf"_s;
            RosterStore store;
            printToPdf(store, r);
        }
    }

    void aSingleChainAndEmptySheets()
    {
        SchoolNetwork one;
        one.grid[0][0] = school(1);
        one.grid[1][0] = school(2);
        const RecordingDevice d = printed(one);
        QVERIFY(hasBox(d, 58, 92, 86, 105));
        QVERIFY(hasBox(d, 92, 92, 120, 105));

        SchoolNetwork empty;
        empty.remarks = {u"備考一"_s, u"備考二"_s, QString()};
        const RecordingDevice e = printed(empty);
        QCOMPARE(textAt(e, 58, 36.5)->text, u"備考一"_s);
        QCOMPARE(textAt(e, 58, 41.5)->text, u"備考二"_s);

        OfficerNetwork o;
        o.remarks = {u"備考一"_s, QString(), QString()};
        o.pictureFile = u"/nowhere/logo.png"_s;
        const RecordingDevice oe = printed(o); // no picture loaded: left out, no failure
        QCOMPARE(textAt(oe, 58, 38.5)->text, u"備考一"_s);
        for (const auto& p : oe.primitives)
            QVERIFY(p.kind != Kind::Picture);

        QImage logo(40, 40, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        const RecordingDevice withPicture = printed(o, logo);
        bool drawn = false;
        for (const auto& p : withPicture.primitives)
            drawn = drawn || (p.kind == Kind::Picture && near(p.x1, 20) && near(p.y1, 10) && near(p.x2, 50));
        QVERIFY(drawn);
    }

    void theOfficerSheet()
    {
        OfficerNetwork o;
        o.topNodes[0] = {u"瑠璃市"_s, u"東小学校"_s, u"011"_s, u"青木"_s, 20000001, u"090-1"_s};
        o.topNodes[1] = {u"青海市"_s, u"西中学校"_s, u"022"_s, u"伊藤"_s, 20000002, QString()};
        o.grid[0][0] = {u"翠川市"_s, u"北小学校"_s, u"033"_s, u"上田"_s, 20000003, QString()};
        o.grid[0][1] = {u"白砂市"_s, u"南小学校"_s, u"044"_s, u"江藤"_s, 20000004, u"090-4"_s};
        const RecordingDevice d = printed(o);
        QVERIFY(hasBox(d, 20, 48, 56, 63));
        QCOMPARE(textAt(d, 21, 48.5)->text, u"瑠璃市立東小学校"_s);
        QCOMPARE(textAt(d, 21, 59)->text, u"自宅 090-1"_s);
        QVERIFY(!textAt(d, 21, 81)); // no home telephone: three lines
        QVERIFY(hasLine(d, 38, 85, 38, 99));
        QVERIFY(hasLine(d, 38, 99, 60, 99));
        // Two chains, pitch 15 + 20.
        QVERIFY(hasBox(d, 64, 73.5 + 1, 99, 73.5 + 16));
        QVERIFY(hasBox(d, 64, 108.5 + 1, 99, 108.5 + 16));
        QCOMPARE(textAt(d, 65, 108.5 + 12)->text, u"自宅 090-4"_s);
    }
};

QTEST_MAIN(TestNetworkPrint)
#include "tst_network_print.moc"
