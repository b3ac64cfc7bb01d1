// Every file the program writes, failed at each of its steps in turn: the
// files the user had stay byte for byte as they were, the user hears why, and
// the roster in memory keeps every change.

#include "contact_network.h"
#include "exchange_files.h"
#include "fake_platform.h"
#include "file_ops.h"
#include "name_labels.h"
#include "roster_files.h"
#include "roster_year.h"
#include "sample_roster.h"
#include "settings_store.h"
#include "staff_list.h"
#include "startup.h"
#include "suite_config.h"
#include "test_env.h"
#include "transfers.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using testenv::readFile;
using testenv::writeFile;

namespace {

// One data folder with a saved sample year, the suite settings beside it.
struct Fixture {
    QTemporaryDir root;
    QString data = root.filePath(u"data"_s);
    QString program = root.filePath(u"prog"_s);
    RosterStore store;
    SchoolFilter filter; // the school list's, as the export reads it
    RecordingNotifier notifier;
    SettingsStore settings{root.filePath(u"suite"_s)};
    FakePlatform platform;
    SuiteConfig config = loadSuiteConfig(QString());
    std::unique_ptr<SuiteSession> session;
    QString error; // what a writer without a notifier gave back

    Fixture()
    {
        QDir().mkpath(data);
        QDir().mkpath(program);
        generateSampleRoster(store, SampleOptions{});
        store.paths.dataFolder = data;
        store.paths.setYear(38);
        store.fiscalYear = 38;
        session = std::make_unique<SuiteSession>(settings, platform, notifier, store.profile, config, program, data,
                                                 QStringList{u"/D"_s});
    }

    // A store for the same data folder with no year open yet.
    RosterStore unopened() const
    {
        RosterStore s;
        s.paths.dataFolder = data;
        return s;
    }

    // Saves the year, then cuts its staff file short; the cut bytes, or
    // nothing when the save failed.
    QByteArray saveThenCutStaffFile()
    {
        if (!saveWholeRoster(store, notifier))
            return {};
        const QByteArray cut = readFile(store.paths.staffFile).left(500);
        writeFile(store.paths.staffFile, cut);
        return cut;
    }
};

// Everything the test compares: the bytes of each file in the folder.
using Snapshot = QMap<QString, QByteArray>;

Snapshot snapshot(const QString& folder)
{
    Snapshot s;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden))
        s[name] = readFile(dir.filePath(name));
    return s;
}

struct Writer {
    const char* name;
    // Writes the files as they were before the operation (hook off) and
    // changes what is in memory.
    std::function<void(Fixture&)> before;
    // The operation; true when it says it succeeded.
    std::function<bool(Fixture&)> run;
    // Memory still holds the changes.
    std::function<bool(Fixture&)> memoryKept;
    // The files after a successful run are whole and new.
    std::function<bool(Fixture&)> newFilesWhole;
    bool hasNotifier = true;
};

struct Count {
    int failed = 0;
    int survived = 0;
};

Count drive(const Writer& w)
{
    Count count;
    for (int n = 1; n < 400; ++n) {
        Fixture f;
        w.before(f);
        const Snapshot previous = snapshot(f.data);
        f.notifier.messages.clear();
        fileops::failStep(n);
        const bool ok = w.run(f);
        const bool fired = fileops::failureFired();
        fileops::resetSteps();
        if (!fired) {
            // Every step done: the operation completed.
            const QStringList leftovers =
                QDir(f.data).entryList({u"*.tmp~"_s, u"*.XIN"_s, u"*.XIN.*"_s}, QDir::Files | QDir::Hidden);
            if (!ok)
                qWarning("%s: failed with no fault at step %d", w.name, n);
            else if (!w.newFilesWhole(f))
                qWarning("%s: new files not whole", w.name);
            else if (!leftovers.isEmpty())
                qWarning("%s: temporaries left: %s", w.name, qPrintable(leftovers.join(u' ')));
            else
                return count;
            count.survived = -1;
            return count;
        }
        ++count.failed;
        if (ok) {
            // Only a step after the files were in place (a temporary's
            // removal) may fail without failing the operation.
            if (w.newFilesWhole(f) && w.memoryKept(f)) {
                ++count.survived;
                continue;
            }
            qWarning("%s: step %d failed but success was reported", w.name, n);
            continue;
        }
        const Snapshot after = snapshot(f.data);
        bool same = true;
        for (auto it = previous.begin(); it != previous.end(); ++it)
            if (!after.contains(it.key()) || after.value(it.key()) != it.value()) {
                qWarning("%s: step %d changed %s", w.name, n, qPrintable(it.key()));
                same = false;
            }
        for (auto it = after.begin(); it != after.end(); ++it)
            if (!previous.contains(it.key())) {
                qWarning("%s: step %d left %s behind", w.name, n, qPrintable(it.key()));
                same = false;
            }
        const bool told = w.hasNotifier ? !f.notifier.messages.isEmpty() &&
                                              (f.notifier.messages.last().text + f.notifier.messages.last().detail)
                                                  .contains(u"ディスクの空きが足りません"_s)
                                        : f.error.contains(u"ディスクの空きが足りません"_s);
        if (!told)
            qWarning("%s: step %d failed without telling the user", w.name, n);
        const bool kept = w.memoryKept(f);
        if (!kept)
            qWarning("%s: step %d lost changes in memory", w.name, n);
        if (same && told && kept)
            ++count.survived;
    }
    count.survived = -1; // never completed
    return count;
}

// A year saved as it stands, then changed in memory.
void savedYearThenChanged(Fixture& f)
{
    QVERIFY(saveWholeRoster(f.store, f.notifier));
    f.store.staff[3].name = u"改名 花子"_s;
    f.store.schools[2].address = u"瑠璃市新町一丁目"_s;
    f.store.municipalities.entries[0].position = 42;
    f.store.dirty = 1;
}

bool yearChangesKept(Fixture& f)
{
    return f.store.staff[3].name == u"改名 花子"_s && f.store.schools[2].address == u"瑠璃市新町一丁目"_s &&
           f.store.municipalities.entries[0].position == 42 && f.store.dirty == 1 && f.store.staffCount() == 60;
}

bool yearOpensAsSaved(Fixture& f)
{
    RosterStore reopened;
    reopened.paths = f.store.paths;
    RecordingNotifier n;
    if (loadSchools(reopened, n) != 1 || loadStaff(reopened, n) != 1 || loadMunicipalityTable(reopened) != 1)
        return false;
    const int row = reopened.findStaffByCode(f.store.staff[3].code);
    return reopened.staffCount() == f.store.staffCount() && reopened.schoolCount() == f.store.schoolCount() &&
           row >= 0 && reopened.staff[size_t(row)].name == u"改名 花子"_s &&
           reopened.schools[2].address == u"瑠璃市新町一丁目"_s && reopened.municipalities.entries[0].position == 42;
}

std::vector<staff_list::Finding> findings(int n)
{
    std::vector<staff_list::Finding> out;
    for (int i = 0; i < n; ++i) {
        staff_list::Finding finding;
        finding.logLine = u"職員コード %1 を確認してください"_s.arg(i);
        out.push_back(finding);
    }
    return out;
}

std::vector<TransferEntry> batch(const QString& name)
{
    TransferEntry e;
    e.staffCode = 20010001;
    e.oldSchoolCode = 101;
    e.newSchoolCode = 102;
    e.name = name;
    e.oldSchoolName = u"瑠璃小学校"_s;
    e.newSchoolName = u"白砂小学校"_s;
    return {e};
}

SchoolNetwork network(const QString& remark)
{
    SchoolNetwork n;
    n.topNodes[0] = {u"瑠璃小学校"_s, 101, u"0123-45-6789"_s, u"山田 太郎"_s};
    n.grid[0][0] = {u"白砂小学校"_s, 102, u"0123-45-0000"_s, QString()};
    n.remarks[0] = remark;
    return n;
}

std::vector<name_labels::LabelLayout> layouts(const QString& name)
{
    name_labels::LabelLayout a = name_labels::LabelLayout::defaults();
    a.name = u"宛名"_s;
    name_labels::LabelLayout b = a;
    b.name = name;
    return {a, b};
}

} // namespace

class TestFileFaults : public QObject {
    Q_OBJECT
private slots:
    void everyWriterSurvivesEveryFailedStep_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(writers().size()); ++i)
            QTest::newRow(writers()[size_t(i)].name) << i;
    }

    void everyWriterSurvivesEveryFailedStep()
    {
        QFETCH(int, index);
        const Writer& w = writers()[size_t(index)];
        const Count c = drive(w);
        qInfo("%s: %d failed steps, %d survived", w.name, c.failed, c.survived);
        QVERIFY(c.failed > 0);
        QCOMPARE(c.survived, c.failed);
    }

    void readingARosterNeedsNoDiskSpace()
    {
        Fixture f;
        QVERIFY(saveWholeRoster(f.store, f.notifier));
        writeFile(f.data + u"/NBO_L.XIN"_s, "left from a crash");
        const Snapshot before = snapshot(f.data);
        RosterStore reopened;
        reopened.paths = f.store.paths;
        // Every write fails from the first one on: reading must not need any
        // (only the leftover plain copy's removal is tried, and may fail).
        fileops::failStep(1);
        QCOMPARE(loadSchools(reopened, f.notifier), 1);
        fileops::failStep(1);
        QCOMPARE(loadStaff(reopened, f.notifier), 1);
        fileops::resetSteps();
        QCOMPARE(reopened.staffCount(), f.store.staffCount());
        QVERIFY(f.notifier.messages.isEmpty());
        QVERIFY(!QFile::exists(f.data + u"/NBO_L.XIN"_s) || snapshot(f.data) == before);
    }

    void anUnreadableTableIsNeverWrittenBack()
    {
        Fixture f;
        const QByteArray damaged = f.saveThenCutStaffFile();
        QVERIFY(!damaged.isEmpty());
        const QByteArray schools = readFile(f.store.paths.schoolFile);

        // The copy aside cannot be made either (a full disk).
        RosterStore opened;
        opened.paths.dataFolder = f.data;
        RecordingNotifier n;
        fileops::failStep(1);
        const int opening = openRosterYear(opened, 38, n);
        fileops::resetSteps();
        QCOMPARE(opening, -1);
        QVERIFY(n.contains(u"名簿ファイル読込エラー"_s));
        QVERIFY(n.messages.last().detail.contains(u"控えを作れませんでした"_s));
        QVERIFY(!n.messages.last().detail.contains(u"残してあります"_s));
        QVERIFY(!QFile::exists(f.store.paths.staffFile + u".bak"_s));
        QCOMPARE(opened.staffCount(), 0);
        QCOMPARE(opened.schoolCount(), f.store.schoolCount());

        // Saving later, with room again, refuses to replace the unread file.
        opened.dirty = 1;
        n.messages.clear();
        QVERIFY(!saveWholeRoster(opened, n));
        QCOMPARE(n.messages.last().text, u"名簿の保存に失敗しました"_s);
        QVERIFY(n.messages.last().detail.contains(u"38MEIBO.NKD"_s));
        QCOMPARE(readFile(f.store.paths.staffFile), damaged);
        QCOMPARE(readFile(f.store.paths.schoolFile), schools);

        // Opening it again with room for the copy keeps it aside.
        RosterStore again;
        again.paths.dataFolder = f.data;
        openRosterYear(again, 38, n);
        QVERIFY(QFile::exists(f.store.paths.staffFile + u".bak"_s));
        QCOMPARE(readFile(f.store.paths.staffFile + u".bak"_s), damaged);
        // Another year opened afterwards is saved as usual.
        again.paths.setYear(39);
        QVERIFY(saveWholeRoster(again, n));
    }

    void aYearIsCarriedOverWholeOrNotAtAll()
    {
        // Year 39 does not exist; the user asks for 38 to be carried over.
        RecordingNotifier n;
        n.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        Fixture f;
        const QByteArray damaged = f.saveThenCutStaffFile();
        QVERIFY(!damaged.isEmpty());
        RosterStore next = f.unopened();
        QCOMPARE(openRosterYear(next, 39, n), -1);
        QVERIFY(n.contains(u"名簿ファイル読込エラー"_s));
        QVERIFY(n.contains(carryOverRefusedText())); // told that the new year starts empty
        // Schools without their clerks are not offered as the new year.
        QCOMPARE(next.schoolCount(), 0);
        QCOMPARE(next.staffCount(), 0);
        QCOMPARE(next.dirty, 0);
        QVERIFY(next.municipalities.count() > 0);
        QVERIFY(!next.paths.staffUnreadable && !next.paths.schoolsUnreadable);
        QCOMPARE(readFile(f.store.paths.staffFile), damaged);

        // A whole previous year carries over.
        QVERIFY(saveWholeRoster(f.store, f.notifier));
        RosterStore carried = f.unopened();
        n.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        QCOMPARE(openRosterYear(carried, 39, n), 1);
        QCOMPARE(carried.staffCount(), f.store.staffCount());
        QCOMPARE(carried.schoolCount(), f.store.schoolCount());
        QCOMPARE(carried.dirty, 1);
    }

    void aDamagedMunicipalityTableIsKeptAside()
    {
        Fixture f;
        QVERIFY(saveWholeRoster(f.store, f.notifier));
        const QByteArray damaged = "\"瑠璃市\",notanumber\r\n";
        writeFile(f.store.paths.municipalityFile, damaged);

        // No room for the copy: the built-in table is used and the file is
        // left alone by the save.
        RosterStore opened;
        opened.paths.dataFolder = f.data;
        RecordingNotifier n;
        fileops::failStep(1);
        openRosterYear(opened, 38, n);
        fileops::resetSteps();
        QVERIFY(opened.municipalities.count() > 0);
        QVERIFY(saveWholeRoster(opened, n));
        QCOMPARE(readFile(f.store.paths.municipalityFile), damaged);

        // With room, the damaged file goes aside and the table is saved.
        RosterStore again;
        again.paths.dataFolder = f.data;
        openRosterYear(again, 38, n);
        QCOMPARE(readFile(f.store.paths.municipalityFile + u".bak"_s), damaged);
        QVERIFY(saveWholeRoster(again, n));
        QVERIFY(readFile(f.store.paths.municipalityFile) != damaged);
        QCOMPARE(loadMunicipalityTable(again), 1);
    }

    void aDiskFullMessageNamesTheFile()
    {
        const QString text = fileops::failureText(u"/media/usb/38MEIBO.NKD"_s, true);
        QVERIFY(text.startsWith(u"ディスクの空きが足りません"_s));
        QVERIFY(text.contains(u"/media/usb/38MEIBO.NKD"_s));
        QVERIFY(fileops::failureText(u"/x/a"_s, false, u"書き込みが許可されていません"_s)
                    .startsWith(u"書き込みが許可されていません"_s));
        // A folder that cannot be written is no full disk.
        QTemporaryDir dir;
        QString error;
        QVERIFY(!fileops::writeFile(dir.filePath(u"no/such/folder/file"_s), "x", &error));
        QVERIFY(!error.contains(u"ディスクの空き"_s));
        QVERIFY(error.contains(u"no/such/folder/file"_s));
    }

private:
    static const std::vector<Writer>& writers()
    {
        static const std::vector<Writer> all = {
            {"year (BINARY)", savedYearThenChanged, [](Fixture& f) { return saveWholeRoster(f.store, f.notifier); },
             yearChangesKept, yearOpensAsSaved},
            {"year (TXT+BINARY)",
             [](Fixture& f) {
                 f.store.saveMode = SaveMode::TextAndBinary;
                 savedYearThenChanged(f);
             },
             [](Fixture& f) { return saveWholeRoster(f.store, f.notifier); }, yearChangesKept,
             [](Fixture& f) {
                 const QByteArray xmd = readFile(xmdPath(f.store.paths.staffFile));
                 return yearOpensAsSaved(f) && unscrambled(readFile(f.store.paths.staffFile)) == xmd;
             }},
            {"staff and schools (保存 before 開く)", savedYearThenChanged,
             [](Fixture& f) { return saveRosterFiles(f.store, f.notifier, RosterFileStaff | RosterFileSchools) == 1; },
             yearChangesKept,
             [](Fixture& f) {
                 RosterStore r;
                 r.paths = f.store.paths;
                 RecordingNotifier n;
                 return loadStaff(r, n) == 1 && loadSchools(r, n) == 1 && r.schools[2].address == u"瑠璃市新町一丁目"_s;
             }},
            {"exchange pair",
             [](Fixture& f) {
                 f.filter.narrowed = true;
                 f.filter.kinds = 1;
                 QVERIFY(exchange::exportPair(f.store, f.filter, exchange::exportNames(f.data + u"/AREA1"_s),
                                              f.notifier) == 1);
                 f.store.staff[0].name = u"交換 次郎"_s;
                 for (SchoolRecord& s : f.store.schools)
                     s.tel = u"0120-00-0000"_s;
             },
             [](Fixture& f) {
                 return exchange::exportPair(f.store, f.filter, exchange::exportNames(f.data + u"/AREA1"_s),
                                             f.notifier) == 1;
             },
             [](Fixture& f) { return f.store.schools[0].tel == u"0120-00-0000"_s; },
             [](Fixture& f) {
                 QString error;
                 bool unscrambleFailed = false;
                 const auto staff = readStaffFileAt(f.data + u"/AREA1.NK1"_s, f.data, &error, &unscrambleFailed);
                 const auto schools = parseSchoolExchangeFile(readFile(f.data + u"/AREA1.NK2"_s), &error);
                 return staff && schools && !schools->empty() && schools->front().tel == u"0120-00-0000"_s;
             }},
            {"RURI.NK2",
             [](Fixture& f) {
                 QVERIFY(exchange::exportPrefectureFile(f.store, f.notifier));
                 f.store.schools[0].name = u"新瑠璃"_s;
             },
             [](Fixture& f) { return exchange::exportPrefectureFile(f.store, f.notifier); },
             [](Fixture& f) { return f.store.schools[0].name == u"新瑠璃"_s; },
             [](Fixture& f) {
                 QString error;
                 const auto rows = parseSchoolFile(readFile(exchange::prefectureFilePath(f.store)), &error);
                 return rows && int(rows->rows.size()) == f.store.schoolCount() && rows->rows[0].name == u"新瑠璃"_s;
             }},
            {"NKMCHO.SEW",
             [](Fixture& f) {
                 QVERIFY(f.session->writeUserSettings(QDate(2026, 5, 1)));
                 f.store.profile.areaName = u"白砂地区"_s;
             },
             [](Fixture& f) { return f.session->writeUserSettings(QDate(2026, 5, 1)); },
             [](Fixture& f) { return f.store.profile.areaName == u"白砂地区"_s; },
             [](Fixture& f) {
                 UserProfile p;
                 return readUserSettingsFile(f.data + u"/NKMCHO.SEW"_s, p) == 1 && p.areaName == u"白砂地区"_s;
             }},
            {"NAKAMA-CHO.SIN",
             [](Fixture& f) {
                 // The portable file lives in the program folder: the snapshot
                 // covers it when the program runs from its data folder.
                 f.session = std::make_unique<SuiteSession>(f.settings, f.platform, f.notifier, f.store.profile,
                                                            f.config, f.data, f.data, QStringList{u"/D"_s});
                 f.settings.save(f.session->appKey(), u"SCHOOL"_s, u"SC_NAME"_s, u"瑠璃小学校"_s);
                 QVERIFY(f.session->exportPortableSettings());
                 f.settings.save(f.session->appKey(), u"SCHOOL"_s, u"SC_NAME"_s, u"白砂小学校"_s);
             },
             [](Fixture& f) { return f.session->exportPortableSettings(); },
             [](Fixture& f) {
                 return f.settings.get(f.session->appKey(), u"SCHOOL"_s, u"SC_NAME"_s) == u"白砂小学校"_s;
             },
             [](Fixture& f) {
                 QString error;
                 const auto file = parsePortableSettings(readFile(f.session->portableSettingsPath()), &error);
                 return file && std::any_of(file->entries.begin(), file->entries.end(),
                                            [](const auto& e) { return e.value == u"白砂小学校"_s; });
             }},
            {"NKMCHO.ERR",
             [](Fixture& f) { QVERIFY(staff_list::writeCheckLog(f.data + u"/NKMCHO.ERR"_s, findings(3))); },
             [](Fixture& f) { return staff_list::writeCheckLog(f.data + u"/NKMCHO.ERR"_s, findings(9), &f.error); },
             [](Fixture&) { return true; },
             [](Fixture& f) { return readFile(f.data + u"/NKMCHO.ERR"_s).count("\r\n") == 9; }, false},
            {"transfer log",
             [](Fixture& f) {
                 QVERIFY(transfers::writeLog(transfers::logFilePath(f.store), batch(u"一"_s), Date::fromYmd(2026, 4, 1),
                                             false, nullptr));
             },
             [](Fixture& f) {
                 return transfers::writeLog(transfers::logFilePath(f.store), batch(u"二"_s), Date::fromYmd(2026, 4, 2),
                                            false, &f.error);
             },
             [](Fixture&) { return true; },
             [](Fixture& f) {
                 QString error;
                 const auto log = transfers::readLog(transfers::logFilePath(f.store), &error);
                 return log && log->size() == 2 && log->back().name == u"二"_s;
             },
             false},
            {"network .TNE",
             [](Fixture& f) { QCOMPARE(contact_network::writeFile(f.data + u"/A.TNE"_s, network(u"一"_s)), 1); },
             [](Fixture& f) {
                 return contact_network::writeFile(f.data + u"/A.TNE"_s, network(u"二"_s), &f.error) == 1;
             },
             [](Fixture&) { return true; },
             [](Fixture& f) {
                 SchoolNetwork n;
                 return contact_network::readFile(f.data + u"/A.TNE"_s, n) == 1 && n.remarks[0] == u"二"_s;
             },
             false},
            {"PRT_S.PRS",
             [](Fixture& f) {
                 QString error;
                 QVERIFY(name_labels::writeLayouts(f.data + u"/PRT_S.PRS"_s, layouts(u"一"_s), &error));
             },
             [](Fixture& f) { return name_labels::writeLayouts(f.data + u"/PRT_S.PRS"_s, layouts(u"二"_s), &f.error); },
             [](Fixture&) { return true; },
             [](Fixture& f) {
                 QString error;
                 const auto read = name_labels::readLayouts(readFile(f.data + u"/PRT_S.PRS"_s), &error);
                 return read && read->size() == 2 && read->back().name == u"二"_s;
             },
             false},
        };
        return all;
    }
};

QTEST_GUILESS_MAIN(TestFileFaults)
#include "tst_file_faults.moc"
