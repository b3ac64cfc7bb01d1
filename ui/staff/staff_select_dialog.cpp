#include "staff_select_dialog.h"

#include "app_context.h"
#include "find_bar.h"
#include "grid_columns.h"
#include "periods.h"
#include "reference_data.h"
#include "staff_rules.h"
#include "widgets.h"
#include "window_position.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

using namespace Qt::StringLiterals;

find_text::RowKeys staffRowKeys(const RosterStore& store, int staffRow)
{
    if (staffRow < 0 || staffRow >= store.staffCount())
        return find_text::RowKeys();
    const StaffRecord& s = store.staff[size_t(staffRow)];
    return find_text::RowKeys{{s.name, s.reading}, {QString::number(s.code)}};
}

namespace {
constexpr std::array<ColumnSpec, size_t(StaffSelectColumn::Count)> kColumns{{
    {u"NO", kAlignRight, 380, widest.rowNumber},
    {u"氏名", kAlignLeft, 1500, widest.name},
    {u"コード", kAlignLeft, 900, widest.staffCode},
    {u"職名", kAlignCentre, 1000, widest.jobTitle},
    {u"級", kAlignRight, 300, widest.grade},
    {u"号", kAlignRight, 400, widest.payStep},
    {u"性", kAlignCentre, 300, widest.sex},
    {u"生年月日", kAlignLeft, 950, widest.eraDate},
    {u"歳", kAlignRight, 300, u"60"},
}};
} // namespace

StaffSelectModel::StaffSelectModel(const RosterStore& store, QObject* parent)
    : ColumnTableModel(kColumns, parent),
      m_store(store)
{
}

void StaffSelectModel::setFilter(bool unpostedOnly, const QString& jobTitle, const QString& name)
{
    beginResetModel();
    m_rows.clear();
    const QString title = staff_rules::compactTitle(jobTitle);
    const QString part = name.trimmed();
    for (int i = 0; i < m_store.staffCount(); ++i) {
        const StaffRecord& s = m_store.staff[size_t(i)];
        if (unpostedOnly && s.schoolCode > 0)
            continue;
        if (!title.isEmpty() && staff_rules::compactTitle(s.jobTitle) != title)
            continue;
        if (!part.isEmpty() && !s.name.contains(part))
            continue;
        m_rows.push_back(i);
    }
    endResetModel();
}

int StaffSelectModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant StaffSelectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const StaffRecord& s = m_store.staff[size_t(m_rows[size_t(index.row())])];
    if (role == Qt::TextAlignmentRole)
        return cellAlignment(index.column());
    if (role != Qt::DisplayRole)
        return {};
    switch (StaffSelectColumn(index.column())) {
    case StaffSelectColumn::No: return index.row() + 1;
    case StaffSelectColumn::Name: return s.name;
    case StaffSelectColumn::Code: return QString::number(s.code);
    case StaffSelectColumn::JobTitle: return s.jobTitle;
    case StaffSelectColumn::Grade: return QString::number(s.grade).rightJustified(2, u' ');
    case StaffSelectColumn::PayStep: return s.payStep.trimmed();
    case StaffSelectColumn::Sex: return s.sex == 0 ? u"男"_s : u"女"_s;
    case StaffSelectColumn::BirthDate:
        return s.birthDate.isSet() ? formatEraDate(s.birthDate, u"g ee mm dd"_s) : QString();
    case StaffSelectColumn::Age:
        return s.ageYears > 0 ? QString::number(s.ageYears).rightJustified(2, u' ') : QString();
    case StaffSelectColumn::Count: break;
    }
    return {};
}

StaffSelectDialog::StaffSelectDialog(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent), m_context(context)
{
    setObjectName(u"SELECT_F"_s);
    setWindowTitle(u"職員選択"_s);
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFilterRow());
    layout->addWidget(m_grid, 1);
    layout->addLayout(buildButtonRow());

    m_unposted->setChecked(true);
    context.session.presetCode = -1;
    connect(m_unposted, &QCheckBox::toggled, this, &StaffSelectDialog::refresh);
    connect(m_jobTitle, &QComboBox::currentTextChanged, this, &StaffSelectDialog::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &StaffSelectDialog::refresh);
    connect(m_grid, &QTableView::doubleClicked, this, &StaffSelectDialog::pickSelected);
    connect(m_ok, &QPushButton::clicked, this, &StaffSelectDialog::pickSelected);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
    resize(sizeHint().width(), 480);
}

void StaffSelectDialog::buildGrid()
{
    m_model = new StaffSelectModel(m_context.store, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::SingleSelection);
    const int total = applyColumns(m_grid, m_model->columns());
    m_grid->setMinimumWidth(std::max(twips::toPixels(6400), total) + 24);
    m_grid->setMinimumHeight(300);
}

// 職名, 職員氏名 and 学校無し表示.
QHBoxLayout* StaffSelectDialog::buildFilterRow()
{
    m_jobTitle = makeChoice(u"SN_LIST"_s, this);
    m_jobTitle->addItem(QString());
    m_jobTitle->addItems(jobTitles());
    m_name = makeEdit(u"S_NAME"_s, this);
    m_unposted = makeCheck(u"CHK1"_s, u"学校無し表示"_s, this);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(u"職名"_s, this));
    filters->addWidget(m_jobTitle);
    filters->addSpacing(8);
    filters->addWidget(new QLabel(u"職員氏名"_s, this));
    filters->addWidget(m_name);
    filters->addWidget(m_unposted);
    return filters;
}

// The find box, OK and ｷｬﾝｾﾙ.
QHBoxLayout* StaffSelectDialog::buildButtonRow()
{
    m_ok = new QPushButton(u"OK"_s, this);
    m_ok->setObjectName(u"B_OK"_s);
    m_cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    m_cancel->setObjectName(u"B_ESC"_s);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new FindBar(
        this, m_grid, [this](int gridRow) { return staffRowKeys(m_context.store, m_model->staffRow(gridRow)); }));
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    return buttons;
}

void StaffSelectDialog::refresh()
{
    m_model->setFilter(m_unposted->isChecked(), m_jobTitle->currentText(), m_name->text());
    if (m_model->rowCount() > 0)
        m_grid->selectRow(0);
}

void StaffSelectDialog::showEvent(QShowEvent* event)
{
    RememberedDialog::showEvent(event);
    if (!m_scrolled) {
        m_scrolled = true;
        const int top = m_context.session.selectTopRow;
        if (top > 0 && top < m_model->rowCount())
            m_grid->scrollTo(m_model->index(top, 0), QAbstractItemView::PositionAtTop);
    }
}

void StaffSelectDialog::pickSelected()
{
    const int row = m_model->staffRow(m_grid->currentIndex().row());
    if (row < 0) {
        m_context.notifier.tell(u"職員を選んでください"_s, MessageIcon::Information);
        return;
    }
    m_picked = m_context.store.staff[size_t(row)].code;
    m_context.session.presetCode = m_picked;
    accept();
}

void StaffSelectDialog::done(int result)
{
    m_context.session.selectTopRow = m_grid->rowAt(0) >= 0 ? m_grid->rowAt(0) : 0;
    RememberedDialog::done(result);
}

CodeChangeDialog::CodeChangeDialog(AppContext& context, int position, QWidget* parent)
    : RememberedDialog(context.positions, parent), m_context(context)
{
    setObjectName(u"CODE_CHG_F"_s);
    setWindowTitle(u"氏名・コード変更"_s);
    RosterStore& store = context.store;
    store.dirty = 1;
    QString oldName;
    {
        const int row = context.session.staffRowAt(store, position);
        if (row >= 0) {
            m_oldCode = store.staff[size_t(row)].code;
            oldName = store.staff[size_t(row)].name;
        }
    }
    auto* oldNameLabel = new QLabel(oldName, this);
    oldNameLabel->setObjectName(u"OLD_NAME"_s);
    m_oldCodeLabel = new QLabel(QString::number(m_oldCode), this);
    m_oldCodeLabel->setObjectName(u"OLD_CODE"_s);
    for (QLabel* l : {oldNameLabel, m_oldCodeLabel}) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(120);
    }
    m_newName = makeEdit(u"NEW_NAME"_s, this, 0, 40);
    m_newName->setText(oldName);
    m_newCode = makeEdit(u"NEW_CODE"_s, this, 0, 8);
    m_newCode->setText(QString::number(m_oldCode));
    m_ok = new QPushButton(u"実行"_s, this);
    m_ok->setObjectName(u"B_OK"_s);
    m_close = new QPushButton(u"閉じる"_s, this);
    m_close->setObjectName(u"B_CLOSE"_s);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"旧 氏名・コード"_s, this), 0, 0, 1, 2);
    grid->addWidget(oldNameLabel, 1, 0);
    grid->addWidget(m_oldCodeLabel, 1, 1);
    grid->addWidget(new QLabel(u"新 氏名・コード"_s, this), 2, 0, 1, 2);
    grid->addWidget(m_newName, 3, 0);
    grid->addWidget(m_newCode, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_close);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(m_ok, &QPushButton::clicked, this, &CodeChangeDialog::changeNameAndCode);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void CodeChangeDialog::changeNameAndCode()
{
    // A code that is empty, 0 or not a number would empty the member's post
    // (and lose the clerks behind it): refuse it here, where it is typed.
    const std::optional<qint32> code = staff_rules::parseStaffCode(m_newCode->text());
    if (!code) {
        m_context.notifier.tell(u"職員コードは1以上の数字で入力してください"_s, MessageIcon::Warning);
        m_newCode->setFocus();
        m_newCode->selectAll();
        return;
    }
    if (*code != m_oldCode && m_context.store.findStaffByCode(*code) >= 0) {
        // Two members with one code cannot both be found by it: one of them
        // would lose the post.
        m_context.notifier.tell(u"その職員コードは既に使われています"_s, MessageIcon::Warning);
        m_newCode->setFocus();
        m_newCode->selectAll();
        return;
    }
    if (!staff_rules::changeNameAndCode(m_context.store, m_oldCode, *code, m_newName->text())) {
        m_context.notifier.tell(u"変更する職員が有りません"_s, MessageIcon::Warning);
        return;
    }
    accept();
}
