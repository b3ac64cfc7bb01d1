#include "ctv_chg_dialog.h"

#include "app_context.h"
#include "reference_tables.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

CtvChgDialog::CtvChgDialog(AppContext& context, QWidget* parent)
    : RememberedDialog(context.positions, parent),
      m_context(context)
{
    setObjectName(u"CTV_CHG"_s);
    setWindowTitle(u"市町村名変更"_s);

    auto* note = new QLabel(u"市町村の吸収合併以外使用しないで下さい"_s, this);
    note->setObjectName(u"Label3"_s);
    auto* oldLabel = new QLabel(u"旧 市町村名"_s, this);
    auto* newLabel = new QLabel(u"新 市町村名"_s, this);
    m_old = new QComboBox(this);
    m_old->setObjectName(u"CTV_OLD"_s);
    m_new = new QComboBox(this);
    m_new->setObjectName(u"CTV_NEW"_s);
    for (QComboBox* box : {m_old, m_new}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumWidth(200);
        for (const MunicipalityEntry& e : m_context.store.municipalities.entries)
            box->addItem(e.name);
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    oldLabel->setBuddy(m_old);
    newLabel->setBuddy(m_new);

    auto* ok = new QPushButton(u"実行"_s, this);
    ok->setObjectName(u"B_OK"_s);
    ok->setAutoDefault(false);
    auto* close = new QPushButton(u"閉じる"_s, this);
    close->setObjectName(u"B_CLOSE"_s);
    close->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(note, 0, 0, 1, 3);
    grid->addWidget(oldLabel, 1, 0);
    grid->addWidget(m_old, 1, 1, 1, 2);
    grid->addWidget(newLabel, 2, 0);
    grid->addWidget(m_new, 2, 1, 1, 2);
    grid->addWidget(ok, 3, 1);
    grid->addWidget(close, 3, 2);

    connect(ok, &QPushButton::clicked, this, &CtvChgDialog::renameChosenMunicipality);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CtvChgDialog::renameChosenMunicipality()
{
    if (renameMunicipality(m_context.store, m_old->currentText(), m_new->currentText(), m_context.notifier))
        accept();
}
