#include "school_editor.h"

#include "app_context.h"
#include "school_list.h"
#include "staff_editor.h"
#include "staff_rules.h"
#include "staff_select_dialog.h"
#include "text_width.h"
#include "up_down.h"
#include "widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using staff_rules::toI16;
using staff_rules::toI32;

namespace {

QString blankIfZero(qint64 v)
{
    return v == 0 ? QString() : QString::number(v);
}
} // namespace

SchoolEditor::SchoolEditor(AppContext& context, std::vector<int> listRows, int currentListRow, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_listMode(true),
      m_listRows(std::move(listRows)),
      m_listRow(currentListRow)
{
    build();
    const int row = m_listRow >= 0 && size_t(m_listRow) < m_listRows.size() ? m_listRows[size_t(m_listRow)]
                                                                            : context.store.schoolCount();
    goTo(row + 1);
}

SchoolEditor::SchoolEditor(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_listMode(false)
{
    build();
    goTo(context.store.schoolCount() + 1);
}

void SchoolEditor::build()
{
    setObjectName(u"EDIT_S"_s);
    setWindowTitle(u"学校データ編集"_s);
    if (parentWidget())
        setWindowIcon(parentWidget()->window()->windowIcon());
    m_context.store.dirty = 1;

    UpDown* spin = buildRecordControls();
    buildSchoolControls();
    QGridLayout* grid = buildSchoolGrid();
    QGroupBox* posts = buildPosts();
    auto* close = makeButton(u"B_END"_s, u"閉じる"_s, this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_recordLabel);
    bottom->addWidget(spin);
    bottom->addSpacing(12);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(posts);
    layout->addLayout(bottom);

    // Every control that can hold the focus: the page keys page from the
    // lists too, never change their entry first.
    for (QWidget* w : findChildren<QWidget*>())
        if (w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
    connect(spin, &UpDown::up, this, &SchoolEditor::pageUp);
    connect(spin, &UpDown::down, this, &SchoolEditor::pageDown);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

UpDown* SchoolEditor::buildRecordControls()
{
    m_recordLabel = new QLabel(this);
    m_recordLabel->setObjectName(u"ED_NO"_s);
    m_recordLabel->setFrameShape(QFrame::StyledPanel);
    m_recordLabel->setMinimumWidth(50);
    m_recordLabel->setAlignment(Qt::AlignCenter);
    auto* spin = new UpDown(this);
    spin->setObjectName(u"B_NO"_s);
    m_pref = new QComboBox(this);
    m_pref->setObjectName(u"Pref_SEL"_s);
    m_pref->setVisible(false); // a selector without entries, kept for the files
    return spin;
}

void SchoolEditor::buildSchoolControls()
{
    const RosterStore& store = m_context.store;
    m_municipality = new QComboBox(this);
    m_municipality->setObjectName(u"CTV_SEL"_s);
    m_municipality->setEditable(true);
    m_municipality->setInsertPolicy(QComboBox::NoInsert);
    for (const MunicipalityEntry& e : store.municipalities.entries)
        m_municipality->addItem(e.name);
    m_municipality->setMinimumWidth(130);
    m_name = makeEdit(u"S_NAME"_s, this, 160, 40);
    m_reading = makeEdit(u"S_FURI"_s, this, 160, 60);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(u"SC_K_SEL"_s);
    m_kind->addItems(schoolKinds());
    m_group = new QComboBox(this);
    m_group->setObjectName(u"GRP_SEL"_s);
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->addItems(store.groupNames);
    m_group->setMinimumWidth(130);
    m_group->installEventFilter(this);
    if (m_group->lineEdit())
        m_group->lineEdit()->installEventFilter(this);
    m_code = makeEdit(u"SC_CODE"_s, this, 90, 9);
    m_number = makeEdit(u"SC_NO"_s, this, 60, 5);
    m_postal = makeEdit(u"S_PNO"_s, this, 90, 10);
    m_address = makeEdit(u"S_ADR"_s, this, 0, 80);
    m_tel = makeEdit(u"S_TEL"_s, this, 130, 20);
    m_fax = makeEdit(u"S_FAX"_s, this, 130, 20);
    m_mail = makeEdit(u"MAIL"_s, this, 0, 80);
    m_regular = makeEdit(u"R_COUNT"_s, this, 40, 4);
    m_special = makeEdit(u"T_COUNT"_s, this, 40, 4);
    m_branch = makeEdit(u"B_COUNT"_s, this, 40, 4);
}

QGridLayout* SchoolEditor::buildSchoolGrid()
{
    // Each row: captions, each followed by its box over `span` columns.
    struct Cell {
        QString caption;
        QWidget* box;
        int span = 1;
    };
    const std::vector<std::vector<Cell>> rows{
        {{u"市町村名"_s, m_municipality}, {u"学校コード"_s, m_code}, {u"学校番号"_s, m_number}},
        {{u"学校名"_s, m_name}, {u"学校区分"_s, m_kind}, {u"グループ名"_s, m_group}},
        {{u"ﾌﾘｶﾞﾅ"_s, m_reading}, {u"郵便番号"_s, m_postal}},
        {{u"住所"_s, m_address, 5}},
        {{u"ＴＥＬ"_s, m_tel}, {u"ＦＡＸ"_s, m_fax, 2}},
        {{u"メールアドレス"_s, m_mail, 5}},
    };
    auto* grid = new QGridLayout;
    int row = 0;
    for (const std::vector<Cell>& cells : rows) {
        int column = 0;
        for (const Cell& cell : cells) {
            grid->addWidget(new QLabel(cell.caption, this), row, column);
            grid->addWidget(cell.box, row, column + 1, 1, cell.span);
            column += 2;
        }
        ++row;
    }
    auto* counts = new QHBoxLayout;
    counts->addWidget(new QLabel(u"学級数"_s, this));
    for (const auto& [caption, box] :
         {std::pair{u"普通"_s, m_regular}, std::pair{u"特殊"_s, m_special}, std::pair{u"分校"_s, m_branch}}) {
        counts->addWidget(new QLabel(caption, this));
        counts->addWidget(box);
    }
    counts->addStretch();
    grid->addLayout(counts, row, 0, 1, 6);
    return grid;
}

QGroupBox* SchoolEditor::buildPosts()
{
    auto* posts = new QGroupBox(u"事務職員"_s, this);
    auto* pg = new QGridLayout(posts);
    const QStringList heads{u"職員コード"_s, u"氏名"_s, u"備考1"_s, u"備考2"_s};
    for (int c = 0; c < heads.size(); ++c)
        pg->addWidget(new QLabel(heads[c], posts), 0, c);
    for (int i = 0; i < cap::kClerkSlots; ++i)
        buildPostRow(pg, i);
    return posts;
}

void SchoolEditor::buildPostRow(QGridLayout* pg, int i)
{
    QWidget* posts = pg->parentWidget();
    const size_t slot = size_t(i);
    m_staffCode[slot] = makeEdit(u"M_CODE(%1)"_s.arg(i), posts, 90, 8);
    m_staffName[slot] = makeEdit(u"M_NAME(%1)"_s.arg(i), posts, 140, 40);
    m_status[slot] = new QComboBox(posts);
    m_status[slot]->setObjectName(u"ETC_SEL(%1)"_s.arg(i));
    m_status[slot]->addItems(postStatuses());
    m_status[slot]->setMinimumWidth(120);
    m_note[slot] = makeEdit(u"ETC_MSG(%1)"_s.arg(i), posts, 160, 40);
    auto* editButton = makeButton(u"B_EDIT(%1)"_s.arg(i), u"編集"_s, posts);
    auto* pick = makeButton(u"B_PICUP(%1)"_s.arg(i), u"参照"_s, posts);
    auto* manage = makeButton(u"B_SOFT(%1)"_s.arg(i), u"管理"_s, posts);
    int column = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{m_staffCode[slot], m_staffName[slot], m_status[slot],
                                                      m_note[slot], editButton, pick, manage})
        pg->addWidget(w, i + 1, column++);
    connect(m_staffCode[slot], &QLineEdit::textChanged, this, [this, i] { takeClerkIntoPost(i); });
    connect(editButton, &QPushButton::clicked, this, [this, i] { editClerk(i); });
    connect(pick, &QPushButton::clicked, this, [this, i] { pickClerk(i); });
}

QString SchoolEditor::fullName() const
{
    return m_municipality->currentText() + u"立"_s + m_name->text() + m_kind->currentText();
}

void SchoolEditor::goTo(int recordNumber)
{
    m_recordNumber = std::max(1, recordNumber);
    m_recordLabel->setText(QString::number(m_recordNumber));
    if (m_recordNumber > m_context.store.schoolCount())
        clearRecord();
    else
        showRecord(m_recordNumber - 1);
}

void SchoolEditor::clearRecord()
{
    m_loading = true;
    m_municipality->setCurrentIndex(-1);
    m_municipality->setEditText(QString());
    m_kind->setCurrentIndex(-1);
    m_group->setCurrentIndex(-1);
    m_group->setEditText(QString());
    for (QLineEdit* e : {m_name, m_reading, m_code, m_number, m_postal, m_address, m_tel, m_fax, m_mail, m_regular,
                         m_special, m_branch})
        e->clear();
    for (int i = 0; i < cap::kClerkSlots; ++i) {
        m_staffCode[size_t(i)]->clear();
        m_staffName[size_t(i)]->clear();
        m_status[size_t(i)]->setCurrentIndex(0);
        m_note[size_t(i)]->clear();
        m_heldCode[size_t(i)] = 0;
    }
    m_loading = false;
}

void SchoolEditor::showRecord(int row)
{
    const SchoolRecord& s = m_context.store.schools[size_t(row)];
    m_loading = true;
    m_code->setText(QString::number(s.code));
    m_number->setText(blankIfZero(s.number));
    const int m = m_municipality->findText(s.municipality);
    m_municipality->setCurrentIndex(m);
    if (m < 0)
        m_municipality->setEditText(s.municipality); // a name not in the table is shown as it is
    m_name->setText(s.name);
    m_reading->setText(s.reading);
    m_kind->setCurrentIndex(m_kind->findText(s.kindText));
    m_group->setCurrentIndex(m_group->findText(s.group));
    if (m_group->currentIndex() < 0)
        m_group->setEditText(s.group);
    m_postal->setText(s.postalCode);
    m_address->setText(s.address);
    m_mail->setText(s.mail);
    m_tel->setText(s.tel);
    m_fax->setText(s.fax);
    m_regular->setText(blankIfZero(s.regularClasses));
    m_special->setText(blankIfZero(s.specialClasses));
    m_branch->setText(blankIfZero(s.branchCount));
    for (int i = 0; i < cap::kClerkSlots; ++i) {
        const ClerkSlot& c = s.clerks[size_t(i)];
        m_staffCode[size_t(i)]->setText(c.staffCode > 0 ? QString::number(c.staffCode) : QString());
        m_heldCode[size_t(i)] = c.staffCode > 0 ? c.staffCode : 0;
        m_staffName[size_t(i)]->setText(c.staffName);
        const int status = m_status[size_t(i)]->findText(c.status);
        if (status < 0 && !c.status.isEmpty())
            m_status[size_t(i)]->addItem(c.status);
        m_status[size_t(i)]->setCurrentIndex(m_status[size_t(i)]->findText(c.status));
        m_note[size_t(i)]->setText(c.note);
    }
    m_loading = false;
}

bool SchoolEditor::storeRecord()
{
    // Leaving the record by a page key or the close box leaves the focus in
    // the group box: its rule of leaving holds all the same.
    if (m_group->hasFocus() || (m_group->lineEdit() && m_group->lineEdit()->hasFocus()))
        addGroup();
    if (m_code->text().trimmed().isEmpty() || m_municipality->currentText().trimmed().isEmpty() ||
        m_kind->currentText().isEmpty())
        return false;
    RosterStore& store = m_context.store;
    const int row = currentRow();
    const bool isNew = row >= store.schoolCount();
    // Schools and clerks are handed between windows by their codes: a code
    // that is no number, or one that another school or post already has,
    // would send a later transfer or list to the wrong place.
    auto refuse = [this](const QString& why, QLineEdit* box) {
        m_context.notifier.tell(why, MessageIcon::Warning);
        m_refused = true;
        box->setFocus();
        box->selectAll();
        return false;
    };
    const std::optional<qint32> code = staff_rules::parseStaffCode(m_code->text());
    if (!code)
        return refuse(u"学校コードは1以上の数字で入力してください"_s, m_code);
    for (int other = 0; other < store.schoolCount(); ++other)
        if (other != row && store.schools[size_t(other)].code == *code)
            return refuse(u"その学校コードは既に使われています"_s, m_code);
    for (int i = 0; i < cap::kClerkSlots; ++i) {
        const qint32 clerk = toI32(m_staffCode[size_t(i)]->text());
        if (clerk <= 0)
            continue;
        for (int other = 0; other < store.schoolCount(); ++other)
            if (other != row && store.schools[size_t(other)].postOf(clerk) >= 0)
                return refuse(u"職員コード "_s + QString::number(clerk) + u" は既に「"_s +
                                  store.schools[size_t(other)].fullName() + u"」に配置されています"_s,
                              m_staffCode[size_t(i)]);
    }
    if (isNew && !store.canAddSchool()) {
        m_context.notifier.tell(u"学校はこれ以上追加できません"_s, MessageIcon::Critical);
        return false;
    }
    SchoolRecord fresh;
    SchoolRecord& s = isNew ? fresh : store.schools[size_t(row)];
    s.prefSelText = m_pref->currentText();
    s.prefSelIndex = qint16(m_pref->currentIndex());
    s.code = *code;
    s.number = toI32(m_number->text());
    s.municipality = m_municipality->currentText();
    s.name = m_name->text();
    s.reading = m_reading->text();
    s.kindText = m_kind->currentText();
    s.group = m_group->currentText();
    // The roster keeps these narrowed to half-width characters.
    s.postalCode = toHalfWidthNumber(m_postal->text());
    s.address = toHalfWidth(m_address->text());
    s.tel = toHalfWidthNumber(m_tel->text());
    s.fax = toHalfWidthNumber(m_fax->text());
    s.mail = m_mail->text();
    s.regularClasses = toI16(m_regular->text());
    s.specialClasses = toI16(m_special->text());
    s.branchCount = toI16(m_branch->text());
    for (int i = 0; i < cap::kClerkSlots; ++i) {
        ClerkSlot& c = s.clerks[size_t(i)];
        c.staffCode = toI32(m_staffCode[size_t(i)]->text());
        c.staffName = m_staffName[size_t(i)]->text();
        c.status = m_status[size_t(i)]->currentText();
        c.note = m_note[size_t(i)]->text();
        if (c.staffCode > 0) {
            const int staffRow = store.findStaffByCode(c.staffCode);
            if (staffRow >= 0) {
                StaffRecord& member = store.staff[size_t(staffRow)];
                member.schoolFullName = s.fullName();
                member.schoolCode = s.code;
            }
        }
    }
    // A post emptied in the editor leaves no gap: the clerks behind it move up.
    s.compactPosts();
    store.deriveSchoolFields(s);
    if (isNew) {
        store.schools.push_back(std::move(fresh));
        m_recordNumber = store.schoolCount();
        m_recordLabel->setText(QString::number(m_recordNumber));
    }
    return true;
}

void SchoolEditor::page(int direction)
{
    m_refused = false;
    const bool stored = storeRecord();
    if (m_refused)
        return; // the user was told why; the record stays to be mended
    const int before = m_recordNumber;
    movePage(direction);
    // Where paging goes nowhere, the stored record is shown again, its posts
    // as they now are.
    if (stored && m_recordNumber == before && before <= m_context.store.schoolCount())
        showRecord(before - 1);
}

void SchoolEditor::movePage(int direction)
{
    if (m_listMode) {
        // The next listed row of another school; nothing beyond the ends.
        const int current = currentRow();
        for (int r = m_listRow + direction; r >= 0 && size_t(r) < m_listRows.size(); r += direction) {
            if (m_listRows[size_t(r)] != current) {
                m_listRow = r;
                goTo(m_listRows[size_t(r)] + 1);
                return;
            }
        }
        return;
    }
    if (direction < 0 && m_recordNumber <= 1)
        return;
    goTo(m_recordNumber + direction);
}

void SchoolEditor::pageUp()
{
    page(+1);
}

void SchoolEditor::pageDown()
{
    page(-1);
}

void SchoolEditor::takeClerkIntoPost(int slot)
{
    if (m_loading)
        return;
    const QString text = m_staffCode[size_t(slot)]->text().trimmed();
    if (!text.isEmpty() && text != u"0"_s && text.size() != 8)
        return; // still typing
    RosterStore& store = m_context.store;
    const qint32 code = toI32(text);
    if (code > 0) {
        const int row = store.findStaffByCode(code);
        if (row >= 0) {
            StaffRecord& s = store.staff[size_t(row)];
            s.schoolFullName = fullName();
            s.schoolCode = toI32(m_code->text());
            m_staffName[size_t(slot)]->setText(s.name);
        }
    } else {
        m_staffName[size_t(slot)]->clear();
        m_status[size_t(slot)]->setCurrentIndex(0);
        m_note[size_t(slot)]->clear();
    }
    // The clerk who held the post before leaves it.
    const qint32 held = m_heldCode[size_t(slot)];
    if (held > 0 && held != code) {
        const int row = store.findStaffByCode(held);
        if (row >= 0) {
            school_list::takeOutOfPost(store.staff[size_t(row)]);
            store.staff[size_t(row)].postingDate = Date();
        }
    }
    m_heldCode[size_t(slot)] = code;
}

void SchoolEditor::editClerk(int slot)
{
    RosterStore& store = m_context.store;
    const QString text = m_staffCode[size_t(slot)]->text().trimmed();
    const qint32 code = toI32(text);
    if (code == 0)
        return;
    int row = -1;
    if (text.size() == 8)
        row = store.findStaffByCode(code);
    if (row >= 0) {
        StaffRecord& s = store.staff[size_t(row)];
        m_staffName[size_t(slot)]->setText(s.name);
        s.schoolFullName = fullName();
        s.schoolCode = toI32(m_code->text());
    }
    const int editRow = row >= 0 ? row : store.staffCount();
    StaffEditor editor(m_context, StaffEditor::EditM2, editRow, this);
    if (row < 0)
        editor.setPresetCode(code);
    editor.exec();
    // The staff table may have grown; find the member again by what was edited.
    const int edited = editor.currentRow() < store.staffCount() ? editor.currentRow() : -1;
    const qint32 editedCode = edited >= 0 ? store.staff[size_t(edited)].code : 0;
    if (editedCode > 0 && QString::number(editedCode).size() == 8) {
        m_staffCode[size_t(slot)]->setText(QString::number(editedCode));
        m_staffName[size_t(slot)]->setText(store.staff[size_t(edited)].name);
    } else {
        m_staffCode[size_t(slot)]->clear();
        m_staffName[size_t(slot)]->clear();
        m_note[size_t(slot)]->clear();
        m_status[size_t(slot)]->setCurrentIndex(0);
    }
    store.rebuildCodeIndex();
}

void SchoolEditor::pickClerk(int slot)
{
    StaffSelectDialog dialog(m_context, this);
    dialog.exec();
    if (dialog.pickedCode() > 0)
        m_staffCode[size_t(slot)]->setText(QString::number(dialog.pickedCode()));
}

void SchoolEditor::addGroup()
{
    RosterStore& store = m_context.store;
    const QString group = m_group->currentText();
    if (group.isEmpty() || store.groupNames.contains(group) || store.groupNames.size() >= cap::kMaxGroupNames)
        return;
    store.groupNames.append(group);
    m_group->addItem(group);
}

bool SchoolEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_group || watched == m_group->lineEdit()))
        addGroup();
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            key == Qt::Key_PageUp ? pageUp() : pageDown();
            return true;
        }
    }
    return RememberedDialog::eventFilter(watched, event);
}

void SchoolEditor::done(int result)
{
    // A record refused with a message keeps the editor open to mend it;
    // closing it again after that leaves the refused changes unstored.
    if (!(m_refused && result == QDialog::Rejected)) {
        m_refused = false;
        if (!storeRecord() && m_refused)
            return;
    }
    RememberedDialog::done(result);
}
