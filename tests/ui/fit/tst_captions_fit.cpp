// Every window at the size it opens with: no caption of a label, button,
// check box, option button or frame is cut off.
#include "app_context.h"
#include "ctv_chg_dialog.h"
#include "date_dialogs.h"
#include "exchange_commands.h"
#include "label_designer.h"
#include "main_window.h"
#include "network_window.h"
#include "officer_list_window.h"
#include "password_dialogs.h"
#include "print_framework.h"
#include "print_options_dialog.h"
#include "reference_tables.h"
#include "sample_roster.h"
#include "school_editor.h"
#include "school_list_window.h"
#include "staff_editor.h"
#include "staff_list_window.h"
#include "staff_select_dialog.h"
#include "startup.h"
#include "statistics_window.h"
#include "test_env.h"
#include "transfer_window.h"
#include "ui_helpers.h"
#include "user_settings_dialog.h"
#include "version_dialog.h"
#include "window_context.h"
#include "year_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Roster : WindowContext {
    Roster()
    {
        store.profile.areaName = u"瑠璃県"_s;
        store.paths.dataFolder = dir.path();
        SampleOptions o;
        o.schools = 30;
        o.staff = 40;
        buildMunicipalityTable(store, 20);
        generateSampleRoster(store, o);
        context.session.resetStaffListOrder();
        store.reindexStaff();
        std::vector<int> rows;
        for (int i = 0; i < store.schoolCount(); ++i)
            rows.push_back(i);
        context.session.setShownSchools(store, rows);
    }
};

QString plain(QString text)
{
    // "&" marks an accelerator and takes no room unless doubled.
    text.replace(u"&&"_s, u"\x01"_s);
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

// What is cut off in `root`: "caption: shown width < needed width".
QStringList clipped(QWidget* root)
{
    QStringList out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->inherits("QMdiSubWindow"))
            continue;
        QString text;
        int need = 0;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
                continue;
            text = label->text();
            const QSize box = label->fontMetrics().size(Qt::TextShowMnemonic, text);
            need = box.width() + 2 * (label->margin() + label->frameWidth()) + std::max(0, label->indent());
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            text = check->text();
            if (text.isEmpty())
                continue;
            need = check->sizeHint().width();
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            text = radio->text();
            if (text.isEmpty())
                continue;
            need = radio->sizeHint().width();
        } else if (auto* button = qobject_cast<QPushButton*>(w)) {
            text = plain(button->text());
            if (text.isEmpty())
                continue;
            // The text and the style's margins; buttons may be narrower than
            // the style's preferred width as long as their text is whole.
            need = button->fontMetrics().horizontalAdvance(text) +
                   button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                   2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            if (text.isEmpty())
                continue;
            need = group->fontMetrics().horizontalAdvance(plain(text)) + 16;
        } else {
            continue;
        }
        if (w->width() < need || w->height() < w->fontMetrics().height())
            out << u"%1 (%2): %3×%4 < %5"_s.arg(text, w->objectName()).arg(w->width()).arg(w->height()).arg(need);
    }
    return out;
}

// A list view as the frame shows it: a child window filling the frame's
// work area at the frame's default size.
struct Frame {
    QMdiArea area;
    explicit Frame(QSize size = {960, 600}) { area.resize(size); }
    QWidget* show(QWidget* view)
    {
        QMdiSubWindow* sub = area.addSubWindow(view);
        area.show();
        sub->show();
        QCoreApplication::processEvents();
        return view;
    }
};

void check(QWidget* window, const QString& shot)
{
    if (!window->isVisible())
        window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window->window()));
    QCoreApplication::processEvents();
    testenv::keepShot(window->window(), u"fit_"_s + shot);
    const QStringList cut = clipped(window);
    QVERIFY2(cut.isEmpty(), qPrintable(shot + u": "_s + cut.join(u"; "_s)));
}
} // namespace

class TestCaptionsFit : public QObject {
    Q_OBJECT
private slots:
    void theListViews()
    {
        Roster r;
        {
            Frame f;
            auto* list = new SchoolListWindow(r.context);
            check(f.show(list), u"s_list"_s);
        }
        {
            Frame f;
            check(f.show(new StaffListWindow(r.context)), u"m_list"_s);
        }
        {
            Frame f;
            check(f.show(new OfficerListWindow(r.context)), u"yakuin"_s);
        }
    }

    void theStatisticsWindowFitsA1024By768Screen()
    {
        Roster r;
        // The frame maximised on a 1024×768 screen, less its menu, button bar
        // and a task bar.
        const QSize work(1024, 768 - 130);
        Frame f(work);
        auto* stats = new StatisticsWindow(r.context);
        f.show(stats);
        testenv::keepShot(&f.area, u"fit_calc_1024"_s);
        const QSize needed = stats->minimumSizeHint().expandedTo(stats->minimumSize());
        QVERIFY2(needed.width() <= work.width() && needed.height() <= work.height(),
                 qPrintable(u"%1×%2"_s.arg(needed.width()).arg(needed.height())));
        QVERIFY2(stats->width() <= work.width() && stats->height() <= work.height(),
                 qPrintable(u"%1×%2"_s.arg(stats->width()).arg(stats->height())));
        check(stats, u"calc"_s);
    }

    void theDialogs()
    {
        Roster r;
        StaffRecord& member = r.store.staff[0];
        PrintRequest request = PrintRequest::forJob(PrintJobCode::Roster25);
        std::vector<std::pair<QString, std::function<QWidget*()>>> windows{
            {u"edit_m"_s, [&] { return new StaffEditor(r.context, StaffEditor::EditM, 0); }},
            {u"edit_s"_s,
             [&] {
                 return new SchoolEditor(r.context, {0, 1, 2}, 0);
             }},
            {u"day_set"_s, [&] { return new DaySetDialog(r.context, member, DateFieldKind::Hire); }},
            {u"day_back"_s, [&] { return new DayBackDialog(r.context, member, DateFieldKind::Birth); }},
            {u"select"_s, [&] { return new StaffSelectDialog(r.context); }},
            {u"code_chg"_s, [&] { return new CodeChangeDialog(r.context, 0); }},
            {u"year"_s, [&] { return new YearDialog(r.positions, r.notifier, QDate(2026, 12, 9)); }},
            {u"user_set"_s, [&] { return new UserSettingsDialog(r.context); }},
            {u"pass_set"_s, [&] { return new PassSetDialog(r.context); }},
            {u"pass_in"_s, [&] { return new PassInDialog(r.context, QString(), QString(), QDate(2026, 12, 9)); }},
            {u"ctv_chg"_s, [&] { return new CtvChgDialog(r.context); }},
            {u"area_chk"_s, [&] { return new AreaCheckDialog(r.context); }},
            {u"labels"_s, [&] { return new LabelDesigner(r.context); }},
            {u"net_f"_s,
             [&] {
                 auto* w = new NetworkWindow(r.context, {}, false);
                 w->chooseMode = [] { return NetworkChooser::New; };
                 return w;
             }},
            {u"net_self"_s, [&] { return new NetworkChooser(); }},
            {u"move_f"_s, [&] { return new TransferWindow(r.context); }},
            {u"prt_set"_s, [&] { return new PrintOptionsDialog(r.context, request); }},
        };
        for (const auto& [name, make] : windows) {
            std::unique_ptr<QWidget> w(make());
            check(w.get(), name);
        }
    }
};

QTEST_MAIN(TestCaptionsFit)
#include "tst_captions_fit.moc"
