// The frame's own files as a user meets them: the user settings written from
// 環境設定, パスワード and on quitting, the portable settings it exports,
// the postal codes of a first run and ファイル瑠璃 with no year open.

#include "app_context.h"
#include "fake_platform.h"
#include "frame_program.h"
#include "main_window.h"
#include "password_dialogs.h"
#include "roster_files.h"
#include "startup.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "user_settings_dialog.h"
#include "year_dialog.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testenv::readFile;
using testenv::writeFile;

namespace {

using Program = FrameProgram;

// Types `area` into 環境設定 and presses OK.
void setAreaInDialog(const QString& area)
{
    testenv::onModal<UserSettingsDialog>([area](UserSettingsDialog* d) {
        auto* box = d->areaBox();
        box->clear();
        testenv::typeText(box, area);
        QTest::mouseClick(d->findChild<QPushButton*>(u"B_OK"_s), Qt::LeftButton);
    });
}

} // namespace

class TestFrameFiles : public QObject {
    Q_OBJECT
private slots:
    void aFirstRunReadsThePostalCodesOnceTheAreaIsSet()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        writeFile(p.data + u"/POST_NO.PMD"_s, testenv::sjis(u"\"900-0001\",\"瑠璃市本町\"\r\n"_s));
        p.frame->firstActivation();
        QCOMPARE(p.notifier.texts(), QStringList{u"環境設定を確認してください"_s});
        QVERIFY(p.store.postalCodes.entries.empty());
        setAreaInDialog(u"瑠璃地区"_s);
        p.action(u"F_USER_SET"_s)->trigger();
        QCOMPARE(p.store.profile.areaName, u"瑠璃地区"_s);
        QCOMPARE(p.store.postalCodes.entries.size(), size_t(1));
        QCOMPARE(p.store.postalCodes.entries[0].address, u"瑠璃市本町"_s);
        UserProfile written;
        QCOMPARE(readUserSettingsFile(p.data + u"/NKMCHO.SEW"_s, written), 1);
        QCOMPARE(written.areaName, u"瑠璃地区"_s);
    }

    void aUserSettingsFileThatCannotBeWrittenIsTold()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        // Something in the way of NKMCHO.SEW.
        QVERIFY(QDir(p.data).mkdir(u"NKMCHO.SEW"_s));
        auto toldOnce = [&p] {
            const QStringList texts = p.notifier.texts();
            return texts.count(u"環境設定を保存できませんでした。"_s) == 1 &&
                   p.notifier.messages.last().detail.contains(u"NKMCHO.SEW"_s);
        };

        // 環境設定
        setAreaInDialog(u"白砂地区"_s);
        p.action(u"F_USER_SET"_s)->trigger();
        QVERIFY2(toldOnce(), qPrintable(p.notifier.texts().join(u" / "_s)));

        // パスワード
        p.notifier.messages.clear();
        testenv::onModal<PassSetDialog>([](PassSetDialog* d) {
            const QList<QLineEdit*> boxes = d->findChildren<QLineEdit*>();
            for (QLineEdit* box : boxes)
                box->setText(u"12345678"_s);
            QTest::mouseClick(d->findChild<QPushButton*>(u"OK"_s), Qt::LeftButton);
        });
        p.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        p.action(u"F_SET_PASS"_s)->trigger();
        QVERIFY2(toldOnce(), qPrintable(p.notifier.texts().join(u" / "_s)));

        // Quitting
        p.notifier.messages.clear();
        QVERIFY(p.frame->close());
        QVERIFY2(toldOnce(), qPrintable(p.notifier.texts().join(u" / "_s)));
    }

    void theExportedPortableSettingsHoldTheFramesPlace()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        {
            Program p(root.path(), settings);
            p.frame->move(240, 180);
            QVERIFY(p.frame->close());
        }
        QString error;
        const auto file = parsePortableSettings(readFile(root.filePath(u"prog/NAKAMA-CHO.SIN"_s)), &error);
        QVERIFY2(file, qPrintable(error));
        const QString left = settings.get(u"NAKAMA-CHO"_s, u"Position"_s, u"MAIN_F Left"_s);
        QVERIFY(!left.isEmpty());
        QVERIFY(std::any_of(file->entries.begin(), file->entries.end(), [&left](const auto& e) {
            return e.section == u"Position"_s && e.key == u"MAIN_F Left"_s && e.value == left;
        }));
    }

    void thePrefectureFileIsNotEmptiedWithNoYearOpen()
    {
        QTemporaryDir root;
        SettingsStore settings(root.filePath(u"suite"_s));
        Program p(root.path(), settings);
        const QByteArray earlier = testenv::sjis(u"3,\"\",\"\",\"\",\"\",\"\"\r\n"_s);
        writeFile(p.data + u"/RURI.NK2"_s, earlier);
        p.action(u"F_F_RURI"_s)->trigger();
        QCOMPARE(readFile(p.data + u"/RURI.NK2"_s), earlier);
        QCOMPARE(p.notifier.texts(), QStringList{u"名簿が開かれていないため、作成できません"_s});
    }
};

QTEST_MAIN(TestFrameFiles)
#include "tst_frame_files.moc"
