#pragma once

#include <QList>
#include <QString>
#include <deque>

// Core never opens a window: it hands every message to the caller through
// this interface. The windows show a message box; tests record the messages
// and answer the questions themselves.
enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct UserMessage {
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    QString detail; // shown on request: which record, which value
};

class UserNotifier {
public:
    virtual ~UserNotifier() = default;
    virtual MessageAnswer ask(const UserMessage& message) = 0;

    void tell(const QString& text, MessageIcon icon, const QString& title = appTitle(),
              const QString& detail = QString());
    bool askYesNo(const QString& text, const QString& title = appTitle());
    static QString appTitle();
};

// Keeps every message; answers questions from a queue (Yes when it runs dry).
class RecordingNotifier : public UserNotifier {
public:
    MessageAnswer ask(const UserMessage& message) override;

    QList<UserMessage> messages;
    std::deque<MessageAnswer> answers;

    QStringList texts() const;
    bool contains(const QString& text) const;
};
