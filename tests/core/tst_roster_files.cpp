#include "roster_files.h"
#include "sample_roster.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testenv::readFile;
using testenv::sjis;
using testenv::writeFile;

namespace {

void prepare(RosterStore& store, const QTemporaryDir& dir, int year = 17)
{
    store.paths.dataFolder = dir.path();
    store.paths.setYear(year);
}

void compareStaff(const StaffRecord& a, const StaffRecord& b)
{
    QCOMPARE(a.name, b.name);
    QCOMPARE(a.reading, b.reading);
    QCOMPARE(a.code, b.code);
    QCOMPARE(a.sex, b.sex);
    QCOMPARE(a.birthDate, b.birthDate);
    QCOMPARE(a.postalCode, b.postalCode);
    QCOMPARE(a.address1, b.address1);
    QCOMPARE(a.address2, b.address2);
    QCOMPARE(a.tel, b.tel);
    QCOMPARE(a.fax, b.fax);
    QCOMPARE(a.mobile, b.mobile);
    QCOMPARE(a.mail, b.mail);
    QCOMPARE(a.temporary, b.temporary);
    QCOMPARE(a.post1, b.post1);
    QCOMPARE(a.post2, b.post2);
    QCOMPARE(a.jobTitle, b.jobTitle);
    QCOMPARE(a.grade, b.grade);
    QCOMPARE(a.payStep, b.payStep);
    QCOMPARE(a.jobTitleIndex, b.jobTitleIndex);
    QCOMPARE(a.spare, b.spare);
    QCOMPARE(a.appointDate, b.appointDate);
    QCOMPARE(a.hireDate, b.hireDate);
    QCOMPARE(a.serviceAdjustMonths, b.serviceAdjustMonths);
    QCOMPARE(a.postingDate, b.postingDate);
    QCOMPARE(a.tenureAdjustMonths, b.tenureAdjustMonths);
    QCOMPARE(a.remarks, b.remarks);
}

void compareSchool(const SchoolRecord& a, const SchoolRecord& b)
{
    QCOMPARE(a.municipality, b.municipality);
    QCOMPARE(a.name, b.name);
    QCOMPARE(a.reading, b.reading);
    QCOMPARE(a.kindText, b.kindText);
    QCOMPARE(a.code, b.code);
    QCOMPARE(a.number, b.number);
    QCOMPARE(a.group, b.group);
    QCOMPARE(a.postalCode, b.postalCode);
    QCOMPARE(a.address, b.address);
    QCOMPARE(a.tel, b.tel);
    QCOMPARE(a.fax, b.fax);
    QCOMPARE(a.mail, b.mail);
    QCOMPARE(a.prefSelText, b.prefSelText);
    QCOMPARE(a.prefSelIndex, b.prefSelIndex);
    QCOMPARE(a.branchCount, b.branchCount);
    QCOMPARE(a.regularClasses, b.regularClasses);
    QCOMPARE(a.specialClasses, b.specialClasses);
    for (size_t i = 0; i < a.clerks.size(); ++i) {
        QCOMPARE(a.clerks[i].staffCode, b.clerks[i].staffCode);
        QCOMPARE(a.clerks[i].staffName, b.clerks[i].staffName);
        QCOMPARE(a.clerks[i].status, b.clerks[i].status);
        QCOMPARE(a.clerks[i].note, b.clerks[i].note);
        QCOMPARE(a.clerks[i].reserved, b.clerks[i].reserved);
    }
}

QByteArray staffHeader()
{
    return "10001,0,\"\",0,0,\"\",\"\"\r\n";
}

QByteArray staffRecord(qint32 code)
{
    return sjis(u"\"名前\",\"ﾅﾏｴ\","_s) + QByteArray::number(code) +
           ",0,#1980-01-02#,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
           "\"x\",1,\"1\",3,#1899-12-30#,#2001-04-01#,0,#2001-04-01#,0,0,0,\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
}

QByteArray schoolRecord(qint32 code, int slotCount)
{
    QByteArray out = "\"m\",\"n\",\"小学校\"," + QByteArray::number(code) +
                     ",\"\",\"\",\"\",\"\",\"\",\"\",0," + QByteArray::number(slotCount) +
                     ",\"\",\"\",\"\",\"\",-1,0,0,0,0,0\r\n";
    for (int i = 0; i < slotCount; ++i)
        out += QByteArray::number(20000000 + i) + ",\"c\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n";
    return sjis(QString::fromUtf8(out));
}

} // namespace

class TestRosterFiles : public QObject {
    Q_OBJECT
private slots:
    void staffAndSchoolFilesRoundTrip()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        SampleOptions options;
        options.schools = 30;
        options.staff = 50;
        generateSampleRoster(store, options);
        store.staff[3].remarks = u"波ダッシュ～あり、①②"_s;
        store.staff[4].birthDate = Date(); // unset dates survive
        store.schools[2].clerks[0].reserved = u"予備"_s;
        store.schools[2].prefSelText = u"sel"_s;
        RecordingNotifier notifier;
        QCOMPARE(saveStaff(store, notifier), 1);
        QCOMPARE(saveSchools(store, notifier), 1);
        QVERIFY(notifier.messages.isEmpty());
        QVERIFY(!QFile::exists(dir.filePath(u"TXT.XIN"_s))); // BINARY keeps no plain copy
        QVERIFY(!QFile::exists(dir.filePath(u"17MEIBO.XMD"_s)));

        const QByteArray stored = readFile(store.paths.staffFile);
        QVERIFY(leadingNumber(stored) > 20000);
        QVERIFY(unscrambled(stored).startsWith("10001,"));

        RosterStore loaded;
        prepare(loaded, dir);
        QCOMPARE(loadSchools(loaded, notifier), 1);
        QCOMPARE(loadStaff(loaded, notifier), 1);
        QVERIFY(!QFile::exists(dir.filePath(u"NBO_L.XIN"_s)));
        QCOMPARE(loaded.staffCount(), store.staffCount());
        QCOMPARE(loaded.schoolCount(), store.schoolCount());
        for (size_t i = 0; i < store.staff.size(); ++i)
            compareStaff(loaded.staff[i], store.staff[i]);
        for (size_t i = 0; i < store.schools.size(); ++i)
            compareSchool(loaded.schools[i], store.schools[i]);
        QCOMPARE(loaded.staff[0].municipalityIndex, qint16(99));
        QCOMPARE(loaded.groupNames, store.groupNames);

        // Written a second time, the files are the same bytes.
        const QByteArray schoolBytes = readFile(store.paths.schoolFile);
        QCOMPARE(saveStaff(loaded, notifier), 1);
        QCOMPARE(saveSchools(loaded, notifier), 1);
        QCOMPARE(readFile(store.paths.staffFile), stored);
        QCOMPARE(readFile(store.paths.schoolFile), schoolBytes);
    }

    void saveModesAndTemporaries()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        generateSampleRoster(store, SampleOptions{});
        store.saveMode = SaveMode::TextAndBinary;
        RecordingNotifier notifier;
        QCOMPARE(saveStaff(store, notifier), 1);
        const QString xmd = dir.filePath(u"17MEIBO.XMD"_s);
        QVERIFY(QFile::exists(xmd));
        QCOMPARE(scrambled(readFile(xmd)), readFile(store.paths.staffFile));

        // A plain file (first value at most 20000) is read as it is.
        QFile::remove(store.paths.staffFile);
        QVERIFY(QFile::copy(xmd, store.paths.staffFile));
        RosterStore loaded;
        prepare(loaded, dir);
        QCOMPARE(loadStaff(loaded, notifier), 1);
        QCOMPARE(loaded.staffCount(), store.staffCount());

        QCOMPARE(tempFilePath(u"C:\\"_s, u"NBO_L.XIN"_s), u"C:\\NBO_L.XIN"_s);
        QCOMPARE(staffSaveTempPath(u"C:\\"_s), u"C:\\IDOBO_L.XIN"_s);
        QCOMPARE(staffSaveTempPath(u"C:\\DATA"_s), u"C:\\DATA\\TXT.XIN"_s);
        QCOMPARE(staffSaveTempPath(u"/"_s), u"/IDOBO_L.XIN"_s);
        QCOMPARE(staffSaveTempPath(u"/srv/data"_s), u"/srv/data/TXT.XIN"_s);
        QCOMPARE(xmdPath(u"/d/17MEIBO.NKD"_s), u"/d/17MEIBO.XMD"_s);

        RosterStore noYear;
        QCOMPARE(saveStaff(noYear, notifier), 0);
        QCOMPARE(notifier.messages.last().text, u"名前を付けて保存を行ってください"_s);
        QCOMPARE(notifier.messages.last().icon, MessageIcon::Warning);
    }

    void failedSavesLeaveThePreviousFileWhole()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        generateSampleRoster(store, SampleOptions{});
        RecordingNotifier notifier;
        QCOMPARE(saveStaff(store, notifier), 1);
        QCOMPARE(saveSchools(store, notifier), 1);
        const QByteArray before = readFile(store.paths.staffFile);
        const QByteArray schoolsBefore = readFile(store.paths.schoolFile);

        // A character code page 932 cannot hold: named, refused, nothing replaced.
        store.staff[1].address1 = u"瑠璃市𠮷田町1"_s;
        store.schools[0].address = u"𠮷田"_s;
        QCOMPARE(saveStaff(store, notifier), -1);
        QCOMPARE(notifier.messages.last().text, u"名簿の保存に失敗しました"_s);
        QCOMPARE(notifier.messages.last().title, u"名簿保存"_s);
        QVERIFY(notifier.messages.last().detail.contains(store.staff[1].name));
        QVERIFY(notifier.messages.last().detail.contains(u"住所"_s));
        QCOMPARE(readFile(store.paths.staffFile), before);
        QCOMPARE(saveSchools(store, notifier), -1);
        QCOMPARE(readFile(store.paths.schoolFile), schoolsBefore);

        // The plain temporary cannot be written.
        store.staff[1].address1 = u"瑠璃市吉田町1"_s;
        QVERIFY(QDir(dir.path()).mkdir(u"TXT.XIN"_s));
        QCOMPARE(saveStaff(store, notifier), -1);
        QCOMPARE(readFile(store.paths.staffFile), before);
    }

    void staffLoadsAreAllOrNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("bad value in row 3") << staffHeader() + staffRecord(20010001) + staffRecord(20010002) +
                                                   staffRecord(20010003).replace("#1980-01-02#", "#1980-02-30#");
        QTest::newRow("truncated record") << staffHeader() + staffRecord(20010001) + staffRecord(20010002).left(60);
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("header only, cut") << QByteArray("10001,0,\"");
        QTest::newRow("another program's file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11);
        QByteArray many = staffHeader();
        for (int i = 0; i < 1502; ++i)
            many += staffRecord(20010000 + i);
        QTest::newRow("1502 rows") << many;
        QTest::newRow("one line of megabytes") << staffHeader() + "\"" + QByteArray(4 << 20, 'a') + "\"";
        QTest::newRow("scrambled garbage") << scrambled("10001,0,\"\",0,0,\"\",\"\"\r\n\"a\",\"b\",zz");
    }

    void staffLoadsAreAllOrNothing()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        generateSampleRoster(store, SampleOptions{});
        const qint16 before = store.staffCount();
        const qint32 firstCode = store.staff[0].code;
        writeFile(store.paths.staffFile, file);
        RecordingNotifier notifier;
        QCOMPARE(loadStaff(store, notifier), -1);
        QCOMPARE(notifier.messages.size(), 1);
        QCOMPARE(notifier.messages[0].text, u"名簿ファイル読込エラー"_s);
        QCOMPARE(notifier.messages[0].icon, MessageIcon::Critical);
        QCOMPARE(store.staffCount(), before);
        QCOMPARE(store.staff[0].code, firstCode);
        QVERIFY(!QFile::exists(dir.filePath(u"NBO_L.XIN"_s)));
        // The unreadable file is kept aside, so a later save cannot destroy it.
        QCOMPARE(testenv::readFile(store.paths.staffFile + u".bak"_s), file);
        QVERIFY(notifier.messages[0].detail.contains(u".bak"_s));
    }

    void staffFileEdges()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        RecordingNotifier notifier;
        QCOMPARE(loadStaff(store, notifier), 0); // no file: nothing said
        QVERIFY(notifier.messages.isEmpty());

        writeFile(store.paths.staffFile, scrambled(staffHeader()));
        store.staff.push_back(StaffRecord{});
        QCOMPARE(loadStaff(store, notifier), 1);
        QCOMPARE(store.staffCount(), qint16(0));

        // 1501 rows fill the table.
        QByteArray full = staffHeader();
        for (int i = 0; i < 1501; ++i)
            full += staffRecord(20011500 - i);
        writeFile(store.paths.staffFile, full);
        QCOMPARE(loadStaff(store, notifier), 1);
        QCOMPARE(store.staffCount(), qint16(1501));
        QCOMPARE(store.staff.front().code, 20010000); // sorted on loading
        QCOMPARE(store.findStaffByCode(20010700), 700);
        QVERIFY(notifier.messages.isEmpty());

        // A stored file is unscrambled in memory: a data folder where no
        // plain copy can be made does not stop the reading.
        writeFile(store.paths.staffFile, scrambled(staffHeader() + staffRecord(20010001)));
        QVERIFY(QDir(dir.path()).mkdir(u"NBO_L.XIN"_s));
        QCOMPARE(loadStaff(store, notifier), 1);
        QCOMPARE(store.staffCount(), qint16(1));
        QVERIFY(notifier.messages.isEmpty());
    }

    void schoolFileCountsAndSlots()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        RecordingNotifier notifier;
        QCOMPARE(loadSchools(store, notifier), 0); // no file

        // A gap in the posts: only the leading posts are saved.
        SchoolRecord s;
        s.name = u"青葉"_s;
        s.kindText = u"小学校"_s;
        s.code = 1;
        s.clerks[0].staffCode = 20010001;
        s.clerks[2].staffCode = 20010003;
        store.schools = {s};
        QCOMPARE(saveSchools(store, notifier), 1);
        RosterStore loaded;
        prepare(loaded, dir);
        QCOMPARE(loadSchools(loaded, notifier), 1);
        QCOMPARE(loaded.schools[0].clerks[0].staffCode, 20010001);
        QCOMPARE(loaded.schools[0].clerks[2].staffCode, 0);

        // The header's count decides, even when more schools follow.
        const QByteArray header3 = "3,\"\",\"\",\"\",\"\",\"\"\r\n";
        writeFile(store.paths.schoolFile, header3 + schoolRecord(1, 2) + schoolRecord(2, 0) + schoolRecord(3, 7) +
                                              schoolRecord(4, 1));
        QCOMPARE(loadSchools(loaded, notifier), 1);
        QCOMPARE(loaded.schoolCount(), qint16(3));
        QCOMPARE(loaded.schools[2].filledSlotCount(), 7);
        QVERIFY(notifier.messages.isEmpty());
    }

    void malformedSchoolFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray tail = "\"\",\"\",\"\",\"\",\"\"\r\n";
        QTest::newRow("count above the records") << "5," + tail + schoolRecord(1, 1) + schoolRecord(2, 1);
        QTest::newRow("negative count") << "-1," + tail + schoolRecord(1, 1);
        QTest::newRow("count beyond the table") << "2000," + tail;
        QTest::newRow("slot count 8") << "1," + tail + schoolRecord(1, 7).replace(",7,", ",8,");
        QTest::newRow("slot count -1") << "1," + tail + schoolRecord(1, 0).replace(",0,\"\",\"\"", ",-1,\"\",\"\"");
        QTest::newRow("text as the code") << "1," + tail + schoolRecord(1, 0).replace(",1,", ",\"x\",");
        QTest::newRow("missing posts") << "1," + tail + schoolRecord(1, 3).left(120);
        QByteArray many = "1," + tail;
        for (int i = 0; i < 1502; ++i)
            many += schoolRecord(i, 0);
        QTest::newRow("1502 schools") << many;
        QTest::newRow("empty") << QByteArray();
    }

    void malformedSchoolFilesChangeNothing()
    {
        QFETCH(QByteArray, file);
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        generateSampleRoster(store, SampleOptions{});
        const qint16 before = store.schoolCount();
        const QString firstName = store.schools[0].name;
        writeFile(store.paths.schoolFile, file);
        RecordingNotifier notifier;
        QCOMPARE(loadSchools(store, notifier), -1);
        QCOMPARE(notifier.texts(), QStringList{u"名簿ファイル読込エラー"_s});
        QCOMPARE(store.schoolCount(), before);
        QCOMPARE(store.schools[0].name, firstName);
    }

    void readerFindingsStayMended()
    {
        // Inputs the fuzzers once broke: each is either refused or written
        // back to something that reads the same.
        const QDir data(QFINDTESTDATA("data/fuzz"));
        const QStringList files = data.entryList(QDir::Files);
        QVERIFY(!files.isEmpty());
        for (const QString& name : files) {
            const QByteArray bytes = readFile(data.filePath(name));
            QString error;
            if (name.startsWith(u"staff"_s)) {
                const QByteArray plain = leadingNumber(bytes) > 20000 ? unscrambled(bytes) : bytes;
                if (auto content = parseStaffFile(plain, &error)) {
                    const EncodedFile written = writeStaffFile(content->header, content->rows);
                    auto again = parseStaffFile(written.bytes, &error);
                    QVERIFY2(again, qPrintable(name + error));
                    QCOMPARE(again->rows.size(), content->rows.size());
                    for (size_t i = 0; i < again->rows.size(); ++i)
                        compareStaff(again->rows[i], content->rows[i]);
                }
            } else if (auto content = parseSchoolFile(bytes, &error)) {
                const EncodedFile written = writeSchoolFile(content->rows);
                auto again = parseSchoolFile(written.bytes, &error);
                QVERIFY2(again, qPrintable(name + error));
                QCOMPARE(again->rows.size(), content->rows.size());
                for (size_t i = 0; i < again->rows.size(); ++i)
                    compareSchool(again->rows[i], content->rows[i]);
            }
        }
    }

    void municipalityFile()
    {
        QTemporaryDir dir;
        RosterStore store;
        prepare(store, dir);
        QCOMPARE(loadMunicipalityTable(store), 0);
        store.municipalities.entries = {{u"瑠璃市"_s, 0, u"瑠璃市"_s, 0, u"瑠璃市"_s, 0},
                                        {u"青海市"_s, 1, u"北地区"_s, 1, u"北管内"_s, 1},
                                        {u"藍沢町"_s, 2, u"北地区"_s, 1, u"北管内"_s, 1}};
        RecordingNotifier notifier;
        QCOMPARE(saveMunicipalities(store, notifier), 1);
        RosterStore loaded;
        prepare(loaded, dir);
        QCOMPARE(loadMunicipalityTable(loaded), 1);
        QCOMPARE(loaded.municipalities.count(), 3);
        QCOMPARE(loaded.municipalities.entries[2].name, u"藍沢町"_s);
        QCOMPARE(loaded.municipalities.districtNames, (QStringList{u"瑠璃市"_s, u"北地区"_s}));
        QCOMPARE(loaded.municipalities.areaNames, (QStringList{u"瑠璃市"_s, u"北管内"_s}));

        QByteArray tooMany;
        for (int i = 0; i < 82; ++i)
            tooMany += "\"m\"," + QByteArray::number(i) + ",\"d\",0,\"a\",0\r\n";
        writeFile(loaded.paths.municipalityFile, tooMany);
        QCOMPARE(loadMunicipalityTable(loaded), -1);
        writeFile(loaded.paths.municipalityFile, "\"m\",0,\"d\",17,\"a\",0\r\n");
        QCOMPARE(loadMunicipalityTable(loaded), -1);
        QCOMPARE(loaded.municipalities.count(), 3); // a failed read changes nothing
    }

    void postalCodes()
    {
        QTemporaryDir dir;
        const QString data = dir.filePath(u"data"_s);
        QDir().mkpath(data);
        RosterStore store;
        store.paths.dataFolder = data;
        RecordingNotifier notifier;
        loadPostalCodes(store, notifier);
        QVERIFY(store.postalCodes.entries.empty());

        // The raw list one folder up, with the home prefecture left out.
        writeFile(dir.filePath(u"POST_NO2.TXT"_s),
                  sjis(u"\"900-0001\",\"瑠璃\",\"県\",\"瑠璃市\",\"本町\",\"\",\"\",\"\"\r\n"
                       "\"900-0002\",\"隣\",\"県\",\"遠野市\",\"栄町\",\"\",\"\",\"\"\r\n"
                       "\"900-0001\",\"瑠璃県\",\"\",\"瑠璃市\",\"新町\",\"\",\"\",\"\"\r\n"_s));
        loadPostalCodes(store, notifier);
        QCOMPARE(store.postalCodes.entries.size(), size_t(3));
        QCOMPARE(store.postalCodes.entries[0].address, u"瑠璃市本町"_s);
        QCOMPARE(store.postalCodes.entries[1].address, u"隣県遠野市栄町"_s);
        QCOMPARE(store.postalCodes.lookup(u"900-0001"_s), u"瑠璃市新町"_s); // the last match wins
        QCOMPARE(store.postalCodes.lookup(u"900-0003"_s), QString());
        QCOMPARE(store.postalCodes.lookup(u"9000001"_s), QString());

        // The prepared table comes first.
        writeFile(QDir(data).filePath(u"POST_NO.PMD"_s), sjis(u"\"900-0005\",\"瑠璃市港町\"\r\n"_s));
        loadPostalCodes(store, notifier);
        QCOMPARE(store.postalCodes.entries.size(), size_t(1));
        QCOMPARE(store.postalCodes.lookup(u"900-0005"_s), u"瑠璃市港町"_s);

        writeFile(QDir(data).filePath(u"POST_NO.PMD"_s), "\"900-0005\",\"unterminated");
        loadPostalCodes(store, notifier);
        QCOMPARE(notifier.messages.size(), 1);
        QCOMPARE(store.postalCodes.entries.size(), size_t(1));
    }
};

QTEST_GUILESS_MAIN(TestRosterFiles)
#include "tst_roster_files.moc"
