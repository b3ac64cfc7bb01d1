#include "staff_select_dialog.h"

#include "app_context.h"
#include "find_bar.h"
#include "grid_columns.h"
#include "periods.h"
#include "reference_data.h"
#include "staff_rules.h"
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

using namespace Qt::StringLiterals;

StaffSelectModel::StaffSelectModel(const RosterStore& store, QObject* parent)
    : QAbstractTableModel(parent), m_store(store)
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

int StaffSelectModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 9;
}

QVariant StaffSelectModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList headers{u"NO"_s, u"氏名"_s, u"コード"_s, u"職名"_s, u"級"_s,
                                     u"号"_s, u"性"_s,   u"生年月日"_s, u"歳"_s};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headers.value(section);
    return {};
}

QVariant StaffSelectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_rows.size())
        return {};
    const StaffRecord& s = m_store.staff[size_t(m_rows[size_t(index.row())])];
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case 0: case 4: case 5: case 8: return int(Qt::AlignRight | Qt::AlignVCenter);
        case 3: case 6: return int(Qt::AlignCenter);
        default: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0: return index.row() + 1;
    case 1: return s.name;
    case 2: return QString::number(s.code);
    case 3: return s.jobTitle;
    case 4: return QString::number(s.grade).rightJustified(2, u' ');
    case 5: return s.payStep.trimmed();
    case 6: return s.sex == 0 ? u"男"_s : u"女"_s;
    case 7: return s.birthDate.isSet() ? formatEraDate(s.birthDate, u"g ee mm dd"_s) : QString();
    case 8: return s.ageYears > 0 ? QString::number(s.ageYears).rightJustified(2, u' ') : QString();
    }
    return {};
}

StaffSelectDialog::StaffSelectDialog(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent), m_context(context)
{
    setObjectName(u"SELECT_F"_s);
    setWindowTitle(u"職員選択"_s);
    m_model = new StaffSelectModel(context.store, this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::SingleSelection);
    const int total = setColumnWidthsTwips(m_grid, {380, 1500, 900, 1000, 300, 400, 300, 950, 300},
                                           {u"1500"_s, u"長谷川　佐和子"_s, u"20260001"_s, u"市町村職員"_s, u"10"_s,
                                            u"T10"_s, u"女"_s, u"H 31 04 30"_s, u"60"_s});
    m_grid->setMinimumWidth(std::max(twips::toPixels(6400), total) + 24);
    m_grid->setMinimumHeight(300);

    auto* titleLabel = new QLabel(u"職名"_s, this);
    m_jobTitle = new QComboBox(this);
    m_jobTitle->setObjectName(u"SN_LIST"_s);
    m_jobTitle->addItem(QString());
    m_jobTitle->addItems(jobTitles());
    m_name = new QLineEdit(this);
    m_name->setObjectName(u"S_NAME"_s);
    m_unposted = new QCheckBox(u"学校無し表示"_s, this);
    m_unposted->setObjectName(u"CHK1"_s);
    auto* ok = new QPushButton(u"OK"_s, this);
    ok->setObjectName(u"B_OK"_s);
    auto* cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, this);
    cancel->setObjectName(u"B_ESC"_s);

    auto* filters = new QHBoxLayout;
    filters->addWidget(titleLabel);
    filters->addWidget(m_jobTitle);
    filters->addSpacing(8);
    filters->addWidget(new QLabel(u"職員氏名"_s, this));
    filters->addWidget(m_name);
    filters->addWidget(m_unposted);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new FindBar(this, m_grid, [this](int gridRow) {
        const int row = m_model->staffRow(gridRow);
        if (row < 0 || row >= m_context.store.staffCount())
            return find_text::RowKeys();
        const StaffRecord& s = m_context.store.staff[size_t(row)];
        return find_text::RowKeys{{s.name, s.reading}, {QString::number(s.code)}};
    }));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    m_unposted->setChecked(true);
    context.session.presetCode = -1;
    connect(m_unposted, &QCheckBox::toggled, this, &StaffSelectDialog::refresh);
    connect(m_jobTitle, &QComboBox::currentTextChanged, this, &StaffSelectDialog::refresh);
    connect(m_name, &QLineEdit::textChanged, this, &StaffSelectDialog::refresh);
    connect(m_grid, &QTableView::doubleClicked, this, &StaffSelectDialog::on_B_OK_clicked);
    connect(ok, &QPushButton::clicked, this, &StaffSelectDialog::on_B_OK_clicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
    resize(sizeHint().width(), 480);
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

void StaffSelectDialog::on_B_OK_clicked()
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
    auto* oldCodeLabel = new QLabel(QString::number(m_oldCode), this);
    oldCodeLabel->setObjectName(u"OLD_CODE"_s);
    for (QLabel* l : {oldNameLabel, oldCodeLabel}) {
        l->setFrameShape(QFrame::StyledPanel);
        l->setMinimumWidth(120);
    }
    m_newName = new QLineEdit(oldName, this);
    m_newName->setObjectName(u"NEW_NAME"_s);
    m_newName->setMaxLength(40);
    m_newCode = new QLineEdit(QString::number(m_oldCode), this);
    m_newCode->setObjectName(u"NEW_CODE"_s);
    m_newCode->setMaxLength(8);
    auto* ok = new QPushButton(u"実行"_s, this);
    ok->setObjectName(u"B_OK"_s);
    auto* close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"B_CLOSE"_s);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(u"旧 氏名・コード"_s, this), 0, 0, 1, 2);
    grid->addWidget(oldNameLabel, 1, 0);
    grid->addWidget(oldCodeLabel, 1, 1);
    grid->addWidget(new QLabel(u"新 氏名・コード"_s, this), 2, 0, 1, 2);
    grid->addWidget(m_newName, 3, 0);
    grid->addWidget(m_newCode, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(close);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &CodeChangeDialog::on_B_OK_clicked);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CodeChangeDialog::on_B_OK_clicked()
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
