#include "name_labels.h"
#include "record_format.h"
#include "recorded_page.h"
#include "recording_device.h"
#include "roster_store.h"
#include "test_env.h"
#include "text_width.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace name_labels;
using recorded::textAt;

namespace {
RosterStore roster()
{
    RosterStore store;
    SchoolRecord s;
    s.municipality = u"瑠璃市"_s;
    s.name = u"青葉"_s;
    s.kindText = u"小学校"_s;
    s.postalCode = u"900-0001"_s;
    s.address = u"桜木町1-2"_s;
    s.clerks[0].staffCode = 20000001;
    s.clerks[0].staffName = u"青木 花子"_s;
    s.clerks[0].mark = 1;
    s.clerks[1].staffCode = 20000002;
    s.clerks[1].staffName = QString();
    s.clerks[1].mark = 1;
    store.schools.push_back(s);
    SchoolRecord other = s;
    other.name = u"白浜"_s;
    for (auto& c : other.clerks)
        c.mark = 0;
    store.schools.push_back(other);
    return store;
}
} // namespace

class TestNameLabels : public QObject {
    Q_OBJECT
private slots:
    void textsOfAPost()
    {
        const RosterStore store = roster();
        LabelLayout l = LabelLayout::defaults();
        l.items[4].text = u"  親展 "_s;
        const auto posts = markedPosts(store);
        QCOMPARE(posts.size(), size_t(2));
        QCOMPARE(itemText(l, 0, store, posts[0]), toFullWidth(u"瑠璃市立青葉小学校"_s));
        QCOMPARE(itemText(l, 1, store, posts[0]), u"９００－０００１"_s);
        QCOMPARE(itemText(l, 2, store, posts[0]), toFullWidth(u"瑠璃市桜木町1-2"_s));
        QCOMPARE(itemText(l, 3, store, posts[0]), toFullWidth(u"青木 花子 様"_s));
        QCOMPARE(itemText(l, 3, store, posts[1]), toFullWidth(u"事務担当者 様"_s));
        QCOMPARE(itemText(l, 4, store, posts[0]), u"親展"_s);
        l.titleMode = true;
        l.honorific = u"殿"_s;
        QCOMPARE(itemText(l, 3, store, posts[0]), toFullWidth(u"事務担当者 様"_s));
    }

    void sizesAndSpreading()
    {
        RecordingDevice d;
        const float shortSize = fittingSize(d, u"青木"_s, 80, 10);
        const float longSize = fittingSize(d, u"長谷川　佐和子　様"_s, 80, 10);
        QVERIFY(shortSize > longSize);
        QVERIFY(shortSize <= 50);
        QCOMPARE(fittingSize(d, QString(200, u'あ'), 10, 10), 5.0f);
        d.font.size = shortSize;
        QVERIFY(d.textWidth(u"青木"_s) < 80 && d.textHeight(u"青木"_s) < 10);

        LabelItem item;
        item.width = 50;
        item.flags = LabelItem::Print | LabelItem::Spread;
        d.font.size = 10;
        drawItem(d, item, u"様"_s, 30, 40); // one character: at the left
        QCOMPARE(textAt(d, 30, 40)->text, u"様"_s);
        drawItem(d, item, u"青木花"_s, 30, 60);
        const double step = (50 - d.textWidth(u"あ"_s)) / 2;
        QCOMPARE(textAt(d, 30 + 2 * step, 60)->text, u"花"_s);
    }

    void printingTheMarkedPosts()
    {
        RosterStore store = roster();
        LabelLayout l = LabelLayout::defaults();
        for (auto& item : l.items)
            item.fontSize = 12;
        l.items[2].width = 0; // not placed: neither drawn nor printed
        const PrintRequest labels = PrintRequest::forJob(kLabelJob, [&l](PrintJobContext& c) { printLabels(c, l); });
        RecordingDevice d;
        QVERIFY(runPrintJob(d, store, labels));
        QCOMPARE(d.page(), 2);
        QCOMPARE(d.colourMode, 1);
        for (int page = 1; page <= 2; ++page) {
            int schools = 0, addresses = 0;
            for (const auto& p : d.onPage(page)) {
                schools += p.text == toFullWidth(u"瑠璃市立青葉小学校"_s);
                addresses += p.text == toFullWidth(u"瑠璃市桜木町1-2"_s);
            }
            QCOMPARE(schools, 1);
            QCOMPARE(addresses, 0);
        }
        const auto name = d.findText(toFullWidth(u"青木 花子 様"_s));
        QVERIFY(name);
        QCOMPARE(name->page, 1);
        QCOMPARE(d.findText(toFullWidth(u"事務担当者 様"_s))->page, 2);

        // A colour on the last item alone switches the printer to colour.
        l.items[6].text = u"至急"_s;
        l.items[6].top = l.items[6].left = 10;
        l.items[6].width = l.items[6].height = 20;
        l.items[6].colour = 0x0000ff; // red
        RecordingDevice colour;
        QVERIFY(runPrintJob(colour, store, labels));
        QCOMPARE(colour.colourMode, 2);
        QCOMPARE(colour.findText(u"至急"_s)->colour, QColor(255, 0, 0));
    }

    void storedLayouts()
    {
        LabelLayout a = LabelLayout::defaults();
        a.name = u"角形2号"_s;
        a.paper = u"自由サイズ"_s;
        a.paperHeight = 332;
        a.paperWidth = 240;
        a.items[0].text = u"dropped"_s; // items 0 to 3 keep no text
        a.items[1].flags = LabelItem::Bold;
        a.items[5].text = u"在中"_s;
        a.items[5].top = 12.5f;
        a.items[5].flags = LabelItem::Print | LabelItem::Spread;
        a.items[5].colour = 0x123456;
        LabelLayout b = LabelLayout::defaults();
        b.name = u"はがき"_s;
        QString error;
        const QByteArray line = layoutLine(a, &error);
        QVERIFY(line.endsWith("\r\n"));
        QCOMPARE(line.count(',') + 1, 75);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"PRT_S.PRS"_s);
        QVERIFY(writeLayouts(path, {a, b}, &error));
        QByteArray bytes;
        QVERIFY(readWholeFile(path, bytes));
        const auto back = readLayouts(bytes, &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->size(), size_t(2));
        const LabelLayout& r = (*back)[0];
        QCOMPARE(r.name, u"角形2号"_s);
        QCOMPARE(r.paperHeight, 332.0f);
        QVERIFY(r.items[0].text.isEmpty());
        QCOMPARE(r.items[1].flags, LabelItem::Bold);
        QVERIFY(!r.items[1].prints());
        QCOMPARE(r.items[5].text, u"在中"_s);
        QCOMPARE(r.items[5].top, 12.5f);
        QCOMPARE(r.items[5].flags, qint16(LabelItem::Print | LabelItem::Spread));
        QCOMPARE(r.items[5].colour, 0x123456);
        QCOMPARE((*back)[1].name, u"はがき"_s);
        QCOMPARE((*back)[1].items[0].width, 125.0f);

        QVERIFY(!readLayouts("\"x\",\"Ａ４\",297,210,\"f\",0,0,0,0,\"\",\"\",\"\",\"\",notanumber\r\n", &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_MAIN(TestNameLabels)
#include "tst_name_labels.moc"
