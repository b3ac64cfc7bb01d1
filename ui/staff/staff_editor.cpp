#include "staff_editor.h"

#include "app_context.h"
#include "date_dialogs.h"
#include "era_years.h"
#include "reference_data.h"
#include "staff_rules.h"
#include "text_width.h"
#include "up_down.h"
#include "widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using namespace staff_rules;

namespace {
const QString kDateFormat = u"gggee年mm月dd日"_s;
// What the mobile-number box offers when it is entered empty.
const QString kMobilePrefix = u"090-"_s;

QLabel* value(const QString& name, QWidget* parent, int width)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(width);
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QString trimRight(const QString& text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1].isSpace())
        --n;
    return text.left(n);
}
} // namespace

StaffEditor::StaffEditor(AppContext& context, Variant variant, int start, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_variant(variant),
      m_start(start)
{
    setObjectName(variant == EditM ? u"EDIT_M"_s : variant == EditM2 ? u"EDIT_M2"_s : u"EDIT_M3"_s);
    setWindowTitle(u"個人データ編集"_s);
    if (parent)
        setWindowIcon(parent->window()->windowIcon());
    buildForm();
    // Loading: the survey date on show, capture state empty.
    // The survey date in the era it falls in (令和8年4月1日).
    const QDate survey = m_context.store.surveyDate.toQDate();
    const std::optional<EraYear> era = eraYearOf(m_context.store.surveyDate);
    m_surveyEra->setText(u"調査日  "_s + (era ? era->name : QString()));
    m_surveyYear->setText(era ? QString::number(era->year) : QString::number(survey.year()));
    m_surveyMonth->setText(QString::number(survey.month()));
    m_surveyDay->setText(QString::number(survey.day()));
    m_capture.clear();
}

// The form's grid, filled a row at a time by the steps of buildForm.
struct StaffEditor::FormRows {
    QGridLayout* grid;
    QWidget* owner;
    int row = 0;

    QLabel* caption(const QString& text, int column, int span = 1)
    {
        auto* l = new QLabel(text, owner);
        grid->addWidget(l, row, column, 1, span);
        return l;
    }
    // A caption with a box across the rest of the row.
    void wide(const QString& text, QWidget* box)
    {
        caption(text, 0);
        grid->addWidget(box, row, 1, 1, 4);
        ++row;
    }
};

void StaffEditor::buildForm()
{
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    FormRows rows{grid, this};
    buildNameRows(rows);
    buildDateControls();
    buildBirthRow(rows);
    buildContactRows(rows);
    buildJobRows(rows);
    buildPeriodBoxes(rows);
    buildPostRows(rows);
    QPushButton* close = nullptr;
    QHBoxLayout* bottom = buildBottomRow(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(bottom);
    connectBehaviour(close);
}

void StaffEditor::buildNameRows(FormRows& rows)
{
    m_name = makeEdit(u"S_NAME"_s, this, 180, 40);
    m_name->setAttribute(Qt::WA_InputMethodEnabled, true);
    m_code = makeEdit(u"S_CODE"_s, this, 90, 8);
    m_code->setInputMethodHints(Qt::ImhDigitsOnly);
    m_reading = makeEdit(u"S_FURI"_s, this, 180, 60);
    rows.caption(u"職員氏名"_s, 0);
    rows.grid->addWidget(m_name, rows.row, 1, 1, 2);
    rows.caption(u"職員ｺｰﾄﾞ"_s, 3);
    rows.grid->addWidget(m_code, rows.row, 4);
    ++rows.row;
    rows.caption(u"フリガナ"_s, 0);
    rows.grid->addWidget(m_reading, rows.row, 1, 1, 2);
    rows.caption(u"性別"_s, 3);
    auto* sexRow = new QHBoxLayout;
    m_man = new QRadioButton(u"男"_s, this);
    m_man->setObjectName(u"S_MAN"_s);
    m_woman = new QRadioButton(u"女"_s, this);
    m_woman->setObjectName(u"S_WMAN"_s);
    sexRow->addWidget(m_man);
    sexRow->addWidget(m_woman);
    rows.grid->addLayout(sexRow, rows.row, 4);
    ++rows.row;
    connect(m_code, &QLineEdit::textChanged, this, &StaffEditor::leaveSchoolOnNewCode);
    connect(m_name, &QLineEdit::textChanged, this, &StaffEditor::takeReadingFromName);
}

void StaffEditor::buildDateControls()
{
    // The four dates, each a button that asks for it and a label that shows it.
    static const std::array<QString, 4> captions{u"生年月日"_s, u"発令日"_s, u"採用年月日"_s, u"赴任年月日"_s};
    for (int i = 0; i < 4; ++i) {
        m_dayButtons[i] = new QPushButton(this);
        m_dayButtons[i]->setObjectName(u"B_DAY(%1)"_s.arg(i));
        m_dayButtons[i]->setAutoDefault(false);
        m_dayLabels[i] = value(u"DAY_L(%1)"_s.arg(i), this, 150);
        m_dayLabels[i]->installEventFilter(this);
        connect(m_dayButtons[i], &QPushButton::clicked, this, [this, i] { enterDate(i); });
    }
    for (int i = 0; i < 4; ++i)
        m_dayButtons[i]->setText(captions[size_t(i)]);
}

void StaffEditor::buildBirthRow(FormRows& rows)
{
    rows.grid->addWidget(m_dayButtons[0], rows.row, 0);
    rows.grid->addWidget(m_dayLabels[0], rows.row, 1, 1, 2);
    rows.caption(u"年齢"_s, 3);
    m_age = value(u"S_AGE"_s, this, 60);
    rows.grid->addWidget(m_age, rows.row, 4, Qt::AlignLeft);
    ++rows.row;
}

void StaffEditor::buildContactRows(FormRows& rows)
{
    m_postal = makeEdit(u"S_PNO"_s, this, 90, 8);
    m_postal->setInputMethodHints(Qt::ImhDigitsOnly);
    rows.caption(u"郵便番号"_s, 0);
    rows.grid->addWidget(m_postal, rows.row, 1);
    ++rows.row;
    connect(m_postal, &QLineEdit::textChanged, this, &StaffEditor::fillAddressFromPostalCode);
    connect(m_postal, &QLineEdit::editingFinished, this, &StaffEditor::tidyPostalCode);
    m_address1 = makeEdit(u"S_ADR1"_s, this, 0, 80);
    rows.wide(u"住所"_s, m_address1);
    m_address2 = makeEdit(u"S_ADR2"_s, this, 0, 80);
    rows.wide(u"ｱﾊﾟｰﾄ･ﾏﾝｼｮﾝ等"_s, m_address2);
    m_tel = makeEdit(u"S_TEL"_s, this, 130, 20);
    m_tel->setInputMethodHints(Qt::ImhDialableCharactersOnly);
    m_fax = makeEdit(u"S_FAX"_s, this, 130, 20);
    m_fax->setInputMethodHints(Qt::ImhDialableCharactersOnly);
    rows.caption(u"ＴＥＬ"_s, 0);
    rows.grid->addWidget(m_tel, rows.row, 1);
    rows.caption(u"ＦＡＸ"_s, 3);
    rows.grid->addWidget(m_fax, rows.row, 4);
    ++rows.row;
    m_mobile = makeEdit(u"S_KTEL"_s, this, 130, 20);
    m_mobile->setInputMethodHints(Qt::ImhDialableCharactersOnly);
    m_mobile->installEventFilter(this);
    rows.caption(u"携帯電話"_s, 0);
    rows.grid->addWidget(m_mobile, rows.row, 1);
    m_temporary = new QCheckBox(u"臨採用職員"_s, this);
    m_temporary->setObjectName(u"CHK1"_s);
    rows.grid->addWidget(m_temporary, rows.row, 3, 1, 2);
    ++rows.row;
    m_mail = makeEdit(u"MAIL"_s, this, 0, 80);
    m_mail->setInputMethodHints(Qt::ImhEmailCharactersOnly);
    rows.wide(u"メールアドレス"_s, m_mail);
}

void StaffEditor::buildJobRows(FormRows& rows)
{
    // Job title, grade and pay step, then the date of the appointment.
    m_jobTitle = new QComboBox(this);
    m_jobTitle->setObjectName(u"S_SN"_s);
    m_jobTitle->addItems(jobTitles());
    m_grade = makeEdit(u"S_KYU"_s, this, 44, 4);
    m_gradeSpin = new UpDown(this);
    m_gradeSpin->setObjectName(u"B_KYU_UD"_s);
    m_payStep = makeEdit(u"S_GO"_s, this, 56, 6);
    m_stepSpin = new UpDown(this);
    m_stepSpin->setObjectName(u"B_GO_UD"_s);
    rows.caption(u"職名"_s, 0);
    rows.grid->addWidget(m_jobTitle, rows.row, 1);
    auto* gradeRow = new QHBoxLayout;
    gradeRow->addWidget(m_grade);
    gradeRow->addWidget(m_gradeSpin);
    gradeRow->addWidget(new QLabel(u"級"_s, this));
    gradeRow->addSpacing(12);
    gradeRow->addWidget(m_payStep);
    gradeRow->addWidget(m_stepSpin);
    gradeRow->addWidget(new QLabel(u"号給"_s, this));
    gradeRow->addStretch();
    rows.grid->addLayout(gradeRow, rows.row, 2, 1, 3);
    ++rows.row;
    connect(m_jobTitle, &QComboBox::activated, this, &StaffEditor::proposeGrade);
    connect(m_gradeSpin, &UpDown::up, this,
            [this] { m_grade->setText(QString::number(gradeUp(toI16(m_grade->text())))); });
    connect(m_gradeSpin, &UpDown::down, this,
            [this] { m_grade->setText(QString::number(gradeDown(toI16(m_grade->text())))); });
    connect(m_stepSpin, &UpDown::up, this,
            [this] { m_payStep->setText(payStepUp(m_payStep->text(), toI16(m_grade->text()))); });
    connect(m_stepSpin, &UpDown::down, this, [this] { m_payStep->setText(payStepDown(m_payStep->text())); });
    rows.grid->addWidget(m_dayButtons[1], rows.row, 0);
    rows.grid->addWidget(m_dayLabels[1], rows.row, 1, 1, 2);
    ++rows.row;
}

QGroupBox* StaffEditor::buildPeriodBox(const PeriodBoxSpec& period)
{
    auto* box = new QGroupBox(period.title, this);
    auto* g = new QGridLayout(box);
    g->addWidget(m_dayButtons[int(period.kind)], 0, 0);
    g->addWidget(m_dayLabels[int(period.kind)], 0, 1, 1, 4);
    g->addWidget(new QLabel(period.caption, box), 1, 0);
    *period.years = value(period.yearsName, box, 36);
    *period.months = value(period.monthsName, box, 28);
    g->addWidget(*period.years, 1, 1);
    g->addWidget(new QLabel(u"年"_s, box), 1, 2);
    g->addWidget(*period.months, 1, 3);
    g->addWidget(new QLabel(u"ヶ月"_s, box), 1, 4);
    *period.adjust = makeEdit(period.adjustName, box, 44, 4);
    auto* adjustRow = new QHBoxLayout;
    adjustRow->addWidget(new QLabel(u"補正月数"_s, box));
    adjustRow->addWidget(*period.adjust);
    adjustRow->addWidget(new QLabel(u"ヶ月"_s, box));
    adjustRow->addStretch();
    g->addLayout(adjustRow, 2, 0, 1, 5);
    connect(*period.adjust, &QLineEdit::textChanged, this, period.recompute);
    return box;
}

void StaffEditor::buildPeriodBoxes(FormRows& rows)
{
    // Service since hire and time at the present school.
    const PeriodBoxSpec specs[] = {
        {u"教職員採用"_s, DateFieldKind::Hire, u"教職員勤続年数"_s, &m_serviceYears, &m_serviceMonths, &m_serviceAdjust,
         u"K_KY"_s, u"K_KM"_s, u"K_ADD"_s, &StaffEditor::recomputeService},
        {u"現在校赴任"_s, DateFieldKind::Posting, u"現在校勤続年数"_s, &m_tenureYears, &m_tenureMonths, &m_tenureAdjust,
         u"N_KY"_s, u"N_KM"_s, u"N_ADD"_s, &StaffEditor::recomputeTenure},
    };
    auto* periods = new QHBoxLayout;
    for (const PeriodBoxSpec& period : specs)
        periods->addWidget(buildPeriodBox(period));
    rows.grid->addLayout(periods, rows.row, 0, 1, 5);
    ++rows.row;
}

void StaffEditor::buildPostRows(FormRows& rows)
{
    m_yaku1 = new QComboBox(this);
    m_yaku1->setObjectName(u"YAKU1"_s);
    m_yaku1->addItems(yaku1Items());
    m_yaku2 = new QComboBox(this);
    m_yaku2->setObjectName(u"YAKU2"_s);
    m_yaku1->setMinimumWidth(110);
    m_yaku2->setMinimumWidth(90);
    auto* yakuRow = new QHBoxLayout;
    yakuRow->addWidget(m_yaku1);
    yakuRow->addWidget(m_yaku2);
    yakuRow->addStretch();
    rows.caption(u"県役職名"_s, 0);
    rows.grid->addLayout(yakuRow, rows.row, 1, 1, 4);
    ++rows.row;
    connect(m_yaku1, &QComboBox::currentTextChanged, this, &StaffEditor::offerPostsOfRank);
    m_remarks = makeEdit(u"S_MSG"_s, this, 0, 120);
    rows.wide(u"備考"_s, m_remarks);
}

QHBoxLayout* StaffEditor::buildBottomRow(QPushButton*& close)
{
    // The survey date, record number and closing.
    m_surveyYear = makeEdit(u"CHK_Y"_s, this, 36, 4);
    m_surveyMonth = makeEdit(u"CHK_M"_s, this, 30, 2);
    m_surveyDay = makeEdit(u"CHK_D"_s, this, 30, 2);
    for (QLineEdit* e : {m_surveyYear, m_surveyMonth, m_surveyDay}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
    }
    auto* bottom = new QHBoxLayout;
    m_surveyEra = new QLabel(u"調査日  令和"_s, this);
    m_surveyEra->setObjectName(u"Label_CHK"_s);
    bottom->addWidget(m_surveyEra);
    for (const auto& [box, unit] :
         {std::pair{m_surveyYear, u"年"_s}, std::pair{m_surveyMonth, u"月"_s}, std::pair{m_surveyDay, u"日"_s}}) {
        bottom->addWidget(box);
        bottom->addWidget(new QLabel(unit, this));
    }
    bottom->addStretch();
    m_recordLabel = value(u"ED_NO"_s, this, 50);
    m_recordSpin = new UpDown(this);
    m_recordSpin->setObjectName(u"B_NO"_s);
    bottom->addWidget(m_recordLabel);
    bottom->addWidget(m_recordSpin);
    bottom->addSpacing(12);
    close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"B_END"_s);
    close->setAutoDefault(false);
    bottom->addWidget(close);
    return bottom;
}

void StaffEditor::connectBehaviour(QPushButton* close)
{
    // Every control that can hold the focus: the page keys must page from the
    // lists and buttons too, never change a list first.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    m_name->installEventFilter(this);
    connect(m_recordSpin, &UpDown::up, this, &StaffEditor::pageUp);
    connect(m_recordSpin, &UpDown::down, this, &StaffEditor::pageDown);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void StaffEditor::tidyPostalCode()
{
    // Full-width digits and the dashes input methods type count as the
    // half-width ones the table and the files hold.
    const QString formatted = formatPostalCode(toHalfWidthNumber(m_postal->text()));
    if (formatted != m_postal->text())
        m_postal->setText(formatted);
}

void StaffEditor::offerPostsOfRank()
{
    if (!m_loading)
        refillYaku2(QString());
}

void StaffEditor::setSingleRecord(bool single)
{
    m_single = single;
    m_recordLabel->setVisible(!single);
    m_recordSpin->setVisible(!single);
}

void StaffEditor::setPresetCode(qint32 code)
{
    m_presetCode = code;
}

void StaffEditor::showEvent(QShowEvent* event)
{
    RememberedDialog::showEvent(event);
    if (m_activated)
        return;
    m_activated = true;
    clearForm();
    goTo(m_start + 1);
    if (m_variant == EditM2 && m_presetCode > 0)
        m_code->setText(QString::number(m_presetCode));
    m_name->setFocus();
}

int StaffEditor::currentRow() const
{
    const int index = m_recordNumber - 1;
    const int count = m_context.store.staffCount();
    if (index < 0 || index >= count)
        return count;
    if (m_variant == EditM) {
        const int row = m_context.session.staffRowAt(m_context.store, index);
        return row >= 0 ? row : count;
    }
    return index;
}

StaffRecord& StaffEditor::record()
{
    const int row = currentRow();
    return row < m_context.store.staffCount() ? m_context.store.staff[size_t(row)] : m_newRecord;
}

void StaffEditor::clearForm()
{
    m_loading = true;
    for (QLabel* l : m_dayLabels)
        l->clear();
    for (QLineEdit* e : {m_name, m_code, m_reading, m_postal, m_address1, m_address2, m_tel, m_fax, m_mobile, m_mail,
                         m_grade, m_payStep, m_serviceAdjust, m_tenureAdjust, m_remarks})
        e->clear();
    m_woman->setChecked(true);
    for (QLabel* l : {m_age, m_serviceYears, m_serviceMonths, m_tenureYears, m_tenureMonths})
        l->clear();
    m_temporary->setChecked(false);
    m_jobTitle->setCurrentIndex(-1);
    m_yaku1->setCurrentIndex(0);
    refillYaku2(QString());
    m_yaku2->setCurrentIndex(-1);
    m_loading = false;
}

void StaffEditor::refillYaku2(const QString& keep)
{
    m_yaku2->clear();
    m_yaku2->addItems(yaku2Items(m_yaku1->currentText()));
    if (!keep.isEmpty() && m_yaku2->findText(keep) < 0)
        m_yaku2->addItem(keep); // a post the list no longer offers stays as it was
    m_yaku2->setCurrentIndex(keep.isEmpty() ? -1 : m_yaku2->findText(keep));
}

void StaffEditor::showRecord(const StaffRecord& s)
{
    m_loading = true;
    for (QLabel* l : m_dayLabels)
        l->clear();
    m_name->setText(s.name);
    m_code->setText(QString::number(s.code));
    m_reading->setText(s.reading);
    m_capture.begin(s.reading, s.name);
    (s.sex != 0 ? m_woman : m_man)->setChecked(true);
    if (s.birthDate.isSet())
        m_dayLabels[0]->setText(formatEraDate(s.birthDate, kDateFormat));
    m_postal->setText(s.postalCode);
    m_address1->setText(s.address1);
    m_address2->setText(s.address2);
    m_tel->setText(s.tel);
    m_fax->setText(s.fax);
    m_mobile->setText(s.mobile);
    m_mail->setText(s.mail);
    m_temporary->setChecked(s.temporary != 0);
    m_grade->setText(s.grade > 0 ? QString::number(s.grade) : QString());
    m_payStep->setText(s.payStep.trimmed());
    m_jobTitle->setCurrentIndex(s.jobTitleIndex >= 0 && s.jobTitleIndex < m_jobTitle->count() ? s.jobTitleIndex : -1);
    if (s.appointDate.isSet())
        m_dayLabels[1]->setText(formatEraDate(s.appointDate, kDateFormat));
    if (s.hireDate.isSet())
        m_dayLabels[2]->setText(formatEraDate(s.hireDate, kDateFormat));
    if (s.postingDate.isSet())
        m_dayLabels[3]->setText(formatEraDate(s.postingDate, kDateFormat));
    if (s.post1.isEmpty()) {
        m_yaku1->setCurrentIndex(-1);
    } else {
        if (m_yaku1->findText(s.post1) < 0)
            m_yaku1->addItem(s.post1);
        m_yaku1->setCurrentIndex(m_yaku1->findText(s.post1));
    }
    refillYaku2(s.post2);
    m_serviceAdjust->setText(s.serviceAdjustMonths != 0 ? QString::number(s.serviceAdjustMonths) : QString());
    m_tenureAdjust->setText(s.tenureAdjustMonths != 0 ? QString::number(s.tenureAdjustMonths) : QString());
    m_remarks->setText(s.remarks);
    m_loading = false;
    recomputePeriods();
}

void StaffEditor::recomputeAge()
{
    if (m_dayLabels[0]->text().isEmpty()) {
        m_age->clear();
        return;
    }
    StaffRecord& s = record();
    const Period p =
        agePeriod(s, m_context.store.surveyDate, m_context.store.profile.optionFlags & OptionFlag::AgeOnBirthday);
    s.ageYears = p.years;
    s.ageMonths = p.months;
    m_age->setText(ageText(p));
}

void StaffEditor::showPeriodSince(DateFieldKind kind, const QLineEdit* adjust, QLabel* years, QLabel* months)
{
    // Years and months from the date to the survey date, with the correction.
    if (m_dayLabels[int(kind)]->text().isEmpty()) {
        years->clear();
        months->clear();
        return;
    }
    const Period p =
        periodSince(dateField(std::as_const(record()), kind), m_context.store.surveyDate, toI16(adjust->text()));
    years->setText(QString::number(p.years));
    months->setText(QString::number(p.months));
}

void StaffEditor::recomputeService()
{
    showPeriodSince(DateFieldKind::Hire, m_serviceAdjust, m_serviceYears, m_serviceMonths);
}

void StaffEditor::recomputeTenure()
{
    showPeriodSince(DateFieldKind::Posting, m_tenureAdjust, m_tenureYears, m_tenureMonths);
}

void StaffEditor::recomputePeriods()
{
    recomputeAge();
    recomputeService();
    recomputeTenure();
}

bool StaffEditor::save()
{
    if (m_code->text().isEmpty() || m_name->text().isEmpty())
        return false;
    if (!codeAcceptable())
        return false;
    RosterStore& store = m_context.store;
    const bool isNew = currentRow() >= store.staffCount();
    if (isNew && !store.canAddStaff()) {
        m_context.notifier.tell(u"職員は%1人までしか登録できません"_s.arg(cap::kMaxStaff), MessageIcon::Warning);
        return false;
    }
    StaffRecord& s = record();
    s.name = trimRight(m_name->text());
    s.code = *parseStaffCode(m_code->text());
    s.reading = trimRight(m_reading->text());
    // The rules of leaving a box hold however the record is left (a page
    // key or the close box leave the focus where it was).
    s.postalCode = formatPostalCode(toHalfWidthNumber(trimRight(m_postal->text())));
    s.address1 = trimRight(m_address1->text());
    s.address2 = trimRight(m_address2->text());
    s.tel = trimRight(m_tel->text());
    s.fax = trimRight(m_fax->text());
    s.mobile = trimRight(m_mobile->text());
    if (s.mobile == kMobilePrefix)
        s.mobile.clear(); // the prefix the box offers is not a number
    if (m_postal->text() != s.postalCode || m_mobile->text() != s.mobile) {
        const QSignalBlocker b1(m_postal), b2(m_mobile);
        m_postal->setText(s.postalCode);
        m_mobile->setText(s.mobile);
    }
    s.mail = trimRight(m_mail->text());
    s.sex = m_man->isChecked() ? 0 : 1;
    s.temporary = m_temporary->isChecked() ? 1 : 0;
    s.jobTitle = trimRight(m_jobTitle->currentText());
    s.grade = toI16(m_grade->text());
    s.payStep = m_payStep->text().trimmed();
    s.jobTitleIndex =
        m_jobTitle->currentText().trimmed().isEmpty() ? cap::kNoJobTitle : qint16(m_jobTitle->currentIndex());
    s.post1 = m_yaku1->currentText();
    s.post2 = m_yaku2->currentText();
    s.serviceAdjustMonths = toI16(m_serviceAdjust->text());
    s.tenureAdjustMonths = toI16(m_tenureAdjust->text());
    s.remarks = m_remarks->text();
    if (m_variant == EditM && s.schoolFullName.isEmpty())
        s.municipalityIndex = cap::kMunicipalityUnknown;
    if (isNew) {
        store.staff.push_back(m_newRecord);
        if (m_variant == EditM)
            m_context.session.staffListOrder[size_t(store.staffCount() - 1)] = qint16(store.staffCount() - 1);
        m_newRecord = StaffRecord{};
    }
    return true;
}

void StaffEditor::goTo(int recordNumber)
{
    m_recordNumber = std::max(1, recordNumber);
    m_recordLabel->setText(QString::number(m_recordNumber));
    if (m_recordNumber <= m_context.store.staffCount()) {
        showRecord(record());
    } else {
        m_newRecord = StaffRecord{};
        clearForm();
        m_capture.begin(QString(), QString());
    }
    m_name->setFocus();
}

void StaffEditor::pageUp()
{
    if (save() && m_recordNumber <= m_context.store.staffCount())
        goTo(m_recordNumber + 1);
}

void StaffEditor::pageDown()
{
    save();
    if (m_recordNumber != 1)
        goTo(m_recordNumber - 1);
}

void StaffEditor::keyPressEvent(QKeyEvent* event)
{
    if (m_variant == EditM && (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown))
        return; // acted on when the key comes up
    RememberedDialog::keyPressEvent(event);
}

void StaffEditor::keyReleaseEvent(QKeyEvent* event)
{
    if (m_variant == EditM && !event->isAutoRepeat()) {
        if (event->key() == Qt::Key_PageUp) {
            m_single ? (void)save() : pageUp();
            return;
        }
        if (event->key() == Qt::Key_PageDown) {
            m_single ? (void)save() : pageDown();
            return;
        }
    }
    RememberedDialog::keyReleaseEvent(event);
}

bool StaffEditor::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_variant == EditM) {
            // Page keys page through records, never through a box.
            if (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown) {
                keyPressEvent(key);
                return true;
            }
            // "!" and the double quote cannot be kept in the roster's files.
            if (key->text() == u"!"_s || key->text() == u"\""_s)
                return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (m_variant == EditM && (key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown)) {
            keyReleaseEvent(key);
            return true;
        }
        break;
    }
    case QEvent::InputMethod:
        if (watched == m_name) {
            auto* im = static_cast<QInputMethodEvent*>(event);
            // A preedit that comes with a commit belongs to the next word:
            // take it only after the commit has reached the box.
            if (!im->commitString().isEmpty()) {
                m_capture.committing();
                m_pendingPreedit = im->preeditString();
            } else if (!im->preeditString().isEmpty()) {
                m_capture.preedit(im->preeditString());
            } else {
                m_capture.compositionEnded();
            }
        }
        break;
    case QEvent::FocusIn:
        if (watched == m_name)
            m_capture.begin(m_reading->text(), m_name->text());
        else if (watched == m_mobile && m_mobile->text().isEmpty()) {
            m_mobile->setText(kMobilePrefix);
            QMetaObject::invokeMethod(
                m_mobile, [this] { m_mobile->setCursorPosition(4); }, Qt::QueuedConnection);
        } else if (watched == m_address1)
            QMetaObject::invokeMethod(
                m_address1, [this] { m_address1->end(false); }, Qt::QueuedConnection);
        break;
    case QEvent::FocusOut:
        if (watched == m_name)
            m_capture.clear();
        else if (watched == m_mobile && m_mobile->text() == kMobilePrefix)
            m_mobile->clear();
        break;
    case QEvent::MouseButtonDblClick:
        for (int i = 0; i < 4; ++i)
            if (watched == m_dayLabels[i]) {
                enterDateAsPeriod(i);
                return true;
            }
        break;
    default: break;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void StaffEditor::takeReadingFromName()
{
    if (m_loading || !m_name->hasFocus())
        return;
    if (const std::optional<QString> reading = m_capture.nameChanged(m_name->text()))
        m_reading->setText(*reading);
    if (m_pendingPreedit) {
        m_capture.preedit(*m_pendingPreedit);
        m_pendingPreedit.reset();
    }
}

void StaffEditor::leaveSchoolOnNewCode()
{
    // A new code is a different person as far as the posts go.
    if (m_loading || m_variant != EditM)
        return;
    StaffRecord& s = record();
    s.schoolCode = 0;
    s.schoolFullName.clear();
}

void StaffEditor::fillAddressFromPostalCode()
{
    const QString typed = toHalfWidthNumber(m_postal->text());
    if (m_loading || typed.size() != 8 || !m_address1->text().isEmpty() || m_context.store.postalCodes.entries.empty())
        return;
    const QString address = m_context.store.postalCodes.lookup(typed);
    if (!address.isEmpty()) {
        m_address1->setText(address);
        m_address1->setFocus();
    }
}

void StaffEditor::proposeGrade(int jobTitle)
{
    if (!m_grade->text().isEmpty())
        return;
    const int grade = defaultGrade(jobTitle);
    if (grade > 0)
        m_grade->setText(QString::number(grade));
}

void StaffEditor::enterDate(int kind)
{
    StaffRecord& s = record();
    // The date dialog proposes dates from the hire year in the code; a code
    // the editor would refuse is not stored on the way.
    if (m_code->text().size() == 8)
        if (const std::optional<qint32> code = staff_rules::parseStaffCode(m_code->text()))
            s.code = *code;
    DaySetDialog dialog(m_context, s, DateFieldKind(kind), this, m_today);
    dialog.exec();
    const QString result = dialog.resultText();
    if (result == u"X"_s)
        m_dayLabels[kind]->clear();
    else if (!result.isEmpty())
        m_dayLabels[kind]->setText(result);
    afterDate(kind);
}

void StaffEditor::enterDateAsPeriod(int kind)
{
    if (!m_dayLabels[kind]->text().isEmpty() || kind == int(DateFieldKind::Appoint))
        return;
    DayBackDialog dialog(m_context, record(), DateFieldKind(kind), this);
    dialog.exec();
    if (!dialog.resultText().isEmpty())
        m_dayLabels[kind]->setText(dialog.resultText());
    afterDate(kind);
}

void StaffEditor::afterDate(int kind)
{
    switch (DateFieldKind(kind)) {
    case DateFieldKind::Birth:
        recomputeAge();
        m_jobTitle->setFocus();
        break;
    case DateFieldKind::Appoint: m_postal->setFocus(); break;
    case DateFieldKind::Hire:
        recomputeService();
        m_serviceAdjust->setFocus();
        break;
    case DateFieldKind::Posting:
        recomputeTenure();
        m_tenureAdjust->setFocus();
        break;
    }
}

bool StaffEditor::codeAcceptable()
{
    // A code that is not a number above 0 would be stored as 0, and a post
    // holding 0 is an empty post: say so where the code is typed.
    if (parseStaffCode(m_code->text()))
        return true;
    m_context.notifier.tell(u"職員ｺｰﾄﾞは1以上の数字で入力してください"_s, MessageIcon::Warning);
    m_code->setFocus();
    m_code->selectAll();
    return false;
}

void StaffEditor::done(int result)
{
    // The typed record stays on screen until its code can be stored.
    if (!m_code->text().isEmpty() && !m_name->text().isEmpty() && !codeAcceptable())
        return;
    save();
    m_capture.clear();
    RememberedDialog::done(result);
}
