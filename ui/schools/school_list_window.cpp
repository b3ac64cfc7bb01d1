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

using namespace Qt::StringLiterals;
using namespace school_list;

// --- model ------------------------------------------------------------------

SchoolListModel::SchoolListModel(RosterStore& store, QObject* parent) : QAbstractTableModel(parent), m_store(store)
{
}

void SchoolListModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void SchoolListModel::refreshAll()
{
    emit headerDataChanged(Qt::Horizontal, 0, 15);
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, 15));
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
    emit dataChanged(index(r, 2), index(r, 2));
}

int SchoolListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SchoolListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 16;
}

QVariant SchoolListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    const bool byNumber = m_store.profile.optionFlags & OptionFlag::OrderBySchoolNumber;
    static const QStringList heads{
        u"NO"_s,   QString(), QString(), u"氏　名"_s, u"市町村名"_s, u"学校名"_s,   u"学校区分"_s, QString(),
        QString(), u"特"_s,   u"分"_s,   u"ＴＥＬ"_s, u"ＦＡＸ"_s,   u"郵便番号"_s, u"住所"_s,     u"メールアドレス"_s};
    if (section == 7)
        return byNumber ? u"番号"_s : u"コード"_s;
    return heads.value(section);
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
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case 0:
        case 7:
        case 8:
        case 9:
        case 10: return int(Qt::AlignRight | Qt::AlignVCenter);
        case 2:
        case 6: return int(Qt::AlignCenter);
        default: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role == Qt::ForegroundRole && r->reading)
        return QColor(Qt::darkGray);
    if (role != Qt::DisplayRole)
        return {};
    const bool schoolRow = r->slot == 0;
    auto blank = [](qint64 v) { return v == 0 ? QString() : QString::number(v); };
    if (r->reading) {
        if (index.column() == 3) {
            const int staff = slot.staffCode > 0 ? m_store.findStaffByCode(slot.staffCode) : -1;
            return staff >= 0 ? m_store.staff[size_t(staff)].reading : QString();
        }
        return index.column() == 5 && schoolRow ? s.reading : QString();
    }
    switch (index.column()) {
    case 0: return r->number;
    case 2: return slot.mark == 1 ? u"○"_s : QString();
    case 3: return slot.staffName;
    }
    if (!schoolRow)
        return {};
    switch (index.column()) {
    case 4: return s.municipality;
    case 5: return s.name;
    case 6: return s.kindText;
    case 7:
        return (m_store.profile.optionFlags & OptionFlag::OrderBySchoolNumber) ? blank(s.number)
                                                                               : QString::number(s.code);
    case 8: return blank(s.regularClasses);
    case 9: return blank(s.specialClasses);
    case 10: return blank(s.branchCount);
    case 11: return s.tel;
    case 12: return s.fax;
    case 13: return s.postalCode;
    case 14: return s.address;
    case 15: return s.mail;
    }
    return {};
}

// --- window -----------------------------------------------------------------

namespace {

} // namespace

SchoolListWindow::SchoolListWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"S_LIST"_s);
    setWindowTitle(u"学校ﾘｽﾄ"_s);
    WaitCursor wait;
    // A list opened again starts from the selections the last one showed.
    m_filter = context.session.schoolFilter;
    m_filter.narrowed = false;
    m_shownFilter = m_filter;
    m_model = new SchoolListModel(context.store, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::ExtendedSelection);
    m_grid->setMaximumWidth(twips::toPixels(14480) + 200);

    m_areaLabel = new QLabel(u"地域"_s, this);
    m_areaLabel->setObjectName(u"Label2"_s);
    m_areaLabel->installEventFilter(this);
    m_area = new QComboBox(this);
    m_area->setObjectName(u"CTV_SEL0"_s);
    m_area->setMinimumWidth(130);
    m_district = new QComboBox(this);
    m_district->setObjectName(u"CTV_SEL1"_s);
    m_district->setMinimumWidth(130);
    m_district->setVisible(false);
    m_groupLabel = new QLabel(u"グループ名"_s, this);
    m_groupLabel->setObjectName(u"Label4"_s);
    m_groupLabel->installEventFilter(this);
    m_groupChoice = new QComboBox(this);
    m_groupChoice->setObjectName(u"GRP_SEL"_s);
    m_groupChoice->setMinimumWidth(130);
    if (!context.store.prefectureLevel()) {
        m_areaLabel->setVisible(false);
        m_area->setVisible(false);
    }

    auto* extractBox = new QGroupBox(u"抽出"_s, this);
    auto* extractRow = new QHBoxLayout(extractBox);
    extractRow->setContentsMargins(6, 2, 6, 2);
    m_elementary = makeCheck(u"CHK_ES"_s, u"小学校"_s, extractBox);
    m_junior = makeCheck(u"CHK_JHS"_s, u"中学校"_s, extractBox);
    m_special = makeCheck(u"CHK_TS"_s, u"養護学校"_s, extractBox);
    const int kinds = m_filter.kinds;
    m_elementary->setChecked(kinds & 1);
    m_junior->setChecked(kinds & 2);
    m_special->setChecked(kinds & 4);
    auto* pick = makeButton(u"B_PICUP"_s, u"抽出"_s, extractBox);
    auto* all = makeButton(u"B_ALL"_s, u"全表示"_s, extractBox);
    for (QWidget* w : std::initializer_list<QWidget*>{m_elementary, m_junior, m_special, pick, all})
        extractRow->addWidget(w);

    m_schoolCount = new QLabel(this);
    m_schoolCount->setObjectName(u"SC_LABEL"_s);
    m_rowCount = new QLabel(this);
    m_rowCount->setObjectName(u"SM_LABEL"_s);
    m_readings = makeCheck(u"CHK_FRI"_s, u"ﾌﾘｶﾞﾅ"_s, this);
    m_mail = makeCheck(u"CHK_NAME"_s, u"メール"_s, this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_areaLabel);
    top->addWidget(m_area);
    top->addWidget(m_district);
    top->addWidget(m_groupLabel);
    top->addWidget(m_groupChoice);
    top->addWidget(extractBox);
    // The counters above the two display check boxes, so that the whole row,
    // the extraction kinds included, fits the frame's default width.
    auto* counts = new QGridLayout;
    counts->setHorizontalSpacing(4);
    counts->setVerticalSpacing(0);
    counts->addWidget(m_schoolCount, 0, 0, Qt::AlignRight);
    counts->addWidget(new QLabel(u"校"_s, this), 0, 1);
    counts->addWidget(m_rowCount, 0, 2, Qt::AlignRight);
    counts->addWidget(new QLabel(u"名"_s, this), 0, 3);
    counts->addWidget(m_readings, 1, 0, 1, 2);
    counts->addWidget(m_mail, 1, 2, 1, 2);
    top->addLayout(counts);
    top->addStretch();

    auto* buttons = new QHBoxLayout;
    const std::pair<QString, QString> names[] = {
        {u"B_ADD"_s, u"追加"_s},          {u"B_EDIT"_s, u"編集"_s},          {u"B_DEL"_s, u"削除"_s},
        {u"B_ALL_SEL"_s, u"印"_s},        {u"B_PRT"_s, u"差込印刷"_s},       {u"B_PRT2"_s, u"調査印刷"_s},
        {u"B_SC_PRT"_s, u"学校名"_s},     {u"B_NET"_s, u"連絡網"_s},         {u"B_PRT_ID"_s, u"ID印刷"_s},
        {u"B_PRT_ADRS"_s, u"宛名印刷"_s}, {u"B_CODE_CHG"_s, u"コード変更"_s}};
    QMap<QString, QPushButton*> made;
    for (const auto& [name, text] : names) {
        made[name] = makeButton(name, text, this);
        buttons->addWidget(made[name]);
    }
    auto* sheet = makeButton(u"B_SHEET"_s, u"表計算"_s, this);
    sheet->setToolTip(u"一覧を表示のまま表計算ブック (.xlsx) か CSV に書き出します"_s);
    connect(sheet, &QPushButton::clicked, this, [this] { grid_export::ask(m_context, this, m_grid, windowTitle()); });
    buttons->addStretch();
    // The command row is full at the frame's default width: finding and the
    // spreadsheet get a row of their own. A row is found by its school
    // (name, reading, code) or by the clerk in its post (name, reading, code).
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(new FindBar(this, m_grid, [this](int gridRow) {
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
    }));
    findRow->addStretch();
    findRow->addWidget(sheet);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->addLayout(findRow);
    layout->addWidget(m_grid, 1);

    const int widths[] = {520, 10, 360, 1600, 1100, 1500, 900, 700, 400, 350, 350, 1400, 1400, 1000, 2500, 5};
    const QStringList widest{u"1500"_s,
                             QString(),
                             u"○"_s,
                             u"長谷川　佐和子"_s,
                             u"瑠璃東部学校組合"_s,
                             u"星ヶ丘第二"_s,
                             u"特別支援学校"_s,
                             u"1234567"_s,
                             u"30"_s,
                             u"10"_s,
                             u"3"_s,
                             u"0123-45-6789"_s,
                             u"0123-45-6789"_s,
                             u"900-0000"_s,
                             u"瑠璃市桜木町1-20-30"_s,
                             QString()};
    for (int c = 0; c < 16; ++c)
        setColumnWidthTwips(m_grid, c, widths[c], widest[c]);
    m_grid->setColumnWidth(1, 2);
    applyMailColumn();

    fillAreas();
    fillGroupChoice();

    connect(m_area, &QComboBox::activated, this, [this] {
        m_filter.area = m_area->currentText();
        m_filter.district.clear();
        fillDistricts();
        extract();
    });
    connect(m_district, &QComboBox::activated, this, [this] {
        m_filter.district = m_district->currentText();
        extract();
    });
    connect(m_groupChoice, &QComboBox::activated, this, [this] {
        SchoolFilter& f = m_filter;
        if (m_municipalityMode) {
            f.municipality = m_groupChoice->currentText() == u"全"_s ? QString() : m_groupChoice->currentText();
            f.group.clear();
        } else {
            f.group = m_groupChoice->currentText();
            f.municipality.clear();
        }
        extract();
    });
    connect(pick, &QPushButton::clicked, this, &SchoolListWindow::extract);
    connect(all, &QPushButton::clicked, this, &SchoolListWindow::listAll);
    connect(m_readings, &QCheckBox::clicked, this, &SchoolListWindow::refill);
    connect(m_mail, &QCheckBox::clicked, this, &SchoolListWindow::applyMailColumn);
    connect(m_grid, &QTableView::clicked, this, [this](const QModelIndex& i) {
        if (i.column() == 2 && m_model->row(i.row()) && !m_model->row(i.row())->reading)
            m_model->toggleMark(i.row());
    });
    connect(m_grid, &QTableView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.column() != 2)
            on_B_EDIT_clicked();
    });
    connect(made[u"B_ADD"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_ADD_clicked);
    connect(made[u"B_EDIT"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_EDIT_clicked);
    connect(made[u"B_DEL"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_DEL_clicked);
    connect(made[u"B_ALL_SEL"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_ALL_SEL_clicked);
    connect(made[u"B_PRT"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_PRT_clicked);
    connect(made[u"B_PRT2"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_PRT2_clicked);
    connect(made[u"B_SC_PRT"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_SC_PRT_clicked);
    connect(made[u"B_NET"_s], &QPushButton::clicked, this, &SchoolListWindow::on_B_NET_clicked);
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
    m_area->addItems(store.municipalities.areaNames.isEmpty() ? store.places.areaNamesBC
                                                              : store.municipalities.areaNames);
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
    const bool mail = m_mail->isChecked();
    m_grid->setColumnHidden(13, mail);
    m_grid->setColumnHidden(14, mail);
    m_grid->setColumnHidden(15, !mail);
    if (mail)
        setColumnWidthTwips(m_grid, 15, 4300, u"school1234567@example.jp"_s);
    m_model->setShowMail(mail);
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
    const int kinds = (m_elementary->isChecked() ? 1 : 0) | (m_junior->isChecked() ? 2 : 0) |
                      (m_special->isChecked() ? 4 : 0);
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

void SchoolListWindow::on_B_ADD_clicked()
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

void SchoolListWindow::on_B_EDIT_clicked()
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

void SchoolListWindow::on_B_DEL_clicked()
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

void SchoolListWindow::on_B_ALL_SEL_clicked()
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
    m_model->refreshAll();
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

void SchoolListWindow::on_B_PRT_clicked()
{
    if (!anyMark()) {
        m_context.notifier.tell(u"印刷データが選択されていません"_s, MessageIcon::Warning);
        return;
    }
    if (openLabels)
        openLabels();
}

void SchoolListWindow::on_B_PRT2_clicked()
{
    if (!anyMark()) {
        m_context.notifier.tell(u"選択データが有りません"_s, MessageIcon::Warning);
        return;
    }
    if (m_context.notifier.askYesNo(u"選択データの印刷をします"_s))
        printWithDialogs(m_context, newPrintRequest(m_context.store, PrintJobCode::SurveyForms), this);
}

void SchoolListWindow::on_B_NET_clicked()
{
    if (m_model->rowCount() > 0 && openNetwork)
        openNetwork();
}

void SchoolListWindow::on_B_SC_PRT_clicked()
{
    printWithDialogs(m_context,
                     newPrintRequest(m_context.store, PrintJobCode::SchoolNames,
                                     [](PrintJobContext& c) { printSchoolNameSheet(c); }),
                     this);
}
