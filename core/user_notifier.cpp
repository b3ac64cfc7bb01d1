#include "user_notifier.h"

using namespace Qt::StringLiterals;

QString UserNotifier::appTitle()
{
    return u"なかま帳"_s;
}

void UserNotifier::tell(const QString& text, MessageIcon icon, const QString& title, const QString& detail)
{
    ask(UserMessage{text, title, icon, MessageButtons::Ok, detail});
}

bool UserNotifier::askYesNo(const QString& text, const QString& title)
{
    return ask(UserMessage{text, title, MessageIcon::Question, MessageButtons::YesNo, QString()}) ==
           MessageAnswer::Yes;
}

MessageAnswer RecordingNotifier::ask(const UserMessage& message)
{
    messages.append(message);
    if (message.buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    if (answers.empty())
        return message.buttons == MessageButtons::OkCancel ? MessageAnswer::Ok : MessageAnswer::Yes;
    const MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
}

QStringList RecordingNotifier::texts() const
{
    QStringList out;
    for (const auto& m : messages)
        out << m.text;
    return out;
}

bool RecordingNotifier::contains(const QString& text) const
{
    return texts().contains(text);
}
