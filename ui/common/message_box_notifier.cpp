#include "message_box_notifier.h"

#include <QAbstractButton>
#include <QMessageBox>

MessageAnswer MessageBoxNotifier::ask(const UserMessage& message)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(message.title.isEmpty() ? UserNotifier::appTitle() : message.title);
    box.setText(message.text);
    // A short cause (a full disk, the file's name) is shown at once; a long
    // list of records waits behind the details button.
    if (!message.detail.isEmpty()) {
        if (message.detail.count(u'\n') < 4 && message.detail.size() <= 300)
            box.setInformativeText(message.detail);
        else
            box.setDetailedText(message.detail);
    }
    switch (message.icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MessageIcon::Question: box.setIcon(QMessageBox::Question); break;
    }
    switch (message.buttons) {
    case MessageButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MessageButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MessageButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // The buttons speak Japanese whatever the desktop's language.
    using namespace Qt::StringLiterals;
    if (auto* b = box.button(QMessageBox::Yes))
        b->setText(u"はい(&Y)"_s);
    if (auto* b = box.button(QMessageBox::No))
        b->setText(u"いいえ(&N)"_s);
    if (auto* b = box.button(QMessageBox::Cancel))
        b->setText(u"ｷｬﾝｾﾙ"_s);
    if (auto* b = box.button(QMessageBox::Ok))
        b->setText(u"OK"_s);
    switch (box.exec()) {
    case QMessageBox::Yes: return MessageAnswer::Yes;
    case QMessageBox::No: return MessageAnswer::No;
    case QMessageBox::Cancel: return MessageAnswer::Cancel;
    default: return MessageAnswer::Ok;
    }
}
