#include "contact_network.h"
#include "network_files.h"
#include "record_format.h"
#include "reference_tables.h"
#include "test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace contact_network;

namespace {
SchoolRecord school(qint32 code, const QString& name, std::initializer_list<std::pair<qint32, QString>> posts)
{
    SchoolRecord s;
    s.code = code;
    s.name = name;
    s.kindText = u"小学校"_s;
    s.tel = u"0123-45-%1"_s.arg(code);
    int i = 0;
    for (const auto& [staff, status] : posts) {
        s.clerks[size_t(i)].staffCode = staff;
        s.clerks[size_t(i)].staffName = u"職員"_s + QString::number(staff);
        s.clerks[size_t(i)].status = status;
        ++i;
    }
    return s;
}

QList<QByteArray> records(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = f.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
} // namespace

class TestContactNetwork : public QObject {
    Q_OBJECT
private slots:
    void schoolCandidatesAndTheirClerk()
    {
        RosterStore store;
        store.schools.push_back(school(1, u"東"_s, {{20000001, QString()}}));
        store.schools.push_back(school(2, u"西"_s, {}));
        store.schools.push_back(school(3, u"南"_s, {{20000003, u"産・育休中"_s}}));
        store.schools.push_back(school(4, u"北"_s, {{20000004, u"産・育休中"_s}, {20000005, u"産・育休補助"_s}}));
        store.schools.push_back(school(5, u"中"_s, {{20000006, u"再任用"_s}, {20000007, u"欠員補充"_s}}));
        RosterSession session;
        session.shownSchools = {5, 1, 3, 2, 4, 99}; // the list order, by code; a school gone is passed over
        const auto c = schoolCandidates(store, session);
        QCOMPARE(c.size(), size_t(5));
        QCOMPARE(c[0].schoolName, u"中小学校"_s);
        QCOMPARE(c[0].clerkName, u"職員20000007"_s);
        QCOMPARE(c[1].schoolCode, 1);
        QCOMPARE(c[1].tel, u"0123-45-1"_s);
        QCOMPARE(c[1].clerkName, u"職員20000001"_s);
        QVERIFY(c[2].clerkName.isEmpty()); // the only clerk is on leave
        QVERIFY(c[3].clerkName.isEmpty()); // no clerk at all
        QCOMPARE(c[4].clerkName, u"職員20000005"_s);
    }

    void savingAndOpening()
    {
        QTemporaryDir dir;
        SchoolNetwork n;
        n.remarks = {u"夜間は自宅へ"_s, u"不在時は次へ"_s, u"令和8年度 連絡網"_s};
        n.pictureFile = dir.filePath(u"logo.png"_s);
        n.topNodes[0] = {u"東小学校"_s, 1, u"011"_s, u"青木"_s};
        n.topNodes[1] = {u"西小学校"_s, 2, u"022"_s, QString()};
        n.grid[0][0] = {u"南小学校"_s, 3, u"033"_s, u"伊藤"_s};
        n.grid[6][7] = {u"北小学校"_s, 4, u"044"_s, u"上田"_s};
        const QString path = dir.filePath(u"東部.TNE"_s);
        QCOMPARE(writeFile(path, n), 1);
        const auto lines = records(path);
        QCOMPARE(lines.size(), 61);
        QVERIFY(lines[0].startsWith("0,0,0,0,0,\""));
        QVERIFY(lines[0].endsWith("\"\",\"\"\r"));
        QCOMPARE(lines[4], QByteArray("\"\",0,\"\",\"\",\"\",\"\",0,0,\"\",\"\",\"\"\r")); // the third head, empty
        QCOMPARE(lines.last().count(','), 10);

        SchoolNetwork back;
        QCOMPARE(readFile(path, back), 1);
        QCOMPARE(back.remarks, n.remarks);
        QCOMPARE(back.pictureFile, n.pictureFile);
        QCOMPARE(back.topNodes, n.topNodes);
        QCOMPARE(back.grid, n.grid);

        // Saving under the same name replaces the file.
        n.grid[6][7] = NetworkNode{};
        QCOMPARE(writeFile(path, n), 1);
        SchoolNetwork again;
        QCOMPARE(readFile(path, again), 1);
        QVERIFY(!again.grid[6][7].filled());

        // An empty network still has 61 records.
        QCOMPARE(writeFile(dir.filePath(u"空.TNE"_s), SchoolNetwork{}), 1);
        QCOMPARE(records(dir.filePath(u"空.TNE"_s)).size(), 61);

        // The officer file: 12 values a node.
        OfficerNetwork o;
        o.topNodes[0] = {u"瑠璃市"_s, u"東小学校"_s, u"011"_s, u"青木"_s, 20000001, u"090"_s};
        o.grid[3][2] = {u"青海市"_s, u"西中学校"_s, u"022"_s, u"伊藤"_s, 20000002, QString()};
        const QString opath = dir.filePath(u"役員.TN2"_s);
        QCOMPARE(writeFile(opath, o), 1);
        QCOMPARE(records(opath)[2].count(','), 11);
        OfficerNetwork oback;
        QCOMPARE(readFile(opath, oback), 1);
        QCOMPARE(oback.topNodes[0], o.topNodes[0]);
        QCOMPARE(oback.grid[3][2], o.grid[3][2]);
        QCOMPARE(contact_network::fileFilter(true), u"連絡網ファイル(*.TN2)"_s);
    }

    void damagedFiles()
    {
        QTemporaryDir dir;
        SchoolNetwork n;
        n.topNodes[0] = {u"東小学校"_s, 1, u"011"_s, u"青木"_s};
        n.grid[0][0] = {u"南小学校"_s, 3, u"033"_s, u"伊藤"_s};
        n.grid[1][0] = {u"北小学校"_s, 4, u"044"_s, u"上田"_s};
        const QString path = dir.filePath(u"a.TNE"_s);
        QCOMPARE(writeFile(path, n), 1);
        // Cut after the first two grid records: what came before is kept.
        const auto lines = records(path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 7; ++i)
            f.write(lines[i] + '\n');
        f.close();
        SchoolNetwork cut;
        QCOMPARE(readFile(path, cut), -1);
        QCOMPARE(cut.topNodes[0], n.topNodes[0]);
        QCOMPARE(cut.grid[0][0], n.grid[0][0]);
        QCOMPARE(cut.grid[0][1], n.grid[0][1]);
        QVERIFY(!cut.grid[1][0].filled());

        // An officer file is not a school file: the node records do not fit.
        OfficerNetwork o;
        o.topNodes[0] = {u"瑠璃市"_s, u"東小学校"_s, u"011"_s, u"青木"_s, 20000001, u"090"_s};
        QCOMPARE(writeFile(dir.filePath(u"b.TN2"_s), o), 1);
        SchoolNetwork wrong;
        QCOMPARE(readFile(dir.filePath(u"b.TN2"_s), wrong), -1);
        QCOMPARE(readFile(dir.filePath(u"missing.TNE"_s), wrong), -1);

        // A third head filled in by someone else's file is dropped.
        QByteArray bytes;
        QVERIFY(readWholeFile(dir.filePath(u"b.TN2"_s), bytes));
        OfficerNetwork third;
        QByteArray withThird = bytes;
        const QList<QByteArray> parts = bytes.split('\n');
        withThird = parts[0] + '\n' + parts[1] + '\n' + parts[2] + '\n' + parts[2] + '\n' + parts[2] + '\n';
        for (int i = 5; i < parts.size(); ++i)
            withThird += parts[i] + (i + 1 < parts.size() ? "\n" : "");
        QCOMPARE(parseFile(withThird, third), 1);
        QCOMPARE(third.topNodes[1], o.topNodes[0]);
        QVERIFY(!third.topNodes[2].filled());
        QCOMPARE(third.topNodes[2].code(), 0);

        // A name code page 932 cannot hold is refused, and the old file stays.
        SchoolNetwork bad = n;
        bad.grid[0][0].clerkName = u"𠮷田"_s;
        QCOMPARE(writeFile(dir.filePath(u"a.TNE"_s), bad), -1);
        QCOMPARE(records(path).size(), 7);
    }

    void theFileDialogs()
    {
        QTemporaryDir dir;
        const QString elsewhere = QDir::tempPath();
        QStringList asked;
        QString answer;
        pathChooser() = [&](bool save, const QString& folder, const QString& name, const QString& filter) {
            asked << (save ? u"save "_s : u"open "_s) + folder + u' ' + name + u' ' + filter;
            QDir::setCurrent(elsewhere); // as a dialog may
            return answer;
        };
        SchoolNetwork n;
        n.topNodes[0] = {u"東小学校"_s, 1, u"011"_s, u"青木"_s};
        // Cancelled: nothing written, nothing read.
        QCOMPARE(saveNetworkFile(n, dir.path()), 0);
        QCOMPARE(QDir::currentPath(), QDir(dir.path()).absolutePath());
        answer = dir.filePath(u"東部"_s); // typed without an extension: none is added
        QCOMPARE(saveNetworkFile(n, dir.path()), 1);
        QVERIFY(QFileInfo::exists(dir.filePath(u"東部"_s)));
        QCOMPARE(n.fileName, answer);
        QCOMPARE(asked.last(), u"save "_s + dir.path() + u"  連絡網ファイル(*.TNE)"_s);
        // The next save offers the name chosen before; saving again replaces the file.
        QCOMPARE(saveNetworkFile(n, dir.path()), 1);
        QCOMPARE(asked.last(), u"save "_s + dir.path() + u' ' + answer + u" 連絡網ファイル(*.TNE)"_s);

        OfficerNetwork o;
        answer = dir.filePath(u"無い.TN2"_s);
        QCOMPARE(openNetworkFile(o, dir.path()), 0); // no such file: a new network
        QVERIFY(asked.last().endsWith(u"連絡網ファイル(*.TN2)"_s));
        SchoolNetwork opened;
        answer = dir.filePath(u"東部"_s);
        QCOMPARE(openNetworkFile(opened, dir.path()), 1);
        QCOMPARE(opened.topNodes[0], n.topNodes[0]);
        QCOMPARE(QDir::currentPath(), QDir(dir.path()).absolutePath());
        answer = dir.filePath(u"東部"_s);
        QCOMPARE(openNetworkFile(o, dir.path()), -1); // a school network is no officer network
        pathChooser() = nullptr;
    }

    void refreshingAgainstTheRoster()
    {
        SchoolNetwork n;
        n.topNodes[0] = {u"東小学校"_s, 1, u"011-old"_s, u"青木"_s};
        n.grid[0][0] = {u"南小学校"_s, 3, u"033"_s, u"伊藤"_s};
        n.grid[2][5] = {u"遠小学校"_s, 9, u"099"_s, u"遠藤"_s}; // outside the extraction
        std::vector<NetworkNode> candidates{{u"西小学校"_s, 2, u"022"_s, QString()},
                                            {u"東小学校"_s, 1, u"011-new"_s, u"青木"_s},
                                            {u"南第一小学校"_s, 3, u"033"_s, u"上田"_s}};
        refresh(n, candidates);
        QCOMPARE(n.topNodes[0].tel, u"011-new"_s);
        QCOMPARE(n.grid[0][0].schoolName, u"南第一小学校"_s);
        QCOMPARE(n.grid[0][0].clerkName, u"上田"_s);
        QCOMPARE(n.grid[2][5].tel, u"099"_s);
        QCOMPARE(candidates.size(), size_t(1));
        QCOMPARE(candidates[0].schoolCode, 2);

        OfficerEntry e;
        e.name = u"青木"_s;
        e.code = 20000001;
        e.municipality = u"瑠璃市"_s;
        e.schoolName = u"東小学校"_s;
        e.homeTel = u"090"_s;
        std::vector<OfficerEntry> shown(102, e);
        QCOMPARE(officerCandidates(shown).size(), size_t(101));
        QCOMPARE(officerCandidates(shown)[0].memberName, u"青木"_s);
        QCOMPARE(officerCandidates(shown)[0].staffCode, 20000001);
    }
};

QTEST_MAIN(TestContactNetwork)
#include "tst_contact_network.moc"
