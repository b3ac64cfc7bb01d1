// The portable settings carried on a removable medium, and an exchange pair
// whose names another user's program wrote in lower case.

#include "exchange_files.h"
#include "fake_platform.h"
#include "roster_files.h"
#include "sample_roster.h"
#include "startup.h"
#include "suite_config.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testenv::readFile;
using testenv::writeFile;

namespace {

struct Medium {
    QTemporaryDir root;
    QString program = root.filePath(u"usb"_s);
    QString data = root.filePath(u"usb"_s);
    SettingsStore settings{root.filePath(u"suite"_s)};
    FakePlatform platform;
    RecordingNotifier notifier;
    UserProfile profile;
    SuiteConfig config = loadSuiteConfig(QString());

    Medium()
    {
        platform.removable = true; // the program runs from a USB stick
        QDir().mkpath(program);
    }
    std::unique_ptr<SuiteSession> session()
    {
        auto s = std::make_unique<SuiteSession>(settings, platform, notifier, profile, config, program, data,
                                                QStringList{u"/D"_s});
        s->setRemovable(true);
        return s;
    }
};

const QString kApp = u"R-NAKAMA-CHO"_s;

} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
private slots:
    void rebasingStopsAtAFolderBoundary()
    {
        Medium m;
        // Written when the medium was mounted at /media/usb.
        const QByteArray file = testenv::sjis(u"\"R-NAKAMA-CHO\",\"/media/usb\",\"\",\"\",\"\"\r\n"
                                              "\"SCHOOL\",\"SET_S_DIR\",\"/media/usb/data\",\"\",\"\",\"\",\"\"\r\n"
                                              "\"SCHOOL\",\"SET_D_DIR\",\"/media/usb2/data\",\"\",\"\",\"\",\"\"\r\n"
                                              "\"SCHOOL\",\"DIR_ME\",\"/MEDIA/USB\",\"\",\"\",\"\",\"\"\r\n"
                                              "\"SCHOOL\",\"ID_NOS\",\"/media/usbdata\",\"\",\"\",\"\",\"\"\r\n"_s);
        writeFile(m.program + u"/NAKAMA-CHO.SIN"_s, file);
        m.session()->importPortableSettings();
        QVERIFY(m.notifier.messages.isEmpty());
        QCOMPARE(m.settings.get(kApp, u"SCHOOL"_s, u"SET_S_DIR"_s), m.program + u"/data"_s);
        QCOMPARE(m.settings.get(kApp, u"SCHOOL"_s, u"DIR_ME"_s), m.program); // the folder itself, any case
        QCOMPARE(m.settings.get(kApp, u"SCHOOL"_s, u"SET_D_DIR"_s), u"/media/usb2/data"_s);
        QCOMPARE(m.settings.get(kApp, u"SCHOOL"_s, u"ID_NOS"_s), u"/media/usbdata"_s);
    }

    void portableSettingsThatCannotBeTakenInAreTold()
    {
        Medium m;
        // The settings folder is a plain file: nothing can be written there.
        writeFile(m.settings.folder(), QByteArray("not a folder"));
        writeFile(m.program + u"/NAKAMA-CHO.SIN"_s,
                  testenv::sjis(u"\"R-NAKAMA-CHO\",\"/media/usb\",\"\",\"\",\"\"\r\n"
                                "\"SCHOOL\",\"SC_NAME\",\"瑠璃小学校\",\"\",\"\",\"\",\"\"\r\n"_s));
        m.session()->importPortableSettings();
        QCOMPARE(m.notifier.texts(), QStringList{u"設定ファイル（NAKAMA-CHO.SIN）の設定を取り込めませんでした。"_s});
    }

    void aValueThePortableFileCannotHoldIsToldAndKept()
    {
        Medium m;
        auto s = m.session();
        m.settings.save(kApp, u"SCHOOL"_s, u"SC_NAME"_s, u"瑠璃小学校"_s);
        m.settings.save(kApp, u"Position"_s, u"MAIN_F Left"_s, u"120"_s);
        QVERIFY(s->exportPortableSettings());
        const QByteArray earlier = readFile(s->portableSettingsPath());
        QVERIFY(m.settings.enumerateSection(kApp, u"Position"_s).isEmpty()); // travels on the medium

        // A name code page 932 has no character for (a Korean syllable).
        m.settings.save(kApp, u"SCHOOL"_s, u"SC_NAME"_s, u"瑠璃한小学校"_s);
        m.settings.save(kApp, u"Position"_s, u"MAIN_F Left"_s, u"240"_s);
        m.notifier.messages.clear();
        QVERIFY(!s->exportPortableSettings());
        QCOMPARE(m.notifier.messages.size(), 1);
        QCOMPARE(m.notifier.messages[0].text, u"設定ファイル（NAKAMA-CHO.SIN）を保存できませんでした。"_s);
        QVERIFY(m.notifier.messages[0].detail.contains(u"SC_NAME"_s));
        // The earlier file stays, and nothing is taken off this machine.
        QCOMPARE(readFile(s->portableSettingsPath()), earlier);
        QCOMPARE(m.settings.get(kApp, u"SCHOOL"_s, u"SC_NAME"_s), u"瑠璃한小学校"_s);
        QCOMPARE(m.settings.get(kApp, u"Position"_s, u"MAIN_F Left"_s), u"240"_s);

        // A file that cannot be written is told the same way.
        m.settings.save(kApp, u"SCHOOL"_s, u"SC_NAME"_s, u"白砂小学校"_s);
        QFile::remove(s->portableSettingsPath());
        QVERIFY(QDir(m.program).mkdir(u"NAKAMA-CHO.SIN"_s));
        m.notifier.messages.clear();
        QVERIFY(!s->exportPortableSettings());
        QCOMPARE(m.notifier.messages.size(), 1);
        QVERIFY(m.notifier.messages[0].detail.contains(u"NAKAMA-CHO.SIN"_s));
        QCOMPARE(m.settings.get(kApp, u"Position"_s, u"MAIN_F Left"_s), u"240"_s);
    }

    void aLowerCasePairIsReadWhole()
    {
        QTemporaryDir dir;
        {
            RosterStore other;
            other.paths.dataFolder = dir.path();
            generateSampleRoster(other, SampleOptions{5, 8, 3, 38, false});
            SchoolFilter everything;
            everything.narrowed = true;
            RecordingNotifier n;
            QCOMPARE(exchange::exportPair(other, everything, exchange::exportNames(dir.filePath(u"area1"_s)), n), 1);
        }
        QVERIFY(QFile::rename(dir.filePath(u"area1.NK1"_s), dir.filePath(u"area1.nk1"_s)));
        QVERIFY(QFile::rename(dir.filePath(u"area1.NK2"_s), dir.filePath(u"area1.nk2"_s)));

        for (const QString& chosen : {u"area1.nk2"_s, u"area1.nk1"_s}) {
            const auto names = exchange::importNames(dir.filePath(chosen));
            QVERIFY(names);
            QCOMPARE(names->staffFile, dir.filePath(u"area1.nk1"_s));
            QCOMPARE(names->schoolFile, dir.filePath(u"area1.nk2"_s));
            RosterStore store;
            store.paths.dataFolder = dir.path();
            RecordingNotifier n;
            QCOMPARE(exchange::importPair(store, *names, n, [](const QString&) { return exchange::kAnyArea; }), 1);
            QCOMPARE(store.schoolCount(), qint16(5));
            QVERIFY(store.staffCount() > 0);
        }

        // A partner that is really missing: nothing is read.
        QVERIFY(QFile::remove(dir.filePath(u"area1.nk1"_s)));
        RosterStore store;
        RecordingNotifier n;
        QCOMPARE(exchange::importPair(store, *exchange::importNames(dir.filePath(u"area1.nk2"_s)), n,
                                      [](const QString&) { return exchange::kAnyArea; }),
                 -1);
        QCOMPARE(store.schoolCount(), qint16(0));
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
