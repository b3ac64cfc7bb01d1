#include "transfer_window.h"

#include "app_context.h"
#include "era_years.h"
#include "grid_columns.h"
#include "periods.h"
#include "post_status.h"
#include "school_list.h"
#include "wait_cursor.h"
#include "widgets.h"
#include "window_position.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

using namespace Qt::StringLiterals;

// --- 所属選択 ----------------------------------------------------------------

namespace {
constexpr std::array<ColumnSpec, size_t(TransferSelectColumn::Count)> kSelectColumns{{
    {u"NO", kAlignRight, 520, widest.rowNumber},
    {u"氏　名", kAlignLeft, 1600, widest.name},
    {u"市町村名", kAlignLeft, 1100, widest.municipality},
    {u"学校名", kAlignLeft, 1500, widest.schoolName},
    {u"学校区分", kAlignLeft, 900, widest.schoolKind},
}};

constexpr std::array<ColumnSpec, size_t(TransferColumn::Count)> kTransferColumns{{
    {u"NO", kAlignRight, 550, u"100"},
    {u"氏名", kAlignLeft, 1600, widest.name},
    {u"コード", kAlignRight, 930, widest.staffCode},
    {u"旧所属", kAlignLeft, 3070, widest.fullSchoolName},
    {u"新所属", kAlignLeft, 3070, widest.fullSchoolName},
}};
} // namespace

TransferSelectModel::TransferSelectModel(const RosterStore& store, QObject* parent)
    : ColumnTableModel(kSelectColumns, parent),
      m_store(store)
{
}

void TransferSelectModel::fill(const std::vector<int>& schools, bool withPosts)
{
    beginResetModel();
    m_rows.clear();
    for (int s : schools) {
        if (s < 0 || s >= m_store.schoolCount())
            continue;
        const SchoolRecord& school = m_store.schools[size_t(s)];
        if (!withPosts) {
            m_rows.push_back({s, 0});
            continue;
        }
        // The school's row carries its first filled post, wherever it is, so
        // every clerk of the school can be picked.
        int first = 0;
        while (first < cap::kClerkSlots && school.clerks[size_t(first)].staffCode <= 0)
            ++first;
        m_rows.push_back({s, first < cap::kClerkSlots ? first : 0});
        for (int p = first + 1; p < cap::kClerkSlots; ++p)
            if (school.clerks[size_t(p)].staffCode > 0)
                m_rows.push_back({s, p});
    }
    endResetModel();
}

int TransferSelectModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant TransferSelectModel::data(const QModelIndex& index, int role) const
{
    const Row* r = row(index.row());
    if (!r || !index.isValid() || r->school < 0 || r->school >= m_store.schoolCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return cellAlignment(index.column());
    if (role != Qt::DisplayRole)
        return {};
    const SchoolRecord& s = m_store.schools[size_t(r->school)];
    switch (TransferSelectColumn(index.column())) {
    case TransferSelectColumn::No: return index.row() + 1;
    case TransferSelectColumn::ClerkName: return s.clerks[size_t(r->post)].staffName;
    case TransferSelectColumn::Municipality: return isSchoolRow(index.row()) ? s.municipality : QString();
    case TransferSelectColumn::SchoolName: return isSchoolRow(index.row()) ? s.name : QString();
    case TransferSelectColumn::Kind: return isSchoolRow(index.row()) ? s.kindText : QString();
    case TransferSelectColumn::Count: break;
    }
    return {};
}

TransferSelectDialog::TransferSelectDialog(AppContext& context, TransferPick& pick, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_pick(pick)
{
    setObjectName(u"MOVE_SEL"_s);
    setWindowTitle(u"所属選択"_s);
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFilterRow());
    layout->addWidget(m_grid, 1);
    layout->addLayout(buildButtonRow());
    connectControls();
    restoreLastChoice();
    resize(sizeHint().width(), 520);
}

void TransferSelectDialog::buildGrid()
{
    m_model = new TransferSelectModel(m_context.store, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::ExtendedSelection);
    std::vector<ColumnSpec> columns = m_model->columns();
    // Picking a school to join needs no names.
    if (m_pick.mode == 1)
        columns[size_t(TransferSelectColumn::ClerkName)].twips = 0;
    m_grid->setMinimumWidth(applyColumns(m_grid, columns) + 24);
    m_grid->setMinimumHeight(320);
}

// 地域 (prefecture-level users) with its districts, グループ名, the school
// kinds and 抽出.
QHBoxLayout* TransferSelectDialog::buildFilterRow()
{
    const RosterStore& store = m_context.store;
    auto* areaLabel = new QLabel(u"地域"_s, this);
    m_area = makeChoice(u"CTV_SEL0"_s, this, 120);
    m_subArea = makeChoice(u"CTV_SEL1"_s, this, 120);
    m_group = makeChoice(u"GRP_SEL"_s, this, 120);
    m_kinds = SchoolKindChecks::make(this);
    m_extract = makeButton(u"B_PICUP"_s, u"抽出"_s, this);

    m_area->addItem(u"全"_s);
    m_area->addItems(shownAreaNames(store));
    m_area->addItem(otherChoiceName());
    m_group->addItem(u"全"_s);
    m_group->addItems(store.groupNames);
    m_group->addItem(otherChoiceName());
    m_group->setCurrentIndex(std::max(0, m_group->findText(m_pick.filter.group)));
    if (!store.prefectureLevel()) {
        areaLabel->setVisible(false);
        m_area->setVisible(false);
    }
    m_subArea->setVisible(false);

    auto* filters = new QHBoxLayout;
    filters->addWidget(areaLabel);
    filters->addWidget(m_area);
    filters->addWidget(m_subArea);
    filters->addWidget(new QLabel(u"グループ名"_s, this));
    filters->addWidget(m_group);
    filters->addWidget(m_kinds.elementary);
    filters->addWidget(m_kinds.junior);
    filters->addWidget(m_kinds.special);
    filters->addWidget(m_extract);
    filters->addStretch();
    return filters;
}

QHBoxLayout* TransferSelectDialog::buildButtonRow()
{
    m_ok = makeButton(u"B_OK"_s, u"OK"_s, this);
    m_cancel = makeButton(u"B_ESC"_s, u"キャンセル"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    return buttons;
}

void TransferSelectDialog::connectControls()
{
    connect(m_area, &QComboBox::activated, this, &TransferSelectDialog::chooseArea);
    connect(m_subArea, &QComboBox::activated, this, &TransferSelectDialog::chooseDistrict);
    connect(m_group, &QComboBox::activated, this, &TransferSelectDialog::chooseGroup);
    connect(m_extract, &QPushButton::clicked, this, &TransferSelectDialog::extract);
    connect(m_ok, &QPushButton::clicked, this, &TransferSelectDialog::pickSelected);
    connect(m_cancel, &QPushButton::clicked, this, &TransferSelectDialog::cancelPick);
    connect(m_grid, &QTableView::doubleClicked, this, &TransferSelectDialog::pickSelected);
}

void TransferSelectDialog::restoreLastChoice()
{
    const SchoolFilter& f = m_pick.filter;
    if (!f.area.isEmpty()) {
        m_area->setCurrentIndex(std::max(0, m_area->findText(f.area)));
        const QString district = f.district;
        fillSubAreas();
        if (!district.isEmpty() && m_subArea->findText(district) >= 0) {
            m_subArea->setCurrentIndex(m_subArea->findText(district));
            m_pick.filter.district = district;
            m_extract->setEnabled(true);
        }
    }
    m_kinds.show(f.kinds);
    if (!f.area.isEmpty() && m_extract->isEnabled() && f.kinds != 0)
        extract();
}

void TransferSelectDialog::fillSubAreas()
{
    m_subArea->clear();
    m_pick.filter.district.clear();
    m_extract->setEnabled(true);
    const DistrictSubList* sub = m_context.store.places.subListFor(m_area->currentText());
    if (sub) {
        m_subArea->addItems(sub->districts);
        m_subArea->setCurrentIndex(-1);
        // Some areas are too large to list at once: a district first.
        m_extract->setEnabled(!sub->mustChoose);
    }
    m_subArea->setVisible(sub != nullptr && !m_area->isHidden());
}

void TransferSelectDialog::chooseArea()
{
    m_pick.filter.area = m_area->currentText();
    fillSubAreas();
}

void TransferSelectDialog::chooseDistrict()
{
    m_pick.filter.district = m_subArea->currentText();
    m_extract->setEnabled(true);
}

// The group chosen here is the group the extraction uses.
void TransferSelectDialog::chooseGroup()
{
    m_pick.filter.group = m_group->currentText();
    m_pick.filter.municipality.clear();
}

void TransferSelectDialog::extract()
{
    const int kinds = m_kinds.kinds();
    if (kinds == 0) {
        m_context.notifier.tell(u"学校種を選択してください"_s, MessageIcon::Warning);
        return;
    }
    WaitCursor wait;
    SchoolFilter& f = m_pick.filter;
    f.kinds = kinds;
    f.officers = false;
    if (f.area.isEmpty())
        f.area = m_area->currentText(); // 全 until an area is chosen
    m_model->fill(school_list::filteredSchools(m_context.store, f), m_pick.mode == 0);
    if (m_model->rowCount() > 0) {
        m_grid->scrollToTop();
        m_grid->selectRow(0);
    }
}

void TransferSelectDialog::pickSelected()
{
    // The last of the selected rows.
    int last = -1;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows())
        last = std::max(last, i.row());
    if (last < 0)
        last = m_grid->currentIndex().row();
    const TransferSelectModel::Row* r = m_model->row(last);
    if (!r) {
        cancelPick();
        return;
    }
    if (m_pick.mode == 1) {
        m_pick.newSchool = r->school;
    } else {
        m_pick.oldSchool = r->school;
        m_pick.oldPost = r->post;
    }
    accept();
}

void TransferSelectDialog::cancelPick()
{
    if (m_pick.mode == 1) {
        m_pick.newSchool = -1;
    } else {
        m_pick.oldSchool = -1;
        m_pick.oldPost = -1;
    }
    reject();
}

// --- 人事異動 ------------------------------------------------------------------

TransferWindow::TransferWindow(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"MOVE_F"_s);
    setWindowTitle(u"人事異動"_s);
    // 人事異動 starts with no area and no kind chosen, in a filter of its own;
    // the group is the one the school list last used.
    SchoolFilter& f = m_pick.filter;
    f = context.session.schoolFilter;
    f.area.clear();
    f.district.clear();
    f.kinds = 0;
    f.narrowed = false;

    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildPickRows());
    layout->addLayout(buildDateRow());
    layout->addLayout(buildButtonRow());
    layout->addWidget(m_grid, 1);

    runSelector = [this](TransferPick& pick) {
        TransferSelectDialog dialog(m_context, pick, this);
        dialog.exec();
    };
    connectControls();
}

void TransferWindow::buildGrid()
{
    m_grid = new QTableWidget(0, int(TransferColumn::Count), this);
    QStringList headers;
    for (const ColumnSpec& c : kTransferColumns)
        headers << c.header.toString();
    m_grid->setHorizontalHeaderLabels(headers);
    setUpRowGrid(m_grid, QAbstractItemView::SingleSelection);
    m_grid->setMinimumWidth(applyColumns(m_grid, kTransferColumns) + 24);
    m_grid->setMinimumHeight(220);
}

// 職員名, 旧所属 and 新所属 with their 参照 buttons.
QGridLayout* TransferWindow::buildPickRows()
{
    auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(twips::toPixels(3600));
        return l;
    };
    m_name = label(u"S_NAME"_s);
    m_oldName = label(u"OLD_NAME"_s);
    m_newName = label(u"NEW_NAME"_s);
    m_pickOld = makeButton(u"B_PICUP(0)"_s, u"参照"_s, this);
    m_pickNew = makeButton(u"B_PICUP(1)"_s, u"参照"_s, this);
    auto* form = new QGridLayout;
    form->addWidget(new QLabel(u"職員名"_s, this), 0, 0);
    form->addWidget(m_name, 0, 1);
    form->addWidget(new QLabel(u"旧所属"_s, this), 1, 0);
    form->addWidget(m_oldName, 1, 1);
    form->addWidget(m_pickOld, 1, 2);
    form->addWidget(new QLabel(u"新所属"_s, this), 2, 0);
    form->addWidget(m_newName, 2, 1);
    form->addWidget(m_pickNew, 2, 2);
    form->setColumnStretch(3, 1);
    return form;
}

// The transfer date: April 1 of this fiscal year, in the era it falls in;
// the year typed into the box counts in that era.
QHBoxLayout* TransferWindow::buildDateRow()
{
    const Date firstDay = fiscalYearFirstDay(transfers::fiscalHeiseiYear(QDate::currentDate()));
    const std::optional<EraYear> era = eraYearOf(firstDay);
    m_dateEraBase = era ? era->base : 0;
    m_dateLabel = new QLabel(u"異動日 "_s + (era ? era->name : QString()), this);
    m_dateLabel->setObjectName(u"Label_DATE"_s);
    m_dateLabel->setToolTip(u"ダブルクリックで今年度の異動記録を読み込みます"_s);
    m_dateLabel->installEventFilter(this);
    m_year = makeNumberBox(u"MY"_s, this, 40, 2);
    m_month = makeNumberBox(u"MM"_s, this, 30, 2);
    m_day = makeNumberBox(u"MD"_s, this, 30, 2);
    // What was picked (school rows, the post, the button pressed), in hidden boxes.
    m_oldNo = makeEdit(u"OLD_NO"_s, this);
    m_postNo = makeEdit(u"J_NO"_s, this);
    m_newNo = makeEdit(u"NEW_NO"_s, this);
    m_buttonNo = makeEdit(u"B_NO"_s, this);
    for (QLineEdit* hidden : {m_oldNo, m_postNo, m_newNo, m_buttonNo})
        hidden->setVisible(false);
    m_year->setText(QString::number(era ? era->year : firstDay.toQDate().year()));
    m_month->setText(u"4"_s);
    m_day->setText(u"1"_s);

    auto* date = new QHBoxLayout;
    date->addWidget(m_dateLabel);
    date->addWidget(m_year);
    date->addWidget(new QLabel(u"年"_s, this));
    date->addWidget(m_month);
    date->addWidget(new QLabel(u"月"_s, this));
    date->addWidget(m_day);
    date->addWidget(new QLabel(u"日"_s, this));
    date->addStretch();
    return date;
}

QHBoxLayout* TransferWindow::buildButtonRow()
{
    m_add = makeButton(u"B_ADD"_s, u"追加"_s, this);
    m_delete = makeButton(u"B_DEL"_s, u"削除"_s, this);
    m_start = makeButton(u"B_START"_s, u"開始"_s, this);
    m_close = makeButton(u"B_CLOSE"_s, u"閉じる"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(m_start);
    buttons->addWidget(m_close);
    return buttons;
}

void TransferWindow::connectControls()
{
    connect(m_pickOld, &QPushButton::clicked, this, &TransferWindow::pickOld);
    connect(m_pickNew, &QPushButton::clicked, this, [this] { pickNew(true); });
    connect(m_add, &QPushButton::clicked, this, &TransferWindow::addTransfer);
    connect(m_delete, &QPushButton::clicked, this, &TransferWindow::removeTransfer);
    connect(m_start, &QPushButton::clicked, this, &TransferWindow::carryOutTransfers);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

bool TransferWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_dateLabel && event->type() == QEvent::MouseButtonDblClick) {
        loadLog();
        return true;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void TransferWindow::showPick()
{
    m_oldNo->setText(m_pick.oldSchool >= 0 ? QString::number(m_pick.oldSchool) : QString());
    m_postNo->setText(m_pick.oldPost >= 0 ? QString::number(m_pick.oldPost) : QString());
    m_newNo->setText(m_pick.newSchool >= 0 ? QString::number(m_pick.newSchool) : QString());
}

void TransferWindow::pickOld()
{
    m_buttonNo->setText(u"0"_s);
    m_pick.mode = 0;
    runSelector(m_pick);
    const RosterStore& store = m_context.store;
    if (m_pick.oldSchool >= 0 && m_pick.oldSchool < store.schoolCount() && m_pick.oldPost >= 0 &&
        m_pick.oldPost < cap::kClerkSlots) {
        const SchoolRecord& s = store.schools[size_t(m_pick.oldSchool)];
        m_oldName->setText(s.fullName());
        m_name->setText(s.clerks[size_t(m_pick.oldPost)].staffName);
        showPick();
        if (m_newName->text().isEmpty())
            pickNew(false);
    } else {
        m_oldName->clear();
        m_name->clear();
        showPick();
    }
}

void TransferWindow::pickNew(bool direct)
{
    m_buttonNo->setText(u"1"_s);
    m_pick.mode = 1;
    runSelector(m_pick);
    const RosterStore& store = m_context.store;
    if (m_pick.newSchool >= 0 && m_pick.newSchool < store.schoolCount()) {
        m_newName->setText(store.schools[size_t(m_pick.newSchool)].fullName());
    } else {
        m_newName->clear();
        if (direct)
            m_name->clear();
    }
    showPick();
}

void TransferWindow::addTransfer()
{
    const RosterStore& store = m_context.store;
    if (m_oldName->text().isEmpty() || m_pick.oldSchool < 0 || m_pick.oldSchool >= store.schoolCount() ||
        m_pick.oldPost < 0 || m_pick.oldPost >= cap::kClerkSlots) {
        m_context.notifier.tell(u"旧所属を指定されていません"_s, MessageIcon::Warning);
        return;
    }
    const SchoolRecord& old = store.schools[size_t(m_pick.oldSchool)];
    TransferEntry e;
    e.staffCode = old.clerks[size_t(m_pick.oldPost)].staffCode;
    e.name = m_name->text();
    e.oldSchoolCode = old.code;
    e.oldSchoolName = m_oldName->text();
    if (e.staffCode <= 0) {
        m_context.notifier.tell(u"旧所属を指定されていません"_s, MessageIcon::Warning);
        return;
    }
    // One clerk can go to one school only: the same clerk twice in a batch
    // would end up posted in two schools.
    const bool twice = std::any_of(m_entries.begin(), m_entries.end(), [&e](const TransferEntry& o) {
        return !o.loggedDate && o.staffCode == e.staffCode;
    });
    if (twice) {
        m_context.notifier.tell(e.name + u"さんは既に異動の一覧に有ります"_s, MessageIcon::Warning);
        return;
    }
    if (!m_newName->text().isEmpty() && m_pick.newSchool >= 0 && m_pick.newSchool < store.schoolCount()) {
        e.newSchoolCode = store.schools[size_t(m_pick.newSchool)].code;
        e.newSchoolName = m_newName->text();
    }
    m_entries.push_back(e);
    rebuildGrid();
    m_name->clear();
    m_oldName->clear();
    m_newName->clear();
    const SchoolFilter filter = m_pick.filter;
    m_pick = TransferPick{};
    m_pick.filter = filter;
    showPick();
}

void TransferWindow::removeTransfer()
{
    const int row = m_grid->currentRow();
    if (row < 0 || size_t(row) >= m_entries.size())
        return;
    m_entries.erase(m_entries.begin() + row);
    rebuildGrid();
}

void TransferWindow::rebuildGrid()
{
    m_grid->setRowCount(int(m_entries.size()));
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const TransferEntry& e = m_entries[i];
        const QStringList cells{QString::number(i + 1), e.name, QString::number(e.staffCode), e.oldSchoolName,
                                e.newSchoolName};
        for (int c = 0; c < int(TransferColumn::Count); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setTextAlignment(kTransferColumns[size_t(c)].alignment);
            m_grid->setItem(int(i), c, item);
        }
    }
}

void TransferWindow::loadLog()
{
    const QString path = transfers::logFilePath(m_context.store);
    QString error;
    const auto log = transfers::readLog(path, &error);
    if (!log) {
        m_context.notifier.tell(u"異動記録を読み込めません"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                path + u"\n"_s + error);
        return;
    }
    // History first, then what this batch has collected so far.
    std::vector<TransferEntry> all = *log;
    for (const TransferEntry& e : m_entries)
        if (!e.loggedDate)
            all.push_back(e);
    m_entries = std::move(all);
    m_logLoaded = true;
    rebuildGrid();
}

void TransferWindow::carryOutTransfers()
{
    if (m_year->text().trimmed().isEmpty() || m_month->text().trimmed().isEmpty() ||
        m_day->text().trimmed().isEmpty()) {
        m_context.notifier.tell(u"異動日を設定してください"_s, MessageIcon::Warning);
        return;
    }
    RosterStore& store = m_context.store;
    for (int row : transfers::schoolsOverfilled(store, m_entries)) {
        m_context.notifier.tell(store.schools[size_t(row)].fullName() + u"\r\n事務職員は%1人までです"_s.arg(cap::kClerkSlots),
                                MessageIcon::Warning);
        return;
    }
    for (int row : transfers::schoolsToConfirm(store, m_entries)) {
        const QString text = store.schools[size_t(row)].fullName() + u"\r\n事務職員が複数になります良いですか"_s;
        if (!m_context.notifier.askYesNo(text))
            return;
    }
    const Date date =
        normalisedDate(m_dateEraBase + boxNumber(m_year->text()), boxNumber(m_month->text()), boxNumber(m_day->text()));
    if (!date.isSet()) {
        m_context.notifier.tell(u"異動日を設定してください"_s, MessageIcon::Warning);
        return;
    }
    {
        WaitCursor wait;
        transfers::applyBatch(store, m_entries, date);
    }
    emit rosterChanged();
    QString error;
    if (!transfers::writeLog(transfers::logFilePath(store), m_entries, date, m_logLoaded, &error))
        m_context.notifier.tell(u"異動記録を書き込めませんでした"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                error);
    accept();
}
