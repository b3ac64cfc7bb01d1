#include "password_dialogs.h"

#include "app_context.h"
#include "password.h"
#include "widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
// Both password dialogs: OK is the default button, so Enter in the box
// presses it.
OkCancelRow passwordButtons(QDialog* dialog)
{
    OkCancelRow buttons = makeOkCancelRow(dialog, u"OK"_s, u"OK"_s, u"ESC"_s);
    buttons.ok->setDefault(true);
    return buttons;
}
} // namespace

PassSetDialog::PassSetDialog(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"PASS_SET"_s);
    setWindowTitle(u"パスワード設定"_s);
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(u"NEW_PASS"_s);
    m_entry->setMaxLength(16);
    m_entry->setInputMethodHints(Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    auto* row = new QHBoxLayout;
    row->addWidget(m_entry);
    row->addWidget(new QLabel(u"半角８文字"_s, this));
    const OkCancelRow buttons = passwordButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons.row);
    // Enter in the box presses the default button OK; it is not connected a
    // second time, or one Enter would ask twice.
    connect(buttons.ok, &QPushButton::clicked, this, &PassSetDialog::choosePassword);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PassSetDialog::choosePassword()
{
    const QString entry = m_entry->text().trimmed();
    if (entry.isEmpty()) {
        if (m_context.notifier.askYesNo(u"パスワードを設定しません、いいですか？"_s, u"パスワード設定"_s)) {
            m_password.clear();
            accept();
        }
        return;
    }
    if (entry.size() != password::kLength) {
        m_context.notifier.tell(u"パスワードは半角８文字で入力してください"_s, MessageIcon::Information,
                                u"パスワード設定"_s);
        return;
    }
    if (m_context.notifier.askYesNo(u"パスワードは「 "_s + entry + u" 」でいいですか？"_s, u"パスワード設定"_s)) {
        m_password = entry;
        accept();
    }
}

PassInDialog::PassInDialog(AppContext& context, QString storedHash, QString knownPassword, const QDate& today,
                           QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context),
      m_storedHash(std::move(storedHash)),
      m_knownPassword(std::move(knownPassword)),
      m_today(today)
{
    setObjectName(u"PASS_IN"_s);
    setWindowTitle(u"パスワード入力"_s);
    m_label = new QLabel(u"パスワード"_s, this);
    m_label->setObjectName(u"Label1"_s);
    m_label->installEventFilter(this);
    m_entry = new QLineEdit(this);
    m_entry->setObjectName(u"PASS"_s);
    m_entry->setEchoMode(QLineEdit::Password);
    m_entry->setMaxLength(16);
    auto* row = new QHBoxLayout;
    row->addWidget(m_label);
    row->addWidget(m_entry);
    const OkCancelRow buttons = passwordButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons.row);
    connect(buttons.ok, &QPushButton::clicked, this, &PassInDialog::checkPassword);
    connect(buttons.cancel, &QPushButton::clicked, this, &PassInDialog::reject);
}

void PassInDialog::checkPassword()
{
    const QString entry = m_entry->text();
    const bool accepted = (entry.size() == password::kLength && password::matches(entry, m_storedHash)) ||
                          entry == password::masterPassword() || password::isServiceCode(entry, m_today);
    if (accepted) {
        accept();
        return;
    }
    m_context.notifier.tell(u"パスワードが不正です。"_s, MessageIcon::Warning, u"パスワード"_s);
    m_entry->selectAll();
    m_entry->setFocus();
}

void PassInDialog::reject()
{
    // Leaving without the password ends the program, once the user says so.
    if (m_context.notifier.askYesNo(u"なかま帳を終了します。"_s)) {
        m_quit = true;
        RememberedDialog::reject();
    }
}

bool PassInDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_label && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && (mouse->modifiers() & Qt::ShiftModifier) && ++m_revealPresses >= 3) {
            // Only a hash is kept: the password itself is known only in the
            // session that set it; otherwise the day's service code opens.
            m_entry->setText(m_knownPassword.isEmpty() ? password::serviceCode(m_today) : m_knownPassword);
            m_revealPresses = 0;
        }
    }
    return RememberedDialog::eventFilter(watched, event);
}
