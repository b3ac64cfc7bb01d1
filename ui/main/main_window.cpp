#include "main_window.h"

#include "app_context.h"
#include "ctv_chg_dialog.h"
#include "exchange_commands.h"
#include "password.h"
#include "password_dialogs.h"
#include "periods.h"
#include "print_runner.h"
#include "roster_files.h"
#include "roster_year.h"
#include "startup.h"
#include "user_settings_dialog.h"
#include "version_dialog.h"
#include "wait_cursor.h"
#include "window_geometry.h"
#include "year_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

MainWindow::MainWindow(AppContext& context, SuiteSession& suite, SettingsStore& settings, QWidget* parent)
    : QMainWindow(parent),
      m_context(context),
      m_suite(suite),
      m_settings(settings)
{
    setObjectName(u"MAIN_F"_s);
    setWindowTitle(u"なかま帳"_s);
    setMinimumSize(twips::toPixels(9700), twips::toPixels(6900));
    setWindowIcon(programIcon());
    resize(960, 680);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(u"MDI"_s);
    setCentralWidget(m_mdi);
    buildMenus();
    buildButtonBar();
    printView = [this](PrintJobCode job) { printWithDialogs(m_context, newPrintRequest(m_context.store, job), this); };
    chooseExchangeFile = exchangeFileDialog(m_context, this);
    writeExchangeFiles = [this] { exportExchangePair(m_context, chooseExchangeFile); };
    writePrefectureFile = [this] { exportPrefectureSchools(m_context); };
    readExchangeFiles = [this] {
        showView(NoView);
        importExchangePair(m_context, chooseExchangeFile, this);
    };

    // Start: nothing can be opened or saved until the first activation says so.
    WaitCursor wait;
    for (const QString& name : {u"F_F_OPEN"_s, u"F_F_OUT"_s, u"F_F_SAVE"_s, u"F_F_IN"_s})
        m_actions[name]->setEnabled(false);
    RosterStore& store = m_context.store;
    store.dirty = 0;
    m_suite.loadSuiteSettings();
    store.saveMode = SaveMode::Binary;
    store.surveyDate = fiscalYearStart(clock());
    refreshYearLabels();
    setMenuBarVisible(false);
    showView(NoView);
}

MainWindow::~MainWindow()
{
    // The views tell the frame when they go (人事異動, ファイル作成): let
    // them go now, while the frame can still hear it, not from the base
    // class destructor after the frame's own members are gone.
    m_open.clear();
    delete m_mdi;
    m_mdi = nullptr;
}

QIcon MainWindow::programIcon()
{
    // A book-coloured square with な, drawn rather than shipped as a file.
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x2f, 0x6d, 0xb5));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    QFont f(u"IPAGothic"_s);
    f.setPixelSize(42);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 64, 62), Qt::AlignCenter, u"な"_s);
    p.end();
    return QIcon(pixmap);
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& name, const QString& text, std::function<void()> command)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
    m_actions[name] = a;
    return a;
}

QMenu* MainWindow::addMenu(const QString& name, const QString& text)
{
    QMenu* menu = menuBar()->addMenu(text);
    menu->setObjectName(name);
    return menu;
}

void MainWindow::buildMenus()
{
    buildFileMenu(addMenu(u"M_MENU"_s, u"ファイル(&F)"_s));
    QMenu* settings = addMenu(u"M1"_s, u"設定(&S)"_s);
    addCommand(settings, u"F_USER_SET"_s, u"環境設定(&K)"_s, [this] { editUserSettings(); });
    addCommand(settings, u"F_SET_PASS"_s, u"パスワード(&P)"_s, [this] { setPassword(); });
    addCommand(settings, u"F_SET_CTV"_s, u"市町村名変更(&C)"_s, [this] { openMunicipalityRename(); });
    QMenu* help = addMenu(u"F_Z2"_s, u"ヘルプ(&H)"_s);
    addCommand(help, u"m_help"_s, u"ﾄﾋﾟｯｸの検索(&T)"_s, [this] { showHelp(); });
    addCommand(help, u"VER_OPEN"_s, u"ﾊﾞｰｼﾞｮﾝ情報(&A)"_s, [this] { showVersion(); });
}

void MainWindow::buildFileMenu(QMenu* file)
{
    // The commands other parts of the program provide run only once provided.
    auto provided = [](const std::function<void()>& command) {
        return [&command] {
            if (command)
                command();
        };
    };
    addCommand(file, u"F_F_OPEN"_s, u"開く(&O)"_s, [this] { openAnotherYear(); });
    addCommand(file, u"F_F_SAVE"_s, u"保存(&S)"_s, [this] { askToSaveRoster(); });
    file->addSeparator();
    addCommand(file, u"F_F_IN"_s, u"ファイル読込(&I)"_s, provided(readExchangeFiles));
    addCommand(file, u"F_F_OUT"_s, u"ファイル作成(&E)"_s, provided(writeExchangeFiles));
    addCommand(file, u"F_F_RURI"_s, u"ファイル瑠璃(&C)"_s, provided(writePrefectureFile));
    addCommand(file, u"F_F_MOVE"_s, u"人事異動"_s, provided(openTransfers))->setVisible(false);
    file->addSeparator();
    addCommand(file, u"F_PRT_SET"_s, u"プリンタ設定(&U)"_s, [this] { choosePrinter(); });
    addCommand(file, u"F_PRT_Y"_s, u"調査用紙（&P）"_s, [this] { askToPrintSurveyForms(); });
    file->addSeparator();
    addCommand(file, u"F_END"_s, u"なかま帳　終了(&X)"_s, [this] { close(); });
}

void MainWindow::buildButtonBar()
{
    auto* bar = new QToolBar(this);
    bar->setObjectName(u"TOOLBAR"_s);
    bar->setMovable(false);
    bar->setFloatable(false);
    addToolBar(Qt::TopToolBarArea, bar);
    buildViewButtons(bar);
    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    buildYearInfo(bar);
}

void MainWindow::buildViewButtons(QToolBar* bar)
{
    m_buttonBar = new QWidget(bar);
    m_buttonBar->setObjectName(u"MENU_B"_s);
    auto* row = new QHBoxLayout(m_buttonBar);
    row->setContentsMargins(4, 2, 4, 2);
    auto add = [this, row](const QString& name, const QString& text, std::function<void()> command) {
        auto* b = new QPushButton(text, m_buttonBar);
        b->setObjectName(name);
        b->setFocusPolicy(Qt::TabFocus);
        connect(b, &QPushButton::clicked, this, [command = std::move(command)] { command(); });
        row->addWidget(b);
        m_buttons[name] = b;
    };
    add(u"B_SCHOOL"_s, u"学校ﾘｽﾄ"_s, [this] { showView(SchoolList); });
    add(u"B_MEIBO"_s, u"職員ﾘｽﾄ"_s, [this] { showView(StaffList); });
    add(u"B_CALC"_s, u"集計"_s, [this] { showView(Tallies); });
    add(u"B_YAKU"_s, u"県役員"_s, [this] { showView(OfficerList); });
    row->addSpacing(12);
    add(u"B_PRT"_s, u"印刷"_s, [this] { printFrontList(); });
    add(u"B_SAVE"_s, u"保存"_s, [this] { saveRoster(); });
    add(u"B_CLOSE"_s, u"閉じる"_s, [this] { showView(NoView); });
    add(u"B_END"_s, u"終了"_s, [this] { close(); });
    m_buttons[u"B_YAKU"_s]->setVisible(false);
    m_buttonBarAction = bar->addWidget(m_buttonBar);
}

void MainWindow::buildYearInfo(QToolBar* bar)
{
    auto* info = new QWidget(bar);
    auto* infoRow = new QHBoxLayout(info);
    infoRow->setContentsMargins(4, 2, 8, 2);
    m_yearCaption = new QLineEdit(info);
    m_yearCaption->setObjectName(u"EDIT_YEAR"_s);
    m_yearCaption->setReadOnly(true);
    m_yearCaption->setFocusPolicy(Qt::NoFocus);
    m_yearCaption->setFixedWidth(110);
    m_yearCaption->setAlignment(Qt::AlignCenter);
    auto* label = new QLabel(u"調査日"_s, info);
    label->setObjectName(u"Label1"_s);
    m_surveyDate = new QLabel(info);
    m_surveyDate->setObjectName(u"CHK_L"_s);
    infoRow->addWidget(m_yearCaption);
    infoRow->addSpacing(8);
    infoRow->addWidget(label);
    infoRow->addWidget(m_surveyDate);
    bar->addWidget(info);
}

void MainWindow::refreshYearLabels()
{
    m_yearCaption->setText(m_context.store.yearCaption());
    m_surveyDate->setText(formatEraDate(m_context.store.surveyDate, u"yyyy/mm/dd"_s));
}

void MainWindow::setMenuBarVisible(bool visible)
{
    // A widget on a tool bar is shown and hidden through its action.
    m_buttonBarAction->setVisible(visible);
}

void MainWindow::applyPrefectureLevel()
{
    m_buttons[u"B_YAKU"_s]->setVisible(m_context.store.prefectureLevel());
}

void MainWindow::setTransferCommandVisible(bool visible)
{
    m_actions[u"F_F_MOVE"_s]->setVisible(visible);
}

void MainWindow::setExportEnabled(bool enabled)
{
    m_actions[u"F_F_OUT"_s]->setEnabled(enabled);
}

void MainWindow::registerView(int view, ViewFactory factory)
{
    m_factories[view] = std::move(factory);
}

QWidget* MainWindow::viewWindow(int view) const
{
    const auto it = m_open.find(view);
    return it != m_open.end() && it->second ? it->second->widget() : nullptr;
}

void MainWindow::showView(int view)
{
    RosterStore& store = m_context.store;
    if (view == Tallies && store.staffCount() < 1) {
        m_context.notifier.tell(u"名簿が有りません"_s, MessageIcon::None);
        return;
    }
    // One view at a time.
    for (auto& [n, sub] : m_open)
        if (n != view && sub)
            sub->close();
    if (view == StaffList)
        store.reindexStaff();
    m_view = view;
    if (view != NoView && !viewWindow(view)) {
        const auto factory = m_factories.find(view);
        if (factory != m_factories.end()) {
            if (QWidget* w = factory->second()) {
                w->setAttribute(Qt::WA_DeleteOnClose);
                QMdiSubWindow* sub = m_mdi->addSubWindow(w);
                sub->setAttribute(Qt::WA_DeleteOnClose);
                m_open[view] = sub;
                sub->show();
            }
        }
    }
    // The staff list prints its telephone list through this button too.
    m_buttons[u"B_PRT"_s]->setEnabled(true);
    m_actions[u"F_SET_CTV"_s]->setEnabled(view == NoView);
    m_mdi->setBackground(view == NoView ? QBrush(Qt::white) : palette().brush(QPalette::Window));
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_placed) {
        m_placed = true;
        restoreWindowPosition(this, m_context.positions);
    }
    if (m_activateOnShow && !m_activated)
        QTimer::singleShot(0, this, &MainWindow::firstActivation);
}

bool MainWindow::askPassword()
{
    const QString stored = password::load(m_settings, m_suite.appKey());
    if (stored.isEmpty())
        return true;
    for (;;) {
        PassInDialog dialog(m_context, stored, m_knownPassword, clock(), this);
        if (dialog.exec() == QDialog::Accepted)
            return true;
        if (!dialog.quitRequested())
            return false;
        // Asked again after 環境設定 a year may be open with changes: ending
        // here asks to save them, as quitting does. When that save fails the
        // password is asked again, so the roster is not lost.
        if (saveBeforeEnding()) {
            endWithoutSaving();
            return false;
        }
    }
}

bool MainWindow::saveBeforeEnding()
{
    RosterStore& store = m_context.store;
    if (!m_yearCaption->text().isEmpty() && (store.schoolCount() > 0 || store.staffCount() > 0) && store.dirty == 1 &&
        m_context.notifier.askYesNo(u"データを保存しますか？"_s)) {
        WaitCursor wait;
        return saveWholeRoster(store, m_context.notifier);
    }
    return true;
}

void MainWindow::endWithoutSaving()
{
    saveWindowPosition(this, m_context.positions);
    m_suite.exportPortableSettings();
    m_ended = true;
    QCoreApplication::exit(0);
}

void MainWindow::firstActivation()
{
    if (m_activated)
        return;
    m_activated = true;
    RosterStore& store = m_context.store;
    const QDate today = clock();
    m_suite.applyStartFlagRule(today);
    if (m_suite.readUserSettings() != 1)
        m_context.notifier.tell(u"環境設定を確認してください"_s, MessageIcon::Warning);
    if (m_suite.removable()) {
        m_suite.secondDataFolder = m_suite.programFolder();
        m_suite.thirdDataFolder = m_suite.programFolder();
    }
    if (m_suite.testDataFolders() != 1)
        return;
    if (store.profile.areaName.trimmed().isEmpty())
        return;
    applyPrefectureLevel();
    setMenuBarVisible(true);
    m_actions[u"F_F_OPEN"_s]->setEnabled(true);
    if (!askPassword())
        return;
    m_actions[u"F_F_SAVE"_s]->setEnabled(true);
    m_actions[u"F_F_IN"_s]->setEnabled(true);
    loadPostalCodes(store, m_context.notifier);
    openYear();
    if (store.fiscalYear > 0)
        setMenuBarVisible(true);
    if (store.schoolCount() > 0 && store.staffCount() > 0)
        store.syncStaffFromSchools();
    showView(m_initialView);
}

bool MainWindow::openYear()
{
    YearDialog dialog(m_context.positions, m_context.notifier, clock(), this);
    if (dialog.exec() != QDialog::Accepted) {
        setMenuBarVisible(false);
        for (const QString& name : {u"F_F_SAVE"_s, u"F_F_OUT"_s, u"F_F_IN"_s})
            m_actions[name]->setEnabled(false);
        m_initialView = NoView;
        return false;
    }
    {
        WaitCursor wait;
        openRosterYear(m_context.store, dialog.year(), m_context.notifier);
        m_context.session.clearYear();
    }
    refreshYearLabels();
    m_initialView = dialog.initialView();
    setMenuBarVisible(true);
    m_actions[u"F_F_SAVE"_s]->setEnabled(true);
    m_actions[u"F_F_IN"_s]->setEnabled(true);
    return true;
}

void MainWindow::openAnotherYear()
{
    showView(NoView);
    if (!askToSaveRoster())
        return; // the roster the user wanted kept could not be written: keep it open
    openYear();
    if (m_context.store.fiscalYear > 0)
        setMenuBarVisible(true);
    if (m_initialView > 0)
        showView(m_initialView);
}

bool MainWindow::askToSaveRoster()
{
    if (m_yearCaption->text().isEmpty())
        return true;
    if (!m_context.notifier.askYesNo(u"データを保存しますか？"_s))
        return true;
    WaitCursor wait;
    return saveRosterFiles(m_context.store, m_context.notifier, RosterFileStaff | RosterFileSchools) == 1;
}

void MainWindow::saveRoster()
{
    WaitCursor wait;
    // Only a roster that reached its files counts as saved; after a failure
    // quitting still asks.
    if (saveWholeRoster(m_context.store, m_context.notifier))
        m_context.store.dirty = 0;
}

void MainWindow::printFrontList()
{
    // The job of the list window in front.
    PrintJobCode job = PrintJobCode::None;
    switch (m_view) {
    case SchoolList: job = PrintJobCode::Roster25; break;
    case StaffList: job = PrintJobCode::StaffPhoneList; break;
    case Tallies: job = PrintJobCode::Tallies; break;
    case OfficerList: job = PrintJobCode::OfficerRoster; break;
    default: break;
    }
    if (job == PrintJobCode::StaffPhoneList) {
        switch (m_context.notifier.ask({u"学校名無しの職員も印刷しますか"_s, UserNotifier::appTitle(),
                                        MessageIcon::Question, MessageButtons::YesNoCancel, QString()})) {
        case MessageAnswer::Yes: job = PrintJobCode::StaffPhoneListAll; break;
        case MessageAnswer::No: break;
        default: return;
        }
    }
    if (job != PrintJobCode::None && printView)
        printView(job);
}

void MainWindow::askToPrintSurveyForms()
{
    if (!m_context.notifier.askYesNo(u"調査用紙を印刷します"_s))
        return;
    if (printSurveyForms)
        printSurveyForms();
}

void MainWindow::choosePrinter()
{
    showPrinterSetUp(this);
}

void MainWindow::editUserSettings()
{
    showView(NoView);
    UserSettingsDialog dialog(m_context, this);
    if (dialog.exec() == QDialog::Accepted)
        m_suite.writeUserSettings(clock());
    RosterStore& store = m_context.store;
    if (store.profile.areaName.isEmpty())
        return;
    // On a first run the start-up stopped before the postal codes were read.
    if (store.postalCodes.entries.empty())
        loadPostalCodes(store, m_context.notifier);
    applyPrefectureLevel();
    if (!password::load(m_settings, m_suite.appKey()).isEmpty()) {
        if (!askPassword())
            return;
    } else {
        m_knownPassword.clear();
    }
    setMenuBarVisible(true);
    for (const QString& name : {u"F_F_OPEN"_s, u"F_F_SAVE"_s, u"F_F_IN"_s})
        m_actions[name]->setEnabled(true);
}

void MainWindow::setPassword()
{
    PassSetDialog dialog(m_context, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString chosen = dialog.newPassword();
    if (!password::save(m_settings, m_suite.appKey(),
                        chosen.isEmpty() ? QString() : password::makeStoredHash(chosen))) {
        // The password asked at the next start stays the one stored before.
        m_context.notifier.tell(u"パスワードを保存できませんでした。"_s, MessageIcon::Warning, UserNotifier::appTitle(),
                                m_settings.folder());
        return;
    }
    m_knownPassword = chosen;
    m_suite.writeUserSettings(clock());
}

void MainWindow::openMunicipalityRename()
{
    CtvChgDialog dialog(m_context, this);
    dialog.exec();
}

void MainWindow::showVersion()
{
    VersionDialog dialog(m_context.positions, m_suite, this);
    dialog.exec();
}

void MainWindow::showHelp()
{
    HelpDialog dialog(m_suite.dataFolder(), this);
    dialog.exec();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The open list follows the frame, less the margins of the original design.
    if (isMinimized())
        return;
    for (const auto& [view, sub] : m_open)
        if (sub && (view == SchoolList || view == StaffList))
            sub->resize(std::max(600, m_mdi->width() - twips::toPixels(200)), std::max(400, m_mdi->height() - 20));
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!saveBeforeEnding()) {
        // The user asked for the roster to be kept: stay open rather than lose it.
        event->ignore();
        return;
    }
    // The frame's own place goes into the portable settings it exports.
    saveWindowPosition(this, m_context.positions);
    m_suite.writeUserSettings(clock());
    m_suite.exportPortableSettings();
    m_ended = true;
    event->accept();
}
