#include "exchange_commands.h"

#include "app_context.h"
#include "exchange_files.h"
#include "wait_cursor.h"
#include "widgets.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

AreaCheckDialog::AreaCheckDialog(AppContext& context, QWidget* parent) : RememberedDialog(context.positions, parent)
{
    setObjectName(u"AREA_CHK"_s);
    setWindowTitle(u"読込地域"_s);
    m_text = new QLineEdit(this);
    m_text->setObjectName(u"Text1"_s);
    m_text->setMinimumWidth(180);
    OkCancelRow buttons = makeOkCancelRow(this, u"B_OK"_s, u"OK"_s, u"B_ESC"_s);
    buttons.ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(u"読込元地区名"_s, this));
    row->addWidget(m_text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons.row);
    // Enter in the box presses OK, the default.
    connect(buttons.ok, &QPushButton::clicked, this, &AreaCheckDialog::takeTypedArea);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void AreaCheckDialog::takeTypedArea()
{
    m_typed = m_text->text().trimmed();
    accept();
}

FileChooser exchangeFileDialog(AppContext& context, QWidget* parent)
{
    return [&context, parent](bool save) {
        const QString folder = context.store.paths.dataFolder;
        if (save)
            return QFileDialog::getSaveFileName(parent, u"ファイル作成"_s, folder,
                                                u"名簿ファイル (*.NK* *.nk*);;全ファイル (*)"_s);
        return QFileDialog::getOpenFileName(parent, u"ファイル読込"_s, folder,
                                            u"名簿ファイル (*.NK1 *.NK2 *.nk1 *.nk2)"_s);
    };
}

void exportExchangePair(AppContext& context, const FileChooser& choose)
{
    const QString chosen = choose(true);
    if (chosen.isEmpty())
        return;
    WaitCursor wait;
    exchange::exportPair(context.store, context.session.schoolFilter, exchange::exportNames(chosen), context.notifier);
}

void exportPrefectureSchools(AppContext& context)
{
    WaitCursor wait;
    exchange::exportPrefectureFile(context.store, context.notifier);
}

bool importExchangePair(AppContext& context, const FileChooser& choose, QWidget* parent)
{
    const QString chosen = choose(false);
    if (chosen.isEmpty())
        return false;
    const std::optional<exchange::PairNames> names = exchange::importNames(chosen);
    if (!names) {
        context.notifier.tell(u"ﾌｧｲﾙが違います"_s, MessageIcon::Warning);
        return false;
    }
    return exchange::importPair(context.store, *names, context.notifier, [&context, parent](const QString&) {
               AreaCheckDialog dialog(context, parent);
               return dialog.exec() == QDialog::Accepted ? dialog.typedArea() : QString();
           }) == 1;
}
