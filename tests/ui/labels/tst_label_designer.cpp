#include "file_ops.h"
#include "label_designer.h"
#include "recording_device.h"
#include "sample_roster.h"
#include "school_list_window.h"
#include "test_env.h"
#include "text_width.h"
#include "ui_helpers.h"
#include "window_context.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace name_labels;

namespace {
struct Roster : WindowContext {
    // Three clerks at the first school; `marked` marks the first, `more`
    // the other two.
    Roster(bool marked = true, bool more = false)
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
        s.code = 4001;
        for (int k = 1; k < 3; ++k) {
            s.clerks[size_t(k)].staffCode = 20000001 + k;
            s.clerks[size_t(k)].staffName = k == 1 ? u"井上 学"_s : u"上田 歩"_s;
            s.clerks[size_t(k)].mark = more ? 1 : 0;
        }
        store.schools.push_back(s);
    }
};

void choose(QComboBox* box, const QString& text)
{
    box->setCurrentText(text);
    QVERIFY2(box->currentText() == text, qPrintable(text));
    emit box->activated(box->currentIndex());
}

void type(QLineEdit* e, const QString& text)
{
    e->setFocus();
    e->selectAll();
    testenv::typeText(e, text);
    QTest::keyClick(e, Qt::Key_Return);
}

// What 印刷 sent, printed on a recording device with a printer's margins.
struct SentJob {
    std::optional<PrintRequest> request;
    RecordingDevice device;
    void print(RosterStore& store)
    {
        device.printableOffsetMm = QPointF(4.23, 4.23);
        device.printableMm = QSizeF(210 - 8.46, 297 - 8.46);
        QVERIFY(request);
        QVERIFY(runPrintJob(device, store, *request));
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
        w.applyStoredLayout(u"封筒"_s);
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

    void printingOnALabelSheet()
    {
        Roster r(true, true);
        {
            LabelDesigner w(r.context);
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            auto* list = w.findChild<QListWidget*>(u"POST_LIST"_s);
            QCOMPARE(list->count(), 3);
            QVERIFY(!list->isEnabled()); // all marked posts print until 「チェックした職員」
            choose(w.findChild<QComboBox*>(u"SHEET_LIST"_s), u"A4 12面"_s);
            // A design that fits the label: top, left, height, width of each item.
            const double places[4][4] = {{14, 4, 6, 78}, {4, 4, 5, 35}, {21, 4, 5, 78}, {29, 10, 9, 70}};
            for (int i = 0; i < 4; ++i) {
                const QString n = u"(%1)"_s.arg(i);
                type(box(w, u"P_TOP"_s + n), QString::number(places[i][0]));
                type(box(w, u"P_LEFT"_s + n), QString::number(places[i][1]));
                type(box(w, u"P_HEIGHT"_s + n), QString::number(places[i][2]));
                type(box(w, u"P_WIDTH"_s + n), QString::number(places[i][3]));
            }
            QCOMPARE(w.layout().items[3].top, 29.0f);
            QCOMPARE(box(w, u"SHEET_ROWS"_s)->text(), u"6"_s);
            QCOMPARE(box(w, u"SHEET_LW"_s)->text(), u"86.4"_s);
            QVERIFY(box(w, u"SHEET_LW"_s)->isReadOnly());
            auto* row = w.findChild<QSpinBox*>(u"START_ROW"_s);
            auto* column = w.findChild<QSpinBox*>(u"START_COL"_s);
            QCOMPARE(row->maximum(), 6);
            QCOMPARE(column->maximum(), 2);
            row->setValue(3);
            column->setValue(2);
            QTest::mouseClick(w.findChild<QRadioButton*>(u"POST_TICKED"_s), Qt::LeftButton);
            QVERIFY(list->isEnabled());
            list->item(1)->setCheckState(Qt::Unchecked); // 井上 学
            testenv::keepShot(&w, u"labels-window"_s);

            SentJob sent;
            w.sendToPrinter = [&sent](const PrintRequest& q) {
                sent.request = q;
                return true;
            };
            choose(w.findChild<QComboBox*>(u"P_DEST"_s), u"PDFファイル"_s);
            r.notifier.answers = {MessageAnswer::Yes};
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
            QCOMPARE(r.notifier.messages.last().text, u"選択データの印刷をします"_s);
            sent.print(r.store);
            QCOMPARE(sent.request->job, kLabelJob);
            QCOMPARE(sent.request->destination, PrintDestination::Pdf);
            // Two labels: row 3 right, then row 4 left; the design at the label's corner.
            const auto first = sent.device.findText(toFullWidth(u"青木 花子 様"_s));
            const auto second = sent.device.findText(toFullWidth(u"上田 歩 様"_s));
            QVERIFY(first && second);
            QVERIFY(!sent.device.findText(toFullWidth(u"井上 学 様"_s)));
            const QPointF a = first->paper1 - QPointF(18.6 + 86.4 + 10, 21.5 + 2 * 42.3 + 29);
            const QPointF b = second->paper1 - QPointF(18.6 + 10, 21.5 + 3 * 42.3 + 29);
            QVERIFY2(std::abs(a.x()) < 0.01 && std::abs(a.y()) < 0.01 && std::abs(b.x()) < 0.01 &&
                         std::abs(b.y()) < 0.01,
                     qPrintable(u"%1,%2 %3,%4"_s.arg(first->paper1.x())
                                    .arg(first->paper1.y())
                                    .arg(second->paper1.x())
                                    .arg(second->paper1.y())));
            QCOMPARE(sent.device.page(), 1);
            QVERIFY(std::abs(first->clip.width() - 86.4) < 0.01);
            QVERIFY(std::abs(first->clip.height() - 42.3) < 0.01);
            int schools = 0;
            for (const auto& p : sent.device.texts())
                schools += p.text == toFullWidth(u"瑠璃市立青葉小学校"_s);
            QCOMPARE(schools, 2);

            // Nothing ticked: nothing to print, and the user hears so.
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setCheckState(Qt::Unchecked);
            sent.request.reset();
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
            QCOMPARE(r.notifier.messages.last().text, u"選択データが有りません"_s);
            QVERIFY(!sent.request);
            list->item(0)->setCheckState(Qt::Checked);
            list->item(2)->setCheckState(Qt::Checked);
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        }
        // Opened again, the window has the sheet, the start and the ticks.
        LabelDesigner again(r.context);
        again.show();
        QCOMPARE(again.findChild<QComboBox*>(u"SHEET_LIST"_s)->currentText(), u"A4 12面"_s);
        QCOMPARE(again.findChild<QSpinBox*>(u"START_ROW"_s)->value(), 3);
        QCOMPARE(again.findChild<QSpinBox*>(u"START_COL"_s)->value(), 2);
        QCOMPARE(again.findChild<QComboBox*>(u"P_DEST"_s)->currentText(), u"PDFファイル"_s);
        QVERIFY(again.findChild<QRadioButton*>(u"POST_TICKED"_s)->isChecked());
        auto* list = again.findChild<QListWidget*>(u"POST_LIST"_s);
        QCOMPARE(list->item(0)->checkState(), Qt::Checked);
        QCOMPARE(list->item(1)->checkState(), Qt::Unchecked);
        QCOMPARE(list->item(2)->checkState(), Qt::Checked);
        QCOMPARE(again.sheetPrint().skipped, QStringList{u"4001:20000002"_s});

        // Back to one label a page: a page each, at the design's own place
        // (the design on screen is the default one again in a new window).
        choose(again.findChild<QComboBox*>(u"SHEET_LIST"_s), u"1枚に1枚"_s);
        QVERIFY(!again.findChild<QSpinBox*>(u"START_ROW"_s)->isEnabled());
        QTest::mouseClick(again.findChild<QRadioButton*>(u"POST_ALL"_s), Qt::LeftButton);
        SentJob sent;
        again.sendToPrinter = [&sent](const PrintRequest& q) {
            sent.request = q;
            return true;
        };
        r.notifier.answers = {MessageAnswer::Yes};
        QTest::mouseClick(again.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        sent.print(r.store);
        QCOMPARE(sent.device.page(), 3);
        const QPointF own = sent.device.findText(toFullWidth(u"上田 歩 様"_s))->paper1 - QPointF(30, 100);
        QVERIFY(std::abs(own.x()) < 0.01 && std::abs(own.y()) < 0.01);
    }

    // On a sheet the design's paper is the label, and a design that would
    // print blank or cut labels is told before anything is sent.
    void theLabelIsThePaperOfASheet()
    {
        Roster r(true, true);
        LabelDesigner w(r.context);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        auto* paper = w.findChild<QComboBox*>(u"P_SIZE"_s);
        choose(w.findChild<QComboBox*>(u"SHEET_LIST"_s), u"A4 44面"_s);
        QCOMPARE(paper->currentText(), u"自由サイズ"_s);
        QVERIFY(!paper->isEnabled());
        QCOMPARE(box(w, u"H_SIZE"_s)->text(), u"48.3"_s);
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"25.4"_s);
        QVERIFY(box(w, u"H_SIZE"_s)->isReadOnly());
        QCOMPARE(w.layout().paperWidth, 48.3f);
        QCOMPARE(w.layout().paperHeight, 25.4f);
        testenv::keepShot(&w, u"labels-on-a-44-sheet"_s);

        SentJob sent;
        w.sendToPrinter = [&sent](const PrintRequest& q) {
            sent.request = q;
            return true;
        };
        // The design as it stands (A4 places): refused, nothing printed.
        r.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, outsideLabelText());
        QVERIFY(!sent.request);

        // Two items on the label, one cut by its right edge: asked; いいえ prints nothing.
        const double places[2][4] = {{3, 3, 5, 40}, {12, 20, 6, 60}};
        for (int i = 0; i < 2; ++i) {
            const QString n = u"(%1)"_s.arg(i);
            type(box(w, u"P_TOP"_s + n), QString::number(places[i][0]));
            type(box(w, u"P_LEFT"_s + n), QString::number(places[i][1]));
            type(box(w, u"P_HEIGHT"_s + n), QString::number(places[i][2]));
            type(box(w, u"P_WIDTH"_s + n), QString::number(places[i][3]));
        }
        for (int i = 2; i < 4; ++i)
            w.findChild<QCheckBox*>(u"P_OK(%1)"_s.arg(i))->setChecked(false);
        r.notifier.answers = {MessageAnswer::No};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, cutByLabelText());
        QVERIFY(!sent.request);
        r.notifier.answers = {MessageAnswer::Yes, MessageAnswer::Yes};
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        QCOMPARE(r.notifier.messages.last().text, u"選択データの印刷をします"_s);
        sent.print(r.store);
        QVERIFY(sent.device.findText(toFullWidth(u"瑠璃市立青葉小学校"_s)));

        // Stored while on the sheet, the layout keeps its own paper.
        w.findChild<QComboBox*>(u"S_CAPTION"_s)->setCurrentText(u"ラベル44"_s);
        QTest::mouseClick(w.findChild<QPushButton*>(u"B_SAVE"_s), Qt::LeftButton);
        QFile stored(QDir(r.store.paths.dataFolder).filePath(u"PRT_S.PRS"_s));
        QVERIFY(stored.open(QIODevice::ReadOnly));
        const auto layouts = readLayouts(stored.readAll(), nullptr);
        QVERIFY(layouts && layouts->size() == 1);
        QCOMPARE(layouts->front().paper, u"Ａ４"_s);
        QCOMPARE(layouts->front().paperHeight, 297.0f);
        QCOMPARE(layouts->front().items[1].left, 20.0f);

        // Back to one label a page: the layout's own paper again.
        choose(w.findChild<QComboBox*>(u"SHEET_LIST"_s), u"1枚に1枚"_s);
        QCOMPARE(paper->currentText(), u"Ａ４"_s);
        QVERIFY(paper->isEnabled());
        QCOMPARE(box(w, u"V_SIZE"_s)->text(), u"297.0"_s);
        QCOMPARE(box(w, u"H_SIZE"_s)->text(), u"210.0"_s);
        QCOMPARE(w.layout().paperWidth, 210.0f);
    }

    void theUsersOwnSheet()
    {
        Roster r(true, true);
        {
            LabelDesigner w(r.context);
            w.show();
            choose(w.findChild<QComboBox*>(u"SHEET_LIST"_s), u"ユーザー定義"_s);
            QVERIFY(!box(w, u"SHEET_ROWS"_s)->isReadOnly());
            // Labels 100 mm apart but 120 mm wide overlap: told, not stored.
            type(box(w, u"SHEET_COLS"_s), u"２"_s);
            type(box(w, u"SHEET_LW"_s), u"120"_s);
            type(box(w, u"SHEET_PX"_s), u"100"_s);
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_SHEET_SAVE"_s), Qt::LeftButton);
            QVERIFY2(r.notifier.messages.last().text.contains(u"重なります"_s),
                     qPrintable(r.notifier.texts().join(u'|')));
            QVERIFY(!QFileInfo::exists(w.userSheetFile()));
            // Nor printed.
            bool sent = false;
            w.sendToPrinter = [&sent](const PrintRequest&) { return sent = true; };
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
            QVERIFY(!sent);
            QVERIFY(r.notifier.messages.last().text.contains(u"重なります"_s));

            type(box(w, u"SHEET_LW"_s), u"95"_s);
            type(box(w, u"SHEET_LEFT"_s), u"5"_s);
            type(box(w, u"SHEET_ROWS"_s), u"3"_s);
            type(box(w, u"SHEET_PY"_s), u"90"_s);
            type(box(w, u"SHEET_LH"_s), u"85"_s);
            QCOMPARE(w.findChild<QSpinBox*>(u"START_ROW"_s)->maximum(), 3);
            const qsizetype told = r.notifier.messages.size();
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_SHEET_SAVE"_s), Qt::LeftButton);
            QVERIFY2(r.notifier.messages.size() == told, qPrintable(r.notifier.texts().join(u'|')));
            QString problem;
            const LabelSheet stored = readUserSheet(testenv::readFile(w.userSheetFile()), &problem);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            QCOMPARE(stored.rows, 3);
            QCOMPARE(stored.columns, 2);
            QCOMPARE(stored.labelWidth, 95.0f);

            // A full disk: told, and the stored sheet stays as it was.
            type(box(w, u"SHEET_ROWS"_s), u"2"_s);
            fileops::failStep(1);
            QTest::mouseClick(w.findChild<QPushButton*>(u"B_SHEET_SAVE"_s), Qt::LeftButton);
            fileops::failStep(0);
            QCOMPARE(r.notifier.messages.last().text, u"PRT_S.SHT に書き込めませんでした"_s);
            QVERIFY(!r.notifier.messages.last().detail.isEmpty());
            QCOMPARE(readUserSheet(testenv::readFile(w.userSheetFile()), nullptr).rows, 3);
            w.close(); // the window's close box
        }
        // Opened again, the stored sheet is chosen and shown.
        LabelDesigner again(r.context);
        QCOMPARE(again.findChild<QComboBox*>(u"SHEET_LIST"_s)->currentText(), u"ユーザー定義"_s);
        QCOMPARE(box(again, u"SHEET_ROWS"_s)->text(), u"3"_s);
        QCOMPARE(again.sheetPrint().sheet.labelHeight, 85.0f);
    }

    void aBrokenSheetFile()
    {
        Roster r(true, true);
        for (const QByteArray& bytes : {QByteArray("rows=\xff\xfe\x00\r\ncolumns=-1"), QByteArray(100000, '='),
                                        QByteArray("label_width=5000\r\n")}) {
            {
                QFile f(QDir(r.dir.path()).filePath(u"PRT_S.SHT"_s));
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                QVERIFY(f.write(bytes) == bytes.size());
            }
            r.notifier.messages.clear();
            LabelDesigner w(r.context);
            QVERIFY(r.notifier.messages.size() == 1 &&
                    r.notifier.messages[0].text.startsWith(u"PRT_S.SHT を読み込めません"_s));
            QCOMPARE(w.userSheet().rows, defaultUserSheet().rows);
            // The window goes on working with the default sheet.
            choose(w.findChild<QComboBox*>(u"SHEET_LIST"_s), u"ユーザー定義"_s);
            QVERIFY(sheetProblem(w.sheetPrint().sheet).isEmpty());
        }
    }

    void fromTheSchoolListAndBack()
    {
        // The school list marks every school's first post and opens 氏名印刷;
        // the clerk unticks one post and prints on a sheet, deletes another
        // school in the list, and opens 氏名印刷 again: the post still
        // unticked is the same clerk's, though every row below has moved.
        WindowContext f;
        SampleOptions o;
        o.schools = 12;
        o.staff = 20;
        generateSampleRoster(f.store, o);
        SchoolListWindow list(f.context);
        list.resize(1200, 600);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        for (SchoolRecord& s : f.store.schools)
            for (ClerkSlot& k : s.clerks)
                k.mark = 0;
        list.markListedSchools();
        QCOMPARE(markedPosts(f.store).size(), size_t(12));
        const Post held = markedPosts(f.store)[5];
        const QString heldName = toFullWidth(f.store.schools[size_t(held.school)].clerks[0].staffName + u" 様"_s);
        const QString heldKey = postKey(f.store, held);

        SentJob sent;
        std::function<void(LabelDesigner&)> act;
        list.openLabels = [&] {
            LabelDesigner labels(f.context, &list);
            labels.show();
            labels.sendToPrinter = [&sent](const PrintRequest& q) {
                sent.request = q;
                return true;
            };
            act(labels);
            QTest::mouseClick(labels.findChild<QPushButton*>(u"B_ESC"_s), Qt::LeftButton);
        };
        act = [&](LabelDesigner& labels) {
            choose(labels.findChild<QComboBox*>(u"SHEET_LIST"_s), u"A4 10面"_s);
            QTest::mouseClick(labels.findChild<QRadioButton*>(u"POST_TICKED"_s), Qt::LeftButton);
            auto* posts = labels.findChild<QListWidget*>(u"POST_LIST"_s);
            QCOMPARE(posts->count(), 12);
            posts->item(5)->setCheckState(Qt::Unchecked);
            f.notifier.answers = {MessageAnswer::Yes};
            QTest::mouseClick(labels.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        };
        list.openLabelPrinting();
        sent.print(f.store);
        QVERIFY(!sent.device.findText(heldName));
        QCOMPARE(sent.device.page(), 2); // eleven labels: a full sheet and one more

        // Delete the first school in the list.
        int firstRow = -1;
        for (int r = 0; r < list.model()->rowCount() && firstRow < 0; ++r)
            if (list.model()->row(r)->school == 0)
                firstRow = r;
        QVERIFY(firstRow >= 0);
        list.grid()->clearSelection();
        list.grid()->selectRow(firstRow);
        f.notifier.answers = {MessageAnswer::Yes};
        list.deleteSelectedSchools();
        QCOMPARE(markedPosts(f.store).size(), size_t(11));

        sent = SentJob{};
        act = [&](LabelDesigner& labels) {
            auto* posts = labels.findChild<QListWidget*>(u"POST_LIST"_s);
            QCOMPARE(posts->count(), 11);
            for (int i = 0; i < posts->count(); ++i)
                QCOMPARE(posts->item(i)->checkState() == Qt::Unchecked,
                         posts->item(i)->data(Qt::UserRole).toString() == heldKey);
            f.notifier.answers = {MessageAnswer::Yes};
            QTest::mouseClick(labels.findChild<QPushButton*>(u"B_PRT"_s), Qt::LeftButton);
        };
        list.openLabelPrinting();
        sent.print(f.store);
        QVERIFY(!sent.device.findText(heldName));
        QCOMPARE(sent.device.page(), 1); // ten labels: one full sheet
        int names = 0;
        for (const auto& p : sent.device.texts())
            names += p.text.endsWith(u"様"_s);
        QCOMPARE(names, 10);
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
