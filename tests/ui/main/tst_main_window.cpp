#include "app_context.h"
#include "exchange_commands.h"
#include "exchange_files.h"
#include "fake_platform.h"
#include "frame_program.h"
#include "main_window.h"
#include "password.h"
#include "password_dialogs.h"
#include "reference_tables.h"
#include "roster_files.h"
#include "sample_roster.h"
#include "startup.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "up_down.h"
#include "user_settings_dialog.h"
#include "version_dialog.h"
#include "year_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// One start of the program on its own folders.
struct Program : FrameProgram {
    using FrameProgram::FrameProgram;
    void writeArea(const QString& area)
    {
        UserProfile p;
        p.areaName = area;
        writeUserSettingsFile(data + u"/NKMCHO.SEW"_s, p);
    }
    QPushButton* button(const QString& name) { return frame->findChild<QPushButton*>(name); }
    bool barShown() { return !frame->findChild<QWidget*>(u"MENU_B"_s)->isHidden(); }
    // Starts as a user of `area` and opens year `year` as a new roster.
    void openYear(const QString& area, const QString& year);
};

// Answers 名簿作成年度 with `year` and a first list.
void chooseYear(const QString& year, int view = 1)
{
    testenv::onModal<YearDialog>([year, view](YearDialog* d) {
        auto* entry = d->yearBox();
        entry->clear();
        QTest::keyClicks(entry, year);
        d->viewOption(view)->setChecked(true);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
}

// A frame that ended the program asked the application to quit; until the
// application loop runs once, every later dialog would close at once.
void forgetAnEarlierEnd()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

void Program::openYear(const QString& area, const QString& year)
{
    writeArea(area);
    chooseYear(year);
    notifier.answers = {MessageAnswer::No};
    frame->firstActivation();
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void theFrameAndItsCommands()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        QCOMPARE(p.frame->windowTitle(), u"なかま帳"_s);
        const QList<std::pair<QString, QString>> captions{
            {u"F_F_OPEN"_s, u"開く(&O)"_s},          {u"F_F_SAVE"_s, u"保存(&S)"_s},
            {u"F_F_IN"_s, u"ファイル読込(&I)"_s},    {u"F_F_OUT"_s, u"ファイル作成(&E)"_s},
            {u"F_F_RURI"_s, u"ファイル瑠璃(&C)"_s},  {u"F_F_MOVE"_s, u"人事異動"_s},
            {u"F_PRT_SET"_s, u"プリンタ設定(&U)"_s}, {u"F_PRT_Y"_s, u"調査用紙（&P）"_s},
            {u"F_END"_s, u"なかま帳　終了(&X)"_s},   {u"F_USER_SET"_s, u"環境設定(&K)"_s},
            {u"F_SET_PASS"_s, u"パスワード(&P)"_s},  {u"F_SET_CTV"_s, u"市町村名変更(&C)"_s},
            {u"m_help"_s, u"ﾄﾋﾟｯｸの検索(&T)"_s},     {u"VER_OPEN"_s, u"ﾊﾞｰｼﾞｮﾝ情報(&A)"_s}};
        for (const auto& [name, text] : captions) {
            QVERIFY2(p.action(name), qPrintable(name));
            QCOMPARE(p.action(name)->text(), text);
        }
        for (const auto& [name, text] : {std::pair{u"B_SCHOOL"_s, u"学校ﾘｽﾄ"_s},
                                         {u"B_MEIBO"_s, u"職員ﾘｽﾄ"_s},
                                         {u"B_CALC"_s, u"集計"_s},
                                         {u"B_YAKU"_s, u"県役員"_s},
                                         {u"B_PRT"_s, u"印刷"_s},
                                         {u"B_SAVE"_s, u"保存"_s},
                                         {u"B_CLOSE"_s, u"閉じる"_s},
                                         {u"B_END"_s, u"終了"_s}})
            QCOMPARE(p.button(name)->text(), text);
        QVERIFY(!p.action(u"F_F_MOVE"_s)->isVisible());
        QVERIFY(!p.action(u"F_F_OPEN"_s)->isEnabled());
        QVERIFY(!p.barShown());
        QCOMPARE(p.frame->findChild<QLabel*>(u"CHK_L"_s)->text(), u"2026/04/01"_s);
        QVERIFY(p.frame->minimumWidth() >= 646 && p.frame->minimumHeight() >= 460);
        QCOMPARE(p.frame->mdiArea()->background().color(), QColor(Qt::white));
    }

    void firstActivationWithoutUserSettings()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.frame->firstActivation();
        QCOMPARE(p.notifier.texts(), QStringList{u"環境設定を確認してください"_s});
        QVERIFY(!p.barShown()); // no area name: nothing can be opened yet
        QVERIFY(!p.action(u"F_F_OPEN"_s)->isEnabled());
        QCOMPARE(p.store.fiscalYear, qint16(0));
    }

    void openingANewEmptyYear()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        QCOMPARE(p.notifier.texts(), QStringList{u"名簿を新規に作成します"_s});
        QCOMPARE(p.store.fiscalYear, qint16(38));
        QCOMPARE(p.frame->findChild<QLineEdit*>(u"EDIT_YEAR"_s)->text(), u"令和8年度"_s);
        QCOMPARE(p.store.schoolCount(), qint16(0));
        QCOMPARE(p.store.staffCount(), qint16(0));
        QCOMPARE(p.store.municipalities.count(), 56);
        QVERIFY(p.barShown());
        QVERIFY(p.button(u"B_YAKU"_s)->isVisible());
        QVERIFY(p.action(u"F_F_SAVE"_s)->isEnabled());
        testenv::keepShot(p.frame.get(), u"main_f"_s);
        QVERIFY2(testenv::clippedCaptions(p.frame.get()).isEmpty(),
                 qPrintable(testenv::clippedCaptions(p.frame.get()).join(u", "_s)));

        // Quitting with nothing to save asks nothing, and writes the settings.
        p.notifier.messages.clear();
        p.frame->close();
        QVERIFY(p.notifier.messages.isEmpty());
        QVERIFY(QFile::exists(p.data + u"/NKMCHO.SEW"_s));
        QCOMPARE(settings.get(u"NAKAMA-CHO"_s, u"SCHOOL"_s, u"RUN_FLAG"_s), QString());
    }

    void areaUsersDoNotSeeTheOfficers()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"北部地区"_s, u"38"_s);
        QVERIFY(p.barShown());
        QVERIFY(!p.button(u"B_YAKU"_s)->isVisible());
        QVERIFY(p.store.municipalities.districtNames.isEmpty());
    }

    void theYearOffered()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        WindowPositions positions(settings, u"NAKAMA-CHO"_s);
        RecordingNotifier notifier;
        for (const auto& [day, offered] : {std::pair{QDate(2008, 1, 15), u"平成19"_s},
                                           {QDate(2008, 2, 28), u"平成19"_s},
                                           {QDate(2008, 3, 1), u"平成20"_s},
                                           {QDate(2008, 12, 31), u"平成20"_s},
                                           {QDate(2019, 3, 1), u"平成31"_s},
                                           {QDate(2020, 2, 29), u"平成31"_s},
                                           {QDate(2026, 12, 9), u"令和8"_s}}) {
            YearDialog d(positions, notifier, day);
            QCOMPARE(d.yearBox()->text(), offered);
            QCOMPARE(d.windowTitle(), u"名簿作成年度"_s);
        }
        // Letters, nothing, 0, far future: told, and the dialog stays.
        YearDialog d(positions, notifier, QDate(2026, 12, 9));
        d.show();
        auto* entry = d.yearBox();
        for (const QString& bad : {u"abc"_s, QString(), u"0"_s, u"999"_s, u"-3"_s}) {
            entry->setText(bad);
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            QVERIFY(d.isVisible());
            QCOMPARE(d.year(), 0);
        }
        QCOMPARE(notifier.messages.size(), 5);
        QCOMPARE(notifier.messages.last().text, u"年度を正しく入力してください（令和10年度まで）"_s);
        // Both numberings are shown while typing, and both open the same files.
        auto* both = d.findChild<QLabel*>(u"Label_ERA"_s);
        entry->setText(u"R8"_s);
        QCOMPARE(both->text(), u"令和8年度（平成38年度）　ファイル 38MEIBO.NKD"_s);
        testenv::keepShot(&d, u"f_set"_s);
        entry->setText(u"20"_s);
        QCOMPARE(both->text(), u"平成20年度　ファイル 20MEIBO.NKD"_s);
        entry->setText(u"令和８"_s); // full-width digits are a year too
        QTest::mouseClick(d.okButton(), Qt::LeftButton);
        QCOMPARE(d.year(), 38);
        QVERIFY(QDir(root.path()).entryList({u"*MEIBO*"_s}).isEmpty());
    }

    void aNewYearFromThePreviousOne()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        {
            // Year 17 as an area kept it, with schools in towns that merge in 18.
            RosterStore old;
            old.paths.dataFolder = root.filePath(u"data"_s);
            QDir().mkpath(old.paths.dataFolder);
            old.paths.setYear(17);
            old.profile.areaName = u"瑠璃県"_s;
            generateSampleRoster(old, SampleOptions{20, 20, 3, 17, false});
            const MergerRow& m = old.places.mergers[2]; // carries an address prefix
            old.schools[0].municipality = m.oldName;
            old.schools[0].address = u"本町1"_s;
            RecordingNotifier n;
            QVERIFY(saveStaff(old, n) == 1 && saveSchools(old, n) == 1 && saveMunicipalities(old, n) == 1);
        }
        Program p(root.path(), settings);
        p.writeArea(u"瑠璃県"_s);
        chooseYear(u"18"_s, 2);
        p.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        p.frame->firstActivation();
        QCOMPARE(p.notifier.texts(), (QStringList{u"名簿を新規に作成します"_s, u"前年度のデータを読み込みますか？"_s}));
        QCOMPARE(p.store.municipalities.count(), 56);
        QCOMPARE(p.store.schoolCount(), qint16(20));
        QCOMPARE(p.store.staffCount(), qint16(20));
        const MergerRow& m = p.store.places.mergers[2];
        QCOMPARE(p.store.schools[0].municipality, m.newName);
        QCOMPARE(p.store.schools[0].address, m.addressPrefix + u"本町1"_s);
        QCOMPARE(p.store.schools[0].municipalityIndex, qint16(p.store.municipalities.indexOf(m.newName)));
        QCOMPARE(p.store.dirty, qint16(1));
        QCOMPARE(p.store.surveyDate, Date::fromYmd(2006, 4, 1));
        QVERIFY(p.store.staff[0].ageYears > 0);
        QVERIFY(p.store.paths.staffFile.endsWith(u"18MEIBO.NKD"_s));

        // Quitting now asks, and Yes writes year 18's files.
        p.notifier.messages.clear();
        p.notifier.answers = {MessageAnswer::Yes};
        p.frame->close();
        QCOMPARE(p.notifier.texts(), QStringList{u"データを保存しますか？"_s});
        QVERIFY(QFile::exists(p.data + u"/18MEIBO.NKD"_s));
        QVERIFY(QFile::exists(p.data + u"/18SCHOOL.NSD"_s));
        QVERIFY(QFile::exists(p.data + u"/18CTV.NKD"_s));
    }

    void savingAsksOrNot()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        p.notifier.messages.clear();

        p.notifier.answers = {MessageAnswer::No};
        p.action(u"F_F_SAVE"_s)->trigger(); // always asks
        QCOMPARE(p.notifier.texts(), QStringList{u"データを保存しますか？"_s});
        QVERIFY(!QFile::exists(p.data + u"/38MEIBO.NKD"_s));

        p.notifier.messages.clear();
        p.store.staff.push_back(StaffRecord{});
        p.store.dirty = 1;
        QTest::mouseClick(p.button(u"B_SAVE"_s), Qt::LeftButton); // never asks
        QVERIFY(p.notifier.messages.isEmpty());
        QVERIFY(QFile::exists(p.data + u"/38MEIBO.NKD"_s));
        QCOMPARE(p.store.dirty, qint16(0));
        p.frame->close();
        QVERIFY(p.notifier.messages.isEmpty()); // saved: nothing to ask
    }

    void aFailedSaveKeepsTheRoster()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        p.store.staff.push_back(StaffRecord{});
        p.store.dirty = 1;
        // Something in the way of the staff file.
        QVERIFY(QDir(p.data).mkdir(u"38MEIBO.NKD"_s));
        p.notifier.messages.clear();
        QTest::mouseClick(p.button(u"B_SAVE"_s), Qt::LeftButton);
        QCOMPARE(p.notifier.messages.last().text, u"名簿の保存に失敗しました"_s);
        QCOMPARE(p.store.dirty, qint16(1)); // still unsaved
        p.notifier.answers = {MessageAnswer::Yes};
        QVERIFY(!p.frame->close()); // the window stays rather than losing the roster
        QVERIFY(p.frame->isVisible());
        QVERIFY(!p.frame->ended());
        // Opening another year after a failed save keeps this one open.
        bool offered = false;
        QTimer* watcher = testenv::onModal<YearDialog>([&offered](YearDialog* d) {
            offered = true;
            d->reject();
        });
        p.notifier.answers = {MessageAnswer::Yes};
        p.action(u"F_F_OPEN"_s)->trigger();
        QTest::qWait(50);
        QVERIFY(!offered);
        delete watcher;
        QCOMPARE(p.store.staffCount(), qint16(1));
        QVERIFY(QDir(p.data).rmdir(u"38MEIBO.NKD"_s));
        p.notifier.answers = {MessageAnswer::Yes};
        QVERIFY(p.frame->close());
        QVERIFY(QFileInfo(p.data + u"/38MEIBO.NKD"_s).isFile());
    }

    void viewsOpenOneAtATime()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        p.notifier.messages.clear();
        int made = 0;
        p.frame->registerView(MainWindow::SchoolList, [&made] {
            ++made;
            auto* w = new QWidget;
            w->setWindowTitle(u"学校ﾘｽﾄ"_s);
            return w;
        });
        QTest::mouseClick(p.button(u"B_SCHOOL"_s), Qt::LeftButton);
        QCOMPARE(p.frame->currentView(), 1);
        QVERIFY(p.frame->viewWindow(1));
        QCOMPARE(made, 1);
        QVERIFY(!p.action(u"F_SET_CTV"_s)->isEnabled());
        QCOMPARE(p.frame->mdiArea()->background().color(), p.frame->palette().color(QPalette::Window));
        QTest::mouseClick(p.button(u"B_SCHOOL"_s), Qt::LeftButton); // already open: not made twice
        QCOMPARE(made, 1);

        QTest::mouseClick(p.button(u"B_MEIBO"_s), Qt::LeftButton); // not built yet: nothing
        QCOMPARE(p.frame->currentView(), 2);
        QTRY_VERIFY(!p.frame->viewWindow(1));
        QVERIFY(p.button(u"B_PRT"_s)->isEnabled()); // the staff telephone list prints from here
        QVERIFY(p.notifier.messages.isEmpty());

        QTest::mouseClick(p.button(u"B_CALC"_s), Qt::LeftButton); // no staff
        QCOMPARE(p.notifier.texts(), QStringList{u"名簿が有りません"_s});

        QTest::mouseClick(p.button(u"B_CLOSE"_s), Qt::LeftButton);
        QCOMPARE(p.frame->currentView(), 0);
        QVERIFY(p.action(u"F_SET_CTV"_s)->isEnabled());
        QCOMPARE(p.frame->mdiArea()->background().color(), QColor(Qt::white));

        // Printing the staff list asks about staff without a school.
        PrintJobCode printed = PrintJobCode::None;
        p.frame->printView = [&printed](PrintJobCode job) { printed = job; };
        p.frame->showView(MainWindow::SchoolList);
        QTest::mouseClick(p.button(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(printed, PrintJobCode::Roster25);
    }

    void readingAnExchangePair()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        {
            RosterStore other;
            other.paths.dataFolder = p.data;
            generateSampleRoster(other, SampleOptions{6, 8, 11, 38, false});
            SchoolFilter everything;
            everything.narrowed = true;
            RecordingNotifier n;
            QCOMPARE(exchange::exportPair(other, everything, exchange::exportNames(p.data + u"/AREA9"_s), n), 1);
        }
        // A file that is not an exchange file is refused.
        p.frame->chooseExchangeFile = [&p](bool) { return p.data + u"/NKMCHO.SEW"_s; };
        p.notifier.messages.clear();
        p.action(u"F_F_IN"_s)->trigger();
        QCOMPARE(p.notifier.texts(), QStringList{u"ﾌｧｲﾙが違います"_s});
        p.frame->chooseExchangeFile = [&p](bool) { return p.data + u"/AREA9.NK2"_s; };
        testenv::onModal<AreaCheckDialog>([](AreaCheckDialog* d) {
            QCOMPARE(d->windowTitle(), u"読込地域"_s);
            auto* text = d->findChild<QLineEdit*>(u"Text1"_s);
            QTest::keyClicks(text, u"RURI"_s);
            QTest::keyClick(text, Qt::Key_Return);
        });
        p.action(u"F_F_IN"_s)->trigger();
        QCOMPARE(p.store.schoolCount(), qint16(6));
        QVERIFY(p.store.staffCount() >= 6); // the posted staff of the six schools
        for (const SchoolRecord& s : p.store.schools)
            QVERIFY(s.clerks[0].staffCode == 0 || p.store.findStaffByCode(s.clerks[0].staffCode) >= 0);
        QCOMPARE(p.frame->currentView(), 0);
        QCOMPARE(p.store.dirty, qint16(1));
    }

    void thePasswordAcrossARestart()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        {
            Program p(root.path(), settings);
            p.openYear(u"瑠璃県"_s, u"38"_s);

            // Seven characters: refused; eight: asked, then kept.
            testenv::onModal<PassSetDialog>([](PassSetDialog* d) {
                auto* entry = d->entryBox();
                QTest::keyClicks(entry, u"abc1234"_s);
                QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
                QVERIFY(d->isVisible());
                entry->setText(u"Ruri2026"_s);
                QTest::keyClick(entry, Qt::Key_Return);
            });
            p.notifier.messages.clear();
            p.notifier.answers = {MessageAnswer::Yes};
            p.action(u"F_SET_PASS"_s)->trigger();
            QCOMPARE(p.notifier.messages.last().text, u"パスワードは「 Ruri2026 」でいいですか？"_s);
            const QString stored = password::load(settings, u"NAKAMA-CHO"_s);
            QVERIFY(!stored.isEmpty());
            QVERIFY(!stored.contains(u"Ruri2026"_s)); // only a salted hash is kept
            QVERIFY(!testenv::readFile(settings.folder() + u"/NAKAMA-CHO.ini"_s).contains("Ruri2026"));
            p.frame->close();
        }
        {
            // The next start asks; a wrong entry is refused, the right one opens.
            Program p(root.path(), settings);
            testenv::onModal<PassInDialog>([](PassInDialog* d) {
                auto* entry = d->entryBox();
                QTest::keyClicks(entry, u"Ruri2027"_s);
                QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
                QVERIFY(d->isVisible());
                entry->setText(u"Ruri2026"_s);
                QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
            });
            chooseYear(u"38"_s);
            p.notifier.answers = {MessageAnswer::No};
            p.frame->firstActivation();
            QCOMPARE(p.notifier.texts().first(), u"パスワードが不正です。"_s);
            QCOMPARE(p.store.fiscalYear, qint16(38));
            QVERIFY(!p.frame->ended());
            p.frame->close();
        }
        {
            // The master password and the day's service code open too; leaving
            // ends the program once the user agrees.
            Program p(root.path(), settings);
            testenv::onModal<PassInDialog>([](PassInDialog* d) {
                d->entryBox()->setText(password::masterPassword());
                QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
            });
            chooseYear(u"38"_s);
            p.notifier.answers = {MessageAnswer::No};
            p.frame->firstActivation();
            QCOMPARE(p.store.fiscalYear, qint16(38));
            p.frame->close();
        }
        {
            Program p(root.path(), settings, QDate(2027, 1, 5));
            testenv::onModal<PassInDialog>([](PassInDialog* d) {
                QTest::mouseClick(d->findChild<QPushButton*>(u"ESC"_s), Qt::LeftButton); // No: stays
                QVERIFY(d->isVisible());
                d->entryBox()->setText(password::serviceCode(QDate(2027, 1, 5)));
                QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
            });
            chooseYear(u"38"_s);
            p.notifier.answers = {MessageAnswer::No, MessageAnswer::No};
            p.frame->firstActivation();
            QCOMPARE(p.notifier.texts().first(), u"なかま帳を終了します。"_s);
            QCOMPARE(p.store.fiscalYear, qint16(38));
            p.frame->close();
        }
        {
            Program p(root.path(), settings);
            testenv::onModal<PassInDialog>(
                [](PassInDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>(u"ESC"_s), Qt::LeftButton); });
            p.notifier.answers = {MessageAnswer::Yes};
            p.frame->firstActivation();
            QVERIFY(p.frame->ended());
            QCOMPARE(p.store.fiscalYear, qint16(0));
        }
        QCOMPARE(password::serviceCode(QDate(2027, 1, 5)).size(), 8);
        QVERIFY(password::serviceCode(QDate(2027, 1, 5)) != password::serviceCode(QDate(2027, 1, 6)));
    }

    void aPasswordThatCannotBeStoredIsNotTakenAsSet()
    {
        forgetAnEarlierEnd();
        QTemporaryDir root;
        // The settings folder is a plain file: nothing can be written there.
        QFile blocker(root.filePath(u"suite"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        testenv::onModal<PassSetDialog>([](PassSetDialog* d) {
            d->entryBox()->setText(u"Ruri2026"_s);
            QTest::keyClick(d->entryBox(), Qt::Key_Return);
        });
        p.notifier.messages.clear();
        p.notifier.answers = {MessageAnswer::Yes};
        p.action(u"F_SET_PASS"_s)->trigger();
        QVERIFY2(p.notifier.texts().contains(u"パスワードを保存できませんでした。"_s),
                 qPrintable(p.notifier.texts().join(u" / "_s)));
        QVERIFY(password::load(settings, u"NAKAMA-CHO"_s).isEmpty());
        p.frame->close();
    }

    void oneEnterSetsThePasswordOnce()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        PassSetDialog d(p.context);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto* entry = d.entryBox();
        QTest::keyClicks(entry, u"abc1234"_s);
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(p.notifier.texts(), QStringList{u"パスワードは半角８文字で入力してください"_s});
        entry->setText(u"Ruri2026"_s);
        p.notifier.messages.clear();
        p.notifier.answers = {MessageAnswer::No, MessageAnswer::No};
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(p.notifier.texts(), QStringList{u"パスワードは「 Ruri2026 」でいいですか？"_s});
        QVERIFY(d.isVisible());
        p.notifier.messages.clear();
        p.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(p.notifier.messages.size(), 1);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.newPassword(), u"Ruri2026"_s);
    }

    void endingAtThePasswordAfterUserSettingsAsksToSave()
    {
        forgetAnEarlierEnd();
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.openYear(u"瑠璃県"_s, u"38"_s);
        password::save(settings, u"NAKAMA-CHO"_s, password::makeStoredHash(u"Ruri2026"_s));
        p.store.staff.push_back(StaffRecord{});
        p.store.staff.back().code = 20260001;
        p.store.staff.back().name = u"青木 花子"_s;
        p.store.dirty = 1;
        QVERIFY(QDir(p.data).mkdir(u"38MEIBO.NKD"_s)); // the first save fails
        auto settingsOk = [] {
            testenv::onModal<UserSettingsDialog>([](UserSettingsDialog* d) {
                QTest::mouseClick(d->findChild<QPushButton*>(u"B_OK"_s), Qt::LeftButton);
            });
        };
        settingsOk();
        int asked = 0;
        testenv::onModal<PassInDialog>([&asked, &p](PassInDialog* d) {
            ++asked;
            // The save fails: the password is asked again and opens the roster.
            testenv::onModal<PassInDialog>([&asked](PassInDialog* again) {
                ++asked;
                again->entryBox()->setText(u"Ruri2026"_s);
                QTest::mouseClick(again->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
            });
            p.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
            QTest::mouseClick(d->findChild<QPushButton*>(u"ESC"_s), Qt::LeftButton);
        });
        p.notifier.messages.clear();
        p.action(u"F_USER_SET"_s)->trigger();
        QVERIFY2(asked == 2, qPrintable(p.notifier.texts().join(u"|"_s)));
        QVERIFY(!p.frame->ended());
        QVERIFY(p.notifier.contains(u"データを保存しますか？"_s));
        QVERIFY(p.notifier.contains(u"名簿の保存に失敗しました"_s));
        QCOMPARE(p.store.dirty, qint16(1));
        QCOMPARE(p.store.staffCount(), qint16(1));

        // Now the save works: ending at the password saves the roster first.
        QVERIFY(QDir(p.data).rmdir(u"38MEIBO.NKD"_s));
        settingsOk();
        testenv::onModal<PassInDialog>([&p](PassInDialog* d) {
            p.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
            QTest::mouseClick(d->findChild<QPushButton*>(u"ESC"_s), Qt::LeftButton);
        });
        p.notifier.messages.clear();
        p.action(u"F_USER_SET"_s)->trigger();
        QVERIFY(p.frame->ended());
        QCOMPARE(p.notifier.texts(), (QStringList{u"なかま帳を終了します。"_s, u"データを保存しますか？"_s}));
        QVERIFY(QFileInfo(p.data + u"/38MEIBO.NKD"_s).isFile());
        forgetAnEarlierEnd();
    }

    void userSettingsDialog()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        p.store.profile.optionFlags = OptionFlag::MunicipalityFirst;
        p.store.profile.printOffsets = {1.0f, 0, 0, 0};
        UserSettingsDialog d(p.context);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"環境設定"_s);
        QVERIFY(d.findChild<QRadioButton*>(u"OPT_S4"_s)->isChecked());
        QVERIFY(d.findChild<QRadioButton*>(u"OPT_S1"_s)->isChecked());
        QVERIFY(d.findChild<QRadioButton*>(u"AGE1"_s)->isChecked());
        QVERIFY(!d.correctionsShown());
        QVERIFY(!d.textCopyBox()->isVisible());
        testenv::keepShot(&d, u"user_set"_s);

        // The hidden parts.
        QLabel* numberLabel = nullptr;
        QLabel* areaLabel = nullptr;
        for (QLabel* l : d.findChildren<QLabel*>()) {
            if (l->text() == u"印刷番号"_s)
                numberLabel = l;
            if (l->text() == u"地区名"_s)
                areaLabel = l;
        }
        QTest::mouseDClick(numberLabel, Qt::LeftButton);
        QVERIFY(d.correctionsShown());
        QTest::mousePress(areaLabel, Qt::RightButton, Qt::ControlModifier);
        QVERIFY(d.textCopyBox()->isVisible());
        d.textCopyBox()->setChecked(true);
        testenv::keepShot(&d, u"user_set_tall"_s);

        auto* vx = d.findChild<QLineEdit*>(u"V_X"_s);
        QCOMPARE(vx->text(), u"1.0"_s);
        QTest::mouseClick(d.findChild<UpDown*>(u"GX_B"_s)->upButton(), Qt::LeftButton);
        QTest::mouseClick(d.findChild<UpDown*>(u"GX_B"_s)->upButton(), Qt::LeftButton);
        QCOMPARE(vx->text(), u"1.2"_s);
        d.findChild<QLineEdit*>(u"H_Y"_s)->setText(u"abc"_s);
        d.findChild<QLineEdit*>(u"V_Y"_s)->setText(u"-2.55mm"_s);
        testenv::typeText(d.areaBox(), u" 瑠璃県北部 "_s);
        d.findChild<QRadioButton*>(u"AGE2"_s)->setChecked(true);
        d.findChild<QRadioButton*>(u"OPT_S2"_s)->setChecked(true);
        d.findChild<QCheckBox*>(u"CHK1"_s)->setChecked(true);
        QTest::mouseClick(d.findChild<QPushButton*>(u"B_OK"_s), Qt::LeftButton);
        const UserProfile& pr = p.store.profile;
        QCOMPARE(pr.areaName, u"瑠璃県北部"_s);
        QCOMPARE(pr.optionFlags, qint16(1 | 2 | 4 | 256));
        QCOMPARE(pr.printOffsets[0], 1.2f);
        QCOMPARE(pr.printOffsets[1], -2.55f);
        QCOMPARE(pr.printOffsets[3], 0.0f);
        QCOMPARE(p.store.saveMode, SaveMode::TextAndBinary);
        QCOMPARE(offsetText(offsetValue(u"1e300"_s)), u"1.0"_s);
    }

    void versionAndHelp()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        QCOMPARE(VersionDialog::versionText(1, 2, 3), u"Version 0.01   1.2.3"_s);
        VersionDialog d(p.positions, p.suite);
        d.show();
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        QCOMPARE(d.windowTitle(), u"バージョン情報"_s);
        QVERIFY(!d.isTall());
        QTest::mouseDClick(d.findChild<QLabel*>(u"Label_VER"_s), Qt::LeftButton);
        QVERIFY(d.isTall());
        testenv::keepShot(&d, u"ver_form"_s);
        settings.save(u"NAKAMA-CHO"_s, u"TIME"_s, u"ST_F"_s, u"1"_s);
        p.notifier.answers = {MessageAnswer::Yes};
        QTest::mousePress(d.findChild<QLabel*>(u"Label_LOW"_s), Qt::RightButton, Qt::ControlModifier);
        QCOMPARE(p.notifier.messages.last().text, u"レジストリデータを削除します。"_s);
        QVERIFY(settings.enumerateSection(u"NAKAMA-CHO"_s, u"TIME"_s).isEmpty());

        HelpDialog help(p.data);
        QVERIFY(help.findChild<QWidget*>(u"HELP_TEXT"_s));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
