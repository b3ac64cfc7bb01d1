#include "app_context.h"
#include "ctv_chg_dialog.h"
#include "reference_tables.h"
#include "settings_store.h"
#include "test_env.h"
#include "ui_helpers.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestCtvChg : public QObject {
    Q_OBJECT
private slots:
    void renamesThroughTheWindow()
    {
        QTemporaryDir dir;
        SettingsStore settings(dir.path());
        WindowPositions positions(settings, u"NAKAMA-CHO"_s);
        RosterStore store;
        store.profile.areaName = u"瑠璃県"_s;
        buildMunicipalityTable(store, 18);
        SchoolRecord s;
        s.municipality = store.municipalities.entries[1].name;
        store.schools = {s};
        RecordingNotifier notifier;
        AppContext context{store, notifier, positions};

        CtvChgDialog dialog(context);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto* oldBox = dialog.findChild<QComboBox*>(u"CTV_OLD"_s);
        auto* newBox = dialog.findChild<QComboBox*>(u"CTV_NEW"_s);
        auto* ok = dialog.findChild<QPushButton*>(u"B_OK"_s);
        QVERIFY(oldBox && newBox && ok);
        QCOMPARE(dialog.windowTitle(), u"市町村名変更"_s);
        QCOMPARE(ok->text(), u"実行"_s);
        QCOMPARE(dialog.findChild<QPushButton*>(u"B_CLOSE"_s)->text(), u"閉じる"_s);
        QCOMPARE(oldBox->count(), 56);
        bool noteShown = false;
        for (QLabel* l : dialog.findChildren<QLabel*>())
            noteShown |= l->text() == u"市町村の吸収合併以外使用しないで下さい"_s;
        QVERIFY(noteShown);

        // Nothing typed: told, and the window stays.
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(notifier.texts(), QStringList{u"市町村名を設定してください"_s});
        QVERIFY(dialog.isVisible());

        oldBox->setCurrentIndex(1);
        testenv::keepShot(&dialog, u"ctv_chg"_s);
        testenv::typeText(newBox->lineEdit(), u"青海新市"_s, u"せいかいしんし"_s);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(store.municipalities.entries[1].name, u"青海新市"_s);
        QCOMPARE(store.schools[0].municipality, u"青海新市"_s);
        QCOMPARE(store.dirty, qint16(1));
        // Its place on the screen is remembered.
        QVERIFY(!settings.get(u"NAKAMA-CHO"_s, u"Position"_s, u"CTV_CHG Left"_s).isEmpty());
    }
};

QTEST_MAIN(TestCtvChg)
#include "tst_ctv_chg.moc"
