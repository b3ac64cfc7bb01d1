#include "name_labels.h"

#include "record_format.h"
#include "roster_store.h"
#include "sheet_drawing.h"
#include "text_width.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace name_labels {

LabelLayout LabelLayout::defaults()
{
    LabelLayout l;
    const float positions[4][4] = {{65, 20, 12, 125}, {20, 70, 10, 55}, {40, 20, 10, 125}, {100, 30, 10, 80}};
    for (int i = 0; i < 4; ++i) {
        l.items[size_t(i)].top = positions[i][0];
        l.items[size_t(i)].left = positions[i][1];
        l.items[size_t(i)].height = positions[i][2];
        l.items[size_t(i)].width = positions[i][3];
    }
    return l;
}

bool LabelLayout::anyColour() const
{
    return std::any_of(items.begin(), items.end(), [](const LabelItem& i) { return i.colour != 0; });
}

const std::vector<PaperSize>& paperSizes()
{
    static const std::vector<PaperSize> sizes{{u"Ａ３"_s, 420, 297},  {u"Ａ４"_s, 297, 210}, {u"Ａ５"_s, 210, 148},
                                              {u"Ｂ４"_s, 364, 257},  {u"Ｂ５"_s, 257, 182}, {u"はがき"_s, 148, 100},
                                              {u"自由サイズ"_s, 0, 0}};
    return sizes;
}

std::vector<Post> markedPosts(const RosterStore& store)
{
    std::vector<Post> posts;
    for (int s = 0; s < store.schoolCount(); ++s)
        for (int k = 0; k < cap::kClerkSlots; ++k)
            if (store.schools[size_t(s)].clerks[size_t(k)].mark == 1)
                posts.push_back({s, k});
    return posts;
}

QString itemText(const LabelLayout& layout, int i, const RosterStore& store, const Post& post)
{
    if (post.school < 0 || post.school >= store.schoolCount() || post.slot < 0 || post.slot >= cap::kClerkSlots)
        return QString();
    const SchoolRecord& s = store.schools[size_t(post.school)];
    QString text;
    switch (i) {
    case 0: text = s.fullName(); break;
    case 1: text = s.postalCode; break;
    case 2: text = s.municipality + s.address; break;
    case 3: {
        const QString name = s.clerks[size_t(post.slot)].staffName;
        if (layout.titleMode)
            text = u"事務担当者 様"_s;
        else
            text = (name.isEmpty() ? u"事務担当者"_s : name) + u' ' + layout.honorific;
        break;
    }
    default: text = i < kItems ? layout.items[size_t(i)].text.trimmed() : QString(); break;
    }
    return toFullWidth(text);
}

float fittingSize(PrintDevice& d, const QString& text, double width, double height)
{
    float size = 50;
    for (; size >= 5.0f; size -= 0.2f) {
        d.font.size = size;
        if (d.textWidth(text) < width && d.textHeight(text) < height)
            return size;
    }
    return 5.0f;
}

void drawItem(PrintDevice& d, const LabelItem& item, const QString& text, double x, double y)
{
    if (item.has(LabelItem::Spread) && text.size() > 1) {
        const double step = (item.width - d.textWidth(u"あ"_s)) / double(text.size() - 1);
        for (qsizetype n = 0; n < text.size(); ++n)
            sheet::put(d, x + double(n) * step, y, text.mid(n, 1));
        return;
    }
    sheet::put(d, x, y, text);
}

QString postKey(const RosterStore& store, const Post& post)
{
    if (post.school < 0 || post.school >= store.schoolCount() || post.slot < 0 || post.slot >= cap::kClerkSlots)
        return QString();
    const SchoolRecord& s = store.schools[size_t(post.school)];
    const qint32 staff = s.clerks[size_t(post.slot)].staffCode;
    return staff > 0 ? u"%1:%2"_s.arg(s.code).arg(staff) : u"%1:#%2"_s.arg(s.code).arg(post.slot);
}

void printLabels(PrintJobContext& c, const LabelLayout& layout)
{
    SheetPrint onePerPage;
    onePerPage.sheet = builtInSheets().front();
    printLabels(c, layout, onePerPage);
}

void printLabels(PrintJobContext& c, const LabelLayout& layout, const SheetPrint& how)
{
    PrintDevice& d = c.device;
    const LabelSheet& sheet = how.sheet;
    const bool onSheet = !sheet.onePerPage();
    if (onSheet) {
        // A label sheet is its own paper, whatever the printer was last set to.
        const bool a4 = std::abs(sheet.paperWidth - 210) < 0.05f && std::abs(sheet.paperHeight - 297) < 0.05f;
        d.paperCode = a4 ? PrintDevice::kPaperA4 : PrintDevice::kPaperCustom;
        d.customPaperMm = QSizeF(sheet.paperWidth, sheet.paperHeight);
    } else {
        // One label to a sheet of paper: envelopes and postcards go on the
        // paper chosen in プリンタ設定; the layout's size shapes the preview only.
        d.paperCode = PrintDevice::kPaperOfPrinter;
    }
    setupLabelPage(d, layout.anyColour());
    if (c.stopRequested())
        return;
    d.scaleTop = d.printerOffsetYMm;
    d.scaleLeft = d.printerOffsetXMm;
    d.font.face = u"ＭＳ 明朝"_s;
    d.font.size = 10;
    resetPage(d);
    if (c.stopRequested())
        return;
    d.font.face = layout.font;
    const int perPage = onSheet ? std::max(1, sheet.perPage()) : 1;
    const int columns = onSheet ? std::max(1, sheet.columns) : 1;
    // The first page begins at the start position, the pages after it at
    // the first label.
    int cell = onSheet ? std::clamp((how.startRow - 1) * columns + (how.startColumn - 1), 0, perPage - 1) : 0;
    bool first = true;
    for (const Post& post : markedPosts(c.store)) {
        if (!how.skipped.isEmpty() && how.skipped.contains(postKey(c.store, post)))
            continue;
        if (c.stopRequested()) {
            d.clipMm = QRectF();
            return;
        }
        if (!first && ++cell >= perPage) {
            d.newPage();
            cell = 0;
        }
        first = false;
        QPointF origin(0, 0);
        if (onSheet) {
            origin = sheet.cellOrigin(cell / columns, cell % columns);
            d.clipMm = QRectF(origin, QSizeF(sheet.labelWidth, sheet.labelHeight));
        }
        for (int i = 0; i < kItems; ++i) {
            const LabelItem& item = layout.items[size_t(i)];
            if (!item.prints())
                continue;
            d.font.size = item.fontSize > 0 ? item.fontSize : 10;
            d.font.bold = item.has(LabelItem::Bold);
            d.foreColour = item.qcolour();
            drawItem(d, item, itemText(layout, i, c.store, post), origin.x() + item.left, origin.y() + item.top);
        }
        d.font.bold = false;
        d.foreColour = Qt::black;
    }
    d.clipMm = QRectF();
}

LabelFit labelFit(const LabelLayout& layout, const LabelSheet& sheet)
{
    // A hair of slack so an item typed to the label's very edge is inside.
    constexpr double kSlack = 0.05;
    const QRectF label(0, 0, sheet.labelWidth, sheet.labelHeight);
    const QRectF loose = label.adjusted(-kSlack, -kSlack, kSlack, kSlack);
    bool anyInside = false, anyCut = false;
    for (const LabelItem& item : layout.items) {
        if (!item.prints())
            continue;
        const QRectF box(item.left, item.top, item.width, item.height);
        const QRectF common = box.intersected(label);
        if (common.width() <= kSlack || common.height() <= kSlack) {
            anyCut = true; // wholly off the label: that item is lost
            continue;
        }
        anyInside = true;
        if (!loose.contains(box))
            anyCut = true;
    }
    if (!anyInside)
        return LabelFit::Outside;
    return anyCut ? LabelFit::Cut : LabelFit::Inside;
}

QString outsideLabelText()
{
    return u"印刷する項目がラベルの外にあります。レイアウトの位置を直してください"_s;
}

QString cutByLabelText()
{
    return u"ラベルからはみ出す項目があります。このまま印刷しますか？"_s;
}

QByteArray layoutLine(const LabelLayout& l, QString* error)
{
    RecordWriter w;
    w.beginRecord(l.name);
    w.string(l.name, u"題名"_s);
    w.string(l.paper, u"用紙サイズ"_s);
    w.single(l.paperHeight);
    w.single(l.paperWidth);
    w.string(l.font, u"フォント"_s);
    w.numbers(4);
    w.strings(3);
    for (int i = 0; i < kItems; ++i) {
        const LabelItem& item = l.items[size_t(i)];
        w.string(i >= 4 ? item.text : QString(), u"文字"_s);
        w.single(item.top);
        w.single(item.left);
        w.single(item.height);
        w.single(item.width);
        w.number(item.flags);
        w.number(item.colour);
        w.number(0);
        w.string(QString());
    }
    w.endRecord();
    if (!w.ok()) {
        if (error)
            *error = w.problems().join(u'\n');
        return {};
    }
    return w.bytes();
}

std::optional<std::vector<LabelLayout>> readLayouts(const QByteArray& bytes, QString* error)
{
    RecordReader r = RecordReader::fromBytes(bytes);
    return readRecords<LabelLayout>(
        r, 10000,
        [](RecordReader& r, LabelLayout& l) {
            r.readString(l.name);
            r.readString(l.paper);
            r.readSingle(l.paperHeight);
            r.readSingle(l.paperWidth);
            r.readString(l.font);
            r.skip(7);
            for (int i = 0; i < kItems; ++i) {
                LabelItem& item = l.items[size_t(i)];
                r.readString(item.text);
                if (i < 4)
                    item.text.clear();
                r.readSingle(item.top);
                r.readSingle(item.left);
                r.readSingle(item.height);
                r.readSingle(item.width);
                r.readI16(item.flags);
                r.readI32(item.colour);
                r.skip(2);
            }
        },
        error);
}

bool writeLayouts(const QString& path, const std::vector<LabelLayout>& layouts, QString* error)
{
    QByteArray bytes;
    for (const LabelLayout& l : layouts) {
        const QByteArray line = layoutLine(l, error);
        if (line.isEmpty())
            return false;
        bytes += line;
    }
    return writeFileAtomically(path, bytes, error);
}

} // namespace name_labels
