#include "year_dialog.h"

#include "era_years.h"
#include "roster_year.h"
#include "user_notifier.h"
#include "widgets.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

YearDialog::YearDialog(WindowPositions& positions, UserNotifier& notifier, const QDate& today, QWidget* parent)
    : RememberedDialog(positions, parent),
      m_notifier(notifier),
      m_today(today)
{
    setObjectName(u"F_SET"_s);
    setWindowTitle(u"名簿作成年度"_s);

    // The year is typed as the users say it (令和8, R8, 8) or as the roster
    // files number it (平成38, H38); the label below says which year that is
    // in both, so a clerk can match it with the files of the data folder.
    m_entry = new QLineEdit(rosterYearEntryText(proposedYear(today)), this);
    m_entry->setObjectName(u"T_Y"_s);
    m_entry->setMaxLength(8);
    m_entry->setMinimumWidth(fontMetrics().horizontalAdvance(u"令和８８年度"_s));
    m_entry->setAlignment(Qt::AlignRight);
    m_entry->setToolTip(u"令和の年（8、R8、令和8）か、名簿ファイルの平成の年数（38、H38、平成38）"_s);
    m_entry->installEventFilter(this);
    m_both = new QLabel(this);
    m_both->setObjectName(u"Label_ERA"_s);
    auto* yearRow = new QHBoxLayout;
    yearRow->addWidget(m_entry);
    yearRow->addWidget(new QLabel(u"年度"_s, this));
    yearRow->addStretch();

    auto* group = new QGroupBox(this);
    auto* views = new QVBoxLayout(group);
    const QStringList captions{u"学校リスト"_s, u"職員リスト"_s, u"集計"_s};
    for (int i = 0; i < 3; ++i) {
        m_views[i] = new QRadioButton(captions[i], group);
        m_views[i]->setObjectName(u"OPT%1"_s.arg(i + 1));
        views->addWidget(m_views[i]);
    }
    m_views[0]->setChecked(true);

    const OkCancelRow buttons = makeOkCancelRow(this, u"OK"_s, u"ＯＫ"_s, u"ESC"_s);
    m_ok = buttons.ok;

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(yearRow);
    layout->addWidget(m_both);
    layout->addWidget(group);
    layout->addLayout(buttons.row);

    connect(buttons.ok, &QPushButton::clicked, this, &YearDialog::openChosenYear);
    connect(m_entry, &QLineEdit::textChanged, this, &YearDialog::showBothYears);
    showBothYears();
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_entry->selectAll();
    m_entry->setFocus();
}

int YearDialog::initialView() const
{
    for (int i = 0; i < 3; ++i)
        if (m_views[i]->isChecked())
            return i + 1;
    return 1;
}

bool YearDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the year box does nothing: the user chooses the list, then OK.
    if (watched == m_entry && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return RememberedDialog::eventFilter(watched, event);
}

void YearDialog::openChosenYear()
{
    const std::optional<int> nn = parseYearEntry(m_entry->text(), m_today);
    if (!nn) {
        m_notifier.tell(u"年度を正しく入力してください（%1まで）"_s.arg(fiscalYearCaption(lastRosterYear(m_today))),
                        MessageIcon::Warning);
        m_entry->selectAll();
        m_entry->setFocus();
        return;
    }
    m_year = *nn;
    accept();
}

void YearDialog::showBothYears()
{
    const std::optional<int> nn = parseRosterYear(m_entry->text(), m_today);
    if (!nn) {
        m_both->setText(u"（年度を入力してください）"_s);
        return;
    }
    const QString era = fiscalYearCaption(*nn), stored = heiseiYearCaption(*nn);
    m_both->setText(era == stored
                        ? era + u"　ファイル "_s + QString::number(*nn) + u"MEIBO.NKD"_s
                        : era + u"（"_s + stored + u"）　ファイル "_s + QString::number(*nn) + u"MEIBO.NKD"_s);
}
