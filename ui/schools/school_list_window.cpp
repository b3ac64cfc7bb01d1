#include "school_list_window.h"

#include "app_context.h"
#include "find_bar.h"
#include "grid_export.h"
#include "grid_columns.h"
#include "post_status.h"
#include "print_runner.h"
#include "school_editor.h"
#include "school_list_print.h"
#include "view_window.h"
#include "wait_cursor.h"
#include "widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

using namespace Qt::StringLiterals;
using namespace school_list;

// --- model ------------------------------------------------------------------

namespace {
// The columns with the postal code and address shown, the mail not.
constexpr std::array<ColumnSpec, size_t(SchoolListColumn::Count)> kColumns{{
    {u"NO", kAlignRight, 520, widest.rowNumber},
    {u"", kAlignLeft, 10, u""},
    {u"", kAlignCentre, 360, u"○"},
    {u"氏　名", kAlignLeft, 1600, widest.name},
    {u"市町村名", kAlignLeft, 1100, widest.municipality},
    {u"学校名", kAlignLeft, 1500, widest.schoolName},
    {u"学校区分", kAlignCentre, 900, widest.schoolKind},
    {u"コード", kAlignRight, 700, u"1234567"},
    {u"", kAlignRight, 400, u"30"},
    {u"特", kAlignRight, 350, u"10"},
    {u"分", kAlignRight, 350, u"3"},
    {u"ＴＥＬ", kAlignLeft, 1400, widest.phone},
    {u"ＦＡＸ", kAlignLeft, 1400, widest.phone},
    {u"郵便番号", kAlignLeft, 1000, widest.postalCode},
    {u"住所", kAlignLeft, 2500, widest.address},
    {u"メールアドレス", kAlignLeft, 0, u"school1234567@example.jp"},
}};
} // namespace

SchoolListModel::SchoolListModel(RosterStore& store, QObject* parent)
    : ColumnTableModel(kColumns, parent),
      m_store(store)
{
}

bool SchoolListModel::orderedByNumber() const
{
    return m_store.profile.optionFlags & OptionFlag::OrderBySchoolNumber;
}

ColumnSpec SchoolListModel::column(int column) const
{
    ColumnSpec shown = ColumnTableModel::column(column);
    switch (SchoolListColumn(column)) {
    case SchoolListColumn::CodeOrNumber:
        if (orderedByNumber())
            shown.header = u"番号";
        break;
    case SchoolListColumn::PostalCode:
    case SchoolListColumn::Address:
        if (m_showMail)
            shown.twips = 0;
        break;
    case SchoolListColumn::Mail:
        if (m_showMail)
            shown.twips = 4300;
        break;
    default: break;
    }
    return shown;
}

void SchoolListModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

const Row* SchoolListModel::row(int r) const
{
    return r >= 0 && size_t(r) < m_rows.size() ? &m_rows[size_t(r)] : nullptr;
}

int SchoolListModel::rowOfSchoolCode(qint32 code) const
{
    for (size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].slot == 0 && !m_rows[r].reading && m_rows[r].school >= 0 &&
            size_t(m_rows[r].school) < m_store.schools.size() && m_store.schools[size_t(m_rows[r].school)].code == code)
            return int(r);
    return -1;
}

void SchoolListModel::toggleMark(int r)
{
    const Row* x = row(r);
    if (!x || x->school < 0 || size_t(x->school) >= m_store.schools.size())
        return;
    ClerkSlot& slot = m_store.schools[size_t(x->school)].clerks[size_t(x->slot)];
    slot.mark = slot.mark == 1 ? 0 : 1;
    const int mark = int(SchoolListColumn::Mark);
    emit dataChanged(index(r, mark), index(r, mark));
}

int SchoolListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant SchoolListModel::data(const QModelIndex& index, int role) const
{
    const Row* r = row(index.row());
    // A row is only drawn from a school that still exists, even if the table
    // changed before the list was refilled.
    if (!r || !index.isValid() || r->school < 0 || size_t(r->school) >= m_store.schools.size() || r->slot < 0 ||
        r->slot >= cap::kClerkSlots)
        return {};
    const SchoolRecord& s = m_store.schools[size_t(r->school)];
    const ClerkSlot& slot = s.clerks[size_t(r->slot)];
    if (role == Qt::TextAlignmentRole)
        return cellAlignment(index.column());
    if (role == Qt::ForegroundRole && r->reading)
        return QColor(Qt::darkGray);
    if (role != Qt::DisplayRole)
        return {};
    const bool schoolRow = r->slot == 0;
    const auto column = SchoolListColumn(index.column());
    auto blank = [](qint64 v) { return v == 0 ? QString() : QString::number(v); };
    if (r->reading) {
        if (column == SchoolListColumn::ClerkName) {
            const int staff = slot.staffCode > 0 ? m_store.findStaffByCode(slot.staffCode) : -1;
            return staff >= 0 ? m_store.staff[size_t(staff)].reading : QString();
        }
        return column == SchoolListColumn::SchoolName && schoolRow ? s.reading : QString();
    }
    switch (column) {
    case SchoolListColumn::No: return r->number;
    case SchoolListColumn::Mark: return slot.mark == 1 ? u"○"_s : QString();
    case SchoolListColumn::ClerkName: return slot.staffName;
    default: break;
    }
    if (!schoolRow)
        return {};
    switch (column) {
    case SchoolListColumn::Municipality: return s.municipality;
    case SchoolListColumn::SchoolName: return s.name;
    case SchoolListColumn::Kind: return s.kindText;
    case SchoolListColumn::CodeOrNumber: return orderedByNumber() ? blank(s.number) : QString::number(s.code);
    case SchoolListColumn::Classes: return blank(s.regularClasses);
    case SchoolListColumn::SpecialClasses: return blank(s.specialClasses);
    case SchoolListColumn::Branches: return blank(s.branchCount);
    case SchoolListColumn::Tel: return s.tel;
    case SchoolListColumn::Fax: return s.fax;
    case SchoolListColumn::PostalCode: return s.postalCode;
    case SchoolListColumn::Address: return s.address;
    case SchoolListColumn::Mail: return s.mail;
    default: break;
    }
    return {};
}

// --- window -----------------------------------------------------------------

SchoolListWindow::SchoolListWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"S_LIST"_s);
    setWindowTitle(u"学校ﾘｽﾄ"_s);
    WaitCursor wait;
    // A list opened again starts from the selections the last one showed.
    m_filter = context.session.schoolFilter;
    m_filter.narrowed = false;
    m_shownFilter = m_filter;
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buildSelectionRow());
    layout->addLayout(buildCommandRow());
    layout->addLayout(buildFindRow());
    layout->addWidget(m_grid, 1);

    applyColumns(m_grid, m_model->columns());
    // The gap is narrower than any text could make it.
    m_grid->setColumnWidth(int(SchoolListColumn::Gap), 2);
    applyMailColumn();

    fillAreas();
    fillGroupChoice();
    connectControls();
}

void SchoolListWindow::buildGrid()
{
    m_model = new SchoolListModel(m_context.store, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::ExtendedSelection);
    m_grid->setMaximumWidth(twips::toPixels(14480) + 200);
}

// 地域 (prefecture-level users) with its districts, グループ名 (or 市町村名),
// 抽出 and the counters.
QHBoxLayout* SchoolListWindow::buildSelectionRow()
{
    m_areaLabel = new QLabel(u"地域"_s, this);
    m_areaLabel->setObjectName(u"Label2"_s);
    m_areaLabel->installEventFilter(this);
    m_area = makeChoice(u"CTV_SEL0"_s, this, 130);
    m_district = makeChoice(u"CTV_SEL1"_s, this, 130);
    m_district->setVisible(false);
    m_groupLabel = new QLabel(u"グループ名"_s, this);
    m_groupLabel->setObjectName(u"Label4"_s);
    m_groupLabel->installEventFilter(this);
    m_groupChoice = makeChoice(u"GRP_SEL"_s, this, 130);
    if (!m_context.store.prefectureLevel()) {
        m_areaLabel->setVisible(false);
        m_area->setVisible(false);
    }

    auto* top = new QHBoxLayout;
    top->addWidget(m_areaLabel);
    top->addWidget(m_area);
    top->addWidget(m_district);
    top->addWidget(m_groupLabel);
    top->addWidget(m_groupChoice);
    top->addWidget(buildExtractBox());
    top->addLayout(buildCounters());
    top->addStretch();
    return top;
}

// 抽出: the school kinds, 抽出 and 全表示.
QGroupBox* SchoolListWindow::buildExtractBox()
{
    auto* extractBox = new QGroupBox(u"抽出"_s, this);
    auto* extractRow = new QHBoxLayout(extractBox);
    extractRow->setContentsMargins(6, 2, 6, 2);
    m_kinds = SchoolKindChecks::make(extractBox);
    m_kinds.show(m_filter.kinds);
    m_extract = makeButton(u"B_PICUP"_s, u"抽出"_s, extractBox);
    m_showAll = makeButton(u"B_ALL"_s, u"全表示"_s, extractBox);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_kinds.elementary, m_kinds.junior, m_kinds.special, m_extract, m_showAll})
        extractRow->addWidget(w);
    return extractBox;
}

// The counters above the two display check boxes, so that the whole row,
// the extraction kinds included, fits the frame's default width.
QGridLayout* SchoolListWindow::buildCounters()
{
    m_schoolCount = new QLabel(this);
    m_schoolCount->setObjectName(u"SC_LABEL"_s);
    m_rowCount = new QLabel(this);
    m_rowCount->setObjectName(u"SM_LABEL"_s);
    m_readings = makeCheck(u"CHK_FRI"_s, u"ﾌﾘｶﾞﾅ"_s, this);
    m_mail = makeCheck(u"CHK_NAME"_s, u"メール"_s, this);
    auto* counts = new QGridLayout;
    counts->setHorizontalSpacing(4);
    counts->setVerticalSpacing(0);
    counts->addWidget(m_schoolCount, 0, 0, Qt::AlignRight);
    counts->addWidget(new QLabel(u"校"_s, this), 0, 1);
    counts->addWidget(m_rowCount, 0, 2, Qt::AlignRight);
    counts->addWidget(new QLabel(u"名"_s, this), 0, 3);
    counts->addWidget(m_readings, 1, 0, 1, 2);
    counts->addWidget(m_mail, 1, 2, 1, 2);
    return counts;
}

// The commands; ID印刷, 宛名印刷 and コード変更 do nothing.
QHBoxLayout* SchoolListWindow::buildCommandRow()
{
    struct Command {
        QString name;
        QString text;
        void (SchoolListWindow::*run)();
    };
    const Command commands[] = {
        {u"B_ADD"_s, u"追加"_s, &SchoolListWindow::addSchool},
        {u"B_EDIT"_s, u"編集"_s, &SchoolListWindow::editSchool},
        {u"B_DEL"_s, u"削除"_s, &SchoolListWindow::deleteSelectedSchools},
        {u"B_ALL_SEL"_s, u"印"_s, &SchoolListWindow::markListedSchools},
        {u"B_PRT"_s, u"差込印刷"_s, &SchoolListWindow::openLabelPrinting},
        {u"B_PRT2"_s, u"調査印刷"_s, &SchoolListWindow::printSurveyForms},
        {u"B_SC_PRT"_s, u"学校名"_s, &SchoolListWindow::printSchoolNames},
        {u"B_NET"_s, u"連絡網"_s, &SchoolListWindow::openContactNetwork},
        {u"B_PRT_ID"_s, u"ID印刷"_s, nullptr},
        {u"B_PRT_ADRS"_s, u"宛名印刷"_s, nullptr},
        {u"B_CODE_CHG"_s, u"コード変更"_s, nullptr},
    };
    auto* buttons = new QHBoxLayout;
    for (const Command& c : commands) {
        QPushButton* b = makeButton(c.name, c.text, this);
        buttons->addWidget(b);
        if (c.run)
            connect(b, &QPushButton::clicked, this, c.run);
    }
    buttons->addStretch();
    return buttons;
}

// The command row is full at the frame's default width: finding and the
// spreadsheet get a row of their own.
QHBoxLayout* SchoolListWindow::buildFindRow()
{
    QPushButton* sheet = grid_export::makeExportButton(m_context, this, m_grid);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(new FindBar(this, m_grid, [this](int gridRow) { return rowKeys(gridRow); }));
    findRow->addStretch();
    findRow->addWidget(sheet);
    return findRow;
}

void SchoolListWindow::connectControls()
{
    connect(m_area, &QComboBox::activated, this, &SchoolListWindow::chooseArea);
    connect(m_district, &QComboBox::activated, this, &SchoolListWindow::chooseDistrict);
    connect(m_groupChoice, &QComboBox::activated, this, &SchoolListWindow::chooseGroup);
    connect(m_extract, &QPushButton::clicked, this, &SchoolListWindow::extract);
    connect(m_showAll, &QPushButton::clicked, this, &SchoolListWindow::listAll);
    connect(m_readings, &QCheckBox::clicked, this, &SchoolListWindow::refill);
    connect(m_mail, &QCheckBox::clicked, this, &SchoolListWindow::applyMailColumn);
    connect(m_grid, &QTableView::clicked, this, &SchoolListWindow::clickGrid);
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.column() != int(SchoolListColumn::Mark))
            editSchool();
    });
}

// A row is found by its school (name, reading, code) or by the clerk in its
// post (name, reading, code).
find_text::RowKeys SchoolListWindow::rowKeys(int gridRow) const
{
    find_text::RowKeys keys;
    const school_list::Row* r = m_model->row(gridRow);
    const RosterStore& store = m_context.store;
    if (!r || r->reading || r->school < 0 || size_t(r->school) >= store.schools.size() || r->slot < 0 ||
        r->slot >= cap::kClerkSlots)
        return keys;
    const SchoolRecord& s = store.schools[size_t(r->school)];
    if (r->slot == 0) {
        keys.texts << s.name << s.reading;
        keys.codes << QString::number(s.code);
        if (s.number > 0) // shown instead of the code when ordered by number
            keys.codes << QString::number(s.number);
    }
    const ClerkSlot& slot = s.clerks[size_t(r->slot)];
    const int staff = slot.staffCode > 0 ? store.findStaffByCode(slot.staffCode) : -1;
    if (staff >= 0) {
        const StaffRecord& m = store.staff[size_t(staff)];
        keys.texts << m.name << m.reading;
        keys.codes << QString::number(m.code);
    } else {
        keys.texts << slot.staffName;
    }
    return keys;
}

void SchoolListWindow::chooseArea()
{
    m_filter.area = m_area->currentText();
    m_filter.district.clear();
    fillDistricts();
    extract();
}

void SchoolListWindow::chooseDistrict()
{
    m_filter.district = m_district->currentText();
    extract();
}

void SchoolListWindow::chooseGroup()
{
    SchoolFilter& f = m_filter;
    if (m_municipalityMode) {
        f.municipality = m_groupChoice->currentText() == u"全"_s ? QString() : m_groupChoice->currentText();
        f.group.clear();
    } else {
        f.group = m_groupChoice->currentText();
        f.municipality.clear();
    }
    extract();
}

void SchoolListWindow::clickGrid(const QModelIndex& index)
{
    if (index.column() == int(SchoolListColumn::Mark) && m_model->row(index.row()) &&
        !m_model->row(index.row())->reading)
        m_model->toggleMark(index.row());
}

SchoolListWindow::~SchoolListWindow()
{
    m_context.session.schoolFilter.narrowed = false;
    emit transferCommandVisible(false);
    emit narrowedChanged(false);
}

void SchoolListWindow::fillAreas()
{
    const RosterStore& store = m_context.store;
    m_area->clear();
    m_area->addItem(u"全"_s);
    m_area->addItems(shownAreaNames(store));
    m_area->addItem(otherChoiceName());
    m_area->setCurrentIndex(std::max(0, m_area->findText(m_filter.area)));
    fillDistricts();
}

void SchoolListWindow::fillDistricts()
{
    m_district->clear();
    const DistrictSubList* sub = m_context.store.places.subListFor(m_area->currentText());
    if (sub)
        m_district->addItems(sub->districts);
    m_district->setCurrentIndex(sub ? m_district->findText(m_filter.district) : -1);
    m_district->setVisible(sub != nullptr && !m_area->isHidden());
}

void SchoolListWindow::fillGroupChoice()
{
    const RosterStore& store = m_context.store;
    m_groupChoice->clear();
    m_groupChoice->addItem(u"全"_s);
    if (m_municipalityMode) {
        for (const MunicipalityEntry& e : store.municipalities.entries)
            m_groupChoice->addItem(e.name);
    } else {
        m_groupChoice->addItems(store.groupNames);
    }
    m_groupChoice->addItem(otherChoiceName());
    m_groupLabel->setText(m_municipalityMode ? u"市町村名"_s : u"グループ名"_s);
}

void SchoolListWindow::applyMailColumn()
{
    // The postal code and address keep the widths they had.
    const bool mail = m_mail->isChecked();
    m_model->setShowMail(mail);
    m_grid->setColumnHidden(int(SchoolListColumn::PostalCode), mail);
    m_grid->setColumnHidden(int(SchoolListColumn::Address), mail);
    applyColumns(m_grid, m_model->columns(), int(SchoolListColumn::Mail));
}

void SchoolListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_activatedOnce)
        emit transferCommandVisible(true); // 人事異動 belongs to the open school list
    if (!m_connected) {
        m_connected = true;
        if (!attachViewWindow(this, [this] { activate(); }))
            activate();
    }
}

void SchoolListWindow::activate()
{
    WaitCursor wait;
    const int current = currentGridRow();
    sortSchoolTable(m_context.store);
    listAll();
    if (m_activatedOnce && current >= 0 && current < m_model->rowCount())
        m_grid->selectRow(current);
    m_activatedOnce = true;
}

bool SchoolListWindow::narrowed() const
{
    return m_schoolsShown != m_context.store.schoolCount();
}

void SchoolListWindow::showSchools(const std::vector<int>& schools, bool all)
{
    m_showingAll = all;
    const bool numberSchools = m_context.store.profile.optionFlags & OptionFlag::NumberSchools;
    m_grid->setUpdatesEnabled(false);
    std::vector<Row> rows = buildRows(m_context.store, schools, m_readings->isChecked(), numberSchools);
    // "名" counts the post rows: a reading row under a name is no one more.
    const auto people = std::count_if(rows.begin(), rows.end(), [](const Row& r) { return !r.reading; });
    m_model->setRows(std::move(rows));
    m_grid->setUpdatesEnabled(true);
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
    m_schoolsShown = int(schools.size());
    m_schoolCount->setText(QString::number(m_schoolsShown));
    m_rowCount->setText(QString::number(people));
    // What the list shows is what the export and the prints select.
    SchoolFilter shown = m_shownFilter;
    shown.narrowed = narrowed();
    m_context.session.schoolFilter = shown;
    emit narrowedChanged(narrowed());
}

void SchoolListWindow::listAll()
{
    // Every school is shown: the export and the prints take every school too,
    // not the extraction shown before.
    m_shownFilter = SchoolFilter{};
    showSchools(allSchools(m_context.store), true);
}

void SchoolListWindow::showExtraction(const SchoolFilter& filter)
{
    const RosterStore& store = m_context.store;
    m_shownFilter = filter;
    const std::vector<int> rows = filteredSchools(store, filter);
    m_context.session.setShownSchools(store, rows);
    showSchools(rows, false);
}

bool SchoolListWindow::extract()
{
    const int kinds = m_kinds.kinds();
    if (kinds == 0) {
        m_context.notifier.tell(u"学校種を選択してください"_s, MessageIcon::Warning);
        return false;
    }
    m_filter.kinds = kinds;
    showExtraction(m_filter);
    return true;
}

void SchoolListWindow::refill()
{
    // The list stays as the user saw it: every school, or the extraction
    // they made, whatever the boxes say now.
    if (m_showingAll)
        listAll();
    else
        showExtraction(m_shownFilter);
}

void SchoolListWindow::selectRows(int first, int last)
{
    m_grid->clearSelection();
    for (int r = std::max(0, first); r <= last && r < m_model->rowCount(); ++r)
        m_grid->selectionModel()->select(m_model->index(r, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

int SchoolListWindow::currentGridRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

bool SchoolListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_groupLabel) {
            m_municipalityMode = !m_municipalityMode;
            fillGroupChoice();
            return true;
        }
        if (watched == m_areaLabel && m_context.store.prefectureLevel()) {
            bool& officers = m_filter.officers;
            officers = !officers;
            m_areaLabel->setText(officers ? u"瑠事研役員"_s : u"地域"_s);
            m_area->setVisible(!officers);
            fillDistricts();
            if (officers)
                m_district->setVisible(false);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SchoolListWindow::addSchool()
{
    RosterStore& store = m_context.store;
    if (!store.canAddSchool()) {
        m_context.notifier.tell(u"学校はこれ以上追加できません"_s, MessageIcon::Critical);
        return;
    }
    SchoolEditor editor(m_context, this);
    editor.exec();
    if (store.schoolCount() == 0)
        return;
    const int row = std::min<int>(editor.currentRow(), store.schoolCount() - 1);
    const qint32 code = store.schools[size_t(row)].code;
    sortSchoolTable(store);
    listAll();
    const int r = m_model->rowOfSchoolCode(code);
    if (r >= 0)
        m_grid->selectRow(r);
}

void SchoolListWindow::editSchool()
{
    const int current = currentGridRow();
    if (!m_model->row(current)) {
        m_context.notifier.tell(u"指定されていません"_s, MessageIcon::Warning);
        return;
    }
    std::vector<int> listRows;
    for (int r = 0; r < m_model->rowCount(); ++r)
        listRows.push_back(m_model->row(r)->school);
    const int top = m_grid->verticalScrollBar()->value();
    SchoolEditor editor(m_context, listRows, current, this);
    editor.exec();
    RosterStore& store = m_context.store;
    const int row = editor.currentRow();
    const qint32 code = row >= 0 && row < store.schoolCount() ? store.schools[size_t(row)].code : 0;
    refill();
    const int r = m_model->rowOfSchoolCode(code);
    if (r >= 0)
        m_grid->selectRow(r);
    m_grid->verticalScrollBar()->setValue(top);
}

void SchoolListWindow::deleteSelectedSchools()
{
    RosterStore& store = m_context.store;
    // Exactly the schools of the rows the user selected.
    std::vector<int> schools;
    int firstRow = m_model->rowCount();
    const QModelIndexList selected = m_grid->selectionModel()->selectedRows();
    for (const QModelIndex& i : selected) {
        if (const Row* r = m_model->row(i.row())) {
            schools.push_back(r->school);
            firstRow = std::min(firstRow, i.row());
        }
    }
    std::sort(schools.begin(), schools.end());
    schools.erase(std::unique(schools.begin(), schools.end()), schools.end());
    if (schools.empty())
        return;
    const SchoolRecord& one = store.schools[size_t(schools.front())];
    const QString question =
        schools.size() == 1 ? one.name + one.kindText + u"のデータを削除します"_s : u"選択範囲のデータを削除します"_s;
    if (!m_context.notifier.askYesNo(question))
        return;
    deleteSchools(store, schools);
    refill();
    if (m_model->rowCount() > 0)
        m_grid->selectRow(std::min(firstRow, m_model->rowCount() - 1));
}

void SchoolListWindow::markListedSchools()
{
    RosterStore& store = m_context.store;
    std::vector<int> schools;
    for (int r = 0; r < m_model->rowCount(); ++r) {
        const Row* row = m_model->row(r);
        if (row->slot == 0 && !row->reading)
            schools.push_back(row->school);
    }
    if (schools.empty())
        return;
    const bool clear = store.schools[size_t(schools.front())].clerks[0].mark == 1;
    for (int school : schools) {
        SchoolRecord& s = store.schools[size_t(school)];
        if (clear) {
            s.clerks[0].mark = 0;
        } else if (m_shownFilter.officers) {
            for (ClerkSlot& slot : s.clerks)
                if (isOfficerPost(store, slot))
                    slot.mark = 1;
        } else {
            s.clerks[0].mark = 1;
        }
    }
    const int current = currentGridRow();
    m_model->redrawAll();
    if (current >= 0)
        m_grid->setCurrentIndex(m_model->index(current, 0));
}

bool SchoolListWindow::anyMark() const
{
    for (const SchoolRecord& s : m_context.store.schools)
        for (const ClerkSlot& slot : s.clerks)
            if (slot.mark == 1)
                return true;
    return false;
}

void SchoolListWindow::openLabelPrinting()
{
    if (!anyMark()) {
        m_context.notifier.tell(u"印刷データが選択されていません"_s, MessageIcon::Warning);
        return;
    }
    if (openLabels)
        openLabels();
}

void SchoolListWindow::printSurveyForms()
{
    if (!anyMark()) {
        m_context.notifier.tell(u"選択データが有りません"_s, MessageIcon::Warning);
        return;
    }
    if (m_context.notifier.askYesNo(u"選択データの印刷をします"_s))
        printWithDialogs(m_context, newPrintRequest(m_context.store, PrintJobCode::SurveyForms), this);
}

void SchoolListWindow::openContactNetwork()
{
    if (m_model->rowCount() > 0 && openNetwork)
        openNetwork();
}

void SchoolListWindow::printSchoolNames()
{
    printWithDialogs(m_context,
                     newPrintRequest(m_context.store, PrintJobCode::SchoolNames,
                                     [](PrintJobContext& c) { printSchoolNameSheet(c); }),
                     this);
}
