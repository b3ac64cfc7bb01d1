#include "label_designer.h"
#include "test_env.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace name_labels;

namespace {
struct Roster : WindowContext {
    Roster(bool marked = true)
    {
        store.paths.dataFolder = dir.path();
        SchoolRecord s;
        s.municipality = u"瑠璃市"_s;
        s.name = u"青葉"_s;
        s.kindText = u"小学校"_s;
        s.postalCode = u"900-0001"_s;
        s.address = u"桜木町1-2"_s;
        s.clerks[0].staffCode = 20000001;
        s.clerks[0].staffName = u"青木 花子"_s;
        s.clerks[0].mark = marked ? 1 : 0;
        store.schools.push_back(s);
    }
};

QLineEdit* box(QWidget& w, const QString& name)
{
    return w.findChild<QLineEdit*>(name);
}
} // namespace

class TestLabelDesigner : public QObject {
    Q_OBJECT
private slots:
    void boxesPaperAndFreeTexts()
    {
        Roster r;
        LabelDesigner w(r.context);
        w.show();
        QCOMPARE(box(w, u"P_TOP(0)"_s)->text(), u"65.0"_s);
        QCOMPARE(box(w, u"P_WIDTH(0)"_s)->text(), u"125.0"_s);
        QVERIFY(box(w, u"P_TOP(4)"_s)->text().isEmpty());
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"297.0"_s);
        QVERIFY(box(w, u"V_SIZE"_s)->isReadOnly());
        auto* paper = w.findChild<QComboBox*>(u"P_SIZE"_s);
        paper->setCurrentText(u"はがき"_s);
        emit paper->activated(paper->currentIndex());
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"148.0"_s);
        QCOMPARE(box(w, u"H_SIZE"_s)->text(), u"100.0"_s);
        w.findChild<QRadioButton*>(u"PRT_H"_s)->click();
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"100.0"_s);
        QCOMPARE(w.layout().paperWidth, 148.0f);
        paper->setCurrentText(u"自由サイズ"_s);
        emit paper->activated(paper->currentIndex());
        QVERIFY(!box(w, u"V_SIZE"_s)->isReadOnly());

        // A free text gets a place to start from.
        testenv::typeText(box(w, u"P_STRING(1)"_s), u"親展"_s);
        QCOMPARE(box(w, u"P_TOP(5)"_s)->text(), u"10.0"_s);
        QCOMPARE(w.layout().items[5].text, u"親展"_s);
        QVERIFY(w.layout().items[5].prints());

        // A width that is not a number empties the box and the item stops printing.
        QLineEdit* width = box(w, u"P_WIDTH(1)"_s);
        width->selectAll();
        QTest::keyClicks(width, u"x"_s);
        QTest::keyClick(width, Qt::Key_Return);
        QVERIFY(width->text().isEmpty());
        QVERIFY(!w.layout().items[1].prints());

        // Title mode.
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT_J"_s), Qt::LeftButton);
        QCOMPARE(w.findChild<QPushButton*>(u"B_PRT_J"_s)->text(), u"事務担当"_s);
        QVERIFY(box(w, u"N_TXT"_s)->isHidden());
        QVERIFY(w.layout().titleMode);
        testenv::keepShot(&w, u"labels"_s);
    }

    void draggingInThePreview()
    {
        Roster r;
        LabelDesigner w(r.context);
        w.resize(1100, 800);
        w.show();
        auto* preview = w.findChild<LabelPreview*>();
        QVERIFY(preview);
        const double k = preview->pixelsPerMm();
        // The addressee: left 30, top 100, 80 × 10; the preview adds a 2 mm border.
        QCOMPARE(preview->hit({32 + 40, 102 + 5}), (std::pair<int, int>{3, 0}));
        QCOMPARE(preview->hit({32.5, 102.5}).second, 1);
        QCOMPARE(preview->hit({112, 107}).second, 6);
        QCOMPARE(preview->hit({5, 5}).first, -1);
        preview->grab(); // draws the preview as the screen would
        QVERIFY2(w.layout().items[3].fontSize > 5, qPrintable(QString::number(w.layout().items[3].fontSize)));
        // Move it 10 mm to the right and 5 mm down.
        const QPoint from(int((32 + 40) * k), int((102 + 5) * k));
        const QPoint to = from + QPoint(int(10 * k), int(5 * k));
        QTest::mousePress(preview, Qt::LeftButton, {}, from);
        QTest::mouseMove(preview, to);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, to);
        QVERIFY(std::abs(w.layout().items[3].left - 40) < 0.6);
        QVERIFY(std::abs(w.layout().items[3].top - 105) < 0.6);
        QCOMPARE(w.layout().items[3].width, 80.0f);
    }

    void storedLayouts()
    {
        Roster r;
        LabelDesigner w(r.context);
        w.show();
        auto* caption = w.findChild<QComboBox*>(u"S_CAPTION"_s);
        caption->setCurrentText(u"封筒"_s);
        QTest::mouseClick(w.findChild<QCheckBox*>(u"P_BOLD(0)"_s), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QCOMPARE(caption->count(), 1);
        QVERIFY(QFileInfo::exists(w.layoutFile()));
        // Change it, then choose it again: print, bold and spread come back.
        QTest::mouseClick(w.findChild<QCheckBox*>(u"P_BOLD(0)"_s), Qt::LeftButton);
        QTest::mouseClick(w.findChild<QCheckBox*>(u"P_OK(2)"_s), Qt::LeftButton);
        QVERIFY(!w.layout().items[2].has(LabelItem::Print));
        w.on_S_CAPTION_chosen(u"封筒"_s);
        QVERIFY(w.findChild<QCheckBox*>(u"P_BOLD(0)"_s)->isChecked());
        QVERIFY(w.findChild<QCheckBox*>(u"P_OK(2)"_s)->isChecked());
        // Saving under a known name asks first.
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"データを書き換えます"_s);
        QCOMPARE(caption->count(), 1);
        // Deleting.
        caption->setCurrentText(u"無い名前"_s);
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_DEL"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"削除するデータがありません"_s);
        caption->setCurrentText(u"封筒"_s);
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_DEL"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"データを削除します"_s);
        QCOMPARE(caption->count(), 0);
    }

    void typedNameKeepsTheDesignUntilStored()
    {
        Roster r;
        LabelDesigner w(r.context);
        w.show();
        auto* caption = w.findChild<QComboBox*>(u"S_CAPTION"_s);
        QTest::mouseClick(w.findChild<QCheckBox*>(u"P_BOLD(2)"_s), Qt::LeftButton);
        box(w, u"P_TOP(2)"_s)->setText(u"77.5"_s);
        emit box(w, u"P_TOP(2)"_s)->editingFinished();
        // A new name typed and confirmed with Enter, with no file yet.
        testenv::typeText(caption->lineEdit(), u"長形３号"_s);
        QTest::keyClick(caption->lineEdit(), Qt::Key_Return);
        QCOMPARE(caption->count(), 0);
        QVERIFY(w.findChild<QCheckBox*>(u"P_BOLD(2)"_s)->isChecked());
        QCOMPARE(box(w, u"P_TOP(2)"_s)->text(), u"77.5"_s);
        // 登録 stores the first layout, without any message.
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QVERIFY2(r.notifier.messages.isEmpty(), qPrintable(r.notifier.texts().join(u'|')));
        QVERIFY(QFileInfo::exists(w.layoutFile()));
        QCOMPARE(caption->count(), 1);

        // A second name typed with Enter keeps the design of the first on screen.
        caption->lineEdit()->selectAll();
        testenv::typeText(caption->lineEdit(), u"はがき用"_s);
        QTest::keyClick(caption->lineEdit(), Qt::Key_Return);
        QCOMPARE(caption->currentText(), u"はがき用"_s);
        auto* paper = w.findChild<QComboBox*>(u"P_SIZE"_s);
        paper->setCurrentText(u"自由サイズ"_s);
        emit paper->activated(paper->currentIndex());
        box(w, u"V_SIZE"_s)->setText(u"120.0"_s);
        emit box(w, u"V_SIZE"_s)->editingFinished();
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QCOMPARE(caption->count(), 2);
        QCOMPARE(readLayouts(testenv::readFile(w.layoutFile()), nullptr)->size(), size_t(2));

        // Applying a stored layout sets the lock from its own paper.
        caption->setCurrentIndex(0);
        emit caption->activated(0);
        QCOMPARE(w.layout().paper, u"Ａ４"_s);
        QVERIFY(box(w, u"V_SIZE"_s)->isReadOnly());
        QCOMPARE(box(w, u"P_TOP(2)"_s)->text(), u"77.5"_s);
        caption->setCurrentIndex(1);
        emit caption->activated(1);
        QVERIFY(!box(w, u"V_SIZE"_s)->isReadOnly());
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"120.0"_s);

        // A name that is empty is not stored.
        caption->setCurrentText(QString());
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"題名を入力してください"_s);
        QCOMPARE(readLayouts(testenv::readFile(w.layoutFile()), nullptr)->size(), size_t(2));
    }

    void editsAfterStoringSurviveLeavingTheTitle()
    {
        // A clerk stores two layouts, goes on moving the design, then passes
        // through the title box (Tab, or Enter on the name already there):
        // what is on screen stays on screen until it is stored or another
        // layout is chosen from the list.
        Roster r;
        LabelDesigner w(r.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* caption = w.findChild<QComboBox*>(u"S_CAPTION"_s);
        auto* save = w.findChild<QPushButton*>(u"B_SAVE"_s);
        for (const QString& name : {u"封筒"_s, u"はがき用"_s}) {
            caption->lineEdit()->selectAll();
            testenv::typeText(caption->lineEdit(), name);
            QTest::mouseClick(save, Qt::LeftButton);
        }
        QCOMPARE(caption->count(), 2);
        QCOMPARE(caption->currentText(), u"はがき用"_s);
        auto* bold = w.findChild<QCheckBox*>(u"P_BOLD(3)"_s);
        const bool stored = bold->isChecked();
        QTest::mouseClick(bold, Qt::LeftButton);
        caption->lineEdit()->setFocus();
        QTest::keyClick(caption->lineEdit(), Qt::Key_Tab);
        QCOMPARE(bold->isChecked(), !stored);
        caption->lineEdit()->setFocus();
        QTest::keyClick(caption->lineEdit(), Qt::Key_Return);
        QCOMPARE(bold->isChecked(), !stored);
        QCOMPARE(caption->currentText(), u"はがき用"_s);
    }

    void printing()
    {
        Roster unmarked(false);
        LabelDesigner w(unmarked.context);
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(unmarked.notifier.messages.last().text, u"選択データが有りません"_s);
        QCOMPARE(unmarked.notifier.messages.last().icon, MessageIcon::Critical);

        Roster r;
        LabelDesigner m(r.context);
        r.notifier.answers = {MessageAnswer::No};
        QTest::mouseClick(m.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"選択データの印刷をします"_s);
        QCOMPARE(m.posts().size(), size_t(1));
    }
};

QTEST_MAIN(TestLabelDesigner)
#include "tst_label_designer.moc"
