#include "fake_platform.h"
#include "linux_platform.h"
#include "record_format.h"
#include "startup.h"
#include "test_env.h"
#include "window_position.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testenv::readFile;
using testenv::sjis;
using testenv::writeFile;

namespace {

// A program folder, a data folder and a suite folder of their own.
struct Fixture {
    QTemporaryDir root;
    QString program = root.filePath(u"prog"_s);
    QString data = root.filePath(u"data"_s);
    SettingsStore settings{root.filePath(u"suite"_s)};
    FakePlatform platform;
    RecordingNotifier notifier;
    UserProfile profile;
    SuiteConfig config;

    Fixture()
    {
        QDir().mkpath(program);
        QDir().mkpath(data);
        config = loadSuiteConfig(QString());
    }
    std::unique_ptr<SuiteSession> session(const QStringList& args = {})
    {
        return std::make_unique<SuiteSession>(settings, platform, notifier, profile, config, program, data, args);
    }
};

const QString kApp = u"NAKAMA-CHO"_s;
const QString kRemovableApp = u"R-NAKAMA-CHO"_s;

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void settingsStoreKeepsTextAndSurvivesDamage()
    {
        QTemporaryDir dir;
        SettingsStore s(dir.path());
        QCOMPARE(s.get(u"A"_s, u"S"_s, u"K"_s, u"dflt"_s), u"dflt"_s);
        QVERIFY(s.save(u"A"_s, u"S"_s, u"K"_s, u"瑠璃市, 本町"_s));
        QVERIFY(s.save(u"A"_s, u"S"_s, u"L"_s, u"@at"_s));
        QVERIFY(s.save(u"A"_s, u"T"_s, u"K"_s, u"x"_s));
        QCOMPARE(s.get(u"A"_s, u"S"_s, u"K"_s), u"瑠璃市, 本町"_s);
        QCOMPARE(s.get(u"A"_s, u"S"_s, u"L"_s), u"@at"_s);
        QCOMPARE(s.enumerateSection(u"A"_s, u"S"_s).size(), 2);
        QVERIFY(s.deleteSection(u"A"_s, u"S"_s));
        QVERIFY(s.enumerateSection(u"A"_s, u"S"_s).isEmpty());
        QCOMPARE(s.get(u"A"_s, u"T"_s, u"K"_s), u"x"_s);
        QVERIFY(s.deleteSection(u"NONE"_s, u"S"_s));

        // A damaged file gives defaults, not a crash.
        writeFile(dir.filePath(u"B.ini"_s), QByteArray("\xff\xfe[\x00garbage\n=\n[[[\nK=", 19));
        QCOMPARE(s.get(u"B"_s, u"S"_s, u"K"_s, u"d"_s), u"d"_s);
        // An application name cannot reach outside the suite folder.
        QVERIFY(s.save(u"../evil"_s, u"S"_s, u"K"_s, u"v"_s));
        QVERIFY(!QFile::exists(QFileInfo(dir.path()).absolutePath() + u"/evil.ini"_s));
    }

    void startupChecks()
    {
        Fixture f;
        QCOMPARE(f.session()->startupChecks(), 1);
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"RUN_FLAG"_s), u"RUN"_s);
        QVERIFY(f.notifier.messages.isEmpty());

        // The flag left by that run (or a crash) raises the question.
        f.notifier.answers = {MessageAnswer::Yes};
        QCOMPARE(f.session()->startupChecks(), -1);
        QCOMPARE(f.notifier.messages.last().text, u"なかま帳は複数実行しないでください、実行を中止しますか？"_s);
        QCOMPARE(f.notifier.messages.last().buttons, MessageButtons::YesNo);
        f.notifier.answers = {MessageAnswer::No};
        QCOMPARE(f.session()->startupChecks(), 1);

        f.platform.otherInstance = true;
        QCOMPARE(f.session()->startupChecks(), -1);
        QCOMPARE(f.notifier.messages.last().text, u"すでに「なかま帳」は実行されています、実行を中止します。"_s);
        QCOMPARE(f.notifier.messages.last().icon, MessageIcon::Critical);
        f.platform.otherInstance = false;

        // From a removable drive: the launcher must have started it, unless /D.
        f.platform.removable = true;
        f.notifier.messages.clear();
        f.notifier.answers = {MessageAnswer::No, MessageAnswer::No};
        QCOMPARE(f.session()->startupChecks(), -1);
        QCOMPARE(f.notifier.messages.last().text, u"なかま帳は、学校事務メニューから起動してください"_s);
        auto s = f.session({u"/d"_s});
        QCOMPARE(s->startupChecks(), 1);
        QCOMPARE(s->appKey(), kRemovableApp);
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"RUN_FLAG"_s), u"RUN"_s);
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"RUN_FLAG"_s), QString()); // cleared in removable mode

        f.settings.save(u"SC_MENU"_s, u"SCHOOL"_s, u"A_PATH"_s, f.root.path().toUpper());
        f.settings.save(kRemovableApp, u"SCHOOL"_s, u"RUN_FLAG"_s, QString());
        f.notifier.messages.clear();
        QCOMPARE(f.session()->startupChecks(), 1); // the launcher's folder holds the program
        QVERIFY(f.notifier.messages.isEmpty());
    }

    void portableSettingsTravelWithTheMedium()
    {
        Fixture f;
        auto s = f.session({u"/D"_s});
        f.platform.removable = true;
        QCOMPARE(s->startupChecks(), 1);
        f.settings.save(kRemovableApp, u"Position"_s, u"M_LIST Left"_s, u"300"_s);
        f.settings.save(kRemovableApp, u"SCHOOL"_s, u"SET_S_DIR"_s, f.program + u"/data"_s);
        f.settings.save(kRemovableApp, u"MENU"_s, u"X"_s, u"1"_s);
        f.settings.save(u"SC_MENU"_s, u"SCHOOL"_s, kApp, u"ON"_s);
        s->exportPortableSettings();

        const QString sin = f.program + u"/NAKAMA-CHO.SIN"_s;
        QVERIFY(QFile::exists(sin));
        RecordReader r = RecordReader::fromBytes(readFile(sin));
        QString app, folder;
        QVERIFY(r.readString(app) && r.readString(folder) && r.skip(3));
        QCOMPARE(app, kRemovableApp);
        QCOMPARE(folder, f.program);
        // Only SCHOOL stays on this machine; the launcher forgets the program.
        QCOMPARE(f.settings.get(kRemovableApp, u"Position"_s, u"M_LIST Left"_s), QString());
        QCOMPARE(f.settings.get(kRemovableApp, u"MENU"_s, u"X"_s), QString());
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"RUN_FLAG"_s), QString());
        QCOMPARE(f.settings.get(u"SC_MENU"_s, u"SCHOOL"_s, kApp), QString());

        // The medium comes back under another folder: paths follow it.
        const QString moved = f.root.filePath(u"PROG2"_s);
        QVERIFY(QDir().rename(f.program, moved));
        SuiteSession there(f.settings, f.platform, f.notifier, f.profile, f.config, moved, f.data, {});
        there.setRemovable(true);
        writeFile(moved + u"/NAKAMA-CHO.SIN"_s,
                  readFile(moved + u"/NAKAMA-CHO.SIN"_s) +
                      sjis(u"\"SCHOOL\",\"SET_D_DIR\",\"/elsewhere/x\",\"\",\"\",\"\",\"\"\r\n"_s));
        there.importPortableSettings();
        QCOMPARE(f.settings.get(kRemovableApp, u"Position"_s, u"M_LIST Left"_s), u"300"_s);
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"SET_S_DIR"_s), moved + u"/data"_s);
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"SET_D_DIR"_s), u"/elsewhere/x"_s);
        QCOMPARE(f.settings.get(kRemovableApp, u"MENU"_s, u"X"_s), u"1"_s);

        // A damaged file is refused whole, with a word to the user.
        writeFile(moved + u"/NAKAMA-CHO.SIN"_s,
                  "\"R-NAKAMA-CHO\",\"/old\",\"\",\"\",\"\"\r\n\"SCHOOL\",\"ID_NOS\",\"abc");
        f.notifier.messages.clear();
        there.importPortableSettings();
        QCOMPARE(f.notifier.messages.size(), 1);
        QCOMPARE(f.notifier.messages[0].icon, MessageIcon::Warning);
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"ID_NOS"_s), QString());

        // A fresh store still carries the run flag it has just cleared.
        QTemporaryDir emptySuite;
        SettingsStore bare(emptySuite.path());
        SuiteSession fresh(bare, f.platform, f.notifier, f.profile, f.config, moved, f.data, {});
        fresh.exportPortableSettings();
        RecordReader one = RecordReader::fromBytes(readFile(moved + u"/NAKAMA-CHO.SIN"_s));
        QString section, key, value;
        QVERIFY(one.skip(5) && one.readString(section) && one.readString(key) && one.readString(value) && one.skip(4) &&
                one.atEnd());
        QCOMPARE(section + u'/' + key, u"SCHOOL/RUN_FLAG"_s);
        QCOMPARE(value, QString());
    }

    void rebasingUsesTheOldFolderCaseInsensitively()
    {
        Fixture f;
        const QString oldFolder = u"/media/usb-e/NAKAMA"_s;
        writeFile(f.program + u"/NAKAMA-CHO.SIN"_s,
                  sjis(u"\"R-NAKAMA-CHO\",\"%1\",\"\",\"\",\"\"\r\n"
                       "\"SCHOOL\",\"DIR_ME\",\"/MEDIA/USB-E/nakama/データ\",\"\",\"\",\"\",\"\"\r\n"
                       "\"SCHOOL\",\"SC_NAME\",\"瑠璃小学校\",\"\",\"\",\"\",\"\"\r\n"_s.arg(oldFolder)));
        auto s = f.session();
        s->setRemovable(true);
        s->importPortableSettings();
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"DIR_ME"_s), f.program + u"/データ"_s);
        QCOMPARE(f.settings.get(kRemovableApp, u"SCHOOL"_s, u"SC_NAME"_s), u"瑠璃小学校"_s);
    }

    void suiteSettingsAndTheSchoolNameOfSiblings()
    {
        Fixture f;
        QCOMPARE(f.config.schoolNameApps.size(), 14);
        QCOMPARE(f.config.launcherExemptApps.size(), 9);
        QCOMPARE(f.config.portableSections().size(), 14);
        const QString third = f.config.schoolNameApps[2];
        const QString fifth = f.config.schoolNameApps[4];
        f.settings.save(fifth, u"SCHOOL"_s, u"SC_NAME"_s, u"青葉小学校"_s);
        f.settings.save(fifth, u"SCHOOL"_s, u"SC_CODE"_s, u"1234"_s);
        f.settings.save(third, u"SCHOOL"_s, u"SC_NAME"_s, u"若葉小学校"_s);
        f.settings.save(third, u"SCHOOL"_s, u"SC_CODE"_s, u"77"_s);
        f.settings.save(kApp, u"TIME"_s, u"ST_F"_s, u"1"_s);
        f.session()->loadSuiteSettings();
        QCOMPARE(f.profile.suiteSchoolName, u"若葉小学校"_s);
        QCOMPARE(f.profile.suiteSchoolCode, 77);
        QCOMPARE(f.settings.get(kApp, u"TIME"_s, u"ST_F"_s), u"0"_s); // no version stored yet

        // In removable mode the siblings' removable names are asked.
        f.profile = UserProfile{};
        auto s = f.session();
        s->setRemovable(true);
        f.settings.save(u"R-"_s + fifth, u"SCHOOL"_s, u"SC_NAME"_s, u"R校"_s);
        s->loadSuiteSettings();
        QCOMPARE(f.profile.suiteSchoolName, u"R校"_s);

        // The program's own name is never taken as a sibling's.
        QVERIFY(f.config.schoolNameApps.contains(kApp));
    }

    void startFlagFollowsTheFiscalYear_data()
    {
        QTest::addColumn<QString>("last");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("storedMajor");
        QTest::addColumn<QString>("expected");
        QTest::newRow("autumn, used this spring") << u"2026/05/10"_s << QDate(2026, 10, 1) << 9 << u"1"_s;
        QTest::newRow("autumn, used last winter") << u"2026/02/10"_s << QDate(2026, 10, 1) << 9 << u"0"_s;
        QTest::newRow("february, used last autumn") << u"2025/11/30"_s << QDate(2026, 2, 1) << 9 << u"1"_s;
        QTest::newRow("february, used this january") << u"2026/01/05"_s << QDate(2026, 2, 1) << 9 << u"0"_s;
        QTest::newRow("april, used last december") << u"2025/12/31"_s << QDate(2026, 4, 1) << 9 << u"0"_s;
        QTest::newRow("no last use") << QString() << QDate(2026, 10, 1) << 9 << u"0"_s;
        QTest::newRow("same version") << u"2026/05/10"_s << QDate(2026, 10, 1) << NAKAMA_VERSION_MAJOR << u"0"_s;
    }

    void startFlagFollowsTheFiscalYear()
    {
        QFETCH(QString, last);
        QFETCH(QDate, today);
        QFETCH(int, storedMajor);
        QFETCH(QString, expected);
        Fixture f;
        f.settings.save(kApp, u"TIME"_s, u"ST_F"_s, u"1"_s);
        f.settings.save(kApp, u"TIME"_s, u"LAST"_s, last);
        f.settings.save(kApp, u"Version"_s, u"Major"_s, QString::number(storedMajor));
        f.session()->applyStartFlagRule(today);
        QCOMPARE(f.settings.get(kApp, u"TIME"_s, u"ST_F"_s), expected);
    }

    void userSettingsFile()
    {
        Fixture f;
        auto s = f.session();
        QCOMPARE(s->readUserSettings(), 0); // no file yet
        f.profile.areaName = u"瑠璃県北部"_s;
        f.profile.optionFlags = 1 | 4 | 256;
        f.profile.printOffsets = {1.5f, -0.5f, 0.0f, 2.25f};
        f.profile.suiteSchoolCode = 4321;
        QVERIFY(s->writeUserSettings(QDate(2026, 5, 1)));
        const QByteArray written = readFile(s->userSettingsPath());
        QCOMPARE(written,
                 sjis(u"\"瑠璃県北部\",\"\",\"\",261,\"\",\"\",\"\"\r\n1.5,-0.5,0,2.25,\"\",\"\",\"\",\"\"\r\n"_s));

        UserProfile before = f.profile;
        f.profile = UserProfile{};
        f.profile.suiteSchoolCode = 4321;
        QCOMPARE(s->readUserSettings(), 1);
        QCOMPARE(f.profile.areaName, before.areaName);
        QCOMPARE(f.profile.optionFlags, before.optionFlags);
        QCOMPARE(f.profile.printOffsets, before.printOffsets);
        QCOMPARE(f.profile.suiteSchoolCode, 4321); // the empty second value leaves it alone

        // Damaged files change nothing.
        for (const QByteArray& bad : {QByteArray("\"x\",\"\",\"\",abc,\"\",\"\",\"\"\r\n0,0,0,0,\"\",\"\",\"\",\"\""),
                                      written.left(30), QByteArray(), QByteArray("\"unterminated")}) {
            writeFile(s->userSettingsPath(), bad);
            QCOMPARE(s->readUserSettings(), -1);
            QCOMPARE(f.profile.areaName, before.areaName);
            QCOMPARE(f.profile.optionFlags, before.optionFlags);
        }

        // Saving the user settings stores the suite settings as well.
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"SC_CODE"_s), u"4321"_s);
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"INST_DAY"_s), u"2026/05/01"_s);
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"DIR_ME"_s), f.program);
        QCOMPARE(f.settings.get(kApp, u"Version"_s, u"Major"_s), QString::number(NAKAMA_VERSION_MAJOR));
        s->writeUserSettings(QDate(2027, 1, 1));
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"INST_DAY"_s), u"2026/05/01"_s); // first use stays
        f.settings.save(kApp, u"Version"_s, u"Major"_s, u"0"_s);
        s->writeUserSettings(QDate(2027, 1, 2));
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"INST_DAY"_s), u"2027/01/02"_s); // a newer version starts anew
    }

    void dataFolderWriteTest()
    {
        Fixture f;
        auto s = f.session();
        QCOMPARE(s->testDataFolders(), 1);
        QCOMPARE(s->secondDataFolder, f.data); // an empty second folder becomes the data folder
        QVERIFY(!QFile::exists(f.data + u"/TEST.X"_s));

        s->secondDataFolder = f.root.filePath(u"missing/second"_s);
        QCOMPARE(s->testDataFolders(), 1);
        QCOMPARE(s->secondDataFolder, f.data); // silently replaced
        QVERIFY(f.notifier.messages.isEmpty());

        s->thirdDataFolder = f.root.filePath(u"missing/third"_s);
        QCOMPARE(s->testDataFolders(), -1);
        QVERIFY(f.notifier.messages.last().text.endsWith(u"(2)"_s));
        QCOMPARE(f.notifier.messages.last().icon, MessageIcon::Warning);

        SuiteSession lost(f.settings, f.platform, f.notifier, f.profile, f.config, f.program,
                          f.root.filePath(u"missing/data"_s), {});
        QCOMPARE(lost.testDataFolders(), -1);
        QCOMPARE(f.notifier.messages.last().text,
                 u"データ保存先にデータの書き込みが出来ません\n保存先のメディア・環境設定等を確認してください(1)"_s);

        // On a removable drive both folders are the program folder.
        auto r = f.session();
        r->setRemovable(true);
        r->thirdDataFolder = f.root.filePath(u"missing/third"_s);
        QCOMPARE(r->testDataFolders(), 1);
        QCOMPARE(r->secondDataFolder, f.program);
        QCOMPARE(r->thirdDataFolder, f.program);
    }

    void windowPositions()
    {
        const QSize screen(15360, 11520);
        const QSize window(6000, 4500);
        const QPoint design(150, 300);
        const QPoint centred((15360 - 6000) / 2, (11520 - 4500) / 2);
        QCOMPARE(placeWindow(u"20000"_s, u"20000"_s, screen, window, design), design);
        QCOMPARE(placeWindow(u"-1"_s, u"600"_s, screen, window, design), QPoint(centred.x(), 600));
        QCOMPARE(placeWindow(u"900"_s, u"-5"_s, screen, window, design), QPoint(900, centred.y()));
        QCOMPARE(placeWindow(u"0"_s, u"0"_s, screen, window, design), design);
        QCOMPARE(placeWindow(u"14360"_s, u"1"_s, screen, window, design), QPoint(14360, 1));
        QCOMPARE(placeWindow(u"14361"_s, u"10521"_s, screen, window, design), design);
        QCOMPARE(placeWindow(u"abc"_s, u"10"_s, screen, window, design), centred);
        QCOMPARE(placeWindow(u"99999999999999999999"_s, u"1"_s, screen, window, design), centred);

        QTemporaryDir dir;
        SettingsStore store(dir.path());
        WindowPositions positions(store, kApp);
        positions.save(u"EDIT_M"_s, QPoint(1500, 750));
        QCOMPARE(store.get(kApp, u"Position"_s, u"EDIT_M Left"_s), u"1500"_s);
        QCOMPARE(positions.restore(u"EDIT_M"_s, screen, window, design), QPoint(1500, 750));
        QCOMPARE(positions.restore(u"NEVER"_s, screen, window, design), design);
    }

    void deletingTheProgramSettings()
    {
        Fixture f;
        auto s = f.session();
        s->writeUserSettings(QDate(2026, 5, 1));
        f.settings.save(kApp, u"TIME"_s, u"ST_F"_s, u"0"_s);
        f.settings.save(kApp, u"Position"_s, u"MAIN_F Left"_s, u"10"_s);
        f.notifier.answers = {MessageAnswer::No};
        s->deleteProgramSettings();
        QCOMPARE(f.notifier.messages.last().text, u"レジストリデータを削除します。"_s);
        QVERIFY(!f.settings.enumerateSection(kApp, u"SCHOOL"_s).isEmpty());
        f.notifier.answers = {MessageAnswer::Yes};
        s->deleteProgramSettings();
        QVERIFY(f.settings.enumerateSection(kApp, u"SCHOOL"_s).isEmpty());
        QVERIFY(f.settings.enumerateSection(kApp, u"Version"_s).isEmpty());
        QVERIFY(f.settings.enumerateSection(kApp, u"TIME"_s).isEmpty());
        QCOMPARE(f.settings.get(kApp, u"Position"_s, u"MAIN_F Left"_s), u"10"_s);
    }

    void updaterShortcut()
    {
        Fixture f;
        const QString menu = f.root.filePath(u"menu"_s);
        const QString desk = f.root.filePath(u"desk"_s);
        f.platform.candidates = {f.root.filePath(u"none"_s), menu, desk};
        QDir().mkpath(menu + u"/学校事務"_s);
        QDir().mkpath(desk + u"/学校事務"_s);
        const QString updater = menu + u"/学校事務/学校事務update.desktop"_s;
        writeFile(updater, "old");
        writeFile(desk + u"/学校事務/学校事務update.desktop"_s, "old");

        f.session()->maintainUpdaterShortcut(); // offline: the first one found is removed, nothing made
        QVERIFY(!QFile::exists(updater));
        QVERIFY(QFile::exists(desk + u"/学校事務/学校事務update.desktop"_s));

        f.platform.online = true;
        f.session()->maintainUpdaterShortcut(); // the program's own shortcut is missing
        QVERIFY(!QFile::exists(updater));
        writeFile(menu + u"/学校事務/なかま帳.desktop"_s, "[Desktop Entry]\n");
        f.session()->maintainUpdaterShortcut();
        QVERIFY(QFile::exists(updater));
        QVERIFY(readFile(updater).contains("URL=" + f.config.updateSite.toUtf8()));
        QVERIFY(readFile(updater).contains("Type=Link"));
    }

    void fullStartAndExitCycle()
    {
        Fixture f;
        auto s = f.session();
        QCOMPARE(s->startupChecks(), 1);
        s->loadSuiteSettings();
        s->applyStartFlagRule(QDate(2026, 6, 1));
        QCOMPARE(s->readUserSettings(), 0); // no file yet
        QCOMPARE(s->testDataFolders(), 1);
        f.profile.areaName = u"瑠璃県"_s;
        QVERIFY(s->writeUserSettings(QDate(2026, 6, 1)));
        s->exportPortableSettings();

        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"RUN_FLAG"_s), QString());
        QCOMPARE(f.settings.get(kApp, u"SCHOOL"_s, u"SET_S_DIR"_s), f.data);
        QCOMPARE(f.settings.get(kApp, u"Version"_s, u"Minor"_s), QString::number(NAKAMA_VERSION_MINOR));
        QCOMPARE(f.settings.get(kApp, u"TIME"_s, u"ST_F"_s), u"0"_s);
        QVERIFY(QFile::exists(f.data + u"/NKMCHO.SEW"_s));
        QVERIFY(QFile::exists(f.program + u"/NAKAMA-CHO.SIN"_s));
        // An installed copy keeps its settings in the store after exporting them.
        QCOMPARE(f.settings.get(kApp, u"Version"_s, u"Major"_s), QString::number(NAKAMA_VERSION_MAJOR));

        // The next start finds everything where it was left.
        UserProfile next;
        SuiteSession again(f.settings, f.platform, f.notifier, next, f.config, f.program, f.data, {});
        QCOMPARE(again.startupChecks(), 1);
        QCOMPARE(f.notifier.messages.size(), 0);
        QCOMPARE(again.readUserSettings(), 1);
        QCOMPARE(next.areaName, u"瑠璃県"_s);
    }

    void watchdogNoticesTheMediumGoing()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"stick"_s);
        QDir().mkpath(folder);
        RemovableWatchdog watchdog(folder);
        QSignalSpy gone(&watchdog, &RemovableWatchdog::mediumGone);
        watchdog.start();
        QTest::qWait(1100);
        QCOMPARE(gone.count(), 0);
        QDir(folder).removeRecursively();
        QVERIFY(gone.wait(2000));
        QCOMPARE(gone.count(), 1);
        QVERIFY(!watchdog.isActive());
    }

    void removableDeviceFlag()
    {
        QTemporaryDir sys;
        const QString disk = sys.filePath(u"devices/usb/sdb"_s);
        QDir().mkpath(disk + u"/sdb1"_s);
        QDir().mkpath(sys.filePath(u"class/block"_s));
        writeFile(disk + u"/removable"_s, "1\n");
        writeFile(disk + u"/sdb1/partition"_s, "1\n");
        QVERIFY(QFile::link(disk + u"/sdb1"_s, sys.filePath(u"class/block/sdb1"_s)));
        QVERIFY(QFile::link(disk, sys.filePath(u"class/block/sdb"_s)));
        QVERIFY(LinuxPlatform::deviceIsRemovable(u"/dev/sdb1"_s, sys.path()));
        QVERIFY(LinuxPlatform::deviceIsRemovable(u"/dev/sdb"_s, sys.path()));
        writeFile(disk + u"/removable"_s, "0\n");
        QVERIFY(!LinuxPlatform::deviceIsRemovable(u"/dev/sdb1"_s, sys.path()));
        QVERIFY(!LinuxPlatform::deviceIsRemovable(u"/dev/nvme0n1p2"_s, sys.path()));
        QVERIFY(!LinuxPlatform::deviceIsRemovable(u"tmpfs"_s, sys.path()));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
