#include "label_designer.h"

#include "app_context.h"
#include "painter_device.h"
#include "print_runner.h"
#include "record_format.h"
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
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
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

LabelDesigner::LabelDesigner(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"ST_PRT_S"_s);
    setWindowTitle(u"氏名印刷"_s);
    m_posts = markedPosts(context.store);

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
    for (int i = 0; i < 3; ++i) {
        m_free[size_t(i)] = makeEdit(u"P_STRING(%1)"_s.arg(i), this);
        items->addWidget(new QLabel(u"文字%1"_s.arg(i + 1), this), 8 + i, 0);
        items->addWidget(m_free[size_t(i)], 8 + i, 1, 1, 8);
        connect(m_free[size_t(i)], &QLineEdit::textEdited, this, [this, i] {
            // A new free text gets a place of its own to start from.
            Row& r = m_rows[size_t(4 + i)];
            if (r.top->text().isEmpty())
                for (QLineEdit* e : {r.top, r.left, r.height, r.width})
                    e->setText(u"10.0"_s);
            readBoxes();
        });
    }

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
        m_names->addItem(context.store.schools[size_t(p.school)].clerks[size_t(p.slot)].staffName);
    auto* up = makeButton(u"B_DEC"_s, u"▲"_s, this);
    auto* down = makeButton(u"B_INC"_s, u"▼"_s, this);
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
    steps->addWidget(up);
    steps->addWidget(down);
    settings->addLayout(steps, 7, 2);
    settings->addWidget(m_schoolName, 8, 0, 1, 3);
    settings->addWidget(m_postal, 9, 0, 1, 3);
    settings->addWidget(m_address, 10, 0, 1, 3);

    m_preview = new LabelPreview(*this);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(u"IMG"_s);
    m_scroll->setWidget(m_preview);
    m_scroll->setMinimumSize(twips::toPixels(10335) / 2, twips::toPixels(5300));

    auto* buttons = new QHBoxLayout;
    const std::pair<QString, QString> named[] = {{u"B_PRT"_s, u"印刷"_s},
                                                 {u"B_SAVE"_s, u"登録"_s},
                                                 {u"B_DEL"_s, u"削除"_s},
                                                 {u"B_PRT_SET"_s, u"プリンタ設定"_s},
                                                 {u"B_ESC"_s, u"閉じる"_s}};
    QMap<QString, QPushButton*> made;
    buttons->addStretch();
    for (const auto& [name, text] : named) {
        made[name] = makeButton(name, text, this);
        buttons->addWidget(made[name]);
    }

    auto* top = new QHBoxLayout;
    top->addLayout(items);
    top->addLayout(settings);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_scroll, 1);
    layout->addLayout(buttons);

    connect(m_mode, &QPushButton::clicked, this, &LabelDesigner::on_B_PRT_J_clicked);
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
            on_S_CAPTION_chosen(m_caption->itemText(index));
    });
    connect(m_names, &QComboBox::activated, this, [this](int i) {
        m_sample = i;
        showSample();
    });
    connect(up, &QPushButton::clicked, this, &LabelDesigner::on_B_DEC_clicked);
    connect(down, &QPushButton::clicked, this, &LabelDesigner::on_B_INC_clicked);
    connect(made[u"B_PRT"_s], &QPushButton::clicked, this, &LabelDesigner::on_B_PRT_clicked);
    connect(made[u"B_SAVE"_s], &QPushButton::clicked, this, &LabelDesigner::on_B_SAVE_clicked);
    connect(made[u"B_DEL"_s], &QPushButton::clicked, this, &LabelDesigner::on_B_DEL_clicked);
    connect(made[u"B_PRT_SET"_s], &QPushButton::clicked, this, [this] {
        QPrintDialog dialog(&sharedPrinter(), this);
        dialog.setWindowTitle(u"プリンタ設定"_s);
        dialog.exec();
    });
    connect(made[u"B_ESC"_s], &QPushButton::clicked, this, &QDialog::reject);

    fillNames();
    showLayout();
    choosePaper();
    showSample();
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
    // A paper name the list does not know (a layout from another program
    // version) keeps its stored sizes as a free size.
    const int paper = m_paper->findText(m_layout.paper);
    m_paper->setCurrentIndex(paper >= 0 ? paper : m_paper->count() - 1);
    lockSizes();
    m_height->setText(mmText(m_layout.paperHeight));
    m_width->setText(mmText(m_layout.paperWidth));
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

void LabelDesigner::on_B_INC_clicked()
{
    ++m_sample;
    showSample();
}

void LabelDesigner::on_B_DEC_clicked()
{
    --m_sample;
    showSample();
}

void LabelDesigner::on_B_PRT_J_clicked()
{
    m_layout.titleMode = !m_layout.titleMode;
    m_mode->setText(m_layout.titleMode ? u"事務担当"_s : u"氏名"_s);
    m_honorific->setVisible(!m_layout.titleMode);
    redraw();
}

void LabelDesigner::on_B_PRT_clicked()
{
    if (m_context.store.schools.empty()) {
        m_context.notifier.tell(u"データが有りません"_s, MessageIcon::Critical);
        return;
    }
    if (m_posts.empty()) {
        m_context.notifier.tell(u"選択データが有りません"_s, MessageIcon::Critical);
        return;
    }
    if (!m_context.notifier.askYesNo(u"選択データの印刷をします"_s))
        return;
    WaitCursor wait;
    redraw();
    m_preview->grab(); // the font sizes the labels print in come from drawing the preview
    const LabelLayout layout = m_layout;
    printJobs().add(kLabelJob, [layout](PrintJobContext& c) { printLabels(c, layout); });
    printJobWithDialogs(m_context, kLabelJob, false, this);
    printJobs().add(kLabelJob, {});
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

void LabelDesigner::on_S_CAPTION_chosen(const QString& name)
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
    showLayout();
    redraw();
}

void LabelDesigner::on_B_SAVE_clicked()
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
    const auto same =
        std::find_if(layouts.begin(), layouts.end(), [&](const LabelLayout& l) { return l.name == name; });
    if (same != layouts.end()) {
        if (!m_context.notifier.askYesNo(u"データを書き換えます"_s))
            return;
        *same = m_layout;
    } else {
        layouts.push_back(m_layout);
    }
    QString error;
    if (!writeLayouts(layoutFile(), layouts, &error)) {
        m_context.notifier.tell(u"PRT_S.PRS に書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
        return;
    }
    fillNames();
}

void LabelDesigner::on_B_DEL_clicked()
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
