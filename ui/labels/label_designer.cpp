#include "label_designer.h"

#include "app_context.h"
#include "file_ops.h"
#include "painter_device.h"
#include "print_runner.h"
#include "record_format.h"
#include "settings_store.h"
#include "text_width.h"
#include "wait_cursor.h"
#include "widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;
using namespace name_labels;

namespace {
QString mmText(double v)
{
    return v > 0 ? QString::number(v, 'f', 1) : QString();
}

double mmValue(const QLineEdit* e)
{
    const double v = typedDecimal(e->text());
    return v > 0 ? std::min(v, 9999.9) : 0;
}
} // namespace

// --- preview ------------------------------------------------------------------------

LabelPreview::LabelPreview(LabelDesigner& designer) : QWidget(&designer), m_designer(designer)
{
    setMouseTracking(true);
}

double LabelPreview::pixelsPerMm() const
{
    return logicalDpiX() / 25.4;
}

QPointF LabelPreview::toMm(const QPointF& p) const
{
    return p / pixelsPerMm();
}

std::pair<int, int> LabelPreview::hit(const QPointF& mm) const
{
    const LabelLayout& l = m_designer.layout();
    for (int i = 0; i < kItems; ++i) {
        const LabelItem& it = l.items[size_t(i)];
        if (!it.prints())
            continue;
        const double L = it.left + 2, T = it.top + 2, R = L + it.width, B = T + it.height;
        const double x = mm.x(), y = mm.y();
        if (x < L - 1 || x > R + 1 || y < T - 1 || y > B + 1)
            continue;
        const bool left = x<L + 1, right = x> R - 1, top = y<T + 1, bottom = y> B - 1;
        int zone = 0;
        if (left && top)
            zone = 1;
        else if (right && top)
            zone = 2;
        else if (right && bottom)
            zone = 3;
        else if (left && bottom)
            zone = 4;
        else if (top)
            zone = 5;
        else if (right)
            zone = 6;
        else if (bottom)
            zone = 7;
        else if (left)
            zone = 8;
        return {i, zone};
    }
    return {-1, -1};
}

QRectF LabelPreview::dragged(const QPointF& now) const
{
    const LabelItem& it = m_designer.layout().items[size_t(m_item)];
    double left = it.left, top = it.top, width = it.width, height = it.height;
    const double dx = now.x() - m_start.x(), dy = now.y() - m_start.y();
    switch (m_zone) {
    case 0:
        left += dx;
        top += dy;
        break;
    case 1:
        left += dx;
        top += dy;
        width -= dx;
        height -= dy;
        break;
    case 2:
        top += dy;
        width += dx;
        height -= dy;
        break;
    case 3:
        width += dx;
        height += dy;
        break;
    case 4:
        left += dx;
        width -= dx;
        height += dy;
        break;
    case 5:
        top += dy;
        height -= dy;
        break;
    case 6: width += dx; break;
    case 7: height += dy; break;
    case 8:
        left += dx;
        width -= dx;
        break;
    }
    return QRectF(left, top, width, height);
}

void LabelPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    QImage image(size(), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    image.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    image.fill(palette().window().color());
    {
        PainterDevice d(&image);
        LabelLayout& l = m_designer.layout();
        d.filledBox(2, 2, l.paperWidth + 2, l.paperHeight + 2, Qt::white);
        // On a label sheet the design's corner is the label's corner: the
        // label's edge shows what of the design reaches the label.
        if (const LabelSheet sheet = m_designer.chosenSheet(); !sheet.onePerPage()) {
            d.foreColour = Qt::blue;
            d.lineWidth = 2;
            d.box(2, 2, sheet.labelWidth + 2, sheet.labelHeight + 2);
        }
        d.font.face = l.font;
        for (int i = 0; i < kItems; ++i) {
            LabelItem& it = l.items[size_t(i)];
            if (!it.prints())
                continue;
            d.foreColour = Qt::red;
            d.lineWidth = 1;
            d.box(it.left + 2, it.top + 2, it.left + it.width + 2, it.top + it.height + 2);
            const auto& posts = m_designer.posts();
            const Post post = posts.empty() ? Post{-1, 0} : posts[size_t(m_designer.sample())];
            QString text = itemText(l, i, m_designer.context().store, post);
            if (posts.empty() && i >= 4)
                text = toFullWidth(it.text.trimmed());
            d.font.bold = it.has(LabelItem::Bold);
            it.fontSize = fittingSize(d, text, it.width, it.height);
            d.font.size = it.fontSize;
            d.foreColour = it.qcolour();
            drawItem(d, it, text, it.left + 2, it.top + 2);
        }
    }
    p.drawImage(0, 0, image);
    if (m_item >= 0 && !m_outline.isNull()) {
        p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
        const double k = pixelsPerMm();
        p.drawRect(QRectF((m_outline.left() + 2) * k, (m_outline.top() + 2) * k, m_outline.width() * k,
                          m_outline.height() * k));
    }
}

void LabelPreview::mousePressEvent(QMouseEvent* event)
{
    const auto [item, zone] = hit(toMm(event->position()));
    if (item < 0 || event->button() != Qt::LeftButton)
        return;
    m_item = item;
    m_zone = zone;
    m_start = toMm(event->position());
    m_outline = dragged(m_start);
}

void LabelPreview::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF mm = toMm(event->position());
    if (m_item >= 0) {
        m_outline = dragged(mm);
        update();
        return;
    }
    static const Qt::CursorShape shapes[9] = {Qt::SizeAllCursor,   Qt::SizeFDiagCursor, Qt::SizeBDiagCursor,
                                              Qt::SizeFDiagCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
                                              Qt::SizeHorCursor,   Qt::SizeVerCursor,   Qt::SizeHorCursor};
    const int zone = hit(mm).second;
    setCursor(zone >= 0 ? shapes[zone] : Qt::ArrowCursor);
}

void LabelPreview::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_item < 0)
        return;
    const QRectF r = dragged(toMm(event->position()));
    const int item = m_item;
    m_item = -1;
    m_outline = QRectF();
    m_designer.setItemRect(item, r);
}

// --- the form ------------------------------------------------------------------------

namespace {
// The sheet boxes in the order of LabelDesigner::m_sheetBoxes: object name,
// caption, and whether the box holds a whole number.
struct SheetBox {
    const char16_t* name;
    const char16_t* caption;
    bool whole;
};
constexpr SheetBox kSheetBoxes[] = {
    {u"SHEET_PW", u"用紙幅", false},   {u"SHEET_PH", u"用紙高", false},   {u"SHEET_ROWS", u"行数", true},
    {u"SHEET_COLS", u"列数", true},    {u"SHEET_TOP", u"上余白", false},  {u"SHEET_LEFT", u"左余白", false},
    {u"SHEET_PX", u"横ピッチ", false}, {u"SHEET_PY", u"縦ピッチ", false}, {u"SHEET_LW", u"ラベル幅", false},
    {u"SHEET_LH", u"ラベル高", false},
};

// Where each box's value lives in a sheet.
std::array<double, 10> sheetValues(const LabelSheet& s)
{
    return {s.paperWidth, s.paperHeight, double(s.rows), double(s.columns), s.top,
            s.left,       s.pitchX,      s.pitchY,       s.labelWidth,      s.labelHeight};
}

QString sheetText(double v, bool whole)
{
    return whole ? QString::number(qRound(v)) : QString::number(v, 'f', 1);
}

const QString kChoices = u"LABELS"_s;
} // namespace

LabelDesigner::LabelDesigner(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"ST_PRT_S"_s);
    setWindowTitle(u"氏名印刷"_s);
    m_posts = markedPosts(context.store);

    auto* top = new QHBoxLayout;
    top->addLayout(buildItemRows());
    top->addLayout(buildPaperAndFont());
    auto* sheets = new QVBoxLayout;
    sheets->addWidget(buildSheetBox());
    sheets->addWidget(buildPostBox(), 1);
    top->addLayout(sheets);
    buildPreview();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buildButtons());
    connectControls();

    fillNames();
    showLayout();
    choosePaper();
    showSample();
    readUserSheetFile();
    restoreChoices();
}

QGridLayout* LabelDesigner::buildItemRows()
{
    auto* items = new QGridLayout;
    const QStringList heads{QString(), u"印刷"_s, u"上位置"_s, u"左位置"_s, u"幅"_s,
                            u"高"_s,   u"太字"_s, u"均等"_s,   u"色"_s};
    for (int c = 0; c < heads.size(); ++c)
        items->addWidget(new QLabel(heads[c], this), 0, c);
    const QStringList names{u"学校名"_s, u"郵便番号"_s, u"住所"_s, u"宛名"_s, u"文字1"_s, u"文字2"_s, u"文字3"_s};
    for (int i = 0; i < kItems; ++i) {
        Row& r = m_rows[size_t(i)];
        const QString n = u"(%1)"_s.arg(i);
        r.print = makeCheck(u"P_OK"_s + n, QString(), this);
        r.top = makeNumberBox(u"P_TOP"_s + n, this, 50, 6);
        r.left = makeNumberBox(u"P_LEFT"_s + n, this, 50, 6);
        r.width = makeNumberBox(u"P_WIDTH"_s + n, this, 50, 6);
        r.height = makeNumberBox(u"P_HEIGHT"_s + n, this, 50, 6);
        r.bold = makeCheck(u"P_BOLD"_s + n, QString(), this);
        r.spread = makeCheck(u"P_CHK"_s + n, QString(), this);
        r.colour = makeButton(u"P_COLOR"_s + n, QString(), this);
        r.colour->setFixedWidth(24);
        items->addWidget(new QLabel(names[i], this), i + 1, 0);
        const QList<QWidget*> cells{r.print, r.top, r.left, r.width, r.height, r.bold, r.spread, r.colour};
        for (int c = 0; c < cells.size(); ++c)
            items->addWidget(cells[c], i + 1, c + 1);
    }
    for (int i = 0; i < 3; ++i) {
        m_free[size_t(i)] = makeEdit(u"P_STRING(%1)"_s.arg(i), this);
        items->addWidget(new QLabel(u"文字%1"_s.arg(i + 1), this), 8 + i, 0);
        items->addWidget(m_free[size_t(i)], 8 + i, 1, 1, 8);
    }
    return items;
}

QGridLayout* LabelDesigner::buildPaperAndFont()
{
    m_mode = makeButton(u"B_PRT_J"_s, u"氏名"_s, this);
    m_honorific = makeEdit(u"N_TXT"_s, this, 40);
    m_honorific->setText(u"様"_s);
    m_paper = new QComboBox(this);
    m_paper->setObjectName(u"P_SIZE"_s);
    for (const PaperSize& s : paperSizes())
        m_paper->addItem(s.name);
    m_paper->setCurrentText(u"Ａ４"_s);
    m_height = makeNumberBox(u"V_SIZE"_s, this, 50, 6);
    m_width = makeNumberBox(u"H_SIZE"_s, this, 50, 6);
    m_portrait = new QRadioButton(u"縦"_s, this);
    m_portrait->setObjectName(u"PRT_V"_s);
    m_landscape = new QRadioButton(u"横"_s, this);
    m_landscape->setObjectName(u"PRT_H"_s);
    m_portrait->setChecked(true);
    m_font = new QComboBox(this);
    m_font->setObjectName(u"P_FONT"_s);
    m_font->addItem(u"ＭＳ 明朝"_s);
    for (const QString& f : QFontDatabase::families())
        if (f != m_font->itemText(0))
            m_font->addItem(f);
    m_caption = new QComboBox(this);
    m_caption->setObjectName(u"S_CAPTION"_s);
    m_caption->setEditable(true);
    // A typed name is a name for the layout on screen, never a list entry of
    // its own: only 登録 adds it to the list.
    m_caption->setInsertPolicy(QComboBox::NoInsert);
    m_caption->setMinimumWidth(160);
    m_names = new QComboBox(this);
    m_names->setObjectName(u"NAME_LIST"_s);
    for (const Post& p : m_posts)
        m_names->addItem(m_context.store.schools[size_t(p.school)].clerks[size_t(p.slot)].staffName);
    m_up = makeButton(u"B_DEC"_s, u"▲"_s, this);
    m_down = makeButton(u"B_INC"_s, u"▼"_s, this);
    m_schoolName = new QLabel(this);
    m_schoolName->setObjectName(u"SC_NAME"_s);
    m_postal = new QLabel(this);
    m_postal->setObjectName(u"POST_TXT"_s);
    m_address = new QLabel(this);
    m_address->setObjectName(u"ADRS_TXT"_s);

    auto* settings = new QGridLayout;
    settings->addWidget(new QLabel(u"宛名"_s, this), 0, 0);
    settings->addWidget(m_mode, 0, 1);
    settings->addWidget(m_honorific, 0, 2);
    settings->addWidget(new QLabel(u"用紙サイズ"_s, this), 1, 0);
    settings->addWidget(m_paper, 1, 1, 1, 2);
    settings->addWidget(new QLabel(u"縦"_s, this), 2, 0);
    settings->addWidget(m_height, 2, 1);
    settings->addWidget(new QLabel(u"横"_s, this), 3, 0);
    settings->addWidget(m_width, 3, 1);
    settings->addWidget(m_portrait, 2, 2);
    settings->addWidget(m_landscape, 3, 2);
    settings->addWidget(new QLabel(u"フォント"_s, this), 4, 0);
    settings->addWidget(m_font, 4, 1, 1, 2);
    settings->addWidget(new QLabel(u"＠マークのフォントで縦書きが可能です"_s, this), 5, 0, 1, 3);
    settings->addWidget(new QLabel(u"題名"_s, this), 6, 0);
    settings->addWidget(m_caption, 6, 1, 1, 2);
    settings->addWidget(new QLabel(u"見本"_s, this), 7, 0);
    settings->addWidget(m_names, 7, 1);
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_up);
    steps->addWidget(m_down);
    settings->addLayout(steps, 7, 2);
    settings->addWidget(m_schoolName, 8, 0, 1, 3);
    settings->addWidget(m_postal, 9, 0, 1, 3);
    settings->addWidget(m_address, 10, 0, 1, 3);
    return settings;
}

QGroupBox* LabelDesigner::buildSheetBox()
{
    auto* box = new QGroupBox(u"ラベル用紙"_s, this);
    box->setObjectName(u"SHEET_BOX"_s);
    m_sheet = new QComboBox(box);
    m_sheet->setObjectName(u"SHEET_LIST"_s);
    for (const LabelSheet& s : builtInSheets())
        m_sheet->addItem(s.name);
    m_sheet->addItem(userSheetName());
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel(u"用紙"_s, box), 0, 0);
    grid->addWidget(m_sheet, 0, 1, 1, 3);
    for (size_t i = 0; i < m_sheetBoxes.size(); ++i) {
        const SheetBox& b = kSheetBoxes[i];
        m_sheetBoxes[i] = makeNumberBox(QString::fromUtf16(b.name), box, 50, 6);
        const int row = 1 + int(i) / 2, column = int(i) % 2 * 2;
        grid->addWidget(new QLabel(QString::fromUtf16(b.caption), box), row, column);
        grid->addWidget(m_sheetBoxes[i], row, column + 1);
    }
    m_saveSheet = makeButton(u"B_SHEET_SAVE"_s, u"用紙登録"_s, box);
    grid->addWidget(m_saveSheet, 6, 2, 1, 2);
    m_startRow = new QSpinBox(box);
    m_startRow->setObjectName(u"START_ROW"_s);
    m_startColumn = new QSpinBox(box);
    m_startColumn->setObjectName(u"START_COL"_s);
    for (QSpinBox* b : {m_startRow, m_startColumn})
        b->setRange(1, 1);
    auto* start = new QHBoxLayout;
    start->addWidget(new QLabel(u"行"_s, box));
    start->addWidget(m_startRow);
    start->addWidget(new QLabel(u"列"_s, box));
    start->addWidget(m_startColumn);
    grid->addWidget(new QLabel(u"開始位置"_s, box), 7, 0);
    grid->addLayout(start, 7, 1, 1, 3);
    return box;
}

QGroupBox* LabelDesigner::buildPostBox()
{
    auto* box = new QGroupBox(u"印刷する職員"_s, this);
    box->setObjectName(u"POST_BOX"_s);
    m_allPosts = new QRadioButton(u"全員"_s, box);
    m_allPosts->setObjectName(u"POST_ALL"_s);
    m_tickedPosts = new QRadioButton(u"チェックした職員"_s, box);
    m_tickedPosts->setObjectName(u"POST_TICKED"_s);
    m_allPosts->setChecked(true);
    m_postList = new QListWidget(box);
    m_postList->setObjectName(u"POST_LIST"_s);
    for (const Post& p : m_posts) {
        const SchoolRecord& s = m_context.store.schools[size_t(p.school)];
        const QString name = s.clerks[size_t(p.slot)].staffName;
        auto* item = new QListWidgetItem(s.fullName() + u"　"_s + (name.isEmpty() ? u"（事務担当者）"_s : name));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        item->setData(Qt::UserRole, postKey(m_context.store, p));
        m_postList->addItem(item);
    }
    auto* column = new QVBoxLayout(box);
    auto* modes = new QHBoxLayout;
    modes->addWidget(m_allPosts);
    modes->addWidget(m_tickedPosts);
    column->addLayout(modes);
    column->addWidget(m_postList, 1);
    return box;
}

void LabelDesigner::buildPreview()
{
    m_preview = new LabelPreview(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"IMG"_s);
    m_scroll->setWidget(m_preview);
    m_scroll->setMinimumSize(twips::toPixels(10335) / 2, twips::toPixels(5300));
}

QHBoxLayout* LabelDesigner::buildButtons()
{
    auto* buttons = new QHBoxLayout;
    m_destination = new QComboBox(this);
    m_destination->setObjectName(u"P_DEST"_s);
    m_destination->addItems({u"プリンタ"_s, u"印刷プレビュー"_s, u"PDFファイル"_s});
    m_destination->setCurrentIndex(int(newPrintRequest(m_context.store, kLabelJob).destination));
    buttons->addWidget(new QLabel(u"出力先"_s, this));
    buttons->addWidget(m_destination);
    buttons->addStretch();
    m_print = makeButton(u"B_PRT"_s, u"印刷"_s, this);
    m_save = makeButton(u"B_SAVE"_s, u"登録"_s, this);
    m_delete = makeButton(u"B_DEL"_s, u"削除"_s, this);
    m_printerSetup = makeButton(u"B_PRT_SET"_s, u"プリンタ設定"_s, this);
    m_close = makeButton(u"B_ESC"_s, u"閉じる"_s, this);
    for (QPushButton* b : {m_print, m_save, m_delete, m_printerSetup, m_close})
        buttons->addWidget(b);
    return buttons;
}

void LabelDesigner::connectControls()
{
    for (int i = 0; i < kItems; ++i) {
        Row& r = m_rows[size_t(i)];
        for (QLineEdit* e : {r.top, r.left, r.width, r.height})
            connect(e, &QLineEdit::editingFinished, this, [this, e] {
                e->setText(mmText(mmValue(e)));
                readBoxes();
            });
        for (QCheckBox* b : {r.print, r.bold, r.spread})
            connect(b, &QCheckBox::clicked, this, &LabelDesigner::readBoxes);
        connect(r.colour, &QPushButton::clicked, this, [this, i] {
            LabelItem& it = m_layout.items[size_t(i)];
            const QColor chosen =
                chooseColour ? chooseColour(it.qcolour()) : QColorDialog::getColor(it.qcolour(), this, u"色"_s);
            if (!chosen.isValid())
                return;
            it.colour = chosen.red() | (chosen.green() << 8) | (chosen.blue() << 16);
            showLayout();
            redraw();
        });
    }
    for (int i = 0; i < 3; ++i)
        connect(m_free[size_t(i)], &QLineEdit::textEdited, this, [this, i] {
            // A new free text gets a place of its own to start from.
            Row& r = m_rows[size_t(4 + i)];
            if (r.top->text().isEmpty())
                for (QLineEdit* e : {r.top, r.left, r.height, r.width})
                    e->setText(u"10.0"_s);
            readBoxes();
        });

    connect(m_mode, &QPushButton::clicked, this, &LabelDesigner::toggleAddressee);
    connect(m_honorific, &QLineEdit::textEdited, this, &LabelDesigner::readBoxes);
    connect(m_paper, &QComboBox::activated, this, &LabelDesigner::choosePaper);
    connect(m_portrait, &QRadioButton::clicked, this, &LabelDesigner::choosePaper);
    connect(m_landscape, &QRadioButton::clicked, this, &LabelDesigner::choosePaper);
    for (QLineEdit* e : {m_height, m_width})
        connect(e, &QLineEdit::editingFinished, this, [this, e] {
            e->setText(mmText(mmValue(e)));
            readBoxes();
        });
    connect(m_font, &QComboBox::activated, this, &LabelDesigner::readBoxes);
    connect(m_caption, &QComboBox::activated, this, [this](int index) {
        // Enter on a typed name that matches an entry only in letter case
        // selects that entry; the design is taken from the entry chosen.
        if (index >= 0)
            applyStoredLayout(m_caption->itemText(index));
    });
    connect(m_names, &QComboBox::activated, this, [this](int i) {
        m_sample = i;
        showSample();
    });
    connect(m_up, &QPushButton::clicked, this, &LabelDesigner::previousSample);
    connect(m_down, &QPushButton::clicked, this, &LabelDesigner::nextSample);

    connect(m_sheet, &QComboBox::activated, this, &LabelDesigner::chooseSheet);
    for (QLineEdit* e : m_sheetBoxes)
        connect(e, &QLineEdit::editingFinished, this, &LabelDesigner::readSheetBoxes);
    connect(m_saveSheet, &QPushButton::clicked, this, &LabelDesigner::saveUserSheet);
    connect(m_allPosts, &QRadioButton::toggled, this, &LabelDesigner::enablePostList);

    connect(m_print, &QPushButton::clicked, this, &LabelDesigner::printSelected);
    connect(m_save, &QPushButton::clicked, this, &LabelDesigner::saveLayout);
    connect(m_delete, &QPushButton::clicked, this, &LabelDesigner::deleteLayout);
    connect(m_printerSetup, &QPushButton::clicked, this, [this] { showPrinterSetUp(this); });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

// --- label sheets ----------------------------------------------------------------------

QString LabelDesigner::userSheetFile() const
{
    return QDir(m_context.store.paths.dataFolder).filePath(userSheetFileName());
}

void LabelDesigner::readUserSheetFile()
{
    const QString path = userSheetFile();
    if (!QFileInfo::exists(path))
        return;
    QByteArray bytes;
    QString problem;
    if (readWholeFile(path, bytes, &problem))
        m_userSheet = readUserSheet(bytes, &problem);
    if (!problem.isEmpty())
        m_context.notifier.tell(u"PRT_S.SHT を読み込めません。ユーザー定義の用紙は初めの大きさに戻ります"_s,
                                MessageIcon::Warning, UserNotifier::appTitle(), problem);
}

LabelSheet LabelDesigner::chosenSheet() const
{
    const int i = m_sheet->currentIndex();
    const auto& sheets = builtInSheets();
    if (i >= 0 && size_t(i) < sheets.size())
        return sheets[size_t(i)];
    return m_userSheet;
}

void LabelDesigner::showSheet(const LabelSheet& sheet)
{
    const bool user = sheet.name == userSheetName();
    const std::array<double, 10> values = sheetValues(sheet);
    for (size_t i = 0; i < m_sheetBoxes.size(); ++i) {
        m_sheetBoxes[i]->setText(sheet.onePerPage() ? QString() : sheetText(values[i], kSheetBoxes[i].whole));
        m_sheetBoxes[i]->setReadOnly(!user);
    }
    m_saveSheet->setEnabled(user);
    // The start position stays on the sheet.
    m_startRow->setRange(1, std::max(1, sheet.rows));
    m_startColumn->setRange(1, std::max(1, sheet.columns));
    m_startRow->setEnabled(!sheet.onePerPage());
    m_startColumn->setEnabled(!sheet.onePerPage());
    fitPaperToSheet(sheet);
    redraw();
}

void LabelDesigner::showPaper(const QString& name, float height, float width)
{
    // A paper name the list does not know (a layout from another program
    // version) keeps its stored sizes as a free size.
    const int paper = m_paper->findText(name);
    m_paper->setCurrentIndex(paper >= 0 ? paper : m_paper->count() - 1);
    lockSizes();
    m_height->setText(mmText(height));
    m_width->setText(mmText(width));
    (width > height ? m_landscape : m_portrait)->setChecked(true);
}

void LabelDesigner::fitPaperToSheet(const LabelSheet& sheet)
{
    const bool onSheet = !sheet.onePerPage() && sheet.labelWidth > 0 && sheet.labelHeight > 0;
    if (onSheet) {
        if (!m_ownPaper)
            m_ownPaper = OwnPaper{m_layout.paper, m_layout.paperHeight, m_layout.paperWidth};
        showPaper(paperSizes().back().name, sheet.labelHeight, sheet.labelWidth);
    } else if (m_ownPaper) {
        showPaper(m_ownPaper->name, m_ownPaper->height, m_ownPaper->width);
        m_ownPaper.reset();
    }
    // The label's size follows from the sheet: the paper boxes are the
    // sheet's while one is chosen.
    m_paper->setEnabled(!onSheet);
    m_portrait->setEnabled(!onSheet);
    m_landscape->setEnabled(!onSheet);
    if (onSheet) {
        m_height->setReadOnly(true);
        m_width->setReadOnly(true);
    }
    readBoxes();
}

void LabelDesigner::chooseSheet()
{
    showSheet(chosenSheet());
}

void LabelDesigner::readSheetBoxes()
{
    if (chosenSheet().name != userSheetName())
        return;
    LabelSheet& s = m_userSheet;
    float* decimals[] = {&s.paperWidth, &s.paperHeight, nullptr,   nullptr,       &s.top,
                         &s.left,       &s.pitchX,      &s.pitchY, &s.labelWidth, &s.labelHeight};
    for (size_t i = 0; i < m_sheetBoxes.size(); ++i) {
        const QString text = m_sheetBoxes[i]->text();
        if (decimals[i])
            *decimals[i] = float(std::clamp(typedDecimal(text), 0.0, 9999.9));
        else if (i == 2)
            s.rows = int(typedNumber(text, 0, kMaxSheetRows));
        else
            s.columns = int(typedNumber(text, 0, kMaxSheetColumns));
    }
    showSheet(s);
}

void LabelDesigner::saveUserSheet()
{
    readSheetBoxes();
    if (const QString problem = sheetProblem(m_userSheet); !problem.isEmpty()) {
        m_context.notifier.tell(problem, MessageIcon::Warning);
        return;
    }
    QString error;
    if (!fileops::writeFile(userSheetFile(), userSheetBytes(m_userSheet), &error))
        m_context.notifier.tell(u"PRT_S.SHT に書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
}

void LabelDesigner::enablePostList()
{
    m_postList->setEnabled(m_tickedPosts->isChecked());
}

SheetPrint LabelDesigner::sheetPrint() const
{
    SheetPrint how;
    how.sheet = chosenSheet();
    how.startRow = how.sheet.onePerPage() ? 1 : m_startRow->value();
    how.startColumn = how.sheet.onePerPage() ? 1 : m_startColumn->value();
    if (m_tickedPosts->isChecked())
        for (int i = 0; i < m_postList->count(); ++i)
            if (m_postList->item(i)->checkState() != Qt::Checked)
                how.skipped << m_postList->item(i)->data(Qt::UserRole).toString();
    return how;
}

void LabelDesigner::restoreChoices()
{
    SettingsStore& store = m_context.positions.settings();
    const QString app = m_context.positions.appKey();
    auto get = [&](const QString& key) { return store.get(app, kChoices, key); };
    const int sheet = m_sheet->findText(get(u"Sheet"_s));
    m_sheet->setCurrentIndex(sheet >= 0 ? sheet : 0);
    chooseSheet();
    m_startRow->setValue(get(u"StartRow"_s).toInt());
    m_startColumn->setValue(get(u"StartColumn"_s).toInt());
    (get(u"Posts"_s) == u"ticked"_s ? m_tickedPosts : m_allPosts)->setChecked(true);
    const QStringList unticked = get(u"Unticked"_s).split(u',', Qt::SkipEmptyParts);
    for (int i = 0; i < m_postList->count(); ++i)
        if (unticked.contains(m_postList->item(i)->data(Qt::UserRole).toString()))
            m_postList->item(i)->setCheckState(Qt::Unchecked);
    const int destination = get(u"Destination"_s).toInt() - 1;
    if (destination >= 0 && destination < m_destination->count())
        m_destination->setCurrentIndex(destination);
    enablePostList();
}

void LabelDesigner::saveChoices()
{
    QStringList unticked;
    for (int i = 0; i < m_postList->count(); ++i)
        if (m_postList->item(i)->checkState() != Qt::Checked)
            unticked << m_postList->item(i)->data(Qt::UserRole).toString();
    const QList<SettingsStore::Entry> entries{
        {kChoices, u"Sheet"_s, m_sheet->currentText()},
        {kChoices, u"StartRow"_s, QString::number(m_startRow->value())},
        {kChoices, u"StartColumn"_s, QString::number(m_startColumn->value())},
        {kChoices, u"Posts"_s, m_tickedPosts->isChecked() ? u"ticked"_s : u"all"_s},
        {kChoices, u"Unticked"_s, unticked.join(u',')},
        {kChoices, u"Destination"_s, QString::number(m_destination->currentIndex() + 1)},
    };
    if (!m_context.positions.settings().saveAll(m_context.positions.appKey(), entries))
        m_context.notifier.tell(u"氏名印刷の設定を保存できませんでした"_s, MessageIcon::Warning);
}

void LabelDesigner::done(int result)
{
    saveChoices();
    RememberedDialog::done(result);
}

QString LabelDesigner::layoutFile() const
{
    return QDir(m_context.store.paths.dataFolder).filePath(u"PRT_S.PRS"_s);
}

bool LabelDesigner::lockSizes()
{
    const auto& sizes = paperSizes();
    const int i = m_paper->currentIndex();
    const bool free = i < 0 || size_t(i) >= sizes.size() || sizes[size_t(i)].longSide <= 0;
    m_height->setReadOnly(!free);
    m_width->setReadOnly(!free);
    return free;
}

void LabelDesigner::choosePaper()
{
    const auto& sizes = paperSizes();
    const int i = m_paper->currentIndex();
    const bool free = lockSizes();
    if (!free) {
        const PaperSize& s = sizes[size_t(i)];
        m_height->setText(mmText(m_portrait->isChecked() ? s.longSide : s.shortSide));
        m_width->setText(mmText(m_portrait->isChecked() ? s.shortSide : s.longSide));
    } else if (m_landscape->isChecked() != (mmValue(m_width) > mmValue(m_height))) {
        // A free size follows the orientation by turning the paper.
        const QString h = m_height->text();
        m_height->setText(m_width->text());
        m_width->setText(h);
    }
    readBoxes();
}

void LabelDesigner::readBoxes()
{
    if (m_applying)
        return;
    for (int i = 0; i < kItems; ++i) {
        const Row& r = m_rows[size_t(i)];
        LabelItem& it = m_layout.items[size_t(i)];
        it.top = float(mmValue(r.top));
        it.left = float(mmValue(r.left));
        it.width = float(mmValue(r.width));
        it.height = float(mmValue(r.height));
        it.flags =
            qint16((r.bold->isChecked() ? LabelItem::Bold : 0) | (r.spread->isChecked() ? LabelItem::Spread : 0) |
                   (r.print->isChecked() ? LabelItem::Print : 0));
        if (i >= 4)
            it.text = m_free[size_t(i - 4)]->text();
    }
    m_layout.name = m_caption->currentText();
    m_layout.paper = m_paper->currentText();
    m_layout.paperHeight = float(mmValue(m_height));
    m_layout.paperWidth = float(mmValue(m_width));
    m_layout.font = m_font->currentText();
    m_layout.honorific = m_honorific->text();
    redraw();
}

void LabelDesigner::showLayout()
{
    m_applying = true;
    for (int i = 0; i < kItems; ++i) {
        const Row& r = m_rows[size_t(i)];
        const LabelItem& it = m_layout.items[size_t(i)];
        r.top->setText(mmText(it.top));
        r.left->setText(mmText(it.left));
        r.width->setText(mmText(it.width));
        r.height->setText(mmText(it.height));
        r.print->setChecked(it.has(LabelItem::Print));
        r.bold->setChecked(it.has(LabelItem::Bold));
        r.spread->setChecked(it.has(LabelItem::Spread));
        r.colour->setStyleSheet(u"background-color: %1"_s.arg(it.qcolour().name()));
        if (i >= 4)
            m_free[size_t(i - 4)]->setText(it.text);
    }
    m_caption->setCurrentText(m_layout.name);
    showPaper(m_layout.paper, m_layout.paperHeight, m_layout.paperWidth);
    if (m_font->findText(m_layout.font) < 0)
        m_font->addItem(m_layout.font);
    m_font->setCurrentText(m_layout.font);
    m_applying = false;
}

void LabelDesigner::setItemRect(int item, const QRectF& r)
{
    Row& row = m_rows[size_t(item)];
    row.left->setText(mmText(r.left()));
    row.top->setText(mmText(r.top()));
    row.width->setText(mmText(r.width()));
    row.height->setText(mmText(r.height()));
    readBoxes();
}

void LabelDesigner::redraw()
{
    const double k = m_preview->pixelsPerMm();
    m_preview->resize(int((m_layout.paperWidth + 6) * k), int((m_layout.paperHeight + 6) * k));
    m_preview->update();
}

void LabelDesigner::showSample()
{
    if (m_posts.empty())
        return;
    m_sample = std::clamp(m_sample, 0, int(m_posts.size()) - 1);
    m_names->setCurrentIndex(m_sample);
    const SchoolRecord& s = m_context.store.schools[size_t(m_posts[size_t(m_sample)].school)];
    m_schoolName->setText(s.fullName());
    m_postal->setText(s.postalCode);
    m_address->setText(s.municipality + s.address);
    redraw();
}

void LabelDesigner::nextSample()
{
    ++m_sample;
    showSample();
}

void LabelDesigner::previousSample()
{
    --m_sample;
    showSample();
}

void LabelDesigner::toggleAddressee()
{
    m_layout.titleMode = !m_layout.titleMode;
    m_mode->setText(m_layout.titleMode ? u"事務担当"_s : u"氏名"_s);
    m_honorific->setVisible(!m_layout.titleMode);
    redraw();
}

void LabelDesigner::printSelected()
{
    if (m_context.store.schools.empty()) {
        m_context.notifier.tell(u"データが有りません"_s, MessageIcon::Critical);
        return;
    }
    if (m_posts.empty()) {
        m_context.notifier.tell(u"選択データが有りません"_s, MessageIcon::Critical);
        return;
    }
    readSheetBoxes();
    const SheetPrint how = sheetPrint();
    if (how.skipped.size() >= qsizetype(m_posts.size())) {
        m_context.notifier.tell(u"選択データが有りません"_s, MessageIcon::Critical);
        return;
    }
    // A user's sheet typed but not printable, or a start off the sheet, is
    // told before anything goes to the printer.
    QString problem = sheetProblem(how.sheet);
    if (problem.isEmpty())
        problem = startProblem(how.sheet, how.startRow, how.startColumn);
    if (!how.sheet.onePerPage() && !problem.isEmpty()) {
        m_context.notifier.tell(problem, MessageIcon::Warning);
        return;
    }
    // Sheets of blank or cut labels are told before they are printed.
    if (!how.sheet.onePerPage()) {
        readBoxes();
        const LabelFit fit = labelFit(m_layout, how.sheet);
        if (fit == LabelFit::Outside) {
            m_context.notifier.tell(outsideLabelText(), MessageIcon::Warning);
            return;
        }
        if (fit == LabelFit::Cut && !m_context.notifier.askYesNo(cutByLabelText()))
            return;
    }
    if (!m_context.notifier.askYesNo(u"選択データの印刷をします"_s))
        return;
    saveChoices();
    WaitCursor wait;
    redraw();
    m_preview->grab(); // the font sizes the labels print in come from drawing the preview
    const LabelLayout layout = m_layout;
    PrintRequest request =
        newPrintRequest(m_context.store, kLabelJob, [layout, how](PrintJobContext& c) { printLabels(c, layout, how); });
    request.destination = PrintDestination(m_destination->currentIndex());
    if (sendToPrinter)
        sendToPrinter(request);
    else
        printWithDialogs(m_context, request, this);
}

void LabelDesigner::fillNames()
{
    const QString typed = m_caption->currentText();
    m_caption->clear();
    if (const auto layouts = readFile(false))
        for (const LabelLayout& l : *layouts)
            m_caption->addItem(l.name);
    // The entry shown must be the one selected: otherwise leaving the box
    // makes the combo box select the typed name and load its stored layout
    // over the design on screen.
    m_caption->setCurrentIndex(m_caption->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive));
    m_caption->setCurrentText(typed);
}

std::optional<std::vector<LabelLayout>> LabelDesigner::readFile(bool mustExist)
{
    const QString path = layoutFile();
    if (!QFileInfo::exists(path)) {
        if (mustExist)
            m_context.notifier.tell(u"ファイルが有りません"_s, MessageIcon::Warning);
        return mustExist ? std::nullopt : std::optional<std::vector<LabelLayout>>(std::vector<LabelLayout>{});
    }
    QByteArray bytes;
    QString error;
    std::optional<std::vector<LabelLayout>> layouts;
    if (readWholeFile(path, bytes, &error))
        layouts = readLayouts(bytes, &error);
    if (!layouts)
        m_context.notifier.tell(u"PRT_S.PRS を読み込めません"_s, MessageIcon::Warning, UserNotifier::appTitle(), error);
    return layouts;
}

void LabelDesigner::applyStoredLayout(const QString& name)
{
    const auto layouts = readFile(false);
    if (!layouts || layouts->empty())
        return;
    LabelLayout chosen = layouts->back(); // when no name matches, the last one read
    for (const LabelLayout& l : *layouts)
        if (l.name == name) {
            chosen = l;
            break;
        }
    chosen.titleMode = m_layout.titleMode;
    chosen.honorific = m_layout.honorific;
    m_layout = chosen;
    m_ownPaper.reset(); // the stored layout's paper is now its own
    showLayout();
    fitPaperToSheet(chosenSheet());
    redraw();
}

void LabelDesigner::saveLayout()
{
    readBoxes();
    const QString name = m_caption->currentText();
    if (name.trimmed().isEmpty()) {
        m_context.notifier.tell(u"題名を入力してください"_s, MessageIcon::Warning);
        return;
    }
    // Whether the name is stored is decided by the file itself, so a layout
    // is stored even when the file does not exist yet.
    const auto read = readFile(false);
    if (!read)
        return;
    std::vector<LabelLayout> layouts = *read;
    // A layout saved while a label sheet is chosen keeps its own paper: the
    // label's size comes from the sheet each time.
    LabelLayout stored = m_layout;
    if (m_ownPaper) {
        stored.paper = m_ownPaper->name;
        stored.paperHeight = m_ownPaper->height;
        stored.paperWidth = m_ownPaper->width;
    }
    const auto same =
        std::find_if(layouts.begin(), layouts.end(), [&](const LabelLayout& l) { return l.name == name; });
    if (same != layouts.end()) {
        if (!m_context.notifier.askYesNo(u"データを書き換えます"_s))
            return;
        *same = stored;
    } else {
        layouts.push_back(stored);
    }
    QString error;
    if (!writeLayouts(layoutFile(), layouts, &error)) {
        m_context.notifier.tell(u"PRT_S.PRS に書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
        return;
    }
    fillNames();
}

void LabelDesigner::deleteLayout()
{
    const QString name = m_caption->currentText();
    if (m_caption->count() == 0 || m_caption->findText(name) < 0) {
        m_context.notifier.ask(
            {u"削除するデータがありません"_s, UserNotifier::appTitle(), MessageIcon::None, MessageButtons::YesNo, {}});
        return;
    }
    if (!m_context.notifier.askYesNo(u"データを削除します"_s))
        return;
    const auto read = readFile(true);
    if (!read)
        return;
    std::vector<LabelLayout> layouts;
    for (const LabelLayout& l : *read)
        if (l.name != name)
            layouts.push_back(l);
    QString error;
    if (!writeLayouts(layoutFile(), layouts, &error)) {
        m_context.notifier.tell(u"PRT_S.PRS に書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
        return;
    }
    m_caption->setCurrentText(QString());
    fillNames();
}
