#include "reference_tables.h"
#include "roster_files.h"
#include "test_env.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
SchoolRecord school(const QString& municipality, const QString& name, qint32 code)
{
    SchoolRecord s;
    s.municipality = municipality;
    s.name = name;
    s.kindText = u"小学校"_s;
    s.code = code;
    return s;
}
} // namespace

class TestReferenceTables : public QObject {
    Q_OBJECT
private slots:
    void theBuiltInPlacesAreComplete()
    {
        const ReferenceData& p = builtInReferenceData();
        QCOMPARE(p.prefectureName, u"瑠璃県"_s);
        QCOMPARE(p.districtNames.size(), 16);
        QCOMPARE(p.areaNamesA.size(), 11);
        QCOMPARE(p.areaNamesBC.size(), 11);
        QCOMPARE(p.municipalitiesAB.size(), size_t(78));
        QCOMPARE(p.municipalitiesC.size(), size_t(56));
        for (const auto* list : {&p.municipalitiesAB, &p.municipalitiesC}) {
            const auto& m = *list;
            // The first municipality is an area of its own; the first four
            // are districts of their own.
            for (int i = 0; i < 4; ++i)
                QCOMPARE(p.districtNames[m[size_t(i)].district], m[size_t(i)].name);
            for (size_t i = 1; i < m.size(); ++i) {
                QVERIFY(m[i].district >= m[i - 1].district);
                QVERIFY(p.areaOfDistrictA[size_t(m[i].district)] != 0);
                QVERIFY(p.areaOfDistrictBC[size_t(m[i].district)] != 0);
            }
        }
        QCOMPARE(p.areaNamesBC[0], p.municipalitiesAB[0].name);
        for (const QString& area : p.areaNamesA)
            QVERIFY(area.endsWith(u"管内"_s));

        QCOMPARE(p.mergers.size(), size_t(29));
        QSet<QString> newNames, oldNames;
        int prefixes = 0, shortened = 0;
        QSet<QString> namesC;
        for (const PlaceEntry& e : p.municipalitiesC)
            namesC.insert(e.name);
        for (const MergerRow& m : p.mergers) {
            newNames.insert(m.newName);
            oldNames.insert(m.oldName);
            QVERIFY(namesC.contains(m.newName));
            QVERIFY(!namesC.contains(m.oldName));
            if (!m.addressPrefix.isEmpty()) {
                ++prefixes;
                if (m.addressPrefix != m.oldName) {
                    ++shortened;
                    QVERIFY(m.oldName.startsWith(m.addressPrefix));
                }
            }
        }
        QCOMPARE(newNames.size(), 8);
        QCOMPARE(oldNames.size(), 29);
        QCOMPARE(prefixes, 7);
        QCOMPARE(shortened, 1);
        QVERIFY(namesC.contains(p.associationMember));
        QVERIFY(!p.associationName.isEmpty() && !namesC.contains(p.associationName));

        QList<qsizetype> sizes;
        int mustChoose = 0;
        for (const DistrictSubList& s : p.subLists) {
            sizes << s.districts.size();
            mustChoose += s.mustChoose ? 1 : 0;
            QVERIFY(p.areaNamesA.contains(s.areaName) || p.areaNamesBC.contains(s.areaName));
        }
        QCOMPARE(sizes, (QList<qsizetype>{4, 2, 2, 4, 2, 2}));
        QCOMPARE(mustChoose, 2);
        QCOMPARE(p.districtNames.indexOf(p.splitDistrict), 5);
    }

    void fixedTables()
    {
        QCOMPARE(jobTitles().size(), 6);
        QCOMPARE(jobTitles()[3], u" 主  事 "_s);
        QCOMPARE(jobTitles()[0], u"事 務 長"_s);
        QCOMPARE(jobTitles()[4], u"市町村職員"_s);
        QCOMPARE(schoolKinds(), (QStringList{u"小学校"_s, u"中学校"_s, u"特別支援学校"_s}));
        QCOMPARE(postStatuses().size(), 5);
        QCOMPARE(postStatuses()[0], QString());
        QCOMPARE(postStatuses()[3], u"産・育休補助"_s);
    }

    void generationsByYear()
    {
        RosterStore store;
        store.profile.areaName = u"瑠璃県北部"_s;
        QVERIFY(store.prefectureLevel());
        buildMunicipalityTable(store, 15);
        QCOMPARE(store.municipalities.count(), 78);
        QCOMPARE(store.municipalities.areaNames, store.places.areaNamesA);
        QCOMPARE(store.municipalities.districtNames.size(), 16);
        const MunicipalityEntry& e = store.municipalities.entries[10];
        QCOMPARE(e.position, qint16(10));
        QCOMPARE(e.districtName, store.municipalities.districtNames[e.districtIndex]);
        QCOMPARE(e.areaName, store.municipalities.areaNames[e.areaIndex]);
        buildMunicipalityTable(store, 16);
        QCOMPARE(store.municipalities.areaNames[0], store.municipalities.entries[0].name);
        buildMunicipalityTable(store, 17);
        QCOMPARE(store.municipalities.count(), 78);
        buildMunicipalityTable(store, 18);
        QCOMPARE(store.municipalities.count(), 56);
        QCOMPARE(store.municipalities.associationIndex,
                 qint16(store.municipalities.indexOf(store.places.associationMember)));
        QCOMPARE(store.municipalities.municipalityPosition(store.places.associationName),
                 store.municipalities.associationIndex);

        // Other users get the names and nothing else.
        RosterStore area;
        area.profile.areaName = u"北部地区"_s;
        buildMunicipalityTable(area, 18);
        QCOMPARE(area.municipalities.count(), 56);
        QVERIFY(area.municipalities.areaNames.isEmpty());
        QVERIFY(area.municipalities.districtNames.isEmpty());
        QVERIFY(area.municipalities.entries[5].districtName.isEmpty());
    }

    void theYearsFileWins()
    {
        QTemporaryDir dir;
        RosterStore store;
        store.profile.areaName = u"瑠璃県"_s;
        store.paths.dataFolder = dir.path();
        store.paths.setYear(18);
        testenv::writeFile(store.paths.municipalityFile,
                           testenv::sjis(u"\"甲市\",0,\"甲市\",0,\"甲市\",0\r\n\"乙町\",1,\"北\",3,\"北管内\",1\r\n"
                                         "\"丙村\",2,\"南\",2,\"北管内\",1\r\n"_s));
        buildMunicipalityTable(store, 18);
        QCOMPARE(store.municipalities.count(), 3);
        QCOMPARE(store.municipalities.districtNames.size(), 3); // from the last entry's index
        QCOMPARE(store.municipalities.areaNames.size(), 2);
        QCOMPARE(store.municipalities.districtNames[2], u"南"_s);

        const QList<QByteArray> broken{
            "\"甲市\",0,\"甲市\",-1,\"甲市\",0\r\n",                    // negative index
            "\"甲市\",0,\"甲市\",0,\"甲市\",11\r\n",                    // beyond the area list
            "\"甲市\",\"x\",\"甲市\",0,\"甲市\",0\r\n",                 // text for a number
            "\"甲市\",0,\"甲市\",0,\"甲市\",0\r\n\"乙町\",1,\"北\"",      // truncated last record
        };
        for (const QByteArray& bytes : broken) {
            testenv::writeFile(store.paths.municipalityFile, testenv::sjis(QString::fromUtf8(bytes)));
            QCOMPARE(loadMunicipalityTable(store), -1);
            buildMunicipalityTable(store, 18);
            QCOMPARE(store.municipalities.count(), 56);
        }
    }

    void renamingAMunicipality()
    {
        RosterStore store;
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 18);
        MunicipalityTable& t = store.municipalities;
        const QString first = t.entries[2].name;  // 翠川市
        const QString second = t.entries[3].name; // 白砂市
        const QString later = t.entries[10].name;
        store.schools = {school(first, u"甲"_s, 1), school(second, u"乙"_s, 2), school(later, u"丙"_s, 3)};
        for (SchoolRecord& s : store.schools)
            store.deriveSchoolFields(s);
        StaffRecord clerk;
        clerk.schoolFullName = first + u"立甲小学校"_s;
        store.staff = {clerk};
        RecordingNotifier notifier;

        // Either name empty: told, nothing changes.
        QVERIFY(!renameMunicipality(store, u"  "_s, second, notifier));
        QCOMPARE(notifier.texts(), QStringList{u"市町村名を設定してください"_s});
        QCOMPARE(store.dirty, qint16(0));

        // A name not in the table: the entry takes it and keeps its grouping.
        const MunicipalityEntry before = t.entries[2];
        QVERIFY(renameMunicipality(store, u" "_s + first + u" "_s, u"新翠川市"_s, notifier));
        QCOMPARE(t.entries[2].name, u"新翠川市"_s);
        QCOMPARE(t.entries[2].districtName, before.districtName);
        QCOMPARE(t.entries[2].areaName, before.areaName);
        QCOMPARE(store.schools[0].municipality, u"新翠川市"_s);
        QCOMPARE(store.schools[0].municipalityIndex, qint16(2));
        QCOMPARE(store.staff[0].schoolFullName, u"新翠川市立甲小学校"_s);
        QCOMPARE(store.dirty, qint16(1));

        // Onto a name already there: the old entry goes, its schools join the
        // other, and every school after it keeps the right position.
        const int count = t.count();
        QVERIFY(renameMunicipality(store, u"新翠川市"_s, second, notifier));
        QCOMPARE(t.count(), count - 1);
        QCOMPARE(t.indexOf(u"新翠川市"_s), -1);
        QCOMPARE(store.schools[0].municipality, second);
        QCOMPARE(store.schools[0].municipalityIndex, qint16(t.indexOf(second)));
        QCOMPARE(store.schools[1].municipalityIndex, qint16(t.indexOf(second)));
        QCOMPARE(store.schools[2].municipalityIndex, qint16(t.indexOf(later)));
        QCOMPARE(store.schools[2].municipalityIndex, qint16(9));
        QCOMPARE(t.entries[9].position, qint16(9));
        QCOMPARE(store.staff[0].schoolFullName, second + u"立甲小学校"_s);

        // A name to itself changes nothing but the dirty flag.
        QVERIFY(renameMunicipality(store, second, second, notifier));
        QCOMPARE(t.count(), count - 1);
        QCOMPARE(store.schools[1].municipalityIndex, qint16(t.indexOf(second)));

        // An old name not in the table: only the schools move.
        store.schools.push_back(school(u"幻町"_s, u"丁"_s, 4));
        QVERIFY(renameMunicipality(store, u"幻町"_s, later, notifier));
        QCOMPARE(store.schools[3].municipality, later);
        QCOMPARE(store.schools[3].municipalityIndex, qint16(t.indexOf(later)));
        store.schools.push_back(school(u"幻村"_s, u"戊"_s, 5));
        QVERIFY(renameMunicipality(store, u"幻村"_s, u"無い町"_s, notifier));
        QCOMPARE(store.schools[4].municipalityIndex, qint16(0));
    }

    void theMergerMap()
    {
        RosterStore store;
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 18);
        const ReferenceData& p = store.places;
        const MergerRow* withPrefix = nullptr;
        const MergerRow* without = nullptr;
        for (const MergerRow& m : p.mergers) {
            if (!m.addressPrefix.isEmpty() && m.addressPrefix != m.oldName)
                withPrefix = &m; // the shortened one
            if (m.addressPrefix.isEmpty() && !without)
                without = &m;
        }
        QVERIFY(withPrefix && without);
        store.schools = {school(withPrefix->oldName, u"甲"_s, 1), school(without->oldName, u"乙"_s, 2),
                         school(p.municipalitiesC[0].name, u"丙"_s, 3), school(u"どこでもない町"_s, u"丁"_s, 4)};
        store.schools[0].address = u"本町1-2"_s;
        store.schools[1].address = u"栄町3"_s;
        for (SchoolRecord& s : store.schools)
            store.deriveSchoolFields(s);
        applyMergerMap(store);
        QCOMPARE(store.schools[0].municipality, withPrefix->newName);
        QCOMPARE(store.schools[0].address, withPrefix->addressPrefix + u"本町1-2"_s);
        QCOMPARE(store.schools[0].municipalityIndex, qint16(store.municipalities.indexOf(withPrefix->newName)));
        QCOMPARE(store.schools[1].municipality, without->newName);
        QCOMPARE(store.schools[1].address, u"栄町3"_s);
        QCOMPARE(store.schools[2].municipalityIndex, qint16(0));
        QCOMPARE(store.schools[3].municipalityIndex, qint16(99));
    }

    void aDeploymentsOwnPlaces()
    {
        QTemporaryDir dir;
        RecordingNotifier notifier;
        QFile builtIn(u":/data/places.txt"_s);
        QVERIFY(builtIn.open(QIODevice::ReadOnly));
        QByteArray text = builtIn.readAll();
        text.replace("瑠璃中央管内", "瑠璃本庁管内");
        testenv::writeFile(dir.filePath(u"places.txt"_s), text);
        ReferenceData d = loadReferenceData(dir.path(), &notifier);
        QCOMPARE(d.areaNamesA[0], u"瑠璃本庁管内"_s);
        QVERIFY(notifier.messages.isEmpty());

        const QList<QByteArray> broken{text.left(text.size() / 2), QByteArray("\xff\xfe garbage"),
                                       QByteArray(text).replace("海浜町, 海浜地区", "海浜町, 無い地区"),
                                       QByteArray(text).replace("[地区細分]", "[地区細分]\n無い管内 2つ")};
        for (const QByteArray& bad : broken) {
            testenv::writeFile(dir.filePath(u"places.txt"_s), bad);
            d = loadReferenceData(dir.path(), &notifier);
            QCOMPARE(d.areaNamesA[0], u"瑠璃中央管内"_s);
            QCOMPARE(notifier.messages.last().icon, MessageIcon::Warning);
        }
        QCOMPARE(notifier.messages.size(), broken.size());
    }
};

QTEST_GUILESS_MAIN(TestReferenceTables)
#include "tst_reference_tables.moc"
