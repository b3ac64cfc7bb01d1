#include "find_bar.h"

#include <QAbstractItemModel>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

using namespace Qt::StringLiterals;

FindBar::FindBar(QWidget* host, QTableView* grid, std::function<find_text::RowKeys(int row)> rowKeys, QWidget* parent)
    : QWidget(parent ? parent : host),
      m_grid(grid),
      m_rowKeys(std::move(rowKeys))
{
    setObjectName(u"FIND_BAR"_s);
    auto* label = new QLabel(u"検索"_s, this);
    m_box = new QLineEdit(this);
    m_box->setObjectName(u"FIND"_s);
    m_box->setClearButtonEnabled(true);
    m_box->setPlaceholderText(u"氏名・よみ・コード"_s);
    m_box->setToolTip(u"氏名・よみ・コードで探します (Ctrl+F、次 F3、前 Shift+F3)"_s);
    m_box->setMinimumWidth(m_box->fontMetrics().horizontalAdvance(u"氏名・よみ・コード"_s) + 40);
    m_box->setMaximumWidth(m_box->minimumWidth() * 2);
    label->setBuddy(m_box);
    label->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    m_none = new QLabel(u"見つかりません"_s, this);
    m_none->setObjectName(u"FIND_NONE"_s);
    m_none->setStyleSheet(u"color: #b00000;"_s);
    // Keeps its room when hidden, so the bar does not jump as the text changes.
    m_none->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    QSizePolicy keep = m_none->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_none->setSizePolicy(keep);
    m_none->hide();

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_box);
    layout->addWidget(m_none);

    auto shortcut = [host](const QKeySequence& keys) {
        auto* s = new QShortcut(keys, host);
        s->setContext(Qt::WidgetWithChildrenShortcut);
        return s;
    };
    connect(shortcut(QKeySequence::Find), &QShortcut::activated, this, [this] {
        m_box->setFocus(Qt::ShortcutFocusReason);
        m_box->selectAll();
    });
    connect(shortcut(QKeySequence(Qt::Key_F3)), &QShortcut::activated, this, &FindBar::findNext);
    connect(shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3)), &QShortcut::activated, this, &FindBar::findPrevious);
    connect(m_box, &QLineEdit::textEdited, this, [this] { find(currentRow(), true); });
    connect(m_box, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.trimmed().isEmpty())
            showNothingFound(false);
    });
    m_box->installEventFilter(this);
}

int FindBar::currentRow() const
{
    return m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : -1;
}

void FindBar::findNext()
{
    const int row = currentRow();
    find(row < 0 ? 0 : row + 1, true);
}

void FindBar::findPrevious()
{
    const int row = currentRow();
    find(row < 0 ? -1 : row - 1, false);
}

void FindBar::find(int start, bool forward)
{
    const find_text::Matcher matcher(m_box->text());
    if (matcher.isEmpty()) {
        showNothingFound(false);
        return;
    }
    QAbstractItemModel* model = m_grid->model();
    const int count = model ? model->rowCount() : 0;
    if (start < 0 && !forward)
        start = count - 1;
    const int row =
        find_text::findRow(count, std::max(start, 0), forward, [&](int r) { return matcher.matches(m_rowKeys(r)); });
    showNothingFound(row < 0);
    if (row < 0)
        return;
    const int column = m_grid->currentIndex().isValid() ? m_grid->currentIndex().column() : 0;
    const QModelIndex index = model->index(row, column);
    m_grid->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollTo(index);
}

void FindBar::showNothingFound(bool on)
{
    m_nothingFound = on;
    m_none->setVisible(on);
    m_box->setStyleSheet(on ? u"QLineEdit { background: #ffe0e0; }"_s : QString());
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the box goes on to the next row; it must not reach a dialog's
    // default button, which would close the dialog with whatever is chosen.
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
