#include "print_options_dialog.h"

#include "app_context.h"
#include "era_years.h"
#include "print_framework.h"
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
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// The roster job of a row of the layout list (P_LIST), in catalogue order.
PrintJobCode rosterLayout(int row)
{
    return PrintJobCode(jobNumber(PrintJobCode::Roster25) + row);
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
} // namespace

PrintOptionsDialog::PrintOptionsDialog(AppContext& context, PrintRequest& request, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_request(request)
{
    setObjectName(u"PRT_SET"_s);
    setWindowTitle(u"なかま帳印刷"_s);
    const PrintJobCode code = request.job;
    const bool roster = code == PrintJobCode::Roster25;

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

    m_layouts = new QListWidget(this);
    m_layouts->setObjectName(u"P_LIST"_s);
    m_layouts->setFixedHeight(96);
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
    m_destination->setCurrentIndex(int(request.destination));

    auto* start = new QPushButton(u"印刷開始"_s, this);
    start->setObjectName(u"B_START"_s);
    start->setDefault(true);
    auto* cancel = new QPushButton(u"キャンセル"_s, this);
    cancel->setObjectName(u"B_ESC"_s);

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
    auto* options = new QVBoxLayout;
    options->addWidget(m_omitSubstitutes);
    options->addWidget(m_evenTop);
    options->addWidget(m_omitGrade);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_title);
    layout->addWidget(m_layouts);
    layout->addLayout(grid);
    layout->addLayout(options);
    layout->addLayout(buttons);

    connect(m_layouts, &QListWidget::itemClicked, this, &PrintOptionsDialog::on_P_LIST_clicked);
    connect(m_layouts, &QListWidget::currentRowChanged, this, &PrintOptionsDialog::on_P_LIST_clicked);
    connect(m_numbers, &QCheckBox::clicked, this, &PrintOptionsDialog::on_CHK_NO_clicked);
    connect(start, &QPushButton::clicked, this, &PrintOptionsDialog::on_B_START_clicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // On load.
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

void PrintOptionsDialog::on_P_LIST_clicked()
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

void PrintOptionsDialog::on_CHK_NO_clicked()
{
    m_prefix->setEnabled(m_numbers->isChecked());
    m_startPage->setEnabled(m_numbers->isChecked());
    m_evenTop->setVisible(m_numbers->isChecked() && m_layouts->currentRow() == 3 && !m_layouts->isHidden());
}

void PrintOptionsDialog::on_B_START_clicked()
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
    accept();
}

void PrintOptionsDialog::done(int result)
{
    if (!m_started)
        m_request.job = PrintJobCode::None;
    RememberedDialog::done(result);
}
