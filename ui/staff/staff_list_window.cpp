#include "staff_list_window.h"

#include "app_context.h"
#include "era_years.h"
#include "find_bar.h"
#include "grid_columns.h"
#include "grid_export.h"
#include "periods.h"
#include "print_runner.h"
#include "roster_files.h"
#include "staff_editor.h"
#include "staff_list_print.h"
#include "staff_select_dialog.h"
#include "text_width.h"
#include "view_window.h"
#include "wait_cursor.h"
#include "widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

using namespace Qt::StringLiterals;
using namespace staff_list;

// --- model ------------------------------------------------------------------

namespace {
// The columns as the age display shows them; the other displays change the
// date and period columns, the mail display the school and address columns.
constexpr std::array<ColumnSpec, size_t(StaffListColumn::Count)> kColumns{{
    {u"NO", kAlignRight, 550, widest.rowNumber},
    {u"氏名", kAlignLeft, 1600, widest.name},
    {u"コード", kAlignRight, 930, widest.staffCode},
    {u"職名", kAlignCentre, 1100, widest.jobTitle},
    {u"級", kAlignRight, 300, widest.grade},
    {u"号", kAlignRight, 400, widest.payStep},
    {u"性", kAlignCentre, 300, widest.sex},
    {u"生年月日", kAlignCentre, 1150, widest.eraDate},
    {u"年齢", kAlignRight, 700, widest.period},
    {u"", kAlignRight, 0, u"29"},
    {u"学校名", kAlignLeft, 3050, u"瑠璃東部学校組合立星ヶ丘小学校"},
    {u"郵便番号", kAlignLeft, 1000, widest.postalCode},
    {u"住所", kAlignLeft, 3050, widest.address},
}};
} // namespace

StaffListModel::StaffListModel(const RosterStore& store, RosterSession& session, QObject* parent)
    : ColumnTableModel(kColumns, parent),
      m_store(store),
      m_session(session)
{
}

ColumnSpec StaffListModel::column(int column) const
{
    ColumnSpec shown = ColumnTableModel::column(column);
    const bool ageAndService = ageAndServiceShown();
    switch (StaffListColumn(column)) {
    case StaffListColumn::Date:
        if (ageAndService) {
            shown.header = u"年齢";
            shown.twips = 700;
            shown.widest = widest.period;
        } else if (m_display != Age) {
            shown.header = m_display == Service ? u"採用年月日" : u"赴任年月日";
        }
        break;
    case StaffListColumn::Period:
        if (m_display != Age)
            shown.header = m_display == Service ? u"経験" : u"在籍";
        break;
    case StaffListColumn::AgeAtHire:
        if (ageAndService)
            shown.twips = 420;
        break;
    case StaffListColumn::SchoolOrMail:
        if (m_showMail) {
            shown.header = u"メールアドレス";
            shown.twips = 5050;
            shown.widest = u"clerk20260001@example.jp";
        }
        break;
    case StaffListColumn::PostalCode:
    case StaffListColumn::Address:
        if (m_showMail)
            shown.twips = 0;
        break;
    default: break;
    }
    return shown;
}

void StaffListModel::rebuild(const Filter& filter)
{
    beginResetModel();
    m_positions = visiblePositions(m_store, m_session, filter);
    endResetModel();
}

void StaffListModel::setDisplay(int display, bool ageAndService, bool showMail)
{
    m_display = display;
    m_ageAndService = ageAndService;
    m_showMail = showMail;
    redrawAll();
}

int StaffListModel::position(int row) const
{
    return row >= 0 && size_t(row) < m_positions.size() ? m_positions[size_t(row)] : -1;
}

int StaffListModel::staffRow(int row) const
{
    const int p = position(row);
    return m_session.staffRowAt(m_store, p);
}

int StaffListModel::rowOfCode(qint32 code) const
{
    for (size_t r = 0; r < m_positions.size(); ++r) {
        const int row = m_session.staffRowAt(m_store, m_positions[r]);
        if (row >= 0 && m_store.staff[size_t(row)].code == code)
            return int(r);
    }
    return -1;
}

int StaffListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_positions.size());
}

QString StaffListModel::cell(const StaffRecord& s, StaffListColumn column, int row) const
{
    const Date survey = m_store.surveyDate;
    switch (column) {
    case StaffListColumn::No: return QString::number(row + 1);
    case StaffListColumn::Name: return s.name;
    case StaffListColumn::Code: return QString::number(s.code);
    case StaffListColumn::JobTitle: return s.jobTitle;
    case StaffListColumn::Grade: return s.grade > 0 ? QString::number(s.grade).rightJustified(2, u' ') : QString();
    case StaffListColumn::PayStep: return s.payStep.trimmed().rightJustified(3, u' ');
    case StaffListColumn::Sex: return s.sex == 0 ? u"男"_s : u"女"_s;
    case StaffListColumn::Date:
        if (ageAndServiceShown())
            return s.birthDate.isSet() ? periodColumnText(periodSince(s.birthDate, survey, 0)) : QString();
        {
            const Date d = m_display == Age ? s.birthDate : m_display == Service ? s.hireDate : s.postingDate;
            return d.isSet() ? formatEraDate(d, u"g ee mm dd"_s) : QString();
        }
    case StaffListColumn::Period:
        if (m_display == Age)
            return s.birthDate.isSet() ? periodColumnText(periodSince(s.birthDate, survey, 0)) : QString();
        if (m_display == Service)
            return s.hireDate.isSet() ? periodColumnText(periodSince(s.hireDate, survey, s.serviceAdjustMonths))
                                      : QString();
        return s.postingDate.isSet() ? periodColumnText(periodSince(s.postingDate, survey, s.tenureAdjustMonths))
                                     : QString();
    case StaffListColumn::AgeAtHire: {
        if (!ageAndServiceShown() || !s.hireDate.isSet() || !s.birthDate.isSet())
            return QString();
        const int age = periodSince(s.birthDate, survey, 0).years;
        if (age <= 0)
            return QString();
        return QString::number(age - periodSince(s.hireDate, survey, s.serviceAdjustMonths).years);
    }
    case StaffListColumn::SchoolOrMail: return m_showMail ? s.mail : s.schoolFullName;
    case StaffListColumn::PostalCode: return s.postalCode;
    case StaffListColumn::Address: return s.address1;
    case StaffListColumn::Count: break;
    }
    return QString();
}

QVariant StaffListModel::data(const QModelIndex& index, int role) const
{
    const int row = staffRow(index.row());
    if (!index.isValid() || row < 0 || row >= m_store.staffCount())
        return {};
    const auto column = StaffListColumn(index.column());
    if (role == Qt::TextAlignmentRole)
        return cellAlignment(index.column());
    if (role == kSpreadsheetValueRole) {
        // The era dates go to a spreadsheet as dates; periods ("51.10": 51
        // years 10 months) as the texts they are, not decimals.
        const StaffRecord& s = m_store.staff[size_t(row)];
        if (column == StaffListColumn::Period || (column == StaffListColumn::Date && ageAndServiceShown()))
            return cell(s, column, index.row()).trimmed();
        if (column != StaffListColumn::Date)
            return {};
        const Date d = m_display == Age ? s.birthDate : m_display == Service ? s.hireDate : s.postingDate;
        return d.isSet() ? QVariant(d.toQDate()) : QVariant(QString());
    }
    if (role != Qt::DisplayRole)
        return {};
    return cell(m_store.staff[size_t(row)], column, index.row());
}

// --- window -----------------------------------------------------------------

namespace {
QLabel* label(const QString& text, QWidget* parent, const QString& name = QString())
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

} // namespace

StaffListWindow::StaffListWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"M_LIST"_s);
    setWindowTitle(u"職員ﾘｽﾄ"_s);
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buildFilterRow());
    layout->addLayout(buildDisplayRow());
    layout->addLayout(buildCommandRow());
    layout->addWidget(m_grid, 1);

    showSurveyDate();
    connectControls();
    applyDisplay();
    m_loaded = true;
    refresh();
}

void StaffListWindow::buildGrid()
{
    m_model = new StaffListModel(m_context.store, m_context.session, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::ExtendedSelection);
    m_grid->setAlternatingRowColors(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
}

// 職名, 氏名, 級 and, for a prefecture-level user, 市町村 and 地域.
QHBoxLayout* StaffListWindow::buildFilterRow()
{
    const RosterStore& store = m_context.store;
    m_jobTitle = makeChoice(u"SN_LIST"_s, this, 110);
    m_jobTitle->addItem(QString());
    m_jobTitle->addItems(jobTitles());
    m_name = makeEdit(u"S_NAME"_s, this, 110);
    m_grade = makeEdit(u"KY"_s, this, 36);
    m_municipality = makeChoice(u"CTV"_s, this, 130);
    m_municipality->addItem(QString());
    for (const MunicipalityEntry& e : store.municipalities.entries)
        m_municipality->addItem(e.name);
    m_area = makeChoice(u"AREA"_s, this, 130);
    m_area->addItem(QString());
    m_area->addItems(shownAreaNames(store));
    m_nameLabel = label(u"氏名"_s, this, u"Label_NAME"_s);
    m_gradeLabel = label(u"級"_s, this, u"Label_KY"_s);
    m_nameLabel->installEventFilter(this);
    m_gradeLabel->installEventFilter(this);
    auto* municipalityLabel = label(u"市町村"_s, this);
    auto* areaLabel = label(u"地域"_s, this);
    const bool prefecture = store.prefectureLevel();
    for (QWidget* w : std::initializer_list<QWidget*>{m_municipality, m_area, municipalityLabel, areaLabel})
        w->setVisible(prefecture);

    auto* filters = new QHBoxLayout;
    filters->addWidget(label(u"職名"_s, this));
    filters->addWidget(m_jobTitle);
    filters->addWidget(m_nameLabel);
    filters->addWidget(m_name);
    filters->addWidget(m_gradeLabel);
    filters->addWidget(m_grade);
    filters->addWidget(municipalityLabel);
    filters->addWidget(m_municipality);
    filters->addWidget(areaLabel);
    filters->addWidget(m_area);
    filters->addStretch();
    return filters;
}

// The display, the order, メール表示 and the survey date.
QHBoxLayout* StaffListWindow::buildDisplayRow()
{
    m_display = makeChoice(u"DISP_L"_s, this);
    m_display->addItems({u"年齢表示"_s, u"経験年数"_s, u"在籍年数"_s});
    m_ageAndService = makeCheck(u"CHK3"_s, u"年齢表示"_s, this);
    m_ageAndService->setEnabled(false);
    m_sortBox = makeChoice(u"DP_SORT"_s, this);
    m_sortBox->addItems(sortNames());
    m_mail = makeCheck(u"CHK_MAIL"_s, u"メール表示"_s, this);
    auto* display = new QHBoxLayout;
    display->addWidget(m_display);
    display->addWidget(m_ageAndService);
    display->addSpacing(12);
    display->addWidget(label(u"並び順"_s, this));
    display->addWidget(m_sortBox);
    display->addWidget(m_mail);
    display->addWidget(buildSurveyDateBox());
    display->addStretch();
    return display;
}

// 調査日: the era, then year, month and day; Enter goes on to the next box.
QGroupBox* StaffListWindow::buildSurveyDateBox()
{
    auto* surveyBox = new QGroupBox(u"調査日"_s, this);
    auto* surveyRow = new QHBoxLayout(surveyBox);
    surveyRow->setContentsMargins(6, 2, 6, 2);
    m_year = makeNumberBox(u"CHK_Y"_s, surveyBox, 36, 4);
    m_month = makeNumberBox(u"CHK_M"_s, surveyBox, 36, 4);
    m_day = makeNumberBox(u"CHK_D"_s, surveyBox, 36, 4);
    m_surveyEra = label(u"令和"_s, surveyBox, u"Label_CHK_Y"_s);
    surveyRow->addWidget(m_surveyEra);
    for (auto [box, unit] : {std::pair{m_year, u"年"_s}, {m_month, u"月"_s}, {m_day, u"日"_s}}) {
        box->installEventFilter(this);
        surveyRow->addWidget(box);
        surveyRow->addWidget(label(unit, surveyBox));
    }
    return surveyBox;
}

// The commands (B_CHG and B_CHK hidden until their labels are clicked), the
// export and the find box.
QHBoxLayout* StaffListWindow::buildCommandRow()
{
    m_add = makeButton(u"B_ADD"_s, u"追加"_s, this);
    m_edit = makeButton(u"B_EDIT"_s, u"編集"_s, this);
    m_delete = makeButton(u"B_DEL"_s, u"削除"_s, this);
    m_change = makeButton(u"B_CHG"_s, u"コード"_s, this);
    m_check = makeButton(u"B_CHK"_s, u"CHECK"_s, this);
    m_printCodes = makeButton(u"B_PRT_CODE"_s, u"コード印刷"_s, this);
    auto* soft = makeButton(u"B_SOFT"_s, u"SOFT"_s, this);
    m_change->setVisible(false);
    m_check->setVisible(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_add, m_edit, m_delete, m_change, m_check, m_printCodes, soft})
        buttons->addWidget(b);
    buttons->addWidget(grid_export::makeExportButton(m_context, this, m_grid));
    buttons->addStretch();
    buttons->addWidget(new FindBar(
        this, m_grid, [this](int gridRow) { return staffRowKeys(m_context.store, m_model->staffRow(gridRow)); }));
    return buttons;
}

void StaffListWindow::connectControls()
{
    connect(m_jobTitle, &QComboBox::currentTextChanged, this, &StaffListWindow::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &StaffListWindow::refresh);
    connect(m_grade, &QLineEdit::textChanged, this, &StaffListWindow::refresh);
    connect(m_municipality, &QComboBox::currentTextChanged, this, &StaffListWindow::refresh);
    connect(m_area, &QComboBox::currentTextChanged, this, &StaffListWindow::refresh);
    connect(m_display, &QComboBox::currentIndexChanged, this, &StaffListWindow::chooseDisplay);
    connect(m_ageAndService, &QCheckBox::toggled, this, &StaffListWindow::applyDisplay);
    connect(m_mail, &QCheckBox::toggled, this, &StaffListWindow::applyDisplay);
    connect(m_sortBox, &QComboBox::activated, this, [this](int index) { selectSort(ByCode + index); });
    for (QLineEdit* box : {m_year, m_month, m_day})
        connect(box, &QLineEdit::textChanged, this, &StaffListWindow::readSurveyDate);
    connect(m_add, &QPushButton::clicked, this, &StaffListWindow::addMember);
    connect(m_edit, &QPushButton::clicked, this, &StaffListWindow::editMember);
    connect(m_grid, &QTableView::doubleClicked, this, [this] {
        if (m_edit->isEnabled())
            editMember();
    });
    connect(m_delete, &QPushButton::clicked, this, &StaffListWindow::deleteMembers);
    connect(m_change, &QPushButton::clicked, this, &StaffListWindow::changeNameAndCode);
    connect(m_check, &QPushButton::clicked, this, &StaffListWindow::checkTheList);
    connect(m_printCodes, &QPushButton::clicked, this, &StaffListWindow::printStaffCodes);
}

StaffListWindow::~StaffListWindow()
{
    // Closing puts the table back in code order for everyone else.
    staff_list::resetOrder(m_context.session);
    m_context.store.rebuildCodeIndex();
}

void StaffListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_connected) {
        m_connected = true;
        if (!attachViewWindow(this, [this] { activate(); }))
            activate();
    }
}

void StaffListWindow::activate()
{
    const int current = currentGridRow();
    readSurveyDate();
    calcAllAges(m_context.store);
    if (m_sort != BySchool)
        selectSort(BySchool);
    else
        refresh();
    if (m_activatedOnce && current >= 0 && current < m_model->rowCount())
        m_grid->selectRow(current);
    m_activatedOnce = true;
}

Filter StaffListWindow::filter() const
{
    Filter f;
    f.jobTitle = m_jobTitle->currentText();
    f.name = m_name->text();
    f.grade = int(boxNumber(m_grade->text()));
    f.municipality = m_municipality->currentText();
    f.area = m_area->currentText();
    return f;
}

void StaffListWindow::chooseDisplay(int display)
{
    // 年齢表示 belongs to the service display only.
    if (display != StaffListModel::Service) {
        m_ageAndService->setChecked(false);
        m_ageAndService->setEnabled(false);
    } else {
        m_ageAndService->setEnabled(true);
    }
    applyDisplay();
}

void StaffListWindow::applyDisplay()
{
    m_model->setDisplay(m_display->currentIndex(), m_ageAndService->isChecked(), m_mail->isChecked());
    applyColumns(m_grid, m_model->columns());
}

void StaffListWindow::refresh()
{
    if (!m_loaded)
        return;
    const Filter f = filter();
    m_add->setEnabled(!f.active());
    m_delete->setEnabled(!f.active());
    m_grid->setUpdatesEnabled(false);
    m_model->rebuild(f);
    m_grid->setUpdatesEnabled(true);
}

void StaffListWindow::selectSort(int sort)
{
    if (sort < ByCode || sort > ByPosting)
        return;
    if (sort != m_sort) {
        m_sort = sort;
        sortOrder(m_context.store, m_context.session, sort);
    }
    const QSignalBlocker block(m_sortBox);
    m_sortBox->setCurrentIndex(sort - ByCode);
    if (sort == ByHire)
        m_display->setCurrentIndex(StaffListModel::Service);
    else if (sort == ByPosting)
        m_display->setCurrentIndex(StaffListModel::Tenure);
    refresh();
}

void StaffListWindow::showSurveyDate()
{
    const QDate d = m_context.store.surveyDate.toQDate();
    const QSignalBlocker b1(m_year), b2(m_month), b3(m_day);
    // Shown in the era the date falls in; a year typed into the box counts in
    // that era until the date is shown again.
    const std::optional<EraYear> era = eraYearOf(m_context.store.surveyDate);
    m_surveyEraBase = era ? era->base : 0;
    m_surveyEra->setText(era ? era->name : u"西暦"_s);
    m_year->setText(QString::number(era ? era->year : d.year()));
    m_month->setText(QString::number(d.month()));
    m_day->setText(QString::number(d.day()));
}

void StaffListWindow::readSurveyDate()
{
    const QString y = m_year->text().trimmed(), m = m_month->text().trimmed(), d = m_day->text().trimmed();
    if (y.isEmpty() || m.isEmpty() || d.isEmpty())
        return;
    const std::optional<qint64> year = typedWholeNumber(y), month = typedWholeNumber(m), day = typedWholeNumber(d);
    if (!year || !month || !day)
        return; // letters: not a date, nothing changes
    const Date date =
        normalisedDate(m_surveyEraBase + std::clamp<qint64>(*year, -99999, 99999),
                       std::clamp<qint64>(*month, -99999, 99999), std::clamp<qint64>(*day, -99999, 99999));
    if (!date.isSet() || date == m_context.store.surveyDate)
        return;
    m_context.store.surveyDate = date;
    calcAllAges(m_context.store);
    emit surveyDateChanged();
    refresh();
}

bool StaffListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_nameLabel && event->type() == QEvent::MouseButtonDblClick)
        m_change->setVisible(true);
    if (watched == m_gradeLabel && event->type() == QEvent::MouseButtonPress)
        m_check->setVisible(true);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_year) {
                m_month->setFocus();
                return true;
            }
            if (watched == m_month) {
                m_day->setFocus();
                return true;
            }
            if (watched == m_day) {
                m_add->setFocus();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

int StaffListWindow::currentGridRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void StaffListWindow::afterEditing(qint32 code, bool select)
{
    RosterStore& store = m_context.store;
    store.reindexStaff();
    resetOrder(m_context.session);
    sortOrder(store, m_context.session, m_sort);
    refresh();
    readSurveyDate();
    const int row = m_model->rowOfCode(code);
    if (row < 0)
        return;
    if (select)
        m_grid->selectRow(row);
    else
        m_grid->scrollTo(m_model->index(row, 0), QAbstractItemView::PositionAtTop);
}

void StaffListWindow::addMember()
{
    RosterStore& store = m_context.store;
    if (store.staffCount() >= cap::kMaxStaff) {
        m_context.notifier.tell(u"名簿はこれ以上追加できません"_s, MessageIcon::Critical);
        return;
    }
    const int position = store.staffCount();
    StaffEditor editor(m_context, StaffEditor::EditM, position, this);
    editor.exec();
    const int shown = m_context.session.staffRowAt(store, position);
    const int row = shown >= 0 ? shown : store.staffCount() - 1;
    const qint32 code = row >= 0 && row < store.staffCount() ? store.staff[size_t(row)].code : 0;
    // The table is re-sorted by code, so the display order is rebuilt from it.
    afterEditing(code, false);
}

void StaffListWindow::editMember()
{
    const int gridRow = currentGridRow();
    const int position = m_model->position(gridRow);
    if (position < 0) {
        m_context.notifier.tell(u"指定されていません"_s, MessageIcon::Critical);
        return;
    }
    RosterStore& store = m_context.store;
    StaffEditor editor(m_context, StaffEditor::EditM, position, this);
    editor.setSingleRecord(!m_add->isEnabled());
    editor.exec();
    const int row =
        editor.currentRow() < store.staffCount() ? editor.currentRow() : m_context.session.staffRowAt(store, position);
    afterEditing(row >= 0 && row < store.staffCount() ? store.staff[size_t(row)].code : 0, true);
}

void StaffListWindow::changeNameAndCode()
{
    const int position = m_model->position(currentGridRow());
    if (position < 0) {
        m_context.notifier.tell(u"指定されていません"_s, MessageIcon::Critical);
        return;
    }
    CodeChangeDialog dialog(m_context, position, this);
    dialog.exec();
    const int row = m_context.session.staffRowAt(m_context.store, position);
    afterEditing(row >= 0 ? m_context.store.staff[size_t(row)].code : 0, true);
}

void StaffListWindow::deleteMembers()
{
    RosterStore& store = m_context.store;
    // Exactly the rows the user selected, in whatever way they were selected.
    std::vector<int> gridRows;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        if (m_model->staffRow(i.row()) >= 0)
            gridRows.push_back(i.row());
    if (gridRows.empty() && m_model->staffRow(currentGridRow()) >= 0)
        gridRows.push_back(currentGridRow());
    if (gridRows.empty())
        return;
    std::sort(gridRows.begin(), gridRows.end());
    const QString question = gridRows.size() == 1
                                 ? store.staff[size_t(m_model->staffRow(gridRows[0]))].name + u"のデータを削除します"_s
                                 : QString::number(gridRows.size()) + u"名のデータを削除します"_s;
    if (!m_context.notifier.askYesNo(question))
        return;
    std::vector<int> rows;
    for (int r : gridRows)
        rows.push_back(m_model->staffRow(r));
    const int first = gridRows.front();
    deleteRows(store, m_context.session, rows);
    store.rebuildCodeIndex();
    resetOrder(m_context.session);
    sortOrder(store, m_context.session, m_sort);
    refresh();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::min(first, m_model->rowCount() - 1));
}

void StaffListWindow::checkTheList()
{
    RosterStore& store = m_context.store;
    const std::vector<Finding> findings = checkList(store, m_context.session, [this](const Finding& f) {
        return m_context.notifier.ask({f.shownText, UserNotifier::appTitle(), MessageIcon::Warning,
                                       MessageButtons::OkCancel, QString()}) != MessageAnswer::Cancel;
    });
    const QString path = tempFilePath(store.paths.dataFolder, u"NKMCHO.ERR"_s);
    QString error;
    if (!writeCheckLog(path, findings, &error))
        m_context.notifier.tell(u"チェック結果を書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
    m_context.notifier.tell(u"チェック終了"_s, MessageIcon::Information, QString());
}

void StaffListWindow::printStaffCodes()
{
    if (!m_context.notifier.askYesNo(u"職員コードを印刷しますか"_s))
        return;
    // The rows the user sees selected, in the order shown.
    std::vector<int> gridRows;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        gridRows.push_back(i.row());
    std::sort(gridRows.begin(), gridRows.end());
    std::vector<int> rows;
    for (int r : gridRows)
        if (m_model->staffRow(r) >= 0)
            rows.push_back(m_model->staffRow(r));
    const PrintJob job = [rows](PrintJobContext& c) {
        printStaffRows(c, rows, u"職員コード"_s,
                       [](const StaffRecord& s) { return s.code > 19600000 ? QString::number(s.code) : QString(); });
    };
    printWithDialogs(m_context, newPrintRequest(m_context.store, PrintJobCode::StaffCodeList, job), this);
}
