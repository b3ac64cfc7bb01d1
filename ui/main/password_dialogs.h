#pragma once

#include "remembered_dialog.h"

#include <QDate>

struct AppContext;
class QLabel;
class QLineEdit;

// パスワード設定. On OK the new password (or none) is handed to `onSet`,
// which keeps it; the dialog closes.
class PassSetDialog : public RememberedDialog {
    Q_OBJECT
public:
    PassSetDialog(AppContext& context, QWidget* parent = nullptr);
    // Set after an accepted dialog: "" for no password.
    const QString& newPassword() const { return m_password; }
    QLineEdit* entryBox() const { return m_entry; } // NEW_PASS

private:
    void choosePassword(); // OK
    AppContext& m_context;
    QLineEdit* m_entry;
    QString m_password;
};

// パスワード入力: the door to the roster when a password is set.
class PassInDialog : public RememberedDialog {
    Q_OBJECT
public:
    PassInDialog(AppContext& context, QString storedHash, QString knownPassword, const QDate& today,
                 QWidget* parent = nullptr);
    // True when the user chose to end the program instead.
    bool quitRequested() const { return m_quit; }
    QLineEdit* entryBox() const { return m_entry; } // PASS

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void checkPassword(); // OK
    AppContext& m_context;
    QString m_storedHash;
    QString m_knownPassword;
    QDate m_today;
    QLineEdit* m_entry;
    QLabel* m_label;
    int m_revealPresses = 0;
    bool m_quit = false;
};
