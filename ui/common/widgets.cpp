#include "widgets.h"

#include "roster_store.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;

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

QRadioButton* makeRadio(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(name);
    return b;
}

OkCancelRow makeOkCancelRow(QWidget* dialog, const QString& okName, const QString& okText, const QString& cancelName)
{
    // Plain dialog buttons: Enter presses the one that has the focus.
    auto* ok = new QPushButton(okText, dialog);
    ok->setObjectName(okName);
    auto* cancel = new QPushButton(u"ｷｬﾝｾﾙ"_s, dialog);
    cancel->setObjectName(cancelName);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return {ok, cancel, row};
}

QComboBox* makeChoice(const QString& name, QWidget* parent, int minimumWidth)
{
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    if (minimumWidth > 0)
        c->setMinimumWidth(minimumWidth);
    return c;
}

SchoolKindChecks SchoolKindChecks::make(QWidget* parent)
{
    return {makeCheck(u"CHK_ES"_s, u"小学校"_s, parent), makeCheck(u"CHK_JHS"_s, u"中学校"_s, parent),
            makeCheck(u"CHK_TS"_s, u"養護学校"_s, parent)};
}

int SchoolKindChecks::kinds() const
{
    return (elementary->isChecked() ? 1 : 0) | (junior->isChecked() ? 2 : 0) | (special->isChecked() ? 4 : 0);
}

void SchoolKindChecks::show(int kinds) const
{
    elementary->setChecked(kinds & 1);
    junior->setChecked(kinds & 2);
    special->setChecked(kinds & 4);
}

QStringList shownAreaNames(const RosterStore& store)
{
    return store.municipalities.areaNames.isEmpty() ? store.places.areaNamesBC : store.municipalities.areaNames;
}
