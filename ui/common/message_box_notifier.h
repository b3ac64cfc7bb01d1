#pragma once

#include "user_notifier.h"

class QWidget;

// Shows core's messages as message boxes over `parent`.
class MessageBoxNotifier : public UserNotifier {
public:
    explicit MessageBoxNotifier(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    MessageAnswer ask(const UserMessage& message) override;

private:
    QWidget* m_parent;
};
