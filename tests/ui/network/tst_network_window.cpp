#include "network_files.h"
#include "network_window.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Roster : WindowContext {
    Roster()
    {
        store.paths.dataFolder = dir.path();
        for (int i = 0; i < 4; ++i) {
            SchoolRecord s;
            s.code = 100 + i;
            s.name = u"第%1"_s.arg(i + 1);
            s.kindText = u"小学校"_s;
            s.tel = u"011-%1"_s.arg(i);
            s.clerks[0].staffCode = 20000001 + i;
            s.clerks[0].staffName = u"職員%1"_s.arg(i + 1);
            store.schools.push_back(s);
        }
        context.session.shownSchools = {100, 101, 102, 103};
    }
};

NetworkPlace list(int i)
{
    return {NetworkPlace::List, 0, i};
}
NetworkPlace grid(int level, int chain)
{
    return {NetworkPlace::Grid, level, chain};
}
NetworkPlace top(int t)
{
    return {NetworkPlace::Top, 0, t};
}
} // namespace

class TestNetworkWindow : public QObject {
    Q_OBJECT
private slots:
    void connectors()
    {
        std::array<std::array<bool, 8>, 7> f{};
        f[0][0] = true;
        for (int c = 0; c <= 2; ++c)
            f[1][size_t(c)] = true;
        f[2][4] = true; // no left neighbour, and chain 3 is empty in column 2 as well
        const Connectors v = connectorsFor(f);
        QVERIFY(v[1][1]);
        QVERIFY(v[1][2]);
        QVERIFY(!v[1][3]);
        QVERIFY(v[2][4]);
        QVERIFY(v[2][3]);  // runs on up through chain 3 to the branch of chain 2
        QVERIFY(!v[2][2]); // chain 2 has its own left neighbour in column 1
        QVERIFY(!v[2][1]);
        QVERIFY(!v[1][0] && !v[2][0]); // nothing above chain 0
    }

    void draggingSchools()
    {
        Roster r;
        NetworkWindow w(r.context, {}, false);
        w.chooseMode = [] { return NetworkChooser::New; };
        QVERIFY(w.start());
        QCOMPARE(w.candidateCount(), 4);
        QCOMPARE(w.candidateList()->item(0)->text(), u"第1小学校"_s);
        QVERIFY(!w.changed());

        QVERIFY(w.drop(list(0), grid(0, 0)));
        QCOMPARE(w.candidateCount(), 3);
        QCOMPARE(w.schoolNetwork().grid[0][0].schoolCode, 100);
        QCOMPARE(w.schoolNetwork().grid[0][0].clerkName, u"職員1"_s);
        QCOMPARE(w.boxText(grid(0, 0)), (QStringList{u"第1小学校"_s, u"011-0"_s}));
        QVERIFY(w.changed());
        // A filled box takes nothing.
        QVERIFY(!w.drop(list(0), grid(0, 0)));
        QCOMPARE(w.candidateCount(), 3);
        QVERIFY(w.drop(list(0), top(0)));
        QCOMPARE(w.schoolNetwork().topNodes[0].schoolCode, 101);
        QVERIFY(w.drop(top(0), grid(1, 2)));
        QVERIFY(!w.filled(top(0)));
        QVERIFY(w.filled(grid(1, 2)));
        QVERIFY(w.connectors()[1][2]); // hangs on the branch above
        // Back to the end of the list.
        QVERIFY(w.drop(grid(0, 0), list(0)));
        QCOMPARE(w.candidateCount(), 3);
        QCOMPARE(w.candidateList()->item(2)->text(), u"第1小学校"_s);
        QVERIFY(!w.filled(grid(0, 0)));
        QVERIFY(!w.drop(list(1), list(0))); // a candidate on its own list

        // The screen boxes are where the tree looks for them.
        for (const NetworkPlace& p : {grid(0, 0), grid(6, 7), grid(3, 4), top(1)})
            QCOMPARE(w.tree()->placeAt(w.tree()->boxRect(p).center()), std::optional<NetworkPlace>(p));
        w.resize(1250, 520);
        w.show();
        testenv::keepShot(&w, u"network"_s);
    }

    void openingSavingAndClosing()
    {
        Roster r;
        const QString path = r.dir.filePath(u"東部.TNE"_s);
        SchoolNetwork saved;
        saved.topNodes[0] = {u"第1小学校"_s, 100, u"old"_s, u"前任"_s};
        saved.grid[0][0] = {u"遠い学校"_s, 999, u"099"_s, u"遠藤"_s};
        saved.remarks = {u"夜間は自宅へ"_s, QString(), u"表題"_s};
        QCOMPARE(contact_network::writeFile(path, saved), 1);
        QString answer = path;
        contact_network::pathChooser() = [&answer](bool, const QString&, const QString&, const QString&) {
            return answer;
        };

        {
            NetworkWindow w(r.context, {}, false);
            w.chooseMode = [] { return NetworkChooser::Existing; };
            QVERIFY(w.start());
            // The school's current number; it is no longer offered.
            QCOMPARE(w.schoolNetwork().topNodes[0].tel, u"011-0"_s);
            QCOMPARE(w.schoolNetwork().topNodes[0].clerkName, u"職員1"_s);
            QCOMPARE(w.candidateCount(), 3);
            QCOMPARE(w.schoolNetwork().grid[0][0].tel, u"099"_s); // not in the extraction: as saved
            QCOMPARE(w.remarkBox(0)->text(), u"夜間は自宅へ"_s);
            // Nothing dropped: closing asks nothing.
            const int before = int(r.notifier.messages.size());
            w.show();
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
            QCOMPARE(int(r.notifier.messages.size()), before);
        }
        {
            NetworkWindow w(r.context, {}, false);
            w.chooseMode = [] { return NetworkChooser::New; };
            QVERIFY(w.start());
            w.drop(list(3), grid(0, 0));
            testenv::typeText(w.remarkBox(2), u"新しい連絡網"_s);
            answer = r.dir.filePath(u"新.TNE"_s);
            r.notifier.answers = {MessageAnswer::Yes};
            w.show();
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
            QCOMPARE(r.notifier.messages.last().text, u"連絡網のデータを保存しますか？"_s);
            QCOMPARE(r.notifier.messages.last().title, u"データ保存"_s);
            SchoolNetwork back;
            QCOMPARE(contact_network::readFile(answer, back), 1);
            QCOMPARE(back.grid[0][0].schoolCode, 103);
            QCOMPARE(back.remarks[2], u"新しい連絡網"_s);
        }
        {
            NetworkWindow w(r.context, {}, false);
            w.chooseMode = [] { return NetworkChooser::Cancel; };
            QVERIFY(!w.start());
        }
        contact_network::pathChooser() = nullptr;
    }

    void aFailedSaveOnClosingKeepsTheWindow()
    {
        Roster r;
        QString answer = r.dir.filePath(u"無い/フォルダ.TNE"_s);
        contact_network::pathChooser() = [&answer](bool, const QString&, const QString&, const QString&) {
            return answer;
        };
        NetworkWindow w(r.context, {}, false);
        w.chooseMode = [] { return NetworkChooser::New; };
        QVERIFY(w.start());
        w.show();
        w.drop(list(0), grid(0, 0));

        // A folder that cannot be written.
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"連絡網を保存できませんでした"_s);
        QVERIFY(w.isVisible());
        QVERIFY(!QFileInfo::exists(answer));

        // A remark code page 932 cannot hold: the reason names it.
        answer = r.dir.filePath(u"東部.TNE"_s);
        testenv::typeText(w.remarkBox(0), u"연락"_s);
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"連絡網を保存できませんでした"_s);
        QVERIFY2(r.notifier.messages.last().detail.contains(u"연"_s), qPrintable(r.notifier.messages.last().detail));
        QVERIFY(w.isVisible());
        QVERIFY(!QFileInfo::exists(answer));

        // The file dialog cancelled: the window stays, nothing is said.
        auto* remark = w.remarkBox(0);
        remark->selectAll();
        QTest::keyClick(remark, Qt::Key_Backspace);
        answer.clear();
        const int before = int(r.notifier.messages.size());
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        QCOMPARE(int(r.notifier.messages.size()), before + 1);
        QVERIFY(w.isVisible());

        // Once it can be written, the window closes with the network saved.
        answer = r.dir.filePath(u"東部.TNE"_s);
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        SchoolNetwork back;
        QCOMPARE(contact_network::readFile(answer, back), 1);
        QCOMPARE(back.grid[0][0].schoolCode, 100);
        contact_network::pathChooser() = nullptr;
    }

    void printingAndThePicture()
    {
        Roster r;
        NetworkWindow w(r.context, {}, false);
        w.chooseMode = [] { return NetworkChooser::New; };
        QVERIFY(w.start());
        w.drop(list(0), grid(0, 0));
        w.drop(list(0), grid(0, 2));
        auto* print = w.findChild<QPushButton*>(u"B_PRT"_s);
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"データの無い行が途中に有ります"_s);
        w.drop(list(0), grid(3, 1));
        r.notifier.answers = {MessageAnswer::No};
        QTest::mouseClick(print, Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"連絡網を印刷します"_s);

        // A picture that cannot be read: the old one may be given up.
        QImage logo(20, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        const QString png = r.dir.filePath(u"logo.png"_s);
        QVERIFY(logo.save(png));
        w.choosePicture = [&png] { return png; };
        w.changePicture();
        QCOMPARE(w.schoolNetwork().pictureFile, png);
        w.choosePicture = [] { return u"/nowhere/none.bmp"_s; };
        r.notifier.answers = {MessageAnswer::Yes};
        w.changePicture();
        QCOMPARE(r.notifier.messages.last().text, u"連絡網の絵を無しにしますか？"_s);
        QVERIFY(r.notifier.messages.last().title.isEmpty());
        QVERIFY(w.schoolNetwork().pictureFile.isEmpty());
    }

    void theOfficerNetwork()
    {
        Roster r;
        OfficerEntry e;
        e.name = u"青木"_s;
        e.code = 20000001;
        e.municipality = u"瑠璃市"_s;
        e.schoolName = u"東小学校"_s;
        e.homeTel = u"090"_s;
        NetworkWindow w(r.context, {e}, true);
        w.chooseMode = [] { return NetworkChooser::New; };
        QVERIFY(w.start());
        QCOMPARE(w.candidateList()->objectName(), u"SM_LIST"_s);
        QCOMPARE(w.candidateList()->item(0)->text(), u"青木"_s);
        QVERIFY(w.drop(list(0), top(1)));
        QCOMPARE(w.boxText(top(1)), (QStringList{u"東小学校"_s, u"青木"_s}));
        QCOMPARE(w.officerNetworkModel().topNodes[1].staffCode, 20000001);
    }
};

QTEST_MAIN(TestNetworkWindow)
#include "tst_network_window.moc"
