#include "widgets.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* makeEdit(const QString& name, QWidget* parent, int width, int maxLength)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (width > 0)
        e->setFixedWidth(width);
    if (maxLength > 0)
        e->setMaxLength(maxLength);
    return e;
}

QLineEdit* makeNumberBox(const QString& name, QWidget* parent, int width, int maxLength)
{
    QLineEdit* e = makeEdit(name, parent, width, maxLength);
    e->setAlignment(Qt::AlignRight);
    return e;
}

QPushButton* makeButton(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* makeCheck(const QString& name, const QString& text, QWidget* parent)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(name);
    return c;
}
