#include "print_options_dialog.h"

#include "app_context.h"
#include "era_years.h"
#include "print_framework.h"
#include "roster_print.h"
#include "settings_store.h"
#include "text_width.h"
#include "widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The roster job of a row of the layout list (P_LIST), in catalogue order.
PrintJobCode rosterLayout(int row)
{
    return roster_print::kRosterJobs[size_t(row)];
}

// The whole of a box as a 16-bit number; nothing or letters count as 0.
std::optional<qint16> sixteenBit(const QString& text)
{
    const QString t = toHalfWidth(text).trimmed();
    if (t.isEmpty())
        return qint16(0);
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok) {
        // A leading number, as the boxes were always read.
        qsizetype i = (t.startsWith(u'-') || t.startsWith(u'+')) ? 1 : 0;
        while (i < t.size() && t[i].isDigit())
            ++i;
        const qlonglong lead = t.left(i).toLongLong(&ok);
        return ok ? std::optional<qint16>(qint16(std::clamp<qlonglong>(lead, -32768, 32767)))
                  : std::optional<qint16>(qint16(0));
    }
    if (v < -32768 || v > 32767)
        return std::nullopt;
    return qint16(v);
}
// A page of the print: 1 and up, typed in half- or full-width digits.
class PageBox : public QSpinBox {
public:
    PageBox(const QString& name, QWidget* parent) : QSpinBox(parent)
    {
        setObjectName(name);
        setRange(1, PrintRequest::kMaxPage);
        setAlignment(Qt::AlignRight);
        setFixedWidth(72);
    }

protected:
    QValidator::State validate(QString& text, int& pos) const override
    {
        text = toHalfWidth(text);
        return QSpinBox::validate(text, pos);
    }
    int valueFromText(const QString& text) const override { return QSpinBox::valueFromText(toHalfWidth(text)); }
};
} // namespace

PrintOptionsDialog::PrintOptionsDialog(AppContext& context, PrintRequest& request, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_request(request)
{
    setObjectName(u"PRT_SET"_s);
    setWindowTitle(u"なかま帳印刷"_s);
    buildTitle();
    buildLayoutList();
    buildBoxes();
    buildPageRange();
    buildButtons();
    layOut();
    connectControls();
    loadDefaults();
}

void PrintOptionsDialog::buildTitle()
{
    const PrintJobCode code = m_request.job;
    m_title = new QLabel(code == PrintJobCode::Tallies         ? u"集計表印刷"_s
                         : code == PrintJobCode::OfficerRoster ? u"役員名簿印刷"_s
                                                               : u"なかま帳印刷"_s,
                         this);
    m_title->setObjectName(u"Label1"_s);
    QFont big = m_title->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    m_title->setFont(big);
    m_title->installEventFilter(this);
}

void PrintOptionsDialog::buildLayoutList()
{
    m_layouts = new QListWidget(this);
    m_layouts->setObjectName(u"P_LIST"_s);
    m_layouts->setFixedHeight(96);
}

void PrintOptionsDialog::buildBoxes()
{
    m_heading = new QLineEdit(this);
    m_heading->setObjectName(u"P_HED"_s);
    m_heading->setMinimumWidth(320);
    m_prefix = makeNumberBox(u"P_NO(0)"_s, this, 56, 8);
    m_startPage = makeNumberBox(u"P_NO(1)"_s, this, 56, 8);
    m_copies = makeNumberBox(u"P_COUNT"_s, this, 56, 8);
    m_numbers = makeCheck(u"CHK_NO"_s, u"ﾍﾟｰｼﾞ番号印刷"_s, this);
    m_omitSubstitutes = makeCheck(u"PRT_S_NO"_s, u"産休・育休補助　印刷無し"_s, this);
    m_evenTop = makeCheck(u"CHK_UP"_s, u"偶数ページ上に印刷"_s, this);
    m_omitGrade = makeCheck(u"CHK1"_s, u"級・号給印刷無し"_s, this);
    m_destination = new QComboBox(this);
    m_destination->setObjectName(u"P_DEST"_s);
    m_destination->addItems({u"プリンタ"_s, u"印刷プレビュー"_s, u"PDFファイル"_s});
    m_destination->setCurrentIndex(int(m_request.destination));
}

void PrintOptionsDialog::buildPageRange()
{
    // Pages are counted from the first page of the print (1), whatever
    // number is printed on them.
    m_allPages = new QRadioButton(u"全ページ"_s, this);
    m_allPages->setObjectName(u"OPT_ALL"_s);
    m_pageRange = new QRadioButton(u"ページ指定"_s, this);
    m_pageRange->setObjectName(u"OPT_RANGE"_s);
    m_fromPage = new PageBox(u"P_FROM"_s, this);
    m_toPage = new PageBox(u"P_TO"_s, this);
}

void PrintOptionsDialog::buildButtons()
{
    m_start = new QPushButton(u"印刷開始"_s, this);
    m_start->setObjectName(u"B_START"_s);
    m_start->setDefault(true);
    m_cancel = new QPushButton(u"キャンセル"_s, this);
    m_cancel->setObjectName(u"B_ESC"_s);
}

void PrintOptionsDialog::layOut()
{
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(u"ヘッダー"_s, this), 0, 0);
    grid->addWidget(m_heading, 0, 1, 1, 4);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(m_prefix);
    numbers->addWidget(new QLabel(u"－"_s, this));
    numbers->addWidget(m_startPage);
    numbers->addSpacing(12);
    numbers->addWidget(m_numbers);
    numbers->addStretch();
    grid->addWidget(new QLabel(u"印刷開始ページ番号"_s, this), 1, 0);
    grid->addLayout(numbers, 1, 1, 1, 4);
    grid->addWidget(new QLabel(u"印刷枚数"_s, this), 2, 0);
    grid->addWidget(m_copies, 2, 1);
    grid->addWidget(new QLabel(u"出力先"_s, this), 3, 0);
    grid->addWidget(m_destination, 3, 1, 1, 2);
    auto* range = new QHBoxLayout;
    range->addWidget(m_allPages);
    range->addSpacing(12);
    range->addWidget(m_pageRange);
    range->addWidget(m_fromPage);
    auto* to = new QLabel(u"～"_s, this);
    range->addWidget(to);
    range->addWidget(m_toPage);
    auto* unit = new QLabel(u"ページ目"_s, this);
    range->addWidget(unit);
    range->addStretch();
    auto* rangeLabel = new QLabel(u"印刷範囲"_s, this);
    rangeLabel->setObjectName(u"Label_RANGE"_s);
    rangeLabel->setBuddy(m_allPages);
    grid->addWidget(rangeLabel, 4, 0);
    grid->addLayout(range, 4, 1, 1, 4);
    auto* options = new QVBoxLayout;
    options->addWidget(m_omitSubstitutes);
    options->addWidget(m_evenTop);
    options->addWidget(m_omitGrade);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_title);
    layout->addWidget(m_layouts);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addLayout(buttons);
    // Tab goes through the form top to bottom, the range after 出力先.
    setTabOrder(m_destination, m_allPages);
    setTabOrder(m_allPages, m_pageRange);
    setTabOrder(m_pageRange, m_fromPage);
    setTabOrder(m_fromPage, m_toPage);
}

void PrintOptionsDialog::connectControls()
{
    connect(m_layouts, &QListWidget::itemClicked, this, &PrintOptionsDialog::chooseLayout);
    connect(m_layouts, &QListWidget::currentRowChanged, this, &PrintOptionsDialog::chooseLayout);
    connect(m_numbers, &QCheckBox::clicked, this, &PrintOptionsDialog::switchPageNumbers);
    connect(m_allPages, &QRadioButton::toggled, this, &PrintOptionsDialog::choosePageRange);
    connect(m_fromPage, &QSpinBox::valueChanged, this, &PrintOptionsDialog::keepRangeInOrder);
    connect(m_start, &QPushButton::clicked, this, &PrintOptionsDialog::startPrinting);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintOptionsDialog::loadDefaults()
{
    const PrintJobCode code = m_request.job;
    const bool roster = code == PrintJobCode::Roster25;
    m_numbers->setChecked(true);
    m_evenTop->setVisible(false);
    m_omitGrade->setVisible(false);
    // The roster options belong to the school list's printouts.
    m_omitSubstitutes->setVisible(roster);
    m_layouts->setVisible(roster);
    if (roster) {
        for (int row = 0; row < 4; ++row)
            m_layouts->addItem(QString::fromUtf16(printJobInfo(rosterLayout(row)).name));
        m_layouts->setCurrentRow(3);
    }
    m_prefix->clear();
    m_startPage->setText(u"1"_s);
    m_copies->setText(u"1"_s);
    // A range is for one reprint: the next print is the whole job again.
    m_allPages->setChecked(true);
    m_fromPage->setValue(1);
    m_toPage->setValue(1);
    choosePageRange();
    if (m_heading->text().isEmpty()) {
        if (code == PrintJobCode::Tallies) {
            QString selection;
            const TallySelections& sel = m_context.session.selections;
            if (!sel.tallyArea.isEmpty()) {
                selection = u"("_s + sel.tallyArea;
                if (!sel.tallyDistrict.isEmpty())
                    selection += u'.' + sel.tallyDistrict;
                selection += u")"_s;
            }
            m_heading->setText(yearText() + u"　学校事務職員集計"_s + selection);
        } else if (code == PrintJobCode::OfficerRoster) {
            m_heading->setText(yearText() + u"　役員"_s);
        }
    }
}

QString PrintOptionsDialog::yearText() const
{
    return fiscalYearCaption(m_context.store.fiscalYear, true);
}

bool PrintOptionsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_title && event->type() == QEvent::MouseButtonDblClick) {
        if (m_layouts->count() == 4)
            m_layouts->addItem(QString::fromUtf16(printJobInfo(PrintJobCode::StaffContacts).name));
        return true;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void PrintOptionsDialog::chooseLayout()
{
    const int index = m_layouts->currentRow();
    m_evenTop->setVisible(m_numbers->isChecked() && index == 3);
    m_omitGrade->setVisible(index == 0);
    const SchoolFilter& sel = m_context.session.schoolFilter;
    if (!isRosterJob(m_request.job) || sel.area == u"全"_s || index < 0)
        return;
    m_request.job = rosterLayout(index);
    m_heading->setText(m_context.positions.settings().get(m_context.positions.appKey(), u"PRINT"_s,
                                                          u"HED"_s + QString::number(jobNumber(m_request.job))));
    const QString s = yearText() + (sel.district.isEmpty() ? sel.area : sel.district);
    if (index == 1)
        m_heading->setText(s + u"学校事務職員名簿"_s);
    else if (index == 2)
        m_heading->setText(s + u"学校事務職員連絡先(学校)"_s);
    else if (index == 4)
        m_heading->setText(s + u"学校事務職員連絡先(自宅)"_s);
    if (index == 0 || index == 3) {
        const MunicipalityTable& t = m_context.store.municipalities;
        if (!t.entries.empty() && sel.district == t.entries[0].name)
            m_heading->setText(u"(      管内) 地区名  "_s + t.entries[0].name);
        else if (sel.area != u"全"_s)
            m_heading->setText(u"("_s + sel.area + u") 地区名  "_s + sel.district);
    }
}

void PrintOptionsDialog::switchPageNumbers()
{
    m_prefix->setEnabled(m_numbers->isChecked());
    m_startPage->setEnabled(m_numbers->isChecked());
    m_evenTop->setVisible(m_numbers->isChecked() && m_layouts->currentRow() == 3 && !m_layouts->isHidden());
}

void PrintOptionsDialog::choosePageRange()
{
    const bool range = m_pageRange->isChecked();
    m_fromPage->setEnabled(range);
    m_toPage->setEnabled(range);
    if (range && isVisible()) {
        m_fromPage->setFocus();
        m_fromPage->selectAll();
        // An arrow key onto ページ指定 gives the focus back to the radio
        // button after checking it: take it once more when that is done.
        QTimer::singleShot(0, m_fromPage, [this] {
            if (m_pageRange->isChecked() && m_pageRange->hasFocus()) {
                m_fromPage->setFocus();
                m_fromPage->selectAll();
            }
        });
    }
}

void PrintOptionsDialog::keepRangeInOrder()
{
    // The last page is never before the first.
    if (m_toPage->value() < m_fromPage->value())
        m_toPage->setValue(m_fromPage->value());
}

void PrintOptionsDialog::startPrinting()
{
    const std::optional<qint16> prefix = sixteenBit(m_prefix->text());
    const std::optional<qint16> startPage = sixteenBit(m_startPage->text());
    const std::optional<qint16> copies = sixteenBit(m_copies->text());
    if (!prefix || !startPage || !copies) {
        m_context.notifier.tell(u"ページ番号と印刷枚数は -32768 から 32767 までの数で入力してください"_s,
                                MessageIcon::Warning);
        return;
    }
    PrintOptions& o = m_request.options;
    o.pagePrefix = *prefix;
    o.startPage = *startPage;
    o.copies = *copies;
    if (!m_numbers->isChecked()) {
        o.pagePrefix = 0;
        o.startPage = 0;
    }
    o.heading = m_heading->text();
    m_started = true;
    if (!m_layouts->isHidden() && m_layouts->currentRow() >= 0)
        m_request.job = rosterLayout(m_layouts->currentRow());
    m_context.positions.settings().save(m_context.positions.appKey(), u"PRINT"_s,
                                        u"HED"_s + QString::number(jobNumber(m_request.job)), o.heading);
    o.flags = 0;
    if (m_omitSubstitutes->isChecked())
        o.flags |= PrintOptions::OmitSubstitutes;
    if (m_evenTop->isChecked())
        o.flags |= PrintOptions::EvenPageNumberTop;
    if (m_omitGrade->isChecked())
        o.flags |= PrintOptions::OmitGradeStep;
    m_request.destination = PrintDestination(m_destination->currentIndex());
    if (m_pageRange->isChecked()) {
        m_request.firstPage = m_fromPage->value();
        m_request.lastPage = std::max(m_fromPage->value(), m_toPage->value());
    } else {
        m_request.firstPage = 1;
        m_request.lastPage = 0;
    }
    accept();
}

void PrintOptionsDialog::done(int result)
{
    if (!m_started)
        m_request.job = PrintJobCode::None;
    RememberedDialog::done(result);
}
