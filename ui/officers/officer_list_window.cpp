#include "officer_list_window.h"

#include "app_context.h"
#include "find_bar.h"
#include "grid_columns.h"
#include "grid_export.h"
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
#include <array>

using namespace Qt::StringLiterals;

namespace {
constexpr std::array<ColumnSpec, size_t(OfficerListColumn::Count)> kColumns{{
    {u"NO", kAlignRight, 400, u"100"},
    {u"役職名", kAlignLeft, 900, u"特別委員長"},
    {u"", kAlignLeft, 500, u"常任理事"},
    {u"地区名", kAlignLeft, 950, u"北瑠璃東地区"},
    {u"氏名", kAlignLeft, 1600, widest.name},
    {u"学校名", kAlignLeft, 2700, widest.fullSchoolName},
    {u"ＴＥＬ", kAlignLeft, 1500, widest.phone},
    {u"ＦＡＸ", kAlignLeft, 1500, widest.phone},
    {u"郵便番号", kAlignLeft, 1000, widest.postalCode},
    {u"住所", kAlignLeft, 3200, widest.address},
    {u"自宅ＴＥＬ", kAlignLeft, 1500, widest.phone},
    {u"自宅ＦＡＸ", kAlignLeft, 1500, widest.phone},
    {u"携帯電話", kAlignLeft, 1500, u"090-1234-5678"},
    {u"郵便番号", kAlignLeft, 1000, widest.postalCode},
    {u"住所", kAlignLeft, 3200, widest.address},
}};
} // namespace

OfficerListModel::OfficerListModel(QObject* parent) : ColumnTableModel(kColumns, parent)
{
}

ColumnSpec OfficerListModel::column(int column) const
{
    ColumnSpec shown = ColumnTableModel::column(column);
    const auto c = OfficerListColumn(column);
    const bool schoolContact = c >= OfficerListColumn::SchoolTel && c <= OfficerListColumn::SchoolAddress;
    const bool homeContact = c >= OfficerListColumn::HomeTel;
    if ((schoolContact && m_home) || (homeContact && !m_home) || (c == OfficerListColumn::HomeFax && m_mobile) ||
        (c == OfficerListColumn::Mobile && !m_mobile))
        shown.twips = 0;
    return shown;
}

void OfficerListModel::setContacts(bool home, bool mobile)
{
    m_home = home;
    m_mobile = mobile;
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

QVariant OfficerListModel::data(const QModelIndex& index, int role) const
{
    const int i = entryAt(index.row());
    if (i < 0 || !index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole)
        return cellAlignment(index.column());
    if (role != Qt::DisplayRole)
        return {};
    const OfficerEntry& e = m_list[size_t(i)];
    switch (OfficerListColumn(index.column())) {
    case OfficerListColumn::No: return index.row() + 1;
    case OfficerListColumn::Post1: return e.post1;
    case OfficerListColumn::Post2: return e.post2;
    case OfficerListColumn::District: return e.district;
    case OfficerListColumn::Name: return e.name;
    case OfficerListColumn::School: return e.municipality + u"立"_s + e.schoolName;
    case OfficerListColumn::SchoolTel: return e.schoolTel;
    case OfficerListColumn::SchoolFax: return e.schoolFax;
    case OfficerListColumn::SchoolPostal: return e.schoolPostal;
    case OfficerListColumn::SchoolAddress: return e.schoolAddress;
    case OfficerListColumn::HomeTel: return e.homeTel;
    case OfficerListColumn::HomeFax: return e.homeFax;
    case OfficerListColumn::Mobile: return e.mobile;
    case OfficerListColumn::HomePostal: return e.homePostal;
    case OfficerListColumn::HomeAddress: return e.homeAddress1;
    case OfficerListColumn::Count: break;
    }
    return {};
}

OfficerListWindow::OfficerListWindow(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"YAKUIN_F"_s);
    setWindowTitle(u"役員リスト"_s);
    buildGrid();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips::toPixels(300), 6, 6, 6);
    layout->addLayout(buildTopRow());
    layout->addWidget(m_grid, 1);
    connectControls();

    m_context.session.selections.officerGroup = m_group->currentText();
    m_model->setList(officers::buildList(context.store));
    showContactColumns();
}

void OfficerListWindow::buildGrid()
{
    m_model = new OfficerListModel(this);
    m_grid = new QTableView(this);
    m_grid->setModel(m_model);
    setUpRowGrid(m_grid, QAbstractItemView::SingleSelection);
}

// The post group, the school's or the home's contacts (the home's with the
// mobile or the fax), the commands and the find box.
QHBoxLayout* OfficerListWindow::buildTopRow()
{
    m_group = makeChoice(u"YAKU_LIST"_s, this);
    m_group->addItems(officers::postGroups());
    m_school = makeRadio(u"OPT_SC"_s, u"学校住所TEL"_s, this);
    m_home = makeRadio(u"OPT_HOME"_s, u"自宅住所TEL"_s, this);
    auto* contacts = new QButtonGroup(this);
    contacts->addButton(m_school);
    contacts->addButton(m_home);
    m_homeChoice = new QFrame(this);
    m_homeChoice->setObjectName(u"Frame1"_s);
    m_homeChoice->setFrameShape(QFrame::StyledPanel);
    m_mobile = makeRadio(u"OPT_CTEL"_s, u"携帯電話"_s, m_homeChoice);
    m_fax = makeRadio(u"OPT_FAX"_s, u"FAX"_s, m_homeChoice);
    auto* homeRow = new QHBoxLayout(m_homeChoice);
    homeRow->setContentsMargins(6, 2, 6, 2);
    homeRow->addWidget(m_mobile);
    homeRow->addWidget(m_fax);
    m_school->setChecked(true);
    m_mobile->setChecked(true);
    m_homeChoice->setVisible(false);
    m_edit = makeButton(u"B_EDIT"_s, u"編集"_s, this);
    m_network = makeButton(u"B_NET"_s, u"連絡網"_s, this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_group);
    top->addSpacing(12);
    top->addWidget(m_school);
    top->addWidget(m_home);
    top->addWidget(m_homeChoice);
    top->addSpacing(12);
    top->addWidget(m_edit);
    top->addWidget(m_network);
    top->addWidget(grid_export::makeExportButton(m_context, this, m_grid));
    top->addStretch();
    top->addWidget(new FindBar(this, m_grid, [this](int gridRow) {
        const int entry = m_model->entryAt(gridRow);
        if (entry < 0 || size_t(entry) >= m_model->list().size())
            return find_text::RowKeys();
        const OfficerEntry& o = m_model->list()[size_t(entry)];
        return find_text::RowKeys{{o.name, o.reading}, {QString::number(o.code)}};
    }));
    return top;
}

void OfficerListWindow::connectControls()
{
    connect(m_group, &QComboBox::activated, this, &OfficerListWindow::chooseGroup);
    for (QRadioButton* b : {m_school, m_home, m_mobile, m_fax})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                showContactColumns();
        });
    connect(m_edit, &QPushButton::clicked, this, &OfficerListWindow::editOfficer);
    connect(m_network, &QPushButton::clicked, this, &OfficerListWindow::openContactNetwork);
    connect(m_grid, &QTableView::doubleClicked, this, &OfficerListWindow::editOfficer);
}

void OfficerListWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The contact network is a window of its own, offered once it is there.
    m_network->setEnabled(bool(openNetwork));
    if (!m_connected) {
        m_connected = true;
        attachViewWindow(this, [] {});
    }
}

void OfficerListWindow::chooseGroup()
{
    m_context.session.selections.officerGroup = m_group->currentText();
    m_model->setGroup(m_group->currentText());
    showContactColumns();
}

void OfficerListWindow::showContactColumns()
{
    const bool home = m_home->isChecked();
    m_homeChoice->setVisible(home);
    m_model->setContacts(home, m_mobile->isChecked());
    applyColumns(m_grid, m_model->columns());
}

void OfficerListWindow::editOfficer()
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

void OfficerListWindow::openContactNetwork()
{
    if (m_model->rowCount() == 0 || !openNetwork)
        return;
    std::vector<OfficerEntry> shown;
    for (int i : m_model->shown())
        shown.push_back(m_model->list()[size_t(i)]);
    openNetwork(shown);
}
