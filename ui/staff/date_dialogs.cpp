#include "date_dialogs.h"

#include "app_context.h"
#include "date_entry.h"
#include "up_down.h"
#include "widgets.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

bool isEnter(QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

const QString kResultFormat = u"gggee年mm月dd日"_s;

// The line that says which of the staff member's dates is being entered.
QLabel* kindTitle(QWidget* dialog, const QStringList& titles, DateFieldKind kind)
{
    auto* title = new QLabel(titles.value(int(kind)), dialog);
    title->setObjectName(u"Z01"_s);
    return title;
}

} // namespace

DaySetDialog::DaySetDialog(AppContext& context, StaffRecord& record, DateFieldKind kind, QWidget* parent,
                           const QDate& today)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_record(record),
      m_kind(kind)
{
    setObjectName(u"DAY_SET_F"_s);
    setWindowTitle(u"年月日設定"_s);
    QLabel* title =
        kindTitle(this, {u"職員の誕生日"_s, u"発令年月日"_s, u"教職員採用年月日"_s, u"現在校赴任年月日"_s}, kind);

    auto* grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 9);
    buildEraRow(grid);
    buildDateRow(grid);
    buildButtons(grid);
    fillBoxes(today);
    for (QWidget* w : std::initializer_list<QWidget*>{m_reiwa, m_heisei, m_showa, m_year, m_month, m_day})
        w->installEventFilter(this);
    m_year->setFocus();
}

void DaySetDialog::buildEraRow(QGridLayout* grid)
{
    m_reiwa = makeRadio(u"REIWA"_s, u"令和"_s, this);
    m_heisei = makeRadio(u"HEISEI"_s, u"平成"_s, this);
    m_showa = makeRadio(u"SYOUWA"_s, u"昭和"_s, this);
    auto* eras = new QButtonGroup(this);
    auto* eraRow = new QHBoxLayout;
    for (QRadioButton* era : {m_reiwa, m_heisei, m_showa}) {
        eras->addButton(era);
        eraRow->addWidget(era);
    }
    eraRow->addStretch();
    grid->addLayout(eraRow, 1, 0, 1, 9);
    connect(eras, &QButtonGroup::buttonToggled, this, &DaySetDialog::clampFebruaryDay);
}

void DaySetDialog::buildDateRow(QGridLayout* grid)
{
    // Year, month and day: a box, its up-down and its unit each.
    struct Part {
        QLineEdit*& box;
        QString boxName, spinName, unit;
    };
    const Part parts[] = {{m_year, u"BY"_s, u"Y_UD"_s, u"年"_s},
                          {m_month, u"BM"_s, u"M_UD"_s, u"月"_s},
                          {m_day, u"BD"_s, u"D_UD"_s, u"日"_s}};
    int column = 0;
    for (const Part& part : parts)
        part.box = makeNumberBox(part.boxName, this, 48, 6);
    for (int which = 0; which < 3; ++which) {
        auto* spin = new UpDown(this);
        spin->setObjectName(parts[which].spinName);
        grid->addWidget(parts[which].box, 2, column++);
        grid->addWidget(spin, 2, column++);
        grid->addWidget(new QLabel(parts[which].unit, this), 2, column++);
        connect(spin, &UpDown::up, this, [this, which] { step(which, true); });
        connect(spin, &UpDown::down, this, [this, which] { step(which, false); });
    }
    connect(m_month, &QLineEdit::textChanged, this, &DaySetDialog::clampDayToMonth);
    connect(m_year, &QLineEdit::textChanged, this, &DaySetDialog::clampFebruaryDay);
}

void DaySetDialog::buildButtons(QGridLayout* grid)
{
    m_ok = makeButton(u"B_OK"_s, u"OK"_s, this);
    m_ok->setAutoDefault(true); // Enter on OK presses it
    auto* none = makeButton(u"B_NO"_s, u"無し"_s, this);
    auto* cancel = makeButton(u"B_ESC"_s, u"ｷｬﾝｾﾙ"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(none);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 9);
    connect(m_ok, &QPushButton::clicked, this, &DaySetDialog::storeDate);
    connect(none, &QPushButton::clicked, this, &DaySetDialog::clearDate);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void DaySetDialog::fillBoxes(const QDate& today)
{
    // What the boxes show first, as it is: nothing is clamped on the way.
    m_adjusting = true;
    const date_entry::Boxes boxes =
        date_entry::prefill(m_kind, dateField(std::as_const(m_record), m_kind), m_record.code, today);
    (boxes.showa ? m_showa : boxes.reiwa ? m_reiwa : m_heisei)->setChecked(true);
    m_year->setText(boxes.year);
    m_month->setText(boxes.month);
    m_day->setText(boxes.day);
    m_adjusting = false;
}

int DaySetDialog::eraBase() const
{
    if (m_reiwa->isChecked())
        return date_entry::kReiwaBase;
    return m_showa->isChecked() ? date_entry::kShowaBase : date_entry::kHeiseiBase;
}

bool DaySetDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (isEnter(event)) {
        // Enter walks era -> year -> month -> day -> OK.
        if (watched == m_reiwa || watched == m_heisei || watched == m_showa)
            m_year->setFocus();
        else if (watched == m_year)
            m_month->setFocus();
        else if (watched == m_month)
            m_day->setFocus();
        else if (watched == m_day)
            m_ok->setFocus();
        return true;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void DaySetDialog::clampDayToMonth()
{
    if (m_adjusting)
        return;
    const qint64 m = boxNumber(m_month->text());
    const qint64 d = boxNumber(m_day->text());
    const qint64 clamped = date_entry::clampDay(m, d, boxNumber(m_year->text()) + eraBase());
    if (clamped != d && !m_day->text().isEmpty())
        m_day->setText(QString::number(clamped));
}

void DaySetDialog::clampFebruaryDay()
{
    if (m_adjusting || boxNumber(m_month->text()) != 2)
        return;
    clampDayToMonth();
}

void DaySetDialog::step(int which, bool up)
{
    using namespace date_entry;
    const Values before{boxNumber(m_year->text()), boxNumber(m_month->text()), boxNumber(m_day->text())};
    Values after = before;
    switch (which) {
    case 0: after = up ? yearUp(before) : yearDown(before); break;
    case 1: after = up ? monthUp(before) : monthDown(before); break;
    default: after = up ? dayUp(before, eraBase()) : dayDown(before, eraBase()); break;
    }
    // Write the boxes the step changed; the day is written last so the
    // month's clamping sees the new day.
    if (after.y != before.y)
        m_year->setText(QString::number(after.y));
    if (after.d != before.d) {
        m_adjusting = true;
        if (after.m != before.m)
            m_month->setText(QString::number(after.m));
        m_adjusting = false;
        m_day->setText(QString::number(after.d));
    } else if (after.m != before.m) {
        m_month->setText(QString::number(after.m));
    }
}

void DaySetDialog::storeDate()
{
    const qint64 y = boxNumber(m_year->text());
    const qint64 m = boxNumber(m_month->text());
    const qint64 d = boxNumber(m_day->text());
    m_result.clear();
    // Without a year and a month there is no date to keep: nothing is stored.
    if (y != 0 && m != 0) {
        const Date date = normalisedDate(y + eraBase(), m, d);
        if (date.isSet()) {
            dateField(m_record, m_kind) = date;
            m_result = formatEraDate(date, kResultFormat);
        }
    }
    accept();
}

void DaySetDialog::clearDate()
{
    dateField(m_record, m_kind) = Date();
    m_result = u"X"_s;
    accept();
}

DayBackDialog::DayBackDialog(AppContext& context, StaffRecord& record, DateFieldKind kind, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_record(record),
      m_kind(kind)
{
    setObjectName(u"DAY_BACK_F"_s);
    setWindowTitle(u"年月数設定"_s);
    QLabel* title =
        kindTitle(this, {u"職員の年齢"_s, u"勤続年数"_s, u"教職員経験年月数"_s, u"現在校在籍年月数"_s}, kind);
    m_years = makeNumberBox(u"BD_Y"_s, this, 48, 6);
    m_months = makeNumberBox(u"BD_M"_s, this, 48, 6);
    m_ok = makeButton(u"B_OK"_s, u"OK"_s, this);
    m_ok->setAutoDefault(true); // Enter on OK presses it
    auto* cancel = makeButton(u"B_ESC"_s, u"ｷｬﾝｾﾙ"_s, this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(title, 0, 0, 1, 4);
    grid->addWidget(m_years, 1, 0);
    grid->addWidget(new QLabel(u"年"_s, this), 1, 1);
    grid->addWidget(m_months, 1, 2);
    grid->addWidget(new QLabel(u"月"_s, this), 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 4);

    m_months->installEventFilter(this);
    connect(m_years, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.size() >= 2)
            m_months->setFocus();
    });
    connect(m_ok, &QPushButton::clicked, this, &DayBackDialog::storeDateCountedBack);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_years->setFocus();
}

bool DayBackDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_months && isEnter(event)) {
        m_ok->setFocus();
        return true;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void DayBackDialog::storeDateCountedBack()
{
    const QDate survey = m_context.store.surveyDate.toQDate();
    Date date = normalisedDate(survey.year() - boxNumber(m_years->text()), survey.month() - boxNumber(m_months->text()),
                               survey.day());
    // A birthday in the middle of the month, so the age comes out as entered.
    if (m_kind == DateFieldKind::Birth && date.isSet())
        date = Date(date.days() - 15);
    m_result.clear();
    if (date.isSet()) {
        dateField(m_record, m_kind) = date;
        m_result = formatEraDate(date, kResultFormat);
    }
    accept();
}
