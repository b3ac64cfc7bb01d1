#include "name_labels.h"
#include "painter_device.h"
#include "print_output.h"
#include "record_format.h"
#include "recorded_page.h"
#include "recording_device.h"
#include "roster_store.h"
#include "test_env.h"
#include "text_width.h"

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
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
// A roster of `count` marked posts, seven to a school, named "職員N".
RosterStore manyPosts(int count)
{
    RosterStore store;
    for (int n = 0; n < count; ++n) {
        if (n % cap::kClerkSlots == 0) {
            SchoolRecord s;
            s.code = 1000 + n / cap::kClerkSlots;
            s.municipality = u"瑠璃市"_s;
            s.name = u"第%1"_s.arg(n / cap::kClerkSlots + 1);
            s.kindText = u"小学校"_s;
            store.schools.push_back(s);
        }
        ClerkSlot& k = store.schools.back().clerks[size_t(n % cap::kClerkSlots)];
        k.staffCode = 30000000 + n;
        k.staffName = u"職員%1"_s.arg(n);
        k.mark = 1;
    }
    return store;
}

// A design that prints the addressee alone, 4 mm in from the label's corner.
LabelLayout addresseeOnly()
{
    LabelLayout l = LabelLayout::defaults();
    for (auto& item : l.items)
        item.flags = 0;
    LabelItem& name = l.items[3];
    name.flags = LabelItem::Print;
    name.left = 4;
    name.top = 4;
    name.width = 40;
    name.height = 8;
    name.fontSize = 9;
    return l;
}

QString addressee(int n)
{
    return toFullWidth(u"職員%1 様"_s.arg(n));
}

// A printer with margins: the labels must still land where the sheet has them.
void withMargins(RecordingDevice& d)
{
    d.printableOffsetMm = QPointF(4.23, 4.23);
    d.printableMm = QSizeF(210 - 8.46, 297 - 8.46);
}

std::optional<RecordingDevice::Primitive> printed(const RecordingDevice& d, const QString& text)
{
    return d.findText(text);
}

// The first page's size in a PDF, in millimetres, as pdfinfo reads it.
QSizeF pdfPageMm(const QString& pdf)
{
    QProcess p;
    p.start(QStandardPaths::findExecutable(u"pdfinfo"_s), {pdf});
    if (!p.waitForFinished(20000))
        return {};
    static const QRegularExpression size(uR"re(Page size:\s+([\d.]+) x ([\d.]+) pts)re"_s);
    const auto m = size.match(QString::fromUtf8(p.readAllStandardOutput()));
    if (!m.hasMatch())
        return {};
    return QSizeF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72);
}

// Prints the labels of `store` into a PDF whose printer was set to `setUp`.
bool printOnSetUpPaper(const QString& pdf, RosterStore& store, const QPageSize& setUp, const SheetPrint& how)
{
    QPrinter printer(QPrinter::HighResolution);
    preparePdf(printer, pdf);
    printer.setPageSize(setUp);
    PainterDevice d(&printer);
    const LabelLayout l = addresseeOnly();
    return runPrintJob(d, store, PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); }));
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

    void builtInSheetsAreSound()
    {
        const auto& sheets = builtInSheets();
        QCOMPARE(sheets.front().name, onePerPageName());
        QVERIFY(sheets.front().onePerPage());
        QStringList counts;
        for (const LabelSheet& s : sheets) {
            QVERIFY2(sheetProblem(s).isEmpty(), qPrintable(s.name + u": "_s + sheetProblem(s)));
            if (s.onePerPage())
                continue;
            counts << QString::number(s.perPage());
            QCOMPARE(s.paperWidth, 210.0f);
            QCOMPARE(s.paperHeight, 297.0f);
            // Labels within their pitch, the sheet centred on the paper within a millimetre.
            QVERIFY(s.labelWidth <= s.pitchX + 0.001f && s.labelHeight <= s.pitchY + 0.001f);
            const QRectF last = s.cell(s.rows - 1, s.columns - 1);
            QVERIFY2(std::abs((210 - last.right()) - s.left) < 1.0, qPrintable(s.name));
            QVERIFY2(std::abs((297 - last.bottom()) - s.top) < 1.0, qPrintable(s.name));
        }
        QCOMPARE(counts, (QStringList{u"10"_s, u"12"_s, u"18"_s, u"21"_s, u"24"_s, u"44"_s}));

        // Names typed at a terminal, in either width and with or without spaces.
        const LabelSheet user = defaultUserSheet();
        QCOMPARE(findSheet(u"ａ４　１０面"_s, user)->perPage(), 10);
        QCOMPARE(findSheet(u"A444面"_s, user)->perPage(), 44);
        QCOMPARE(findSheet(u"1枚に1枚"_s, user)->name, onePerPageName());
        LabelSheet mine = user;
        mine.rows = 3;
        QCOMPARE(findSheet(u"ユーザー定義"_s, mine)->rows, 3);
        QVERIFY(!findSheet(u"A4 11面"_s, user));
        QVERIFY(!findSheet(QString(), user));

        // Sheets a user could type that cannot be printed.
        LabelSheet overlap = user;
        overlap.pitchX = overlap.labelWidth - 1;
        QVERIFY(!sheetProblem(overlap).isEmpty());
        LabelSheet off = user;
        off.rows = 7; // 7 × 42.3 mm from 21.5 mm runs past the foot of A4
        QVERIFY(!sheetProblem(off).isEmpty());
        LabelSheet single = user;
        single.rows = single.columns = 1;
        single.pitchX = single.pitchY = 0; // one label needs no pitch
        QVERIFY(sheetProblem(single).isEmpty());
        QVERIFY(!startProblem(user, 0, 1).isEmpty());
        QVERIFY(!startProblem(user, 7, 1).isEmpty());
        QVERIFY(!startProblem(user, 1, 3).isEmpty());
        QVERIFY(startProblem(user, 6, 2).isEmpty());
    }

    void everyLabelOfEverySheet()
    {
        const LabelLayout l = addresseeOnly();
        for (const LabelSheet& sheet : builtInSheets()) {
            if (sheet.onePerPage())
                continue;
            // A sheet and a half of posts, printed from the first label, then
            // from a start position further on.
            const int count = sheet.perPage() + sheet.perPage() / 2 + 1;
            RosterStore store = manyPosts(count);
            for (const auto& [startRow, startColumn] : {std::pair{1, 1}, std::pair{sheet.rows, sheet.columns}}) {
                SheetPrint how;
                how.sheet = sheet;
                how.startRow = startRow;
                how.startColumn = startColumn;
                RecordingDevice d;
                withMargins(d);
                QVERIFY(runPrintJob(
                    d, store, PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); })));
                const QString where = u"%1 from %2,%3"_s.arg(sheet.name).arg(startRow).arg(startColumn);
                QCOMPARE(d.paperMm, QSizeF(210, 297));
                const int first = (startRow - 1) * sheet.columns + (startColumn - 1);
                for (int n = 0; n < count; ++n) {
                    const int slot = first + n;
                    const int page = slot / sheet.perPage() + 1;
                    const int cell = slot % sheet.perPage();
                    const int row = cell / sheet.columns, column = cell % sheet.columns;
                    const auto p = printed(d, addressee(n));
                    QVERIFY2(p, qPrintable(where + u": label "_s + QString::number(n)));
                    const QPointF corner(sheet.left + column * sheet.pitchX, sheet.top + row * sheet.pitchY);
                    QVERIFY2(p->page == page && std::abs(p->paper1.x() - (corner.x() + 4)) < 0.01 &&
                                 std::abs(p->paper1.y() - (corner.y() + 4)) < 0.01,
                             qPrintable(where + u": label %1 on page %2 at %3,%4"_s.arg(n)
                                                    .arg(p->page)
                                                    .arg(p->paper1.x())
                                                    .arg(p->paper1.y())));
                    // Cut off at the label's own edges.
                    const QRectF cut(corner, QSizeF(sheet.labelWidth, sheet.labelHeight));
                    QVERIFY2(std::abs(p->clip.left() - cut.left()) < 0.01 &&
                                 std::abs(p->clip.bottom() - cut.bottom()) < 0.01 &&
                                 std::abs(p->clip.right() - cut.right()) < 0.01,
                             qPrintable(where));
                }
                int pages = 1;
                for (const auto& p : d.primitives)
                    pages += p.kind == RecordingDevice::Primitive::NewPage;
                QCOMPARE(pages, (first + count - 1) / sheet.perPage() + 1);
                QVERIFY(d.clipMm.isEmpty()); // nothing the job leaves behind cuts the next one
            }
        }
    }

    void skippedPostsLeaveNoGap()
    {
        RosterStore store = manyPosts(5);
        SheetPrint how;
        how.sheet = *findSheet(u"A4 10面"_s, defaultUserSheet());
        how.skipped = {postKey(store, {0, 1}), postKey(store, {0, 3})};
        QCOMPARE(how.skipped[0], u"1000:30000001"_s);
        RecordingDevice d;
        const LabelLayout l = addresseeOnly();
        QVERIFY(runPrintJob(d, store,
                            PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); })));
        QVERIFY(!printed(d, addressee(1)) && !printed(d, addressee(3)));
        // 0, 2, 4 in the first three labels: row 1 left and right, row 2 left.
        const QPointF second = printed(d, addressee(2))->paper1 - QPointF(18.6 + 86.4 + 4, 21.5 + 4);
        QVERIFY(std::abs(second.x()) < 0.01 && std::abs(second.y()) < 0.01);
        QVERIFY(std::abs(printed(d, addressee(4))->paper1.y() - (21.5 + 50.8 + 4)) < 0.01);
        // A vacant post is known by its slot.
        store.schools[0].clerks[2].staffCode = 0;
        QCOMPARE(postKey(store, {0, 2}), u"1000:#2"_s);
        QVERIFY(postKey(store, {5, 0}).isEmpty());

        // One label per sheet of paper prints a page for each post, at the
        // design's own place, whatever start is asked.
        how.sheet = builtInSheets().front();
        how.startRow = 3;
        RecordingDevice one;
        QVERIFY(runPrintJob(one, store,
                            PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); })));
        QCOMPARE(printed(one, addressee(4))->page, 3);
        QCOMPARE(printed(one, addressee(4))->x1, 4.0);
        QVERIFY(printed(one, addressee(4))->clip.isEmpty());
    }

    void userSheetFile()
    {
        LabelSheet s = defaultUserSheet();
        s.rows = 4;
        s.columns = 3;
        s.labelWidth = 60.5f;
        s.labelHeight = 40;
        s.pitchX = 65;
        s.pitchY = 45.25f;
        s.left = 7.5f;
        s.top = 20;
        s.paperWidth = 210;
        s.paperHeight = 297;
        QString problem = u"x"_s;
        const LabelSheet back = readUserSheet(userSheetBytes(s), &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(back.rows, 4);
        QCOMPARE(back.columns, 3);
        QCOMPARE(back.pitchY, 45.25f);
        QCOMPARE(back.left, 7.5f);
        QCOMPARE(back.name, userSheetName());

        // Whatever else the file holds gives the default sheet and a reason.
        const LabelSheet fallback = defaultUserSheet();
        QByteArray cut = userSheetBytes(s);
        cut.chop(30);
        const QByteArray bad[] = {QByteArray(),
                                  "\x81\x00garbage",
                                  cut,
                                  userSheetBytes(s).replace("rows=4", "rows=4.5"),
                                  userSheetBytes(s).replace("rows=4", "rows=-3"),
                                  userSheetBytes(s).replace("rows=4", "rows=99999999999999999999"),
                                  userSheetBytes(s).replace("top=20.00", "top=nan"),
                                  userSheetBytes(s).replace("pitch_x=65.00", "pitch_x=10")};
        for (const QByteArray& bytes : bad) {
            problem.clear();
            const LabelSheet r = readUserSheet(bytes, &problem);
            QVERIFY2(!problem.isEmpty(), bytes.constData());
            QCOMPARE(r.rows, fallback.rows);
            QCOMPARE(r.pitchX, fallback.pitchX);
            QVERIFY(sheetProblem(r).isEmpty());
        }
        // Lines it does not know, blanks and LF-only endings are fine.
        problem = u"x"_s;
        QCOMPARE(readUserSheet("; note\n\n" + userSheetBytes(s).replace("\r", "") + "colour=red\n", &problem).rows, 4);
        QVERIFY(problem.isEmpty());
    }

    void aSheetInAPdf()
    {
        // A4 12面 from row 2, column 2: where the words are on the PDF page.
        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"labels.pdf"_s);
        RosterStore store = manyPosts(3);
        LabelLayout l = addresseeOnly();
        SheetPrint how;
        how.sheet = *findSheet(u"A4 12面"_s, defaultUserSheet());
        how.startRow = 2;
        how.startColumn = 2;
        PrintRequest r = PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); });
        r.pdfPath = pdf;
        QVERIFY(printToPdf(store, r));
        const QString pdftotext = QStandardPaths::findExecutable(u"pdftotext"_s);
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is needed to read the page back");
        QProcess p;
        p.start(pdftotext, {u"-bbox"_s, pdf, u"-"_s});
        QVERIFY(p.waitForFinished(20000));
        const QString html = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        QVERIFY2(html.contains(u"<page width=\"595."_s) && html.contains(u"height=\"842."_s),
                 qPrintable(html.left(600))); // A4 whatever the printer had
        static const QRegularExpression word(
            uR"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"_s);
        QMap<QString, QPointF> at;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const auto m = it.next();
            at.insert(m.captured(3),
                      QPointF(m.captured(1).toDouble() * 25.4 / 72, m.captured(2).toDouble() * 25.4 / 72));
        }
        // Cells (row, column) from 0: (1,1), (2,0), (2,1).
        const QPointF expected[] = {
            {18.6 + 86.4, 21.5 + 42.3}, {18.6, 21.5 + 2 * 42.3}, {18.6 + 86.4, 21.5 + 2 * 42.3}};
        for (int n = 0; n < 3; ++n) {
            const QString name = u"職員%1"_s.arg(n);
            QVERIFY2(at.contains(name), qPrintable(name + u" not in "_s + html.left(2000)));
            // The word's box starts at the glyph, a little right of and below the cell's top-left.
            const QPointF d = at[name] - (expected[n] + QPointF(4, 4));
            QVERIFY2(d.x() > -0.3 && d.x() < 0.6 && d.y() > -0.3 && d.y() < 1.5,
                     qPrintable(u"%1 at %2,%3"_s.arg(name).arg(at[name].x()).arg(at[name].y())));
        }
    }

    void onePerPagePrintsOnTheSetUpPaper()
    {
        // Postcards and envelopes: the layout's paper size shapes the preview,
        // the label prints on the paper chosen in プリンタ設定. A label sheet is
        // its own paper whatever the printer was set to, and a PDF made with no
        // printer set-up is A4.
        QTemporaryDir dir;
        RosterStore store = manyPosts(2);
        const QPageSize postcard(QSizeF(100, 148), QPageSize::Millimeter);
        SheetPrint one;
        one.sheet = builtInSheets().front();
        QVERIFY(one.sheet.onePerPage());
        const QString onCard = dir.filePath(u"card.pdf"_s);
        QVERIFY(printOnSetUpPaper(onCard, store, postcard, one));
        const QSizeF card = pdfPageMm(onCard);
        QVERIFY2(std::abs(card.width() - 100) < 0.5 && std::abs(card.height() - 148) < 0.5,
                 qPrintable(u"%1 x %2 mm"_s.arg(card.width()).arg(card.height())));

        SheetPrint sheet;
        sheet.sheet = *findSheet(u"A4 12面"_s, defaultUserSheet());
        const QString onSheet = dir.filePath(u"sheet.pdf"_s);
        QVERIFY(printOnSetUpPaper(onSheet, store, postcard, sheet));
        const QSizeF a4 = pdfPageMm(onSheet);
        QVERIFY2(std::abs(a4.width() - 210) < 0.5 && std::abs(a4.height() - 297) < 0.5,
                 qPrintable(u"%1 x %2 mm"_s.arg(a4.width()).arg(a4.height())));

        const QString plain = dir.filePath(u"plain.pdf"_s);
        const LabelLayout l = addresseeOnly();
        PrintRequest r = PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, one); });
        r.pdfPath = plain;
        QVERIFY(printToPdf(store, r));
        const QSizeF front = pdfPageMm(plain);
        QVERIFY2(std::abs(front.width() - 210) < 0.5 && std::abs(front.height() - 297) < 0.5,
                 qPrintable(u"%1 x %2 mm"_s.arg(front.width()).arg(front.height())));
    }

    void whichItemsFitTheLabel()
    {
        const LabelSheet sheet = *findSheet(u"A4 44面"_s, defaultUserSheet()); // 48.3 x 25.4
        // The window's first design is laid out for A4: nothing reaches the label.
        QCOMPARE(labelFit(LabelLayout::defaults(), sheet), LabelFit::Outside);
        LabelLayout l = LabelLayout::defaults();
        for (LabelItem& it : l.items)
            it.flags = 0;
        QCOMPARE(labelFit(l, sheet), LabelFit::Outside);                            // nothing prints at all
        l.items[3] = LabelItem{QString(), 15, 5, 8, 43.3f, LabelItem::Print, 0, 0}; // to the right edge exactly
        QCOMPARE(labelFit(l, sheet), LabelFit::Inside);
        // Items that do not print do not count, wherever they are.
        l.items[0] = LabelItem{QString(), 65, 20, 12, 125, 0, 0, 0};
        QCOMPARE(labelFit(l, sheet), LabelFit::Inside);
        // One item over the edge, one wholly off the label: cut, not blank.
        l.items[1] = LabelItem{QString(), 20, 30, 4, 40, LabelItem::Print, 0, 0};
        QCOMPARE(labelFit(l, sheet), LabelFit::Cut);
        l.items[1] = LabelItem{QString(), 30, 3, 4, 20, LabelItem::Print, 0, 0};
        QCOMPARE(labelFit(l, sheet), LabelFit::Cut);
        // Only touching the label's edge is not on it.
        l.items[3] = LabelItem{QString(), 25.4f, 5, 8, 40, LabelItem::Print, 0, 0};
        QCOMPARE(labelFit(l, sheet), LabelFit::Outside);
    }

    void textStopsAtTheLabelsEdge()
    {
        // A name too long for its label leaves the label next to it clean.
        RosterStore store = manyPosts(1);
        store.schools[0].clerks[0].staffName = QString(40, u'長');
        LabelLayout l = addresseeOnly();
        l.items[3].fontSize = 14;
        SheetPrint how;
        how.sheet = *findSheet(u"A4 44面"_s, defaultUserSheet());
        QImage page(QSize(827, 1170), QImage::Format_RGB32); // A4 at 100 dpi
        page.setDotsPerMeterX(3937);
        page.setDotsPerMeterY(3937);
        page.fill(Qt::white);
        {
            PainterDevice d(&page);
            QVERIFY(runPrintJob(d, store,
                                PrintRequest::forJob(kLabelJob, [&](PrintJobContext& c) { printLabels(c, l, how); })));
        }
        auto inked = [&](double x1, double x2, double y1, double y2) {
            int dark = 0;
            for (int y = int(y1 * 100 / 25.4); y < int(y2 * 100 / 25.4); ++y)
                for (int x = int(x1 * 100 / 25.4); x < int(x2 * 100 / 25.4); ++x)
                    dark += qGray(page.pixel(x, y)) < 128;
            return dark;
        };
        const double right = how.sheet.left + how.sheet.labelWidth;
        QVERIFY(inked(how.sheet.left + 5, right - 1, 12.8, 16) > 20); // the name in its label
        QCOMPARE(inked(right + 0.5, right + 30, 8.8, 8.8 + 25.4), 0); // nothing in the next
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
