#include "officer_list_window.h"

#include "app_context.h"
#include "find_bar.h"
#include "grid_export.h"
#include "grid_columns.h"
#include "staff_editor.h"
#include "view_window.h"
#include "widgets.h"
#include "window_position.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
const QStringList kHeaders{u"NO"_s,         u"役職名"_s,     QString(),     u"地区名"_s,   u"氏名"_s,
                           u"学校名"_s,     u"ＴＥＬ"_s,     u"ＦＡＸ"_s,   u"郵便番号"_s, u"住所"_s,
                           u"自宅ＴＥＬ"_s, u"自宅ＦＡＸ"_s, u"携帯電話"_s, u"郵便番号"_s, u"住所"_s};
} // namespace

OfficerListModel::OfficerListModel(QObject* parent) : QAbstractTableModel(parent)
{
}

void OfficerListModel::setList(std::vector<OfficerEntry> list)
{
    m_list = std::move(list);
    setGroup(m_group);
}

void OfficerListModel::setGroup(const QString& group)
{
    beginResetModel();
    m_group = group;
    m_shown = officers::shownEntries(m_list, group);
    endResetModel();
}

int OfficerListModel::entryAt(int row) const
{
    return row >= 0 && size_t(row) < m_shown.size() ? m_shown[size_t(row)] : -1;
}

void OfficerListModel::refreshRow(int row)
{
    if (entryAt(row) >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int OfficerListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int OfficerListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(kHeaders.size());
}

QVariant OfficerListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return kHeaders.value(section);
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant OfficerListModel::data(const QModelIndex& index, int role) const
{
    const int i = entryAt(index.row());
    if (i < 0 || !index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == 0 ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const OfficerEntry& e = m_list[size_t(i)];
    switch (index.column()) {
    case 0: return index.row() + 1;
    case 1: return e.post1;
    case 2: return e.post2;
    case 3: return e.district;
    case 4: return e.name;
    case 5: return e.municipality + u"立"_s + e.schoolName;
    case 6: return e.schoolTel;
    case 7: return e.schoolFax;
    case 8: return e.schoolPostal;
    case 9: return e.schoolAddress;
    case 10: return e.homeTel;
    case 11: return e.homeFax;
    case 12: return e.mobile;
    case 13: return e.homePostal;
    case 14: return e.homeAddress1;
    }
    return {};
}

OfficerListWindow::OfficerListWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"YAKUIN_F"_s);
    setWindowTitle(u"役員リスト"_s);

    m_model = new OfficerListModel(this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::SingleSelection);

    m_group = new QComboBox(this);
    m_group->setObjectName(u"YAKU_LIST"_s);
    m_group->addItems(officers::postGroups());
    m_school = new QRadioButton(u"学校住所TEL"_s, this);
    m_school->setObjectName(u"OPT_SC"_s);
    m_home = new QRadioButton(u"自宅住所TEL"_s, this);
    m_home->setObjectName(u"OPT_HOME"_s);
    auto* contacts = new QButtonGroup(this);
    contacts->addButton(m_school);
    contacts->addButton(m_home);
    m_homeChoice = new QFrame(this);
    m_homeChoice->setObjectName(u"Frame1"_s);
    m_homeChoice->setFrameShape(QFrame::StyledPanel);
    m_mobile = new QRadioButton(u"携帯電話"_s, m_homeChoice);
    m_mobile->setObjectName(u"OPT_CTEL"_s);
    m_fax = new QRadioButton(u"FAX"_s, m_homeChoice);
    m_fax->setObjectName(u"OPT_FAX"_s);
    auto* homeRow = new QHBoxLayout(m_homeChoice);
    homeRow->setContentsMargins(6, 2, 6, 2);
    homeRow->addWidget(m_mobile);
    homeRow->addWidget(m_fax);
    m_school->setChecked(true);
    m_mobile->setChecked(true);
    m_homeChoice->setVisible(false);
    auto* edit = makeButton(u"B_EDIT"_s, u"編集"_s, this);
    auto* network = makeButton(u"B_NET"_s, u"連絡網"_s, this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_group);
    top->addSpacing(12);
    top->addWidget(m_school);
    top->addWidget(m_home);
    top->addWidget(m_homeChoice);
    top->addSpacing(12);
    top->addWidget(edit);
    top->addWidget(network);
    auto* sheet = makeButton(u"B_SHEET"_s, u"表計算"_s, this);
    sheet->setToolTip(u"一覧を表示のまま表計算ブック (.xlsx) か CSV に書き出します"_s);
    connect(sheet, &QPushButton::clicked, this, [this] { grid_export::ask(m_context, this, m_grid, windowTitle()); });
    top->addWidget(sheet);
    top->addStretch();
    top->addWidget(new FindBar(this, m_grid, [this](int gridRow) {
        const int entry = m_model->entryAt(gridRow);
        if (entry < 0 || size_t(entry) >= m_model->list().size())
            return find_text::RowKeys();
        const OfficerEntry& o = m_model->list()[size_t(entry)];
        return find_text::RowKeys{{o.name, o.reading}, {QString::number(o.code)}};
    }));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips::toPixels(300), 6, 6, 6);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);

    connect(m_group, &QComboBox::activated, this, [this] {
        m_context.session.selections.officerGroup = m_group->currentText();
        m_model->setGroup(m_group->currentText());
        applyColumns();
    });
    for (QRadioButton* b : {m_school, m_home, m_mobile, m_fax})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyColumns();
        });
    connect(edit, &QPushButton::clicked, this, &OfficerListWindow::on_B_EDIT_clicked);
    connect(network, &QPushButton::clicked, this, &OfficerListWindow::on_B_NET_clicked);
    connect(m_grid, &QTableView::doubleClicked, this, &OfficerListWindow::on_B_EDIT_clicked);

    m_context.session.selections.officerGroup = m_group->currentText();
    m_model->setList(officers::buildList(context.store));
    applyColumns();
}

void OfficerListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The contact network is a window of its own, offered once it is there.
    findChild<QPushButton*>(u"B_NET"_s)->setEnabled(bool(openNetwork));
    if (!m_connected) {
        m_connected = true;
        attachViewWindow(this, [] {});
    }
}

void OfficerListWindow::applyColumns()
{
    const bool home = m_home->isChecked();
    m_homeChoice->setVisible(home);
    setColumnWidthsTwips(m_grid, {400, 900, 500, 950, 1600, 2700, 1500, 1500, 1000, 3200, 1500, 1500, 1500, 1000, 3200},
                         {u"100"_s, u"特別委員長"_s, u"常任理事"_s, u"北瑠璃東地区"_s, u"長谷川　佐和子"_s,
                          u"瑠璃東部学校組合立星ヶ丘第二小学校"_s, u"0123-45-6789"_s, u"0123-45-6789"_s, u"900-0000"_s,
                          u"瑠璃市桜木町1-20-30"_s, u"0123-45-6789"_s, u"0123-45-6789"_s, u"090-1234-5678"_s,
                          u"900-0000"_s, u"瑠璃市桜木町1-20-30"_s});
    for (int c = 6; c <= 9; ++c)
        m_grid->setColumnHidden(c, home);
    for (int c = 10; c <= 14; ++c)
        m_grid->setColumnHidden(c, !home);
    if (home) {
        m_grid->setColumnHidden(11, m_mobile->isChecked());
        m_grid->setColumnHidden(12, !m_mobile->isChecked());
    }
}

void OfficerListWindow::on_B_EDIT_clicked()
{
    const int i = m_model->entryAt(m_grid->currentIndex().row());
    const int row = i >= 0 ? m_context.store.findStaffByCode(m_model->list()[size_t(i)].code) : -1;
    if (row < 0) {
        m_context.notifier.tell(u"指定されていません"_s, MessageIcon::Critical);
        return;
    }
    {
        StaffEditor editor(m_context, StaffEditor::EditM3, row, this);
        editor.exec();
    }
    // The edit may have changed the name, the contacts or the post; the
    // order stays as it was until the list is opened again, but the chosen
    // post group is applied again: an officer whose post left the group
    // leaves the list shown.
    const int after = m_context.store.findStaffByCode(m_model->list()[size_t(i)].code);
    if (after >= 0)
        officers::refreshFromStaff(m_model->list()[size_t(i)], m_context.store.staff[size_t(after)]);
    const int column = std::max(0, m_grid->currentIndex().column());
    m_model->setGroup(m_group->currentText());
    const std::vector<int>& shown = m_model->shown();
    const auto at = std::find(shown.begin(), shown.end(), i);
    if (at != shown.end())
        m_grid->setCurrentIndex(m_model->index(int(at - shown.begin()), column));
}

void OfficerListWindow::on_B_NET_clicked()
{
    if (m_model->rowCount() == 0 || !openNetwork)
        return;
    std::vector<OfficerEntry> shown;
    for (int i : m_model->shown())
        shown.push_back(m_model->list()[size_t(i)]);
    openNetwork(shown);
}
